#include "BookLayout.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <filesystem>
#include <limits>
#include <optional>

#include "OutputColourSpace.h"
#include "config/ProfileDocument.h"
#include "config/ProfileValues.h"
#include "fileutil/FolderBoundary.h"
#include "platform/FileSystemCalls.h"

namespace zori {

namespace {

namespace fs = std::filesystem;

constexpr int kDefaultQuality = 90;
constexpr int kMinZoomPercent = 10;
constexpr int kMaxZoomPercent = 1000;
/// moveX and moveY are thousandths of the frame: at most one frame's width or height.
constexpr int kMaxShift = 1000;
constexpr double kMaxPageMm = 2000.0;
constexpr int kAnyInt = std::numeric_limits<int>::max();
const wchar_t kDefaultFormatFileName[] = L"QrmFormat.ini";
/// Output profiles the engine knows by name; any other value names a file in the data folder.
const wchar_t* const kNamedOutputProfiles[] = {kSrgbProfileName, kDisplayP3ProfileName,
                                               kAdobeRgbProfileName};

/// Integer as the profile functions read it (leading blanks, a sign, digits; 0 without
/// digits or key) when it lies in [minimum, maximum]; nothing when it does not, also when its
/// digits go beyond 32 bits, which must never wrap into range.
std::optional<int> ReadInt(const ProfileDocument& document, std::wstring_view section,
                           std::wstring_view key, int minimum = -kAnyInt - 1,
                           int maximum = kAnyInt) {
    const Int32ProfileNumber number = ReadDocumentNumber(document, section, key, 0);
    if (!number.fits || number.value < minimum || number.value > maximum)
        return std::nullopt;
    return number.value;
}

std::wstring ReadText(const ProfileDocument& document, std::wstring_view section,
                      std::wstring_view key) {
    return document.Get(section, key).value_or(L"");
}

/// Comma-separated decimal numbers ("15,15,180,125"); false unless exactly `count` parse.
bool ReadNumbers(const std::wstring& text, std::size_t count, std::vector<double>& numbers) {
    numbers.clear();
    const wchar_t* cursor = text.c_str();
    while (*cursor != L'\0') {
        wchar_t* end = nullptr;
        double value = std::wcstod(cursor, &end);
        if (end == cursor || !std::isfinite(value))
            return false;
        numbers.push_back(value);
        while (*end == L' ' || *end == L'\t')
            ++end;
        if (*end == L',')
            ++end;
        else if (*end != L'\0')
            return false;
        cursor = end;
    }
    return numbers.size() == count;
}

/// The bytes of the two documents when they are given instead of read.
struct GivenDocuments {
    std::string_view composition;
    std::string_view formats;
};

class BookReader {
public:
    BookReader(const EngineFolders& folders, BookLayout& book,
               std::optional<GivenDocuments> given = std::nullopt)
        : m_compositionFile(platform::ToFsPath(folders.compositionFile)),
          m_dataFolder(platform::ToFsPath(folders.dataFolder)), m_book(book), m_given(given) {
        // Pictures lie in the work folder (the parent of the composition file's folder)
        // beside the composition data; formats and backgrounds in the data folder; spreads
        // go below the composition file's folder.
        m_pictureBoundary.Allow(m_compositionFile.parent_path().parent_path());
        m_pictureBoundary.Allow(m_dataFolder);
        m_dataBoundary.Allow(m_dataFolder);
        m_outputBoundary = OutputBoundary(folders);
    }

    EngineResult Read() {
        if (!LoadDocument(m_composition, m_compositionFile, &GivenDocuments::composition) ||
            !m_composition.HasSection(L"ZO_INFO"))
            return kResultUnreadableCompositionFile;
        if (EngineResult result = ReadSettings(); result != kResultSuccess)
            return result;
        const std::optional<int> pageCount = ReadInt(m_composition, L"ZO_INFO", L"PAGE_CNT", 0);
        if (!pageCount)
            return kResultInvalidCompositionValue;
        if (*pageCount == 0)
            return kResultSuccess;
        if (EngineResult result = LoadFormatFile(); result != kResultSuccess)
            return result;
        int firstPicture = 1;
        for (int page = 1; page <= *pageCount; ++page) {
            PageLayout layout;
            bool cover = false;
            if (EngineResult result = ReadPage(page, firstPicture, layout, cover);
                result != kResultSuccess)
                return result;
            // Pages pair into spreads: 1 and 2, 3 and 4, ...; an odd last page stands alone.
            if (page % 2 == 1)
                m_book.spreads.push_back(SpreadLayout{cover, {}});
            m_book.spreads.back().pages.push_back(std::move(layout));
        }
        return kResultSuccess;
    }

private:
    bool LoadDocument(ProfileDocument& document, const fs::path& path,
                      std::string_view GivenDocuments::*given) {
        if (!m_given)
            return document.Load(platform::FromFsPath(path));
        document.LoadFromBytes((*m_given).*given);
        return true;
    }

    EngineResult ReadSettings() {
        const std::optional<int> fit = ReadInt(m_composition, L"ZO_INFO", L"IMAGE_FIT", 0, 1);
        const std::optional<int> quality = ReadInt(m_composition, L"ZO_INFO", L"quality", 0, 100);
        const std::optional<int> pictureCount =
            ReadInt(m_composition, L"ZO_INFO", L"PICT_CNT", 0, kAnyInt);
        if (!fit || !quality || !pictureCount)
            return kResultInvalidCompositionValue;
        m_book.fit = *fit == 1 ? ImageFit::kContain : ImageFit::kCover;
        m_book.quality = *quality == 0 ? kDefaultQuality : *quality;
        m_pictureCount = *pictureCount;

        // Checked before anything is composed, so that a refused book creates no folder.
        const fs::path base = m_compositionFile.parent_path();
        const std::wstring inner = ReadText(m_composition, L"ZO_INFO", L"OUTPUT_PATH");
        const std::wstring cover = ReadText(m_composition, L"ZO_INFO", L"OUTPUT_PATH2");
        if (inner.empty())
            return kResultUnwritableOutput;
        const fs::path innerFolder = OrderDataPath(inner, base);
        const fs::path coverFolder = cover.empty() ? innerFolder : OrderDataPath(cover, base);
        if (!m_outputBoundary.Contains(innerFolder) || !m_outputBoundary.Contains(coverFolder))
            return kResultPathOutsideFolders;
        m_book.innerOutputFolder = platform::FromFsPath(innerFolder);
        m_book.coverOutputFolder = platform::FromFsPath(coverFolder);
        return kResultSuccess;
    }

    EngineResult LoadFormatFile() {
        std::wstring name = ReadText(m_composition, L"ZO_INFO", L"FORMAT_FILE_NAME");
        if (name.empty())
            name = kDefaultFormatFileName;
        const fs::path path = OrderDataPath(name, m_dataFolder);
        if (!m_dataBoundary.Contains(path))
            return kResultPathOutsideFolders;
        if (!LoadDocument(m_formats, path, &GivenDocuments::formats))
            return kResultMissingFormatFile;
        return ReadOutputProfile();
    }

    EngineResult ReadOutputProfile() {
        const std::wstring profile = ReadText(m_formats, L"OUTPUT", L"OUTPUT_PROFILE");
        if (profile.empty())
            return kResultSuccess;
        for (const wchar_t* name : kNamedOutputProfiles)
            if (profile == name) {
                m_book.outputProfile = profile;
                return kResultSuccess;
            }
        const fs::path path = OrderDataPath(profile, m_dataFolder);
        if (!m_dataBoundary.Contains(path))
            return kResultPathOutsideFolders;
        m_book.outputProfile = platform::FromFsPath(path);
        return kResultSuccess;
    }

    EngineResult ReadPage(int page, int& firstPicture, PageLayout& layout, bool& cover) {
        const std::wstring pageSection = L"PAGE_INFO" + std::to_wstring(page);
        const std::wstring formatNo = ReadText(m_composition, pageSection, L"FORMAT_NO");
        const std::wstring formatSection = L"FORMAT_" + formatNo;
        if (formatNo.empty() || !m_formats.HasSection(formatSection))
            return kResultMissingFormat;
        if (EngineResult result = ReadFormat(formatSection, layout); result != kResultSuccess)
            return result;
        cover = ReadInt(m_formats, formatSection, L"COVER") == 1;

        const std::optional<int> pictures =
            ReadInt(m_composition, pageSection, L"PICT_CNT", 0, kAnyInt);
        if (!pictures)
            return kResultInvalidCompositionValue;
        if (*pictures > static_cast<int>(layout.frames.size()))
            return kResultMissingFormat;
        for (int slot = 0; slot < *pictures; ++slot, ++firstPicture) {
            if (firstPicture > m_pictureCount)
                return kResultInvalidCompositionValue;
            if (EngineResult result = ReadPicture(firstPicture, layout.frames[slot]);
                result != kResultSuccess)
                return result;
        }
        return kResultSuccess;
    }

    EngineResult ReadFormat(const std::wstring& section, PageLayout& layout) {
        layout.widthMm = ReadMillimetres(section, L"WIDTH_MM");
        layout.heightMm = ReadMillimetres(section, L"HEIGHT_MM");
        if (layout.widthMm <= 0 || layout.heightMm <= 0)
            return kResultMissingFormat;

        const std::wstring background = ReadText(m_formats, section, L"BACKGROUND");
        if (!background.empty()) {
            const fs::path path = OrderDataPath(background, m_dataFolder);
            if (!m_dataBoundary.Contains(path))
                return kResultPathOutsideFolders;
            std::error_code error;
            if (!fs::is_regular_file(path, error))
                return kResultMissingBackground;
            layout.backgroundPath = platform::FromFsPath(path);
        }
        std::vector<double> numbers;
        const std::wstring colour = ReadText(m_formats, section, L"BACKGROUND_COLOR");
        if (!colour.empty()) {
            if (!ReadNumbers(colour, 3, numbers))
                return kResultMissingFormat;
            for (int i = 0; i < 3; ++i)
                layout.backgroundRgb[i] =
                    static_cast<std::uint8_t>(std::clamp(numbers[i], 0.0, 255.0));
        }

        const std::optional<int> frameCount = ReadInt(m_formats, section, L"FRAME_CNT", 0, kAnyInt);
        if (!frameCount)
            return kResultMissingFormat;
        for (int n = 1; n <= *frameCount; ++n) {
            if (!ReadNumbers(ReadText(m_formats, section, L"FRAME" + std::to_wstring(n)), 4,
                             numbers) ||
                !IsFrame(numbers))
                return kResultMissingFormat;
            Frame frame;
            frame.xMm = numbers[0];
            frame.yMm = numbers[1];
            frame.widthMm = numbers[2];
            frame.heightMm = numbers[3];
            layout.frames.push_back(frame);
        }
        return kResultSuccess;
    }

    /// x, y, width, height within a page's reach: pixel positions must fit an int at any
    /// resolution the engine accepts.
    static bool IsFrame(const std::vector<double>& numbers) {
        return std::abs(numbers[0]) <= kMaxPageMm && std::abs(numbers[1]) <= kMaxPageMm &&
               numbers[2] > 0 && numbers[2] <= kMaxPageMm && numbers[3] > 0 &&
               numbers[3] <= kMaxPageMm;
    }

    double ReadMillimetres(const std::wstring& section, const wchar_t* key) {
        std::vector<double> numbers;
        if (!ReadNumbers(ReadText(m_formats, section, key), 1, numbers) || numbers[0] > kMaxPageMm)
            return 0;
        return numbers[0];
    }

    EngineResult ReadPicture(int number, Frame& frame) {
        const std::wstring section = L"PICT_INFO" + std::to_wstring(number);
        const std::optional<int> fileNumber = ReadInt(m_composition, section, L"FILENUM");
        if (!fileNumber)
            return kResultInvalidCompositionValue;
        if (*fileNumber == -1)
            return kResultSuccess; // an empty slot: the frame shows the background

        PicturePlacement& picture = frame.picture;
        const std::optional<int> zoom =
            ReadInt(m_composition, section, L"ENLARGE", 0, kMaxZoomPercent);
        const std::optional<int> degree = ReadInt(m_composition, section, L"degree");
        const std::optional<int> moveX =
            ReadInt(m_composition, section, L"moveX", -kMaxShift, kMaxShift);
        const std::optional<int> moveY =
            ReadInt(m_composition, section, L"moveY", -kMaxShift, kMaxShift);
        if (!zoom || (*zoom != 0 && *zoom < kMinZoomPercent) || !degree || *degree % 90 != 0 ||
            !moveX || !moveY)
            return kResultInvalidCompositionValue;
        picture.zoom = *zoom == 0 ? 1.0 : *zoom / 100.0;
        picture.clockwiseDegrees = ((*degree % 360) + 360) % 360;
        picture.shiftX = *moveX / double(kMaxShift);
        picture.shiftY = *moveY / double(kMaxShift);

        const std::wstring name = ReadText(m_composition, section, L"FileName");
        if (name.empty())
            return kResultMissingPicture;
        const fs::path path = OrderDataPath(name, m_compositionFile.parent_path());
        if (!m_pictureBoundary.Contains(path))
            return kResultPathOutsideFolders;
        std::error_code error;
        if (!fs::is_regular_file(path, error))
            return kResultMissingPicture;
        picture.path = platform::FromFsPath(path);
        frame.used = true;
        return kResultSuccess;
    }

    fs::path m_compositionFile;
    fs::path m_dataFolder;
    BookLayout& m_book;
    std::optional<GivenDocuments> m_given;
    ProfileDocument m_composition;
    ProfileDocument m_formats;
    FolderBoundary m_pictureBoundary;
    FolderBoundary m_dataBoundary;
    FolderBoundary m_outputBoundary;
    int m_pictureCount = 0;
};

} // namespace

FolderBoundary OutputBoundary(const EngineFolders& folders) {
    FolderBoundary boundary;
    boundary.Allow(platform::ToFsPath(folders.compositionFile).parent_path());
    return boundary;
}

EngineResult ReadBookLayout(const EngineFolders& folders, BookLayout& book) {
    book = BookLayout{};
    return BookReader(folders, book).Read();
}

EngineResult ReadBookLayoutFromBytes(const EngineFolders& folders, std::string_view composition,
                                     std::string_view formats, BookLayout& book) {
    book = BookLayout{};
    return BookReader(folders, book, GivenDocuments{composition, formats}).Read();
}

} // namespace zori
