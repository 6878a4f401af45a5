#pragma once
/// The composition information file "QrmZoInRi.ini" in memory: book-wide settings, one record
/// per page and one per picture, carried from the file to the composition engine unchanged
/// except where page selection drops pages. File format: docs/composition-info.md.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ProfileDocument;

/// Name of the composition information file inside the COMPOSITION_INFO folder.
inline constexpr wchar_t kCompositionInfoFileName[] = L"QrmZoInRi.ini";

/// Section "ZO_INFO".
struct ZoInfo {
    std::int32_t pageCount = 0;    ///< "PAGE_CNT"
    std::int32_t pictureCount = 0; ///< "PICT_CNT"
    std::wstring outputPath;       ///< "OUTPUT_PATH"
    std::wstring outputPath2;      ///< "OUTPUT_PATH2"
    std::int32_t imageFit = 0;     ///< "IMAGE_FIT"
    std::wstring formatFileName;   ///< "FORMAT_FILE_NAME"
    std::int32_t splitPictureFlag = 0;
    std::int32_t hardCoverFlag = 0;
    std::int32_t quality = 0;
    std::int32_t previewWidth = 0;
    std::int32_t previewHeight = 0;
    std::int32_t previewComposite = 0;
    std::wstring adobeRgbLutFileName;         ///< "ADOBERGB_LUT_FILE_NAME"
    std::int32_t notOutputRakugakiMojiBg = 0; ///< "NOT_OUTPUT_RAKUGAKI_MOJI_BG"
    std::wstring stampPath;                   ///< "STAMP_PATH"
    std::wstring allSysFileName;              ///< "ALLSYS_FILE_NAME"
};

/// Section "PAGE_INFO<n>", n = page index + 1.
struct PageInfo {
    std::int32_t pictureCount = 0; ///< "PICT_CNT": how many picture records belong to the page
    std::wstring formatNo;         ///< "FORMAT_NO", a text, not a number
    std::wstring sInfoIni;
    std::wstring sInfoBmp;
    std::wstring sInfoMsk;
    std::wstring tInfoIni;
    std::wstring tInfoBmp;
    std::wstring tInfoMsk;
    /// "BG_IMAGE_FLAG" and "BACKIMG_PATH" are read but never written back.
    std::int32_t bgImageFlag = 0;
    std::wstring backImgPath;
};

/// Section "PICT_INFO<n>", n = picture index + 1.
struct PictInfo {
    /// File number that marks an empty picture slot.
    static constexpr std::int32_t kEmptySlot = -1;

    std::wstring fileName; ///< "FileName" (the same key as "FILENAME")
    std::int32_t fileNum = 0;
    std::wstring printName;
    std::wstring date;
    std::int32_t correctAuto = 0;
    std::wstring correctParam;
    std::wstring correctParamCipo;
    std::int32_t enlarge = 0;
    std::int32_t moveX = 0;
    std::int32_t moveY = 0;
    std::int32_t degree = 0;
    std::int32_t oDegree = 0; ///< "o_degree"
    std::wstring ifpoName;

    bool IsUsed() const { return fileNum != kEmptySlot; }
};

/// Pictures are stored in page order: page p owns the picture records from the sum of the
/// picture counts of the pages before it, as many as its own picture count. A page's block is
/// always taken as far as picture records exist, so counts that disagree with the records
/// never reach outside the arrays.
///
/// Not synchronised: one thread at a time.
class CompositionInfo {
public:
    /// A load holds no more records than this (a corrupt count would otherwise ask for
    /// billions); a larger count is lowered to it and logged.
    static constexpr std::int32_t kMaxRecordCount = 100000;

    /// Reads the file into the model; a missing or unreadable file gives zero counts, empty
    /// texts and no records. The page and picture arrays get exactly "PAGE_CNT" and
    /// "PICT_CNT" records (none for a count of 0 or less), missing sections giving defaults.
    /// A number outside its key's range (docs/composition-info.md) is kept for
    /// FindValueOutsideBounds to report; one beyond 32 bits is read as the nearest 32-bit
    /// value, never wrapped. False when the file could not be read.
    [[nodiscard]] bool LoadFromFile(const std::wstring& path);
    /// The same for the bytes of such a file; the file path is left as it was.
    void LoadFromBytes(std::string_view bytes);
    /// The first key whose value breaks the order's bounds: a path (OUTPUT_PATH,
    /// OUTPUT_PATH2, FORMAT_FILE_NAME, a picture's FileName, BACKIMG_PATH, STAMP_PATH, ...
    /// every key that names a file or folder) that does not resolve inside one of
    /// `allowedFolders` (after the placeholders were replaced; ".." components and either
    /// separator "\\" or "/" are resolved both as text and through existing links), or a number
    /// outside its range. Empty when every value is acceptable. The text names the section
    /// and key, e.g. L"ZO_INFO/OUTPUT_PATH".
    ///
    /// Numbers are judged as the last load read them and come first, in file order; then the
    /// names of the model's records, in the order of a saved file, a relative name taken from
    /// the loaded file's folder. An empty name names nothing and is accepted.
    std::wstring FindValueOutsideBounds(const std::vector<std::wstring>& allowedFolders) const;
    /// Writes the model into the file, key by key as the profile functions would, in the
    /// file order documented in docs/composition-info.md; into a deleted (absent) file this
    /// gives exactly that order. False when the file could not be written.
    [[nodiscard]] bool SaveToFile(const std::wstring& path);
    /// The path of the last load or save.
    const std::wstring& GetFilePath() const { return m_strFilePath; }

    /// Single values of the bound file, through the profile functions' rules (text cut to
    /// 259 characters, number parsed as a signed decimal).
    std::wstring GetProfileText(const std::wstring& section, const std::wstring& key,
                                const std::wstring& defaultText) const;
    std::int32_t GetProfileNumber(const std::wstring& section, const std::wstring& key,
                                  std::int32_t defaultNumber) const;
    [[nodiscard]] bool SetProfileText(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& text) const;
    [[nodiscard]] bool SetProfileNumber(const std::wstring& section, const std::wstring& key,
                                        std::int32_t number) const;

    ZoInfo& GetZoInfo() { return m_zoInfo; }
    const ZoInfo& GetZoInfo() const { return m_zoInfo; }

    /// The record at a zero-based index; null outside the array.
    PageInfo* GetPage(int index);
    const PageInfo* GetPage(int index) const;
    PictInfo* GetPicture(int index);
    const PictInfo* GetPicture(int index) const;
    int PageRecordCount() const { return static_cast<int>(m_pages.size()); }
    int PictureRecordCount() const { return static_cast<int>(m_pictures.size()); }
    /// Appends a copy of a record; the counts are left to the caller.
    void AppendPage(const PageInfo& page) { m_pages.push_back(page); }
    void AppendPicture(const PictInfo& picture) { m_pictures.push_back(picture); }

    /// Indices of the picture records of a page: its block of the picture array, cut to the
    /// records that exist. Empty for a page whose picture count is 0 or less, or no page.
    void PictureIndicesOfPage(int page, std::vector<std::int32_t>& indices) const;
    /// The first page whose block holds the picture; -1 when none does.
    int PageOfPicture(int picture) const;
    /// How many of a page's pictures are not empty slots.
    int UsedPictureCount(int page) const;
    /// Removes a page and its pictures, lowering both counts accordingly.
    void RemovePage(int page);
    /// Removes every page that need not be composed again with the pictures it holds (those
    /// PageOfPicture gives it), lowering both counts accordingly; the records left keep their
    /// order (PageSelection.cpp). The same as RemovePage from the back for pages whose blocks do
    /// not overlap, which only a negative count makes them do.
    void PrunePages(const std::vector<std::wstring>& correctedImages);

    /// The picture indices [first, end) of a page's block, cut to the picture array.
    struct PictureBlock {
        int first = 0;
        int end = 0;
        int Size() const { return end - first; }
    };
    /// The blocks of all pages in one pass.
    std::vector<PictureBlock> PictureBlocks() const;
    /// For each picture record, the page that PageOfPicture gives, for all in one pass.
    std::vector<int> PageOfEachPicture() const;
    /// For each page, UsedPictureCount, for all in one pass.
    std::vector<int> UsedPictureCounts() const;

private:
    /// Takes the model from a loaded file.
    void Read(const ProfileDocument& document);
    /// The block of `count` pictures from `base`, cut to the picture array.
    PictureBlock MakeBlock(std::int64_t base, std::int32_t count) const;
    PictureBlock BlockOfPage(int page) const;

    ZoInfo m_zoInfo;
    std::vector<PageInfo> m_pages;
    std::vector<PictInfo> m_pictures;
    std::wstring m_strFilePath;
    /// "SECTION/KEY" of every number of the last load that lay outside its range.
    std::vector<std::wstring> m_valuesOutOfRange;
};
