// The transfer of one large order (hundreds of pictures, 1 GB by default) with an engine
// that composes nothing, against `cp -r` of the same order twice, run side by side, for an
// order with every picture corrected and for one with a picture in a hundred corrected; then
// the CPU use of an idle controller with ten enabled terminals.
//
// bench_transfer [megabytes of the order, default 1024] [idle seconds, default 10]

#include "BenchRounds.h"

#include "composition/ZoRiEngine.h"
#include "fileutil/FileUtil.h"
#include "fileutil/ShareResolver.h"
#include "platform/FileSystemCalls.h"
#include "transfer/ITransferView.h"
#include "transfer/OrderTransfer.h"
#include "transfer/RelaydeskController.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

using bench::kPictureBytes;
using bench::kRounds;
using bench::Median;

void Shell(const std::string& command) {
    bench::Shell("bench_transfer", command);
}

std::string Quote(const fs::path& path) {
    // Appended, not "'" + path.string(): GCC 12 at -O3 takes a literal prepended to a
    // temporary string for an overlapping copy (a -Wrestrict false positive).
    std::string quoted = "'";
    quoted += path.string();
    quoted += '\'';
    return quoted;
}

/// An order as a kiosk leaves it: the pictures in IMAGE, every `correctedEvery`-th of them
/// corrected in CORRECT, composition data and CTML; `totalBytes` of pictures in all.
int WriteOrder(const fs::path& order, std::size_t totalBytes, int correctedEvery) {
    const double perPicture = 1.0 + 1.0 / correctedEvery;
    const int pictures =
        static_cast<int>(static_cast<double>(totalBytes / kPictureBytes) / perPicture);
    std::mt19937_64 random(7);
    std::vector<std::uint64_t> bytes(kPictureBytes / sizeof(std::uint64_t));
    for (const char* folder : {"IMAGE", "CORRECT", "CTML", "COMPOSITION_INFO"})
        fs::create_directories(order / folder);
    const auto write = [&](const fs::path& file) {
        std::generate(bytes.begin(), bytes.end(), random);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(kPictureBytes));
    };
    for (int picture = 1; picture <= pictures; ++picture) {
        char name[32];
        std::snprintf(name, sizeof name, "IMG-%04d.jpg", picture);
        write(order / "IMAGE" / name);
        if (picture % correctedEvery == 0)
            write(order / "CORRECT" / name);
    }
    std::ofstream(order / "COMPOSITION_INFO" / "QrmZoInRi.ini")
        << "[ZO_INFO]\r\nPAGE_CNT=0\r\nPICT_CNT=0\r\n";
    std::ofstream(order / "COMPOSITION_INFO" / "AUTPRINT.MRK") << "[HDR]\r\nGEN REV = 01.10\r\n";
    std::ofstream(order / "CTML" / "QrmFormat.ini") << "[FORMAT]\r\n";
    return pictures;
}

std::size_t CountFiles(const fs::path& folder) {
    std::size_t files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        files += entry.is_regular_file() ? 1 : 0;
    return files;
}

class SilentView : public ITransferView {
public:
    void SetListCell(int, int, const std::wstring&) override {}
    void SetServingName(const std::wstring&) override {}
    void SetProgressText(const std::wstring&) override {}
};

void MeasureTransfer(const fs::path& root, std::size_t totalBytes, int correctedEvery) {
    fs::remove_all(root / "pristine");
    const fs::path pristine = root / "pristine" / "r0000001";
    const fs::path input = root / "input", output = root / "output", program = root / "program";
    const int pictures = WriteOrder(pristine, totalBytes, correctedEvery);
    fs::create_directories(output);
    fs::create_directories(program);

    const std::wstring engineLibrary =
        JoinPath(JoinPath(GetModuleFolder(), L"bench-null-engine"), L"QRM_ZO_RI.so");
    CZoRiEngine engine(engineLibrary);
    std::atomic<bool> closing{false};
    ShareResolver files;
    OrderTransfer transfer(engine, files, closing, platform::FromFsPath(program));

    // Round 0 warms up: its transfer finds no earlier work folder to delete, which every
    // later one does, and both sides fill the page cache. Each counted round pairs the two
    // runs under the same conditions of this (shared, noisy) machine.
    std::vector<double> ours, copies, ratios;
    for (int round = 0; round <= kRounds; ++round) {
        fs::remove_all(input);
        fs::remove_all(output / "o0000001");
        fs::create_directories(input);
        Shell("cp -r " + Quote(pristine) + " " + Quote(input));
        Shell("sync");
        const Clock::time_point start = Clock::now();
        const TransferOutcome outcome = transfer.TransferOrder(
            OrderTicket{platform::FromFsPath(input / "r0000001"), platform::FromFsPath(input),
                        platform::FromFsPath(output), 1});
        const double transferSeconds = std::chrono::duration<double>(Clock::now() - start).count();
        // Transferred, with every picture in its backup and the corrections merged into it.
        const fs::path transferred = input / "e0000001";
        if (outcome != TransferOutcome::kDelivered || !fs::exists(transferred) ||
            !fs::exists(output / "o0000001") ||
            CountFiles(transferred / "CORRECT_BK") != static_cast<std::size_t>(pictures) ||
            CountFiles(transferred / "CORRECT") != 0) {
            std::fprintf(stderr, "bench_transfer: the order was not transferred\n");
            std::exit(1);
        }

        fs::remove_all(root / "copy1");
        fs::remove_all(root / "copy2");
        Shell("sync");
        const Clock::time_point copyStart = Clock::now();
        Shell("cp -r " + Quote(pristine) + " " + Quote(root / "copy1"));
        Shell("cp -r " + Quote(root / "copy1") + " " + Quote(root / "copy2"));
        const double copySeconds = std::chrono::duration<double>(Clock::now() - copyStart).count();
        if (round == 0)
            continue;
        ours.push_back(transferSeconds);
        copies.push_back(copySeconds);
        ratios.push_back(transferSeconds / copySeconds);
    }
    std::printf("transfer of a %zu MB order (%d pictures, every %s corrected): %.2f s; "
                "cp -r twice: %.2f s (medians of %d rounds)\n",
                totalBytes >> 20, pictures, correctedEvery == 1 ? "one" : "100th", Median(ours),
                Median(copies), kRounds);
    std::printf("ratio transfer / cp -r twice: %.2f (median of the rounds' ratios)\n",
                Median(ratios));
}

void MeasureIdle(const fs::path& root, int seconds) {
    const fs::path program = root / "idle-program";
    fs::create_directories(program);
    SilentView view;
    ShareResolver files;
    RelaydeskController controller(view, files, platform::FromFsPath(program));
    controller.Initialize();
    controller.ModifyTerminalTable([&](TerminalTable& table) {
        for (int slot = 0; slot < kTerminalSlots; ++slot) {
            const fs::path terminal = root / "idle" / std::to_string(slot);
            fs::create_directories(terminal / "in");
            fs::create_directories(terminal / "out");
            TerminalEntry entry;
            entry.name = L"T" + std::to_wstring(slot);
            entry.path = platform::FromFsPath(terminal / "in");
            entry.outName = entry.name;
            entry.outPath = platform::FromFsPath(terminal / "out");
            table.AddTerminal(entry);
            table.slots[static_cast<std::size_t>(slot)].enabled = 1;
        }
    });
    controller.StartCheckThread();
    controller.ThreadStart();
    const std::clock_t cpuStart = std::clock();
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    controller.Shutdown();
    std::printf(
        "idle controller, ten enabled terminals: %.3f s CPU in %.1f s (%.2f %% of one core)\n", cpu,
        wall, 100.0 * cpu / wall);
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1024;
    const int idleSeconds = argc > 2 ? std::atoi(argv[2]) : 10;
    const fs::path root = fs::temp_directory_path() /
                          ("relaydesk-bench-transfer-" + std::to_string(std::random_device()()));
    fs::create_directories(root);
    // Every picture corrected: the most the transfer moves. One in a hundred: the usual order.
    MeasureTransfer(root, megabytes << 20, 1);
    MeasureTransfer(root, megabytes << 20, 100);
    MeasureIdle(root, idleSeconds);
    fs::remove_all(root);
    return 0;
}
