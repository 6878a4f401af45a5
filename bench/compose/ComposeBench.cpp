// Composes a book of A4 spreads with 12-24 megapixel photos through the engine library and
// compares it, in the same run, with ImageMagick doing the same placements and with the
// floor: shrink-on-load decoding of each photo to its needed size plus encoding the blank
// spreads. The engine runs in a child process so that its peak memory is its own.
//
//   bench_compose [--spreads N] [--long-spreads M] [--rounds R] [--folder DIR]
// Last line: compose: vs-imagemagick=X vs-floor=Y peak-rss-mb=Z

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vips/vips8>

#include "BenchBook.h"
#include "FrameGeometry.h"
#include "composition/ZoRiProtocol.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"
#include "platform/WindowMessages.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using vips::VImage;

constexpr int kDotsPerInch = 300;

int Pixels(double millimetres) {
    return std::max(1, static_cast<int>(std::lround(millimetres * kDotsPerInch / 25.4)));
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

std::string Utf8(const std::wstring& text) {
    return platform::WideToUtf8(text);
}

/// Peak resident memory of this process in megabytes, as the kernel counts it.
double PeakResidentMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}

std::atomic<int> g_done{0};
std::atomic<int> g_result{0};

std::intptr_t NotifyProc(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                         std::intptr_t lParam) {
    if (message == zori::kNotifyMessage && (wParam == zori::kNotifyDone || wParam == zori::kNotifyAborted)) {
        g_result = static_cast<int>(lParam);
        g_done = 1;
    }
    return platform::DefaultWindowProcedure(window, message, wParam, lParam);
}

/// Child: composes one book through the library's entry points, waiting on the message
/// queue rather than polling once a second, and prints its time and peak memory.
int RunEngineChild(const std::wstring& compositionFile, const std::wstring& dataFolder) {
    platform::DynamicLibrary library;
    if (!library.Load(L"QRM_ZO_RI.dll"))
        return 2;
    auto create = library.Resolve<zori::CreateInstanceFunction>("QRM_ZO_RI_createInstance");
    auto release = library.Resolve<zori::ReleaseInstanceFunction>("QRM_ZO_RI_releaseInstance");
    auto setIni = library.Resolve<zori::SetIniFileNameFunction>("QRM_ZO_RI_setIniFileName");
    auto setData = library.Resolve<zori::SetDataPathFunction>("QRM_ZO_RI_setDataPath");
    platform::RegisterWindowClass(L"BenchNotify", &NotifyProc);
    const platform::WindowHandle notifyWindow = platform::CreateHiddenWindow(L"BenchNotify", L"bench");
    const zori::NotifyRecord notify{notifyWindow, zori::kNotifyMessage, zori::kCreationValue};
    std::uintptr_t engineWindow = 0;
    zori::EngineInstance instance = create(&notify, &engineWindow);
    if (instance == nullptr)
        return 2;
    setData(instance, dataFolder.c_str());
    setIni(instance, 0, compositionFile.c_str());
    const auto start = Clock::now();
    platform::PostWindowMessage(engineWindow, zori::kMessageStartValue, 0, kDotsPerInch);
    platform::PostWindowMessage(engineWindow, zori::kMessageStart, 0, 0);
    while (g_done == 0) {
        platform::WaitForWindowMessage(100);
        platform::WindowMessage message;
        while (platform::PeekWindowMessage(message))
            platform::DispatchWindowMessage(message);
    }
    const double seconds = Seconds(start);
    release(instance);
    std::printf("engine-seconds=%.3f peak-rss-mb=%.0f result=%d\n", seconds, PeakResidentMb(), g_result.load());
    return g_result == 0 ? 0 : 1;
}

struct ChildResult {
    double seconds = 0;
    double peakMb = 0;
    bool ok = false;
};

ChildResult RunEngine(const std::string& self, const bench::BenchBook& book, const std::wstring& root) {
    const std::string report = Utf8(root) + "/engine-report.txt";
    const std::string command = "\"" + self + "\" --engine-child \"" + Utf8(book.compositionFile) + "\" \"" +
                                Utf8(book.dataFolder) + "\" > \"" + report + "\"";
    ChildResult result;
    if (std::system(command.c_str()) != 0)
        return result;
    std::ifstream in(report);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    result.ok = std::sscanf(text.c_str(), "engine-seconds=%lf peak-rss-mb=%lf", &result.seconds, &result.peakMb) == 2;
    return result;
}

struct Placement {
    std::string photo;
    zori::PictureGeometry geometry;
    int degrees = 0;
    int x = 0, y = 0; ///< where the cut lands in the spread
};

std::vector<std::vector<Placement>> PlanSpreads(const bench::BenchBook& book) {
    std::vector<std::vector<Placement>> spreads(book.spreads);
    for (const bench::BenchPicture& picture : book.pictures) {
        VImage header = VImage::new_from_file(Utf8(picture.photo).c_str());
        const zori::Frame& frame = book.pageFrames[picture.page][picture.frame];
        Placement placement;
        placement.photo = Utf8(picture.photo);
        placement.degrees = picture.placement.clockwiseDegrees;
        placement.geometry = zori::PlacePicture(header.width(), header.height(), Pixels(frame.widthMm),
                                                Pixels(frame.heightMm), zori::ImageFit::kCover, picture.placement);
        const int pageLeft = (picture.page % 2) * Pixels(bench::kPageWidthMm);
        placement.x = pageLeft + Pixels(frame.xMm) + placement.geometry.frameX;
        placement.y = Pixels(frame.yMm) + placement.geometry.frameY;
        spreads[picture.page / 2].push_back(placement);
    }
    return spreads;
}

double RunImageMagick(const std::vector<std::vector<Placement>>& spreads, const std::wstring& root) {
    const int width = 2 * Pixels(bench::kPageWidthMm), height = Pixels(bench::kPageHeightMm);
    const auto start = Clock::now();
    for (std::size_t s = 0; s < spreads.size(); ++s) {
        std::ostringstream command;
        command << "convert -size " << width << "x" << height << " xc:'rgb(245,240,230)'";
        for (const Placement& p : spreads[s]) {
            const auto& g = p.geometry;
            command << " \\( -define jpeg:size=" << g.decodeWidth << "x" << g.decodeHeight << " '" << p.photo
                    << "' -resize " << g.decodeWidth << "x" << g.decodeHeight << "! -crop " << g.cut.width << "x"
                    << g.cut.height << "+" << g.cut.left << "+" << g.cut.top << " +repage";
            if (p.degrees != 0)
                command << " -rotate " << p.degrees;
            command << " \\) -geometry +" << p.x << "+" << p.y << " -composite";
        }
        command << " -quality 90 '" << Utf8(root) << "/magick" << s + 1 << ".jpg'";
        if (std::system(command.str().c_str()) != 0)
            return -1;
    }
    return Seconds(start);
}

double RunFloor(const std::vector<std::vector<Placement>>& spreads, const std::wstring& root) {
    const int width = 2 * Pixels(bench::kPageWidthMm), height = Pixels(bench::kPageHeightMm);
    const auto start = Clock::now();
    for (std::size_t s = 0; s < spreads.size(); ++s) {
        for (const Placement& p : spreads[s])
            VImage::thumbnail(p.photo.c_str(), p.geometry.decodeWidth,
                              VImage::option()->set("height", p.geometry.decodeHeight)->set("size", VIPS_SIZE_FORCE))
                .avg();
        const std::string file = Utf8(root) + "/floor" + std::to_string(s + 1) + ".jpg";
        VImage::black(width, height).new_from_image({245, 240, 230}).cast(VIPS_FORMAT_UCHAR)
            .jpegsave(file.c_str(), VImage::option()->set("Q", 90));
    }
    return Seconds(start);
}

} // namespace

int main(int argc, char** argv) {
    if (vips_init(argv[0]) != 0)
        return 2;
    vips_cache_set_max(0);
    if (argc == 4 && std::string(argv[1]) == "--engine-child")
        return RunEngineChild(platform::Utf8ToWide(argv[2]), platform::Utf8ToWide(argv[3]));

    int spreadCount = 10, longSpreads = 100, rounds = 3;
    std::string folder = (fs::temp_directory_path() / "relaydesk-bench-compose").string();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--spreads")
            spreadCount = std::atoi(argv[i + 1]);
        else if (option == "--long-spreads")
            longSpreads = std::atoi(argv[i + 1]);
        else if (option == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--folder")
            folder = argv[i + 1];
    }
    const std::wstring root = platform::Utf8ToWide(folder);
    std::cout << "making photos in " << folder << std::endl;
    const auto photos = bench::MakePhotos(root, 8);

    const bench::BenchBook book = bench::WriteBook(root, spreadCount, photos);
    const auto plan = PlanSpreads(book);
    // Warm the file cache so that no contender pays for the first read of the photos.
    RunFloor(plan, root);
    // The machine is shared: the engine and the floor run in turns, and the best of each
    // counts, so that a burst of load elsewhere does not decide the ratio.
    ChildResult engine;
    double floor = 0;
    for (int round = 0; round < rounds; ++round) {
        const ChildResult run = RunEngine(argv[0], book, root);
        if (!run.ok) {
            engine.ok = false;
            break;
        }
        if (round == 0 || run.seconds < engine.seconds)
            engine = run;
        engine.peakMb = std::max(engine.peakMb, run.peakMb);
        const double floorRun = RunFloor(plan, root);
        floor = round == 0 ? floorRun : std::min(floor, floorRun);
    }
    const double magick = RunImageMagick(plan, root);
    if (!engine.ok || magick < 0) {
        std::cerr << "bench_compose: the engine or ImageMagick failed\n";
        return 1;
    }
    std::printf("spreads=%d engine=%.2fs imagemagick=%.2fs floor=%.2fs\n", spreadCount, engine.seconds, magick, floor);
    if (longSpreads > 0) {
        const bench::BenchBook longBook = bench::WriteBook(root, longSpreads, photos);
        const ChildResult longRun = RunEngine(argv[0], longBook, root);
        std::printf("spreads=%d engine=%.2fs peak-rss-mb=%.0f\n", longSpreads, longRun.seconds, longRun.peakMb);
    }
    std::printf("compose: vs-imagemagick=%.2f vs-floor=%.2f peak-rss-mb=%.0f\n", magick / engine.seconds,
                engine.seconds / floor, engine.peakMb);
    return 0;
}
