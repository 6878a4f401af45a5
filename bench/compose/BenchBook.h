#pragma once
/// The benchmark's photo book: its photos, its pages and the placement of every picture,
/// written as a work folder that the composition engine reads.

#include <string>
#include <vector>

#include "BookLayout.h"

namespace bench {

struct BenchPicture {
    std::wstring photo;
    zori::PicturePlacement placement;
    int page = 0;  ///< zero-based
    int frame = 0; ///< zero-based
};

struct BenchBook {
    std::wstring workFolder;      ///< TEMP
    std::wstring compositionFile; ///< TEMP/COMPOSITION_INFO/QrmZoInRi.ini
    std::wstring dataFolder;      ///< TEMP/CTML
    std::wstring outputFolder;    ///< TEMP/COMPOSITION_INFO/LAYOUTFINAL
    int spreads = 0;
    std::vector<std::vector<zori::Frame>> pageFrames; ///< per page, frames in millimetres
    std::vector<BenchPicture> pictures;
};

/// Photos of 12 to 24 megapixels in `root`/TEMP/CORRECT (made once, reused by every book),
/// tagged with ICC profiles: Display P3 phone photos and one Adobe RGB scan.
std::vector<std::wstring> MakePhotos(const std::wstring& root, int count);

/// A book of `spreads` A4 spreads with 2, 4 and 6 photos in turn, some turned and zoomed.
BenchBook WriteBook(const std::wstring& root, int spreads, const std::vector<std::wstring>& photos);

constexpr double kPageWidthMm = 210.0;
constexpr double kPageHeightMm = 297.0;

} // namespace bench
