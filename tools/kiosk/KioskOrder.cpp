#include "KioskOrder.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>
#include <utility>

#include "SyntheticPhoto.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

namespace kiosk {

namespace {

namespace fs = std::filesystem;

const wchar_t kFormatFileName[] = L"QrmFormat.ini";
const wchar_t kBackgroundName[] = L"bg_paper.jpg";
constexpr double kPageWidthMm = 210.0;
constexpr double kPageHeightMm = 297.0;
constexpr double kMarginMm = 12.0;
constexpr double kGapMm = 6.0;

std::wstring OrderName(wchar_t letter, int number) {
    wchar_t name[16];
    std::swprintf(name, 16, L"%lc%07d", letter, number);
    return name;
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    return folder + platform::kPathSeparator + name;
}

/// INI and print-order files as a Windows kiosk writes them: CR LF line ends.
bool WriteTextFile(const std::wstring& path, const std::wstring& text) {
    std::string crlf;
    for (char c : platform::WideToUtf8(text)) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    std::ofstream file(platform::ToFsPath(path), std::ios::binary | std::ios::trunc);
    file << crlf;
    return static_cast<bool>(file);
}

bool MakeFolders(const std::wstring& order, std::wstring& error) {
    for (const wchar_t* sub : {L"", L"/IMAGE", L"/CORRECT", L"/COMPOSITION_INFO", L"/CTML"}) {
        std::error_code code;
        fs::create_directories(platform::ToFsPath(order + sub), code);
        if (code) {
            error = L"cannot create " + order + sub;
            return false;
        }
    }
    return true;
}

/// Frames of `count` photos in a grid on an A4 page shrunk by `scale`, in millimetres.
std::wstring GridFrames(int count, double scale) {
    const int columns = count <= 2 ? 1 : (count <= 6 ? 2 : 3);
    const int rows = (count + columns - 1) / columns;
    const double margin = kMarginMm * scale;
    const double gap = kGapMm * scale;
    const double width = (kPageWidthMm * scale - 2 * margin - (columns - 1) * gap) / columns;
    const double height = (kPageHeightMm * scale - 2 * margin - (rows - 1) * gap) / rows;
    std::wostringstream text;
    text << L"FRAME_CNT=" << count << L"\n";
    for (int i = 0; i < count; ++i) {
        const int column = i % columns;
        const int row = i / columns;
        const double x = margin + column * (width + gap);
        const double y = margin + row * (height + gap);
        text << L"FRAME" << i + 1 << L"=" << x << L"," << y << L"," << width << L"," << height
             << L"\n";
    }
    return text.str();
}

std::wstring FormatFile(int photosPerPage, double scale) {
    std::wostringstream size; // "210", "21" or "29.7": as short as the number allows
    size << L"WIDTH_MM=" << kPageWidthMm * scale << L"\nHEIGHT_MM=" << kPageHeightMm * scale
         << L"\n";
    const std::wstring page = size.str();
    std::wostringstream text;
    text << L"; Page formats of this book: sizes and frames in millimetres.\n";
    text << L"[FORMAT_COVER_BACK]\n"
         << page << L"COVER=1\nBACKGROUND_COLOR=38,52,84\nFRAME_CNT=0\n\n";
    text << L"[FORMAT_COVER_FRONT]\n"
         << page << L"COVER=1\nBACKGROUND_COLOR=38,52,84\n"
         << L"FRAME_CNT=1\nFRAME1=" << 20 * scale << L"," << 40 * scale << L"," << 170 * scale
         << L"," << 170 * scale << L"\n\n";
    text << L"[FORMAT_GRID" << photosPerPage << L"]\n"
         << page << L"BACKGROUND=" << kBackgroundName << L"\n"
         << GridFrames(photosPerPage, scale) << L"\n";
    return text.str();
}

struct PageDraft {
    std::wstring format;
    int pictures = 0;
};

std::vector<PageDraft> PlanPages(const OrderRequest& request) {
    std::vector<PageDraft> pages;
    for (int page = 0; page < request.pages; ++page) {
        if (page == 0)
            pages.push_back({L"COVER_BACK", 0});
        else if (page == 1)
            pages.push_back({L"COVER_FRONT", 1});
        else
            pages.push_back(
                {L"GRID" + std::to_wstring(request.photosPerPage), request.photosPerPage});
    }
    return pages;
}

std::wstring CompositionFile(const std::vector<PageDraft>& pages, int pictureCount,
                             std::mt19937& random) {
    std::wostringstream text;
    text << L"[ZO_INFO]\nPAGE_CNT=" << pages.size() << L"\nPICT_CNT=" << pictureCount
         << L"\nOUTPUT_PATH=<<ALBUM_DIR>>\\LAYOUTFINAL\nOUTPUT_PATH2=<<ALBUM_DIR>>\\COVERFINAL\n"
         << L"IMAGE_FIT=0\nFORMAT_FILE_NAME=<<CTML_DIR>>\\" << kFormatFileName
         << L"\nSPLIT_PICTURE_FLAG=0\nHARD_COVER_FLAG=1\nquality=90\nPREVIEW_WIDTH=400\n"
         << L"PREVIEW_HEIGHT=400\nPREVIEW_COMPOSITE=0\nADOBERGB_LUT_FILE_NAME=\n"
         << L"NOT_OUTPUT_RAKUGAKI_MOJI_BG=0\nSTAMP_PATH=\nALLSYS_FILE_NAME=\n\n";
    for (std::size_t i = 0; i < pages.size(); ++i) {
        text << L"[PAGE_INFO" << i + 1 << L"]\nPICT_CNT=" << pages[i].pictures << L"\nFORMAT_NO="
             << pages[i].format << L"\nSINFO_INI=\nSINFO_BMP=\nSINFO_MSK=\nTINFO_INI=\nTINFO_BMP=\n"
             << L"TINFO_MSK=\nBG_IMAGE_FLAG=0\nBACKIMG_PATH=\n\n";
    }
    // Customers turn and zoom some pictures at the kiosk.
    std::uniform_int_distribution<int> percent(0, 99);
    for (int n = 1; n <= pictureCount; ++n) {
        const int roll = percent(random);
        const int degree = roll < 15 ? 90 : (roll < 20 ? 270 : 0);
        const int enlarge = roll >= 70 ? 120 + roll % 5 * 10 : 100;
        const int moveX = enlarge > 100 ? (roll % 7 - 3) * 20 : 0;
        const std::wstring name = PictureName(n);
        text << L"[PICT_INFO" << n << L"]\nFileName=IMG-" << name.substr(4, 4)
             << L".<<EXT>>\nFILENUM=" << n - 1
             << L"\nCORRECT_AUTO=0\nCORRECT_PARAM=\nCORRECT_PARAM_CIPO=\nENLARGE=" << enlarge
             << L"\nmoveX=" << moveX << L"\nmoveY=0\ndegree=" << degree
             << L"\no_degree=0\nIFPO_NAME=" << name << L"\nPRINT_NAME=" << name
             << L"\nDATE=2026/12/05\n\n";
    }
    return text.str();
}

/// A DPOF print-order file with one standard print per spread.
std::wstring PrintOrderFile(int spreads) {
    std::wostringstream text;
    text << L"[HDR]\nGEN REV = 01.10\nGEN CRT = \"relaydesk-kiosk\" -01.00\n"
         << L"GEN DTM = 2026:12:05:10:00:00\n\n";
    for (int job = 1; job <= spreads; ++job) {
        wchar_t line[128];
        std::swprintf(line, 128,
                      L"[JOB]\nPRT PID = %03d\nPRT TYP = STD\nPRT QTY = 001\nIMG FMT = EXIF2 -J\n"
                      L"<IMG SRC = \"../IMAGE/cmb%04d.jpg\">\n\n",
                      job, job);
        text << line;
    }
    return text.str();
}

bool WriteContents(const OrderRequest& request, const std::wstring& order, std::wstring& error) {
    std::mt19937 random(request.seed);
    const std::vector<PageDraft> pages = PlanPages(request);
    int pictureCount = 0;
    for (const PageDraft& page : pages)
        pictureCount += page.pictures;

    for (int n = 1; n <= pictureCount; ++n) {
        const std::wstring image = Join(order + L"/IMAGE", PictureName(n));
        std::error_code code;
        if (!WriteSyntheticPhoto(image, request.megapixels, request.seed * 7919u + n) ||
            !fs::copy_file(platform::ToFsPath(image),
                           platform::ToFsPath(Join(order + L"/CORRECT", PictureName(n))), code)) {
            error = L"cannot write picture " + PictureName(n);
            return false;
        }
    }
    const int spreads = (request.pages + 1) / 2;
    const std::wstring info = order + L"/COMPOSITION_INFO";
    const std::wstring ctml = order + L"/CTML";
    if (!WriteTextFile(Join(info, L"QrmZoInRi.ini"),
                       CompositionFile(pages, pictureCount, random)) ||
        !WriteTextFile(Join(info, L"AUTPRINT.MRK"), PrintOrderFile(spreads)) ||
        !WriteTextFile(Join(ctml, kFormatFileName),
                       FormatFile(request.photosPerPage, request.pageScale)) ||
        !WritePaperBackground(Join(ctml, kBackgroundName), 620, 877, request.seed) ||
        !WriteTextFile(Join(order, L"VQ_Info.ini"),
                       L"[INFO]\nUniqueID=" + request.uniqueId + L"\n")) {
        error = L"cannot write the composition data of " + order;
        return false;
    }
    return true;
}

} // namespace

OrderRequest QuickOrder(std::wstring inputFolder, int orderNumber) {
    OrderRequest request;
    request.inputFolder = std::move(inputFolder);
    request.orderNumber = orderNumber;
    request.pages = 4;
    request.photosPerPage = 1;
    request.megapixels = 0.05;
    request.pageScale = 0.1;
    return request;
}

std::wstring PictureName(int number) {
    wchar_t name[32];
    std::swprintf(name, 32, L"IMG-%04d.jpg", number);
    return name;
}

bool WriteOrder(const OrderRequest& request, std::wstring& error) {
    if (request.orderNumber < 0 || request.orderNumber > 9999999 || request.pages < 1 ||
        request.photosPerPage < 1 || request.photosPerPage > 12 || request.megapixels <= 0) {
        error = L"order number, pages, photos per page or megapixels out of range";
        return false;
    }
    const std::wstring finalName = Join(request.inputFolder, OrderName(L'r', request.orderNumber));
    // The poller only looks at "r" + seven digits, so a half-written order stays unseen.
    const std::wstring building =
        Join(request.inputFolder, L"~" + OrderName(L'r', request.orderNumber));
    std::error_code code;
    fs::remove_all(platform::ToFsPath(building), code);
    const bool written = MakeFolders(building, error) && WriteContents(request, building, error);
    std::error_code renameError;
    if (written && platform::RenameNoReplace(building, finalName, renameError))
        return true;
    if (written)
        error = finalName + L" exists already";
    fs::remove_all(platform::ToFsPath(building), code);
    return false;
}

bool SendCorrection(const std::wstring& inputFolder, int orderNumber,
                    const std::vector<int>& pictureNumbers, std::wstring& error) {
    const std::wstring order = Join(inputFolder, OrderName(L'e', orderNumber));
    std::error_code code;
    if (!fs::is_directory(platform::ToFsPath(order), code)) {
        error = order + L" is not a transferred order";
        return false;
    }
    fs::create_directories(platform::ToFsPath(order + L"/CORRECT"), code);
    for (int number : pictureNumbers) {
        // The newest version is the last correction, else the picture as ordered.
        std::wstring source = Join(order + L"/CORRECT_BK", PictureName(number));
        if (!fs::exists(platform::ToFsPath(source), code))
            source = Join(order + L"/IMAGE", PictureName(number));
        if (!WriteCorrectedPhoto(source, Join(order + L"/CORRECT", PictureName(number)))) {
            error = L"cannot correct picture " + PictureName(number);
            return false;
        }
    }
    std::error_code renameError;
    if (!platform::RenameNoReplace(order, Join(inputFolder, OrderName(L'r', orderNumber)),
                                   renameError)) {
        error = L"cannot rename " + order;
        return false;
    }
    return true;
}

} // namespace kiosk
