#pragma once
/// Photo-like test pictures: a sky-to-ground gradient, a few soft shapes and sensor noise,
/// different for every seed, written as JPEG.

#include <cstdint>
#include <string>

namespace kiosk {

/// Writes a picture of about `megapixels` (4:3 landscape) to `path`; false on failure.
bool WriteSyntheticPhoto(const std::wstring& path, double megapixels, std::uint32_t seed);

/// Writes a plain paper-like background texture.
bool WritePaperBackground(const std::wstring& path, int width, int height, std::uint32_t seed);

/// Writes `source` visibly changed (warm tint and a dark border) to `destination`.
bool WriteCorrectedPhoto(const std::wstring& source, const std::wstring& destination);

/// Starts the image library; false when it cannot start.
bool StartImages();

} // namespace kiosk
