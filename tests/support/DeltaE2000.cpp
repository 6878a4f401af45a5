#include "DeltaE2000.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

double Degrees(double radians) {
    return radians * 180.0 / kPi;
}

double Radians(double degrees) {
    return degrees * kPi / 180.0;
}

/// Hue angle in degrees, 0 to 360; 0 for a neutral colour.
double HueDegrees(double a, double b) {
    if (a == 0 && b == 0)
        return 0;
    const double hue = Degrees(std::atan2(b, a));
    return hue < 0 ? hue + 360 : hue;
}

} // namespace

double DeltaE2000(const Lab& first, const Lab& second) {
    const double pow25To7 = std::pow(25.0, 7);
    const double chromaMean = (std::hypot(first.a, first.b) + std::hypot(second.a, second.b)) / 2;
    const double g =
        0.5 * (1 - std::sqrt(std::pow(chromaMean, 7) / (std::pow(chromaMean, 7) + pow25To7)));
    const double a1 = (1 + g) * first.a, a2 = (1 + g) * second.a;
    const double c1 = std::hypot(a1, first.b), c2 = std::hypot(a2, second.b);
    const double h1 = HueDegrees(a1, first.b), h2 = HueDegrees(a2, second.b);

    const double deltaL = second.l - first.l;
    const double deltaC = c2 - c1;
    double deltaHue = 0;
    if (c1 * c2 != 0) {
        deltaHue = h2 - h1;
        if (deltaHue > 180)
            deltaHue -= 360;
        else if (deltaHue < -180)
            deltaHue += 360;
    }
    const double deltaH = 2 * std::sqrt(c1 * c2) * std::sin(Radians(deltaHue / 2));

    const double lMean = (first.l + second.l) / 2;
    const double cMean = (c1 + c2) / 2;
    double hMean = h1 + h2;
    if (c1 * c2 != 0) {
        if (std::abs(h1 - h2) <= 180)
            hMean /= 2;
        else
            hMean = hMean < 360 ? (hMean + 360) / 2 : (hMean - 360) / 2;
    }
    const double t = 1 - 0.17 * std::cos(Radians(hMean - 30)) +
                     0.24 * std::cos(Radians(2 * hMean)) + 0.32 * std::cos(Radians(3 * hMean + 6)) -
                     0.20 * std::cos(Radians(4 * hMean - 63));
    const double lOffset = (lMean - 50) * (lMean - 50);
    const double sL = 1 + 0.015 * lOffset / std::sqrt(20 + lOffset);
    const double sC = 1 + 0.045 * cMean;
    const double sH = 1 + 0.015 * cMean * t;
    const double rotation = 30 * std::exp(-std::pow((hMean - 275) / 25, 2));
    const double rC = 2 * std::sqrt(std::pow(cMean, 7) / (std::pow(cMean, 7) + pow25To7));
    const double rT = -std::sin(Radians(2 * rotation)) * rC;

    const double termL = deltaL / sL, termC = deltaC / sC, termH = deltaH / sH;
    return std::sqrt(termL * termL + termC * termC + termH * termH + rT * termC * termH);
}
