#include "FrameGeometry.h"

#include <algorithm>
#include <cmath>

namespace zori {

namespace {

/// The largest image side the image library declares (VIPS_MAX_COORD): a bound well below
/// the int range, which placed sizes must never leave.
constexpr double kMaxPlacedSide = 10'000'000;

int Round(double value) {
    return static_cast<int>(std::lround(value));
}

/// The rectangle of a turned picture as it lies in the picture before the clockwise turn.
PixelRect BeforeTurn(const PixelRect& rect, int degrees, int unturnedWidth, int unturnedHeight) {
    switch (degrees) {
    case 90:
        return {rect.top, unturnedHeight - rect.left - rect.width, rect.height, rect.width};
    case 180:
        return {unturnedWidth - rect.left - rect.width, unturnedHeight - rect.top - rect.height,
                rect.width, rect.height};
    case 270:
        return {unturnedWidth - rect.top - rect.height, rect.left, rect.height, rect.width};
    default:
        return rect;
    }
}

} // namespace

PictureGeometry PlacePicture(int sourceWidth, int sourceHeight, int frameWidth, int frameHeight,
                             ImageFit fit, const PicturePlacement& picture) {
    const bool sideways = picture.clockwiseDegrees == 90 || picture.clockwiseDegrees == 270;
    const double turnedWidth = sideways ? sourceHeight : sourceWidth;
    const double turnedHeight = sideways ? sourceWidth : sourceHeight;
    const double widthScale = frameWidth / turnedWidth;
    const double heightScale = frameHeight / turnedHeight;
    const double scale = (fit == ImageFit::kCover ? std::max(widthScale, heightScale)
                                                  : std::min(widthScale, heightScale)) *
                         picture.zoom;
    // A very thin picture covering its frame grows without bound along its long side; the
    // sizes must be refused before they are rounded into an int, where they would wrap.
    if (turnedWidth * scale > kMaxPlacedSide || turnedHeight * scale > kMaxPlacedSide) {
        PictureGeometry unplaceable;
        unplaceable.placeable = false;
        return unplaceable;
    }
    const int placedWidth = std::max(1, Round(turnedWidth * scale));
    const int placedHeight = std::max(1, Round(turnedHeight * scale));

    // The turned picture's top-left corner relative to the frame: centred, then shifted.
    const int offsetX = Round((frameWidth - placedWidth) / 2.0 + picture.shiftX * frameWidth);
    const int offsetY = Round((frameHeight - placedHeight) / 2.0 + picture.shiftY * frameHeight);
    const int visibleLeft = std::max(0, offsetX);
    const int visibleTop = std::max(0, offsetY);
    const PixelRect visible{visibleLeft - offsetX, visibleTop - offsetY,
                            std::min(frameWidth, offsetX + placedWidth) - visibleLeft,
                            std::min(frameHeight, offsetY + placedHeight) - visibleTop};

    PictureGeometry geometry;
    geometry.decodeWidth = sideways ? placedHeight : placedWidth;
    geometry.decodeHeight = sideways ? placedWidth : placedHeight;
    geometry.frameX = visibleLeft;
    geometry.frameY = visibleTop;
    if (!visible.Empty())
        geometry.cut = BeforeTurn(visible, picture.clockwiseDegrees, geometry.decodeWidth,
                                  geometry.decodeHeight);
    return geometry;
}

} // namespace zori
