// Load, prune and save of a large photo book's composition information file, timed side by
// side with plain reading of the same file's bytes. The last line printed is the ratio of the
// two medians, so that runs on different machines compare.

#include "composition/CompositionInfo.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kPages = 500;
constexpr int kPicturesPerPage = 6;
constexpr int kRounds = 15;

std::string PictureName(int picture) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG-%04d.JPG", picture);
    return name;
}

/// A book as a kiosk writes it: every value present, Japanese print names, some empty slots.
std::string MakeBookText(const std::string& folder) {
    std::ostringstream text;
    text << "[ZO_INFO]\r\nPAGE_CNT=" << kPages << "\r\nPICT_CNT=" << kPages * kPicturesPerPage
         << "\r\nOUTPUT_PATH=" << folder << "/LAYOUTFINAL\r\nOUTPUT_PATH2=" << folder
         << "/COVERFINAL\r\nIMAGE_FIT=1\r\nFORMAT_FILE_NAME=A4横.fmt\r\nSPLIT_PICTURE_FLAG=0\r\n"
            "HARD_COVER_FLAG=1\r\nquality=95\r\nPREVIEW_WIDTH=640\r\nPREVIEW_HEIGHT=480\r\n"
            "PREVIEW_COMPOSITE=1\r\nADOBERGB_LUT_FILE_NAME=AdobeRGB.lut\r\n"
            "NOT_OUTPUT_RAKUGAKI_MOJI_BG=0\r\nSTAMP_PATH=stamp\r\nALLSYS_FILE_NAME=allsys.dat\r\n";
    for (int page = 1; page <= kPages; ++page) {
        text << "[PAGE_INFO" << page << "]\r\nPICT_CNT=" << kPicturesPerPage << "\r\nFORMAT_NO=F"
             << page % 40 << "\r\nSINFO_INI=s" << page << ".ini\r\nSINFO_BMP=s" << page
             << ".bmp\r\nSINFO_MSK=s" << page << ".msk\r\nTINFO_INI=t" << page
             << ".ini\r\nTINFO_BMP=t" << page << ".bmp\r\nTINFO_MSK=t" << page
             << ".msk\r\nBG_IMAGE_FLAG=1\r\nBACKIMG_PATH=背景" << page << ".jpg\r\n";
    }
    for (int picture = 1; picture <= kPages * kPicturesPerPage; ++picture) {
        const std::string name = PictureName(picture);
        text << "[PICT_INFO" << picture << "]\r\nFileName=" << folder << "/CORRECT_BK/" << name
             << "\r\nFILENUM=" << (picture % 7 == 0 ? -1 : picture) << "\r\nPRINT_NAME=夏の思い出"
             << picture << "\r\nDATE=2026/08/01\r\nCORRECT_AUTO=1\r\nCORRECT_PARAM=0,0,0,0,0\r\n"
             << "CORRECT_PARAM_CIPO=0,0\r\nENLARGE=100\r\nmoveX=-12\r\nmoveY=8\r\ndegree=0\r\n"
             << "o_degree=0\r\nIFPO_NAME=" << name << "\r\n";
    }
    return text.str();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename Work> double Milliseconds(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("relaydesk-bench-" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
    const std::wstring source = platform::FromFsPath(folder / "source.ini");
    const std::wstring work = platform::FromFsPath(folder / "QrmZoInRi.ini");
    {
        std::ofstream out(folder / "source.ini", std::ios::binary);
        out << MakeBookText(folder.string());
    }
    // Ten corrected pictures spread over the book: about a tenth of the spreads stay.
    std::vector<std::wstring> corrections;
    for (int picture = 150; picture <= 3000; picture += 300)
        corrections.push_back(platform::FromFsPath(folder / "CORRECT" / PictureName(picture)));

    std::vector<double> readTimes;
    std::vector<double> prepareTimes;
    std::size_t bytesRead = 0;
    int pagesLeft = 0;
    bool failed = false;
    for (int round = 0; round < kRounds; ++round) {
        failed |= !CopyOneFile(LocalFolders(), source, work);
        readTimes.push_back(Milliseconds([&] {
            std::ifstream in(folder / "QrmZoInRi.ini", std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
            bytesRead = bytes.size();
        }));
        prepareTimes.push_back(Milliseconds([&] {
            CompositionInfo info;
            failed |= !info.LoadFromFile(work);
            info.PrunePages(corrections);
            failed |= !DeleteItem(LocalFolders(), work);
            failed |= !info.SaveToFile(work);
            pagesLeft = info.GetZoInfo().pageCount;
        }));
    }
    fs::remove_all(folder);
    if (failed) {
        std::fprintf(stderr, "the book could not be copied, read or written\n");
        return 1;
    }

    const double read = Median(readTimes);
    const double prepare = Median(prepareTimes);
    std::printf("book: %d pages, %d pictures, %zu bytes; %d pages left after pruning\n", kPages,
                kPages * kPicturesPerPage, bytesRead, pagesLeft);
    std::printf("read bytes:             %8.3f ms (median of %d)\n", read, kRounds);
    std::printf("load + prune + save:    %8.3f ms (median of %d)\n", prepare, kRounds);
    std::printf("ratio load+prune+save / read bytes: %.1f\n", prepare / read);
    return 0;
}
