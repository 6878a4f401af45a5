// The engine's reading of a book: the composition file and the format file both come from
// the input. Whatever they hold, a book that reads has spreads of one or two pages, pages
// and frames within their size limits, a quality from 1 to 100, output folders below the
// composition file's folder and pictures inside the work or data folder.

#include "FuzzSupport.h"

#include "BookLayout.h"
#include "platform/FileSystemCalls.h"

namespace fs = std::filesystem;

namespace {

constexpr double kMaxPageMm = 2000.0;

bool Inside(const fs::path& folder, const std::wstring& path) {
    const fs::path relative = platform::ToFsPath(path).lexically_relative(folder);
    return !relative.empty() && *relative.begin() != "..";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string formats = input.ConsumeBytesAsString(input.ConsumeIntegral<std::uint16_t>());
    const std::string composition = input.ConsumeRemainingBytesAsString();

    // A work folder with one picture and a data folder with one background, so that books
    // can be read to the end.
    const fs::path work = ScratchFolder() / "work";
    const fs::path dataFolder = ScratchFolder() / "CTML";
    static const bool prepared = [&] {
        fs::create_directories(work / "composition");
        fs::create_directories(dataFolder);
        WriteScratchFile(work / "picture.jpg", "picture");
        WriteScratchFile(dataFolder / "background.jpg", "background");
        return true;
    }();
    Check(prepared, "the scratch folders are ready");
    const zori::EngineFolders folders{platform::FromFsPath(work / "composition" / "QrmZoInRi.ini"),
                                      platform::FromFsPath(dataFolder)};

    zori::BookLayout book;
    if (zori::ReadBookLayoutFromBytes(folders, composition, formats, book) != zori::kResultSuccess)
        return 0;
    Check(book.quality >= 1 && book.quality <= 100, "the quality is 1 to 100");
    Check(Inside(work / "composition", book.innerOutputFolder) ||
              platform::ToFsPath(book.innerOutputFolder) == work / "composition",
          "the output folder lies below the composition file's", book.innerOutputFolder);
    for (const zori::SpreadLayout& spread : book.spreads) {
        Check(spread.pages.size() == 1 || spread.pages.size() == 2,
              "a spread has one or two pages");
        for (const zori::PageLayout& page : spread.pages) {
            Check(page.widthMm > 0 && page.widthMm <= kMaxPageMm && page.heightMm > 0 &&
                      page.heightMm <= kMaxPageMm,
                  "a page has a size within the limits");
            for (const zori::Frame& frame : page.frames) {
                Check(frame.widthMm > 0 && frame.widthMm <= kMaxPageMm && frame.heightMm > 0 &&
                          frame.heightMm <= kMaxPageMm,
                      "a frame has a size within the limits");
                if (frame.used)
                    Check(Inside(work, frame.picture.path) ||
                              Inside(dataFolder, frame.picture.path),
                          "a picture lies in the work or data folder", frame.picture.path);
            }
        }
    }
    return 0;
}
