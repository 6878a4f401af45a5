#pragma once
/// Where a picture goes in its frame: the size to decode it at, the part of it that shows,
/// and where that part lands. Pure arithmetic, shared by the renderer and the benchmark.

#include "BookLayout.h"

namespace zori {

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
};

struct PictureGeometry {
    int decodeWidth = 0; ///< the picture upright, before the turn, scaled to this size
    int decodeHeight = 0;
    PixelRect cut;  ///< the visible part in the decoded picture, before the turn
    int frameX = 0; ///< where the visible part, turned, lands in the frame
    int frameY = 0;
    /// False for a picture that, fitted, would be larger along a side than the image library
    /// can hold; the other members are then 0.
    bool placeable = true;
    bool Visible() const { return !cut.Empty(); }
};

/// `sourceWidth` x `sourceHeight` is the picture upright (after its orientation tag).
PictureGeometry PlacePicture(int sourceWidth, int sourceHeight, int frameWidth, int frameHeight,
                             ImageFit fit, const PicturePlacement& picture);

} // namespace zori
