// The two copies of an order transfer through the SMB backend (the order from the terminal's
// share into the work folder, and the work folder into the output share), against the SMB
// command-line client copying the same files the same two ways (mget, then mput), run side by
// side round by round against one real Samba server on this machine. Needs root and smbd.
//
// bench_transfer_smb [megabytes of the order, default 256]

#include "BenchRounds.h"

#include "fileutil/SmbFileSystem.h"
#include "platform/FileSystemCalls.h"
#include "platform/NetworkShare.h"
#include "platform/TextEncoding.h"

#include "SambaServer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

using bench::kPictureBytes;
using bench::kRounds;
using bench::Median;

void Shell(const std::string& command) {
    bench::Shell("bench_transfer_smb", command);
}

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "bench_transfer_smb: %s\n", what);
        std::exit(1);
    }
}

std::vector<std::string> WritePictures(const fs::path& folder, std::size_t totalBytes) {
    std::mt19937_64 random(7);
    std::vector<std::uint64_t> bytes(kPictureBytes / sizeof(std::uint64_t));
    std::vector<std::string> names;
    for (std::size_t picture = 1; picture * kPictureBytes <= totalBytes; ++picture) {
        char name[32];
        std::snprintf(name, sizeof name, "IMG-%04zu.jpg", picture);
        std::generate(bytes.begin(), bytes.end(), random);
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(kPictureBytes));
        names.emplace_back(name);
    }
    return names;
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    const std::string unavailable = SambaServer::Unavailable();
    Require(unavailable.empty(), unavailable.c_str());
    SambaServer server;
    Require(server.Error().empty(), server.Error().c_str());
    SmbFileSystem backend(server.Port());
    const std::wstring share = server.SharePath("a");
    Require(backend.LogOn(share, platform::Utf8ToWide(SambaServer::kUserA.name),
                          platform::Utf8ToWide(SambaServer::kUserA.password)) == 0,
            "logon refused");

    // The order lies in the share's "in" folder; both sides copy it out and back in.
    Require(static_cast<bool>(backend.MakeFolder(share + L"/in")), "cannot make the input folder");
    const fs::path order = server.ShareFolder("a") / "in";
    const std::vector<std::string> names = WritePictures(order, megabytes << 20);
    const fs::path root = fs::temp_directory_path() /
                          ("relaydesk-bench-smb-" + std::to_string(std::random_device()()));
    fs::create_directories(root);
    const fs::path credentials = root / "credentials";
    std::ofstream(credentials) << "username = " << SambaServer::kUserA.name
                               << "\npassword = " << SambaServer::kUserA.password << "\n";
    const std::string client = "smbclient -p " + std::to_string(server.Port()) + " -A '" +
                               credentials.string() + "' //127.0.0.1/a >/dev/null 2>&1 -c ";

    std::vector<double> ours, theirs, ratios, oursIn, theirsIn;
    for (int round = 0; round <= kRounds; ++round) {
        const fs::path work = root / "work", clientWork = root / "client-work";
        fs::remove_all(work);
        fs::remove_all(clientWork);
        fs::create_directories(work);
        fs::create_directories(clientWork);
        Require(static_cast<bool>(backend.DeleteTree(share + L"/out")) &&
                    static_cast<bool>(backend.DeleteTree(share + L"/client-out")) &&
                    static_cast<bool>(backend.MakeFolder(share + L"/out")) &&
                    static_cast<bool>(backend.MakeFolder(share + L"/client-out")),
                "cannot prepare the output folders");
        Shell("sync");

        Clock::time_point start = Clock::now();
        for (const std::string& name : names) {
            const std::wstring wide = platform::Utf8ToWide(name);
            Require(static_cast<bool>(backend.CopyFile(share + L"/in/" + wide,
                                                       platform::FromFsPath(work / name))),
                    "copy from the share failed");
        }
        const double inSeconds = Seconds(start);
        for (const std::string& name : names) {
            const std::wstring wide = platform::Utf8ToWide(name);
            Require(static_cast<bool>(backend.CopyFile(platform::FromFsPath(work / name),
                                                       share + L"/out/" + wide)),
                    "copy to the share failed");
        }
        const double backendSeconds = Seconds(start);

        start = Clock::now();
        Shell(client + "'prompt OFF; cd in; lcd " + clientWork.string() + "; mget *'");
        const double mgetSeconds = Seconds(start);
        Shell(client + "'prompt OFF; cd client-out; lcd " + clientWork.string() + "; mput *'");
        const double clientSeconds = Seconds(start);
        Require(fs::file_size(server.ShareFolder("a") / "client-out" / names.back()) ==
                        kPictureBytes &&
                    fs::file_size(server.ShareFolder("a") / "out" / names.back()) == kPictureBytes,
                "a copy is incomplete");
        if (round == 0)
            continue; // warms the page cache and the connections
        ours.push_back(backendSeconds);
        oursIn.push_back(inSeconds);
        theirsIn.push_back(mgetSeconds);
        theirs.push_back(clientSeconds);
        ratios.push_back(backendSeconds / clientSeconds);
    }
    fs::remove_all(root);
    std::printf("%zu MB order (%zu pictures) from a share and back through the SMB backend: %.2f s "
                "(from the share %.2f s); smbclient mget + mput: %.2f s (mget %.2f s); medians of "
                "%d rounds\n",
                names.size() * kPictureBytes >> 20, names.size(), Median(ours), Median(oursIn),
                Median(theirs), Median(theirsIn), kRounds);
    std::printf("ratio SMB backend / smbclient: %.2f (median of the rounds' ratios)\n",
                Median(ratios));
    return 0;
}
