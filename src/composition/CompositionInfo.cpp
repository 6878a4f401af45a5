#include "composition/CompositionInfo.h"

#include "config/ProfileDocument.h"
#include "config/ProfileFunctions.h"
#include "config/ProfileValues.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderBoundary.h"
#include "logging/LogClient.h"
#include "platform/FileSystemCalls.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <variant>

namespace {

namespace fs = std::filesystem;

struct NumberRange {
    std::int32_t minimum = std::numeric_limits<std::int32_t>::min();
    std::int32_t maximum = std::numeric_limits<std::int32_t>::max();
};

/// Numbers carried for the engine: any 32-bit value.
constexpr NumberRange kAnyNumber;
/// Counts of records, which cannot be negative and are held to what a load keeps.
constexpr NumberRange kCountRange{0, CompositionInfo::kMaxRecordCount};
/// A picture's file number: an empty slot or a file.
constexpr NumberRange kFileNumberRange{PictInfo::kEmptySlot,
                                       std::numeric_limits<std::int32_t>::max()};

enum FieldTraits : unsigned {
    kPlain = 0,
    /// A text naming a file or folder, which must lead inside the order's folders.
    kNamesFile = 1,
    /// Read into the model but never written back.
    kNotWritten = 2,
};

template <typename Record> struct Field {
    const wchar_t* key;
    std::variant<std::int32_t Record::*, std::wstring Record::*> member;
    NumberRange range = kAnyNumber;
    unsigned traits = kPlain;
};

// Each table lists its section's keys in the order a save writes them, which is the order
// of the keys in the written file.
const Field<ZoInfo> kZoInfoFields[] = {
    {L"PAGE_CNT", &ZoInfo::pageCount, kCountRange},
    {L"PICT_CNT", &ZoInfo::pictureCount, kCountRange},
    {L"OUTPUT_PATH", &ZoInfo::outputPath, kAnyNumber, kNamesFile},
    {L"OUTPUT_PATH2", &ZoInfo::outputPath2, kAnyNumber, kNamesFile},
    {L"IMAGE_FIT", &ZoInfo::imageFit},
    {L"FORMAT_FILE_NAME", &ZoInfo::formatFileName, kAnyNumber, kNamesFile},
    {L"SPLIT_PICTURE_FLAG", &ZoInfo::splitPictureFlag},
    {L"HARD_COVER_FLAG", &ZoInfo::hardCoverFlag},
    {L"quality", &ZoInfo::quality},
    {L"PREVIEW_WIDTH", &ZoInfo::previewWidth},
    {L"PREVIEW_HEIGHT", &ZoInfo::previewHeight},
    {L"PREVIEW_COMPOSITE", &ZoInfo::previewComposite},
    {L"ADOBERGB_LUT_FILE_NAME", &ZoInfo::adobeRgbLutFileName, kAnyNumber, kNamesFile},
    {L"NOT_OUTPUT_RAKUGAKI_MOJI_BG", &ZoInfo::notOutputRakugakiMojiBg},
    {L"STAMP_PATH", &ZoInfo::stampPath, kAnyNumber, kNamesFile},
    {L"ALLSYS_FILE_NAME", &ZoInfo::allSysFileName, kAnyNumber, kNamesFile},
};

const Field<PageInfo> kPageFields[] = {
    {L"PICT_CNT", &PageInfo::pictureCount, kCountRange},
    {L"FORMAT_NO", &PageInfo::formatNo},
    {L"SINFO_INI", &PageInfo::sInfoIni, kAnyNumber, kNamesFile},
    {L"SINFO_BMP", &PageInfo::sInfoBmp, kAnyNumber, kNamesFile},
    {L"SINFO_MSK", &PageInfo::sInfoMsk, kAnyNumber, kNamesFile},
    {L"TINFO_INI", &PageInfo::tInfoIni, kAnyNumber, kNamesFile},
    {L"TINFO_BMP", &PageInfo::tInfoBmp, kAnyNumber, kNamesFile},
    {L"TINFO_MSK", &PageInfo::tInfoMsk, kAnyNumber, kNamesFile},
    {L"BG_IMAGE_FLAG", &PageInfo::bgImageFlag, kAnyNumber, kNotWritten},
    {L"BACKIMG_PATH", &PageInfo::backImgPath, kAnyNumber, kNamesFile | kNotWritten},
};

const Field<PictInfo> kPictureFields[] = {
    {L"FileName", &PictInfo::fileName, kAnyNumber, kNamesFile},
    {L"FILENUM", &PictInfo::fileNum, kFileNumberRange},
    {L"CORRECT_AUTO", &PictInfo::correctAuto},
    {L"CORRECT_PARAM", &PictInfo::correctParam},
    {L"CORRECT_PARAM_CIPO", &PictInfo::correctParamCipo},
    {L"ENLARGE", &PictInfo::enlarge},
    {L"moveX", &PictInfo::moveX},
    {L"moveY", &PictInfo::moveY},
    {L"degree", &PictInfo::degree},
    {L"o_degree", &PictInfo::oDegree},
    {L"IFPO_NAME", &PictInfo::ifpoName},
    {L"PRINT_NAME", &PictInfo::printName},
    {L"DATE", &PictInfo::date},
};

constexpr wchar_t kZoInfoSection[] = L"ZO_INFO";

std::wstring PageSection(std::size_t index) {
    return L"PAGE_INFO" + std::to_wstring(index + 1);
}

std::wstring PictureSection(std::size_t index) {
    return L"PICT_INFO" + std::to_wstring(index + 1);
}

std::wstring KeyName(const std::wstring& section, const wchar_t* key) {
    return section + L"/" + key;
}

/// Reads one record; the keys of numbers outside their range are added to `outOfRange`.
template <typename Record, std::size_t N>
void ReadRecord(const ProfileDocument& document, const std::wstring& section,
                const Field<Record> (&fields)[N], Record& record,
                std::vector<std::wstring>& outOfRange) {
    // A missing section leaves the defaults; skipping it keeps huge counts cheap.
    if (!document.HasSection(section))
        return;
    for (const Field<Record>& field : fields) {
        if (auto number = std::get_if<std::int32_t Record::*>(&field.member)) {
            const Int32ProfileNumber read = ReadDocumentNumber(document, section, field.key, 0);
            record.** number = read.value;
            if (!read.fits || read.value < field.range.minimum || read.value > field.range.maximum)
                outOfRange.push_back(KeyName(section, field.key));
        } else {
            record.*std::get<std::wstring Record::*>(field.member) =
                ReadDocumentText(document, section, field.key, L"");
        }
    }
}

/// The key of the first non-empty file or folder name of a record that leads outside
/// `boundary`; empty when there is none.
template <typename Record, std::size_t N>
std::wstring FirstPathOutside(const FolderBoundary& boundary, const fs::path& baseFolder,
                              const std::wstring& section, const Field<Record> (&fields)[N],
                              const Record& record) {
    for (const Field<Record>& field : fields) {
        if (!(field.traits & kNamesFile))
            continue;
        const std::wstring& name = record.*std::get<std::wstring Record::*>(field.member);
        if (!name.empty() && !boundary.Contains(OrderDataPath(name, baseFolder)))
            return KeyName(section, field.key);
    }
    return {};
}

template <typename Record, std::size_t N>
void WriteRecord(ProfileDocument& document, const std::wstring& section,
                 const Field<Record> (&fields)[N], const Record& record) {
    for (const Field<Record>& field : fields) {
        if (field.traits & kNotWritten)
            continue;
        if (auto number = std::get_if<std::int32_t Record::*>(&field.member))
            document.Set(section, field.key, std::to_wstring(record.**number));
        else
            document.Set(section, field.key,
                         record.*std::get<std::wstring Record::*>(field.member));
    }
}

/// Number of records a count asks for: none for 0 or less, at most kMaxRecordCount.
std::int32_t RecordsFor(std::int32_t& count, const wchar_t* key, const std::wstring& path) {
    if (count > CompositionInfo::kMaxRecordCount) {
        WriteLog(g_pLogClient, L"CompositionInfo %s %d lowered to %d: %s", key, count,
                 CompositionInfo::kMaxRecordCount, path);
        count = CompositionInfo::kMaxRecordCount;
    }
    return std::max<std::int32_t>(count, 0);
}

template <typename Records> auto RecordAt(Records& records, int index) -> decltype(&records[0]) {
    return index >= 0 && static_cast<std::size_t>(index) < records.size() ? &records[index]
                                                                          : nullptr;
}

// Loads the file that changes are written into; false when it exists but cannot be read, as
// it must then not be replaced by one holding only the changes.
bool LoadForChange(ProfileDocument& document, const std::wstring& path) {
    return document.Load(path) || !ItemExists(LocalFolders(), path);
}

} // namespace

bool CompositionInfo::LoadFromFile(const std::wstring& path) {
    m_strFilePath = path;
    ProfileDocument document;
    const bool loaded = document.Load(path);
    Read(document);
    return loaded;
}

void CompositionInfo::LoadFromBytes(std::string_view bytes) {
    ProfileDocument document;
    document.LoadFromBytes(bytes);
    Read(document);
}

void CompositionInfo::Read(const ProfileDocument& document) {
    m_zoInfo = ZoInfo();
    m_valuesOutOfRange.clear();
    ReadRecord(document, kZoInfoSection, kZoInfoFields, m_zoInfo, m_valuesOutOfRange);

    m_pages.assign(RecordsFor(m_zoInfo.pageCount, L"PAGE_CNT", m_strFilePath), PageInfo());
    for (std::size_t i = 0; i < m_pages.size(); ++i)
        ReadRecord(document, PageSection(i), kPageFields, m_pages[i], m_valuesOutOfRange);

    m_pictures.assign(RecordsFor(m_zoInfo.pictureCount, L"PICT_CNT", m_strFilePath), PictInfo());
    for (std::size_t i = 0; i < m_pictures.size(); ++i)
        ReadRecord(document, PictureSection(i), kPictureFields, m_pictures[i], m_valuesOutOfRange);
}

std::wstring
CompositionInfo::FindValueOutsideBounds(const std::vector<std::wstring>& allowedFolders) const {
    if (!m_valuesOutOfRange.empty())
        return m_valuesOutOfRange.front();
    FolderBoundary boundary;
    for (const std::wstring& folder : allowedFolders)
        boundary.Allow(platform::ToFsPath(folder));
    const fs::path baseFolder = platform::ToFsPath(m_strFilePath).parent_path();
    std::wstring outside =
        FirstPathOutside(boundary, baseFolder, kZoInfoSection, kZoInfoFields, m_zoInfo);
    for (std::size_t i = 0; outside.empty() && i < m_pages.size(); ++i)
        outside = FirstPathOutside(boundary, baseFolder, PageSection(i), kPageFields, m_pages[i]);
    for (std::size_t i = 0; outside.empty() && i < m_pictures.size(); ++i)
        outside = FirstPathOutside(boundary, baseFolder, PictureSection(i), kPictureFields,
                                   m_pictures[i]);
    return outside;
}

bool CompositionInfo::SaveToFile(const std::wstring& path) {
    m_strFilePath = path;
    // Like the profile functions, a save changes the keys of an existing file in place.
    ProfileDocument document;
    if (LoadForChange(document, path)) {
        WriteRecord(document, kZoInfoSection, kZoInfoFields, m_zoInfo);
        for (std::size_t i = 0; i < m_pages.size(); ++i)
            WriteRecord(document, PageSection(i), kPageFields, m_pages[i]);
        for (std::size_t i = 0; i < m_pictures.size(); ++i)
            WriteRecord(document, PictureSection(i), kPictureFields, m_pictures[i]);
        if (document.Save(path))
            return true;
    }
    WriteLog(g_pLogClient, L"CompositionInfo SaveToFile ERR %s", path);
    return false;
}

std::wstring CompositionInfo::GetProfileText(const std::wstring& section, const std::wstring& key,
                                             const std::wstring& defaultText) const {
    return ReadProfileString(m_strFilePath, section, key, defaultText);
}

std::int32_t CompositionInfo::GetProfileNumber(const std::wstring& section, const std::wstring& key,
                                               std::int32_t defaultNumber) const {
    return ReadProfileInt(m_strFilePath, section, key, defaultNumber);
}

bool CompositionInfo::SetProfileText(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& text) const {
    // Not WriteProfileString: its 128-character buffers would cut paths the model carries.
    ProfileDocument document;
    if (!LoadForChange(document, m_strFilePath))
        return false;
    document.Set(section, key, text);
    return document.Save(m_strFilePath);
}

bool CompositionInfo::SetProfileNumber(const std::wstring& section, const std::wstring& key,
                                       std::int32_t number) const {
    return SetProfileText(section, key, std::to_wstring(number));
}

PageInfo* CompositionInfo::GetPage(int index) {
    return RecordAt(m_pages, index);
}

const PageInfo* CompositionInfo::GetPage(int index) const {
    return RecordAt(m_pages, index);
}

PictInfo* CompositionInfo::GetPicture(int index) {
    return RecordAt(m_pictures, index);
}

const PictInfo* CompositionInfo::GetPicture(int index) const {
    return RecordAt(m_pictures, index);
}

CompositionInfo::PictureBlock CompositionInfo::MakeBlock(std::int64_t base,
                                                         std::int32_t count) const {
    PictureBlock block;
    if (count > 0) {
        const auto pictures = static_cast<std::int64_t>(m_pictures.size());
        block.first = static_cast<int>(std::clamp<std::int64_t>(base, 0, pictures));
        block.end = static_cast<int>(std::clamp<std::int64_t>(base + count, block.first, pictures));
    }
    return block;
}

std::vector<CompositionInfo::PictureBlock> CompositionInfo::PictureBlocks() const {
    std::vector<PictureBlock> blocks;
    blocks.reserve(m_pages.size());
    // 64 bits: the sum of many 32-bit counts must not overflow.
    std::int64_t base = 0;
    for (const PageInfo& page : m_pages) {
        blocks.push_back(MakeBlock(base, page.pictureCount));
        base += page.pictureCount;
    }
    return blocks;
}

std::vector<int> CompositionInfo::PageOfEachPicture() const {
    std::vector<int> pages(m_pictures.size(), -1);
    // Blocks overlap only after a negative count. Each picture is given to the first page
    // that holds it, and `nextUngiven` jumps over the pictures already given, so each is
    // visited about once however the blocks overlap.
    std::vector<int> nextUngiven(m_pictures.size() + 1);
    std::iota(nextUngiven.begin(), nextUngiven.end(), 0);
    const auto firstUngivenFrom = [&nextUngiven](int picture) {
        while (nextUngiven[picture] != picture) {
            nextUngiven[picture] = nextUngiven[nextUngiven[picture]];
            picture = nextUngiven[picture];
        }
        return picture;
    };
    const std::vector<PictureBlock> blocks = PictureBlocks();
    for (std::size_t page = 0; page < blocks.size(); ++page) {
        if (blocks[page].Size() == 0)
            continue;
        for (int picture = firstUngivenFrom(blocks[page].first); picture < blocks[page].end;
             picture = firstUngivenFrom(picture + 1)) {
            pages[picture] = static_cast<int>(page);
            nextUngiven[picture] = picture + 1;
        }
    }
    return pages;
}

std::vector<int> CompositionInfo::UsedPictureCounts() const {
    // usedBefore[i]: used pictures among the first i records, so that a block of any size
    // is counted in one step.
    std::vector<int> usedBefore(m_pictures.size() + 1, 0);
    for (std::size_t picture = 0; picture < m_pictures.size(); ++picture)
        usedBefore[picture + 1] = usedBefore[picture] + (m_pictures[picture].IsUsed() ? 1 : 0);
    std::vector<int> counts;
    counts.reserve(m_pages.size());
    for (const PictureBlock& block : PictureBlocks())
        counts.push_back(usedBefore[block.end] - usedBefore[block.first]);
    return counts;
}

CompositionInfo::PictureBlock CompositionInfo::BlockOfPage(int page) const {
    if (page < 0 || static_cast<std::size_t>(page) >= m_pages.size())
        return {};
    std::int64_t base = 0;
    for (int earlier = 0; earlier < page; ++earlier)
        base += m_pages[earlier].pictureCount;
    return MakeBlock(base, m_pages[page].pictureCount);
}

void CompositionInfo::PictureIndicesOfPage(int page, std::vector<std::int32_t>& indices) const {
    indices.clear();
    const PictureBlock block = BlockOfPage(page);
    for (int index = block.first; index < block.end; ++index)
        indices.push_back(index);
}

int CompositionInfo::PageOfPicture(int picture) const {
    const std::vector<PictureBlock> blocks = PictureBlocks();
    for (std::size_t page = 0; page < blocks.size(); ++page) {
        if (picture >= blocks[page].first && picture < blocks[page].end)
            return static_cast<int>(page);
    }
    return -1;
}

int CompositionInfo::UsedPictureCount(int page) const {
    const PictureBlock block = BlockOfPage(page);
    return static_cast<int>(
        std::count_if(m_pictures.begin() + block.first, m_pictures.begin() + block.end,
                      [](const PictInfo& picture) { return picture.IsUsed(); }));
}

void CompositionInfo::RemovePage(int page) {
    if (page < 0 || static_cast<std::size_t>(page) >= m_pages.size())
        return;
    const PictureBlock block = BlockOfPage(page);
    m_zoInfo.pictureCount -= block.Size();
    m_pictures.erase(m_pictures.begin() + block.first, m_pictures.begin() + block.end);
    m_zoInfo.pageCount -= 1;
    m_pages.erase(m_pages.begin() + page);
}
