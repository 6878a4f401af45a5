#pragma once
/// The book as the engine composes it: spreads of one or two pages, each page with its
/// size, background and frames, each frame with the picture placed in it. Built from the
/// composition information file and the format file of the data folder.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "EngineResult.h"
#include "fileutil/FolderBoundary.h"

namespace zori {

enum class ImageFit { kCover, kContain };

struct PicturePlacement {
    std::wstring path;        ///< checked to lie inside the work or data folder
    double zoom = 1.0;        ///< "ENLARGE" / 100
    double shiftX = 0.0;      ///< "moveX" as a fraction of the frame width
    double shiftY = 0.0;      ///< "moveY" as a fraction of the frame height
    int clockwiseDegrees = 0; ///< 0, 90, 180 or 270
};

struct Frame {
    double xMm = 0, yMm = 0, widthMm = 0, heightMm = 0; ///< from the page's top-left corner
    bool used = false;
    PicturePlacement picture;
};

struct PageLayout {
    double widthMm = 0, heightMm = 0;
    std::wstring backgroundPath; ///< empty: plain colour
    std::uint8_t backgroundRgb[3] = {255, 255, 255};
    std::vector<Frame> frames;
};

struct SpreadLayout {
    bool cover = false;
    std::vector<PageLayout> pages; ///< one or two, left to right
};

struct BookLayout {
    ImageFit fit = ImageFit::kCover;
    int quality = 90;
    std::wstring innerOutputFolder; ///< "OUTPUT_PATH", checked to lie in OutputBoundary
    std::wstring coverOutputFolder; ///< "OUTPUT_PATH2", or OUTPUT_PATH when empty
    /// The format file's [OUTPUT] OUTPUT_PROFILE: "sRGB" (also when absent), "DisplayP3",
    /// "AdobeRGB", or the path of a profile file, checked to lie in the data folder.
    std::wstring outputProfile = L"sRGB";
    std::vector<SpreadLayout> spreads;
};

/// The folders a composition may use: it reads pictures from the work folder (the parent of
/// the composition file's folder) and the data folder, formats and backgrounds from the data
/// folder, and writes spreads only below the composition file's folder.
struct EngineFolders {
    std::wstring compositionFile; ///< the composition information file
    std::wstring dataFolder;      ///< the CTML folder
};

/// The folder tree the engine may create folders and write spreads in.
FolderBoundary OutputBoundary(const EngineFolders& folders);

/// Reads and checks the book; kResultSuccess or the code of the first problem found.
EngineResult ReadBookLayout(const EngineFolders& folders, BookLayout& book);

/// The same with the bytes of the composition file and of the format file given instead of
/// read; the folders still place and bound every path the two name.
EngineResult ReadBookLayoutFromBytes(const EngineFolders& folders, std::string_view composition,
                                     std::string_view formats, BookLayout& book);

} // namespace zori
