#include "BenchBook.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vips/vips8>

#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

namespace bench {

namespace {

namespace fs = std::filesystem;
using vips::VImage;

/// Frames of 1, 2 or 3 photos on an A4 page, in millimetres.
std::vector<zori::Frame> FramesFor(int photos) {
    auto frame = [](double x, double y, double w, double h) {
        zori::Frame f;
        f.xMm = x, f.yMm = y, f.widthMm = w, f.heightMm = h;
        return f;
    };
    if (photos == 1)
        return {frame(15, 15, 180, 267)};
    if (photos == 2)
        return {frame(15, 15, 180, 130), frame(15, 152, 180, 130)};
    return {frame(15, 15, 180, 130), frame(15, 152, 87, 130), frame(108, 152, 87, 130)};
}

void WriteText(const std::wstring& path, const std::string& text) {
    std::ofstream(platform::ToFsPath(path), std::ios::binary | std::ios::trunc) << text;
}

std::string Utf8(const std::wstring& text) {
    return platform::WideToUtf8(text);
}

/// Installed by scripts/install-deps (icc-profiles-free).
constexpr const char* kAdobeRgbProfile = "/usr/share/color/icc/compatibleWithAdobeRGB1998.icc";

} // namespace

std::vector<std::wstring> MakePhotos(const std::wstring& root, int count) {
    const std::wstring folder = root + L"/TEMP/CORRECT";
    fs::create_directories(platform::ToFsPath(folder));
    std::vector<std::wstring> photos;
    for (int i = 0; i < count; ++i) {
        const double megapixels = 12.0 + 12.0 * i / std::max(1, count - 1);
        const int width = static_cast<int>(std::sqrt(megapixels * 1e6 * 4 / 3));
        const int height = width * 3 / 4;
        // As phones and scanners write them: phones tag Display P3, the last is an Adobe RGB scan.
        const bool scan = i == count - 1;
        const std::wstring path =
            folder + (scan ? L"/scan-adobergb" : L"/phone-p3-") + std::to_wstring(i + 1) + L".jpg";
        photos.push_back(path);
        if (fs::exists(platform::ToFsPath(path)))
            continue;
        // Smooth colour fields with grain: compresses and decodes like a real photo.
        VImage xy = VImage::xyz(width / 16, height / 16);
        VImage scene = (xy[0] * (3.0 + i)).bandjoin(xy[1] * 2.0).bandjoin((xy[0] + xy[1]) * 1.5);
        scene = (scene.copy_memory().resize(16.0) % 255)
                    .extract_area(0, 0, width / 16 * 16, height / 16 * 16);
        VImage grain =
            VImage::gaussnoise(scene.width(), scene.height(), VImage::option()->set("sigma", 10.0));
        (scene + grain)
            .cast(VIPS_FORMAT_UCHAR)
            .jpegsave(Utf8(path).c_str(), VImage::option()->set("Q", 90)->set(
                                              "profile", scan ? kAdobeRgbProfile : "p3"));
    }
    return photos;
}

BenchBook WriteBook(const std::wstring& root, int spreads,
                    const std::vector<std::wstring>& photos) {
    BenchBook book;
    book.workFolder = root + L"/TEMP";
    book.compositionFile = book.workFolder + L"/COMPOSITION_INFO/QrmZoInRi.ini";
    book.dataFolder = book.workFolder + L"/CTML";
    book.outputFolder = book.workFolder + L"/COMPOSITION_INFO/LAYOUTFINAL";
    book.spreads = spreads;
    // The photos stay: they lie in TEMP/CORRECT, where the engine may read them.
    fs::remove_all(platform::ToFsPath(book.workFolder + L"/COMPOSITION_INFO"));
    fs::remove_all(platform::ToFsPath(book.dataFolder));
    fs::create_directories(platform::ToFsPath(book.outputFolder));
    fs::create_directories(platform::ToFsPath(book.dataFolder));

    std::ostringstream formats;
    for (int photosPerPage = 1; photosPerPage <= 3; ++photosPerPage) {
        const auto frames = FramesFor(photosPerPage);
        formats << "[FORMAT_P" << photosPerPage << "]\nWIDTH_MM=210\nHEIGHT_MM=297\n"
                << "BACKGROUND_COLOR=245,240,230\nFRAME_CNT=" << frames.size() << "\n";
        for (std::size_t f = 0; f < frames.size(); ++f)
            formats << "FRAME" << f + 1 << "=" << frames[f].xMm << "," << frames[f].yMm << ","
                    << frames[f].widthMm << "," << frames[f].heightMm << "\n";
    }
    WriteText(book.dataFolder + L"/QrmFormat.ini", formats.str());

    std::ostringstream pages, pictures;
    int pageCount = 0;
    for (int spread = 0; spread < spreads; ++spread) {
        const int perPage = spread % 3 + 1; // 2, 4, 6 photos per spread
        for (int side = 0; side < 2; ++side, ++pageCount) {
            pages << "[PAGE_INFO" << pageCount + 1 << "]\nPICT_CNT=" << perPage << "\nFORMAT_NO=P"
                  << perPage << "\n";
            book.pageFrames.push_back(FramesFor(perPage));
            for (int frame = 0; frame < perPage; ++frame) {
                const int n = static_cast<int>(book.pictures.size());
                BenchPicture picture;
                picture.photo = photos[n % photos.size()];
                picture.page = pageCount;
                picture.frame = frame;
                const bool turned = n % 5 == 1;
                const bool zoomed = n % 4 == 2;
                picture.placement.clockwiseDegrees = turned ? 90 : 0;
                picture.placement.zoom = zoomed ? 1.3 : 1.0;
                picture.placement.shiftX = zoomed ? 0.1 : 0.0;
                book.pictures.push_back(picture);
                pictures << "[PICT_INFO" << n + 1 << "]\nFileName=" << Utf8(picture.photo)
                         << "\nFILENUM=" << n << "\nENLARGE=" << (zoomed ? 130 : 100)
                         << "\nmoveX=" << (zoomed ? 100 : 0)
                         << "\nmoveY=0\ndegree=" << (turned ? 90 : 0) << "\n";
            }
        }
    }
    std::ostringstream info;
    info << "[ZO_INFO]\nPAGE_CNT=" << pageCount << "\nPICT_CNT=" << book.pictures.size()
         << "\nOUTPUT_PATH=" << Utf8(book.outputFolder)
         << "\nIMAGE_FIT=0\nFORMAT_FILE_NAME=QrmFormat.ini\nquality=90\n"
         << pages.str() << pictures.str();
    WriteText(book.compositionFile, info.str());
    return book;
}

} // namespace bench
