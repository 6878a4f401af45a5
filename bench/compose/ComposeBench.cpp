// Composes a book of A4 spreads with 12-24 megapixel photos (Display P3 phone photos and an
// Adobe RGB scan, so colour management has work to do) through the engine library and
// compares it, in the same run, with ImageMagick doing the same placements and with the
// floor: shrink-on-load decoding of each photo to its needed size plus encoding the blank
// spreads, one spread after the other. The engine runs in a child process so that its peak
// memory is its own. Every contender runs at the lowest normal priority, as the engine does.
//
//   bench_compose [--spreads N] [--long-spreads M] [--rounds R] [--folder DIR]
// Last line: compose: vs-imagemagick=X vs-floor=Y book-vs-floor=Z cms-cost=C peak-rss-mb=M
//   vs-imagemagick  ImageMagick's time / the engine's (the book as the program composes it)
//   vs-floor        the engine composing one spread at a time / the floor
//   book-vs-floor   the engine with its spreads overlapping on all cores / the floor
//   cms-cost        the engine's time with colour management / without
//                   (RELAYDESK_ENGINE_COLOUR_MANAGEMENT=0: pictures taken as untagged)
//   peak-rss-mb     the engine's peak memory, the most of the short and the long book

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vips/vips8>

#include "BenchBook.h"
#include "FrameGeometry.h"
#include "composition/ZoRiProtocol.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"
#include "platform/ThreadPriority.h"
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

std::intptr_t NotifyProc(platform::WindowHandle window, std::uint32_t message,
                         std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == zori::kNotifyMessage &&
        (wParam == zori::kNotifyDone || wParam == zori::kNotifyAborted)) {
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
    const platform::WindowHandle notifyWindow =
        platform::CreateHiddenWindow(L"BenchNotify", L"bench");
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
    std::printf("engine-seconds=%.3f peak-rss-mb=%.0f result=%d\n", seconds, PeakResidentMb(),
                g_result.load());
    return g_result == 0 ? 0 : 1;
}

struct ChildResult {
    double seconds = 0;
    double peakMb = 0;
    bool ok = false;
};

/// `environment`: the engine's switches (components/engine/EngineSwitches.h), as shell words.
ChildResult RunEngine(const std::string& self, const bench::BenchBook& book,
                      const std::wstring& root, const std::string& environment = "") {
    const std::string report = Utf8(root) + "/engine-report.txt";
    const std::string command = environment + " \"" + self + "\" --engine-child \"" +
                                Utf8(book.compositionFile) + "\" \"" + Utf8(book.dataFolder) +
                                "\" > \"" + report + "\"";
    ChildResult result;
    if (std::system(command.c_str()) != 0)
        return result;
    std::ifstream in(report);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    result.ok = std::sscanf(text.c_str(), "engine-seconds=%lf peak-rss-mb=%lf", &result.seconds,
                            &result.peakMb) == 2;
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
        placement.geometry =
            zori::PlacePicture(header.width(), header.height(), Pixels(frame.widthMm),
                               Pixels(frame.heightMm), zori::ImageFit::kCover, picture.placement);
        const int pageLeft = (picture.page % 2) * Pixels(bench::kPageWidthMm);
        placement.x = pageLeft + Pixels(frame.xMm) + placement.geometry.frameX;
        placement.y = Pixels(frame.yMm) + placement.geometry.frameY;
        spreads[picture.page / 2].push_back(placement);
    }
    return spreads;
}

double RunImageMagick(const std::vector<std::vector<Placement>>& spreads,
                      const std::wstring& root) {
    const int width = 2 * Pixels(bench::kPageWidthMm), height = Pixels(bench::kPageHeightMm);
    const auto start = Clock::now();
    for (std::size_t s = 0; s < spreads.size(); ++s) {
        std::ostringstream command;
        // At the engine's priority, so that load from elsewhere weighs on both alike.
        command << "nice -n " << platform::kLowestNormalNiceRaise << " convert -size " << width
                << "x" << height << " xc:'rgb(245,240,230)'";
        for (const Placement& p : spreads[s]) {
            const auto& g = p.geometry;
            command << " \\( -define jpeg:size=" << g.decodeWidth << "x" << g.decodeHeight << " '"
                    << p.photo << "' -resize " << g.decodeWidth << "x" << g.decodeHeight
                    << "! -crop " << g.cut.width << "x" << g.cut.height << "+" << g.cut.left << "+"
                    << g.cut.top << " +repage";
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
                              VImage::option()
                                  ->set("height", p.geometry.decodeHeight)
                                  ->set("size", VIPS_SIZE_FORCE))
                .avg();
        const std::string file = Utf8(root) + "/floor" + std::to_string(s + 1) + ".jpg";
        VImage::black(width, height)
            .new_from_image({245, 240, 230})
            .cast(VIPS_FORMAT_UCHAR)
            .jpegsave(file.c_str(), VImage::option()->set("Q", 90));
    }
    return Seconds(start);
}

/// Runs `work` on a thread at the lowest normal priority, the engine's; the image library's
/// threads it starts inherit that priority.
template <typename Work> auto AtEnginePriority(Work work) {
    decltype(work()) result{};
    std::thread([&] {
        platform::LowerCurrentThreadPriority();
        result = work();
    }).join();
    return result;
}

const char kOneSpreadAtATime[] = "RELAYDESK_ENGINE_SPREADS_IN_FLIGHT=1";
const char kWithoutColourManagement[] = "RELAYDESK_ENGINE_COLOUR_MANAGEMENT=0";

/// The best of a contender's rounds counts; the peak memory is the most of any round.
void KeepBest(ChildResult& best, const ChildResult& run, int round) {
    const double peak = std::max(best.peakMb, run.peakMb);
    if (!run.ok)
        best.ok = false;
    else if (round == 0 || run.seconds < best.seconds)
        best = run;
    best.peakMb = peak;
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
    // Every image-library thread of this process is started at the engine's priority.
    const auto photos = AtEnginePriority([&] { return bench::MakePhotos(root, 8); });

    const bench::BenchBook book = bench::WriteBook(root, spreadCount, photos);
    const auto plan = AtEnginePriority([&] { return PlanSpreads(book); });
    const auto floorRun = [&] { return AtEnginePriority([&] { return RunFloor(plan, root); }); };
    // Warm the file cache so that no contender pays for the first read of the photos.
    floorRun();
    // The machine is shared: the contenders run in turns, round after round, and the best of
    // each counts, so that a burst of load elsewhere does not decide a ratio.
    ChildResult oneAtATime, overlapped, withoutColour;
    double floor = 0;
    for (int round = 0; round < rounds; ++round) {
        KeepBest(oneAtATime, RunEngine(argv[0], book, root, kOneSpreadAtATime), round);
        KeepBest(overlapped, RunEngine(argv[0], book, root), round);
        KeepBest(withoutColour, RunEngine(argv[0], book, root, kWithoutColourManagement), round);
        const double seconds = floorRun();
        floor = round == 0 ? seconds : std::min(floor, seconds);
    }
    if (!oneAtATime.ok || !overlapped.ok || !withoutColour.ok) {
        std::cerr << "bench_compose: the engine failed\n";
        return 1;
    }
    // Printed before ImageMagick's long run, so that the engine's figures are there early.
    std::printf("spreads=%d engine=%.2fs one-at-a-time=%.2fs without-cms=%.2fs floor=%.2fs "
                "peak-rss-mb=%.0f\n",
                spreadCount, overlapped.seconds, oneAtATime.seconds, withoutColour.seconds, floor,
                overlapped.peakMb);
    std::printf("engine: vs-floor=%.2f book-vs-floor=%.2f cms-cost=%.2f\n",
                oneAtATime.seconds / floor, overlapped.seconds / floor,
                overlapped.seconds / withoutColour.seconds);
    std::fflush(stdout);
    double peakMb = overlapped.peakMb;
    if (longSpreads > 0) {
        const bench::BenchBook longBook = bench::WriteBook(root, longSpreads, photos);
        const ChildResult longRun = RunEngine(argv[0], longBook, root);
        if (!longRun.ok) {
            std::cerr << "bench_compose: the engine failed on the long book\n";
            return 1;
        }
        std::printf("spreads=%d engine=%.2fs peak-rss-mb=%.0f\n", longSpreads, longRun.seconds,
                    longRun.peakMb);
        std::fflush(stdout);
        peakMb = std::max(peakMb, longRun.peakMb);
    }
    const double magick = RunImageMagick(plan, root);
    if (magick < 0) {
        std::cerr << "bench_compose: ImageMagick failed\n";
        return 1;
    }
    std::printf("spreads=%d imagemagick=%.2fs\n", spreadCount, magick);
    std::printf("compose: vs-imagemagick=%.2f vs-floor=%.2f book-vs-floor=%.2f cms-cost=%.2f "
                "peak-rss-mb=%.0f\n",
                magick / overlapped.seconds, oneAtATime.seconds / floor, overlapped.seconds / floor,
                overlapped.seconds / withoutColour.seconds, peakMb);
    return 0;
}
