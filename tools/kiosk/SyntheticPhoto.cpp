#include "SyntheticPhoto.h"

#include <cmath>
#include <random>
#include <vips/vips8>

#include "platform/FileSystemCalls.h"

namespace kiosk {

namespace {

using vips::VImage;

constexpr int kSketchScale = 8;

std::string Utf8(const std::wstring& path) {
    return platform::ToFsPath(path).string();
}

bool SaveJpeg(const VImage& image, const std::wstring& path) {
    try {
        image.cast(VIPS_FORMAT_UCHAR).jpegsave(Utf8(path).c_str(), VImage::option()->set("Q", 88));
        return true;
    } catch (const vips::VError&) {
        return false;
    }
}

} // namespace

bool StartImages() {
    if (vips_init("relaydesk-kiosk") != 0)
        return false;
    // Cached operations keep their files open, and Windows renames or deletes no folder
    // holding an open file: an order written must be free to move at once.
    vips_cache_set_max(0);
    return true;
}

bool WriteSyntheticPhoto(const std::wstring& path, double megapixels, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int width = std::max(16, static_cast<int>(std::sqrt(megapixels * 1e6 * 4.0 / 3.0)));
    const int height = std::max(12, width * 3 / 4);
    // The scene is drawn small and enlarged smoothly; only the noise is drawn at full size.
    const int sketchWidth = std::max(8, width / kSketchScale);
    const int sketchHeight = std::max(6, height / kSketchScale);
    try {
        VImage xy = VImage::xyz(sketchWidth, sketchHeight);
        VImage y = xy[1] / double(sketchHeight);
        VImage x = xy[0] / double(sketchWidth);
        // Sky above a horizon, ground below, each with its own hue per picture.
        const double horizon = 0.45 + 0.2 * unit(random);
        std::vector<double> sky{80 + 120 * unit(random), 120 + 100 * unit(random),
                                200 + 55 * unit(random)};
        std::vector<double> ground{60 + 120 * unit(random), 80 + 120 * unit(random),
                                   30 + 60 * unit(random)};
        VImage skyPart = (1.0 - y * 0.6).bandjoin(1.0 - y * 0.5).bandjoin(1.0 - y * 0.2) * sky;
        VImage groundPart =
            (0.6 + y * 0.4).bandjoin(0.6 + x * 0.3).bandjoin(0.5 + y * 0.2) * ground;
        VImage image = (y < horizon).ifthenelse(skyPart, groundPart);
        // A few soft discs: sun, trees, people.
        for (int i = 0; i < 5; ++i) {
            const double cx = unit(random) * sketchWidth, cy = unit(random) * sketchHeight;
            const double radius = (0.04 + 0.12 * unit(random)) * sketchHeight;
            VImage distance = ((xy[0] - cx).pow(2) + (xy[1] - cy).pow(2)).pow(0.5);
            VImage weight = 1.0 - distance / radius;
            weight = (weight > 0.0).ifthenelse(weight, 0.0);
            std::vector<double> colour{255 * unit(random), 255 * unit(random), 255 * unit(random)};
            image = image * (1.0 - weight) + weight.bandjoin(weight).bandjoin(weight) * colour;
        }
        image = image.copy_memory()
                    .resize(double(width) / sketchWidth,
                            VImage::option()->set("vscale", double(height) / sketchHeight))
                    .extract_area(0, 0, width, height);
        image = image + VImage::gaussnoise(width, height,
                                           VImage::option()->set("sigma", 6.0)->set("mean", 0.0));
        return SaveJpeg(image, path);
    } catch (const vips::VError&) {
        return false;
    }
}

bool WritePaperBackground(const std::wstring& path, int width, int height, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    try {
        std::vector<double> paper{240 + 12 * unit(random), 234 + 12 * unit(random),
                                  220 + 12 * unit(random)};
        VImage grain = VImage::gaussnoise(width, height,
                                          VImage::option()->set("sigma", 3.0)->set("mean", 0.0));
        VImage image = grain.bandjoin(grain).bandjoin(grain) + paper;
        return SaveJpeg(image, path);
    } catch (const vips::VError&) {
        return false;
    }
}

bool WriteCorrectedPhoto(const std::wstring& source, const std::wstring& destination) {
    try {
        VImage image =
            VImage::new_from_file(Utf8(source).c_str()).colourspace(VIPS_INTERPRETATION_sRGB);
        image = image.extract_band(0, VImage::option()->set("n", 3));
        // Warm tint and a dark frame: unmistakable beside the original.
        VImage tinted =
            image * std::vector<double>{1.0, 0.8, 0.55} + std::vector<double>{40, 10, 0};
        const int border = std::max(4, image.width() / 20);
        VImage inner = tinted.extract_area(border, border, image.width() - 2 * border,
                                           image.height() - 2 * border);
        VImage framed =
            VImage::black(image.width(), image.height(), VImage::option()->set("bands", 3))
                .new_from_image({30, 20, 20})
                .insert(inner, border, border);
        return SaveJpeg(framed, destination);
    } catch (const vips::VError&) {
        return false;
    }
}

} // namespace kiosk
