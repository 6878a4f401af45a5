#include "composition/CompositionInfo.h"

#include "TempFolder.h"
#include "composition/CorrectionFolders.h"
#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A complete book of two pages and two pictures, keys in a different order than a save
// writes them and with mixed-case key names, as kiosks write them.
const std::string kCompleteBook =
    "[ZO_INFO]\r\nALLSYS_FILE_NAME=allsys.dat\r\nPAGE_CNT=2\r\npict_cnt=2\r\n"
    "OUTPUT_PATH=C:\\out\\LAYOUTFINAL\r\nOUTPUT_PATH2=C:\\out\\COVERFINAL\r\nIMAGE_FIT=1\r\n"
    "FORMAT_FILE_NAME=format.fmt\r\nSPLIT_PICTURE_FLAG=-1\r\nHARD_COVER_FLAG=1\r\nQUALITY=95\r\n"
    "PREVIEW_WIDTH=640\r\nPREVIEW_HEIGHT=480\r\nPREVIEW_COMPOSITE=2\r\n"
    "ADOBERGB_LUT_FILE_NAME=lut.bin\r\nNOT_OUTPUT_RAKUGAKI_MOJI_BG=1\r\nSTAMP_PATH=スタンプ\r\n"
    "[PAGE_INFO1]\r\nFORMAT_NO=007\r\nPICT_CNT=2\r\nSINFO_INI=s.ini\r\nSINFO_BMP=s.bmp\r\n"
    "SINFO_MSK=s.msk\r\nTINFO_INI=t.ini\r\nTINFO_BMP=t.bmp\r\nTINFO_MSK=t.msk\r\n"
    "BG_IMAGE_FLAG=1\r\nBACKIMG_PATH=背景.jpg\r\n"
    "[PAGE_INFO2]\r\nPICT_CNT=0\r\n"
    "[PICT_INFO1]\r\nFILENAME=IMG-0001.JPG\r\nFILENUM=-1\r\nPRINT_NAME=夏休み\r\n"
    "DATE=2026/08/01\r\nCORRECT_AUTO=1\r\nCORRECT_PARAM=1,2,3\r\nCORRECT_PARAM_CIPO=4,5\r\n"
    "ENLARGE=120\r\nMOVEX=-15\r\nmoveY=30\r\ndegree=90\r\no_degree=-90\r\nIFPO_NAME=ifpo\r\n"
    "[PICT_INFO2]\r\nFileName=IMG-0002.JPG\r\nFILENUM=2\r\n";

/// The lines of `bytes` that hold anything, without their line ends.
std::vector<std::string> NonEmptyLinesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream stream(bytes);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

CompositionInfo LoadText(const TempFolder& folder, const std::string& text) {
    folder.WriteFile(L"COMPOSITION_INFO/QrmZoInRi.ini", text);
    CompositionInfo info;
    EXPECT_TRUE(info.LoadFromFile(folder / L"COMPOSITION_INFO/QrmZoInRi.ini"));
    return info;
}

} // namespace

TEST(CompositionInfoFile, SaveIntoFreshFileWritesKeysInFileOrder) {
    TempFolder folder;
    CompositionInfo info = LoadText(folder, kCompleteBook);
    EXPECT_EQ(info.GetPage(0)->bgImageFlag, 1);
    EXPECT_EQ(info.GetPage(0)->backImgPath, L"背景.jpg");
    ASSERT_TRUE(info.SaveToFile(folder / L"saved.ini"));
    const std::vector<std::string> expected = {
        "[ZO_INFO]", "PAGE_CNT=2", "PICT_CNT=2", "OUTPUT_PATH=C:\\out\\LAYOUTFINAL",
        "OUTPUT_PATH2=C:\\out\\COVERFINAL", "IMAGE_FIT=1", "FORMAT_FILE_NAME=format.fmt",
        "SPLIT_PICTURE_FLAG=-1", "HARD_COVER_FLAG=1", "quality=95", "PREVIEW_WIDTH=640",
        "PREVIEW_HEIGHT=480", "PREVIEW_COMPOSITE=2", "ADOBERGB_LUT_FILE_NAME=lut.bin",
        "NOT_OUTPUT_RAKUGAKI_MOJI_BG=1", "STAMP_PATH=スタンプ", "ALLSYS_FILE_NAME=allsys.dat",
        // No BG_IMAGE_FLAG and no BACKIMG_PATH: they are read but never written.
        "[PAGE_INFO1]", "PICT_CNT=2", "FORMAT_NO=007", "SINFO_INI=s.ini", "SINFO_BMP=s.bmp",
        "SINFO_MSK=s.msk", "TINFO_INI=t.ini", "TINFO_BMP=t.bmp", "TINFO_MSK=t.msk", "[PAGE_INFO2]",
        "PICT_CNT=0", "FORMAT_NO=", "SINFO_INI=", "SINFO_BMP=", "SINFO_MSK=", "TINFO_INI=",
        "TINFO_BMP=", "TINFO_MSK=", "[PICT_INFO1]", "FileName=IMG-0001.JPG", "FILENUM=-1",
        "CORRECT_AUTO=1", "CORRECT_PARAM=1,2,3", "CORRECT_PARAM_CIPO=4,5", "ENLARGE=120",
        "moveX=-15", "moveY=30", "degree=90", "o_degree=-90", "IFPO_NAME=ifpo", "PRINT_NAME=夏休み",
        "DATE=2026/08/01", "[PICT_INFO2]", "FileName=IMG-0002.JPG", "FILENUM=2", "CORRECT_AUTO=0",
        "CORRECT_PARAM=", "CORRECT_PARAM_CIPO=", "ENLARGE=0", "moveX=0", "moveY=0", "degree=0",
        "o_degree=0", "IFPO_NAME=", "PRINT_NAME=", "DATE="};
    EXPECT_EQ(NonEmptyLinesOf(folder.ReadFile(L"saved.ini")), expected);
    EXPECT_EQ(info.GetFilePath(), folder / L"saved.ini");
}

TEST(CompositionInfoFile, CountsDecideTheRecordsWhateverSectionsArePresent) {
    const struct {
        const char* pageCount;
        int expectedRecords;
        int expectedCount;
    } cases[] = {
        {"3", 3, 3},
        {"1", 1, 1},
        {"0", 0, 0},
        {"-5", 0, -5},
        // Beyond 32 bits: the nearest 32-bit value, not a wrapped -1 or 1.
        {"4294967295", CompositionInfo::kMaxRecordCount, CompositionInfo::kMaxRecordCount},
        {"-4294967295", 0, std::numeric_limits<std::int32_t>::min()},
        {"2abc", 2, 2},
        {"abc", 0, 0},
        {"", 0, 0},
        {"2000000000", CompositionInfo::kMaxRecordCount, CompositionInfo::kMaxRecordCount}};
    for (const auto& c : cases) {
        TempFolder folder;
        // Two page sections are present in every case.
        const CompositionInfo info = LoadText(
            folder, std::string("[ZO_INFO]\nPAGE_CNT=") + c.pageCount +
                        "\n[PAGE_INFO1]\nPICT_CNT=1\nFORMAT_NO=A\n[PAGE_INFO2]\nPICT_CNT=2\n");
        EXPECT_EQ(info.PageRecordCount(), c.expectedRecords) << c.pageCount;
        EXPECT_EQ(info.GetZoInfo().pageCount, c.expectedCount) << c.pageCount;
        if (c.expectedRecords >= 3) {
            EXPECT_EQ(info.GetPage(1)->pictureCount, 2);
            // The third page has no section: defaults.
            EXPECT_EQ(info.GetPage(2)->pictureCount, 0);
            EXPECT_EQ(info.GetPage(2)->formatNo, L"");
        }
    }
}

TEST(CompositionInfoFile, ReadsValuesByTheProfileRules) {
    TempFolder folder;
    // Shift-JIS ("写真"), bare LF, duplicate keys and sections, a 300-character value, mixed-case
    // key names and no line end at the end.
    const CompositionInfo info =
        LoadText(folder, "[ZO_INFO]\nPICT_CNT=1\nPICT_CNT=7\n"
                         "[PICT_INFO1]\nfilename=" +
                             std::string(300, 'x') +
                             "\nFILENUM= -1 \n"
                             "PRINT_NAME=\x8e\xca\x90\x5e\n"
                             "[pict_info1]\nDATE=2026/08/01\nPRINT_NAME=second");
    ASSERT_EQ(info.PictureRecordCount(), 1);
    EXPECT_EQ(info.GetPicture(0)->fileName, std::wstring(259, L'x'));
    EXPECT_EQ(info.GetPicture(0)->fileNum, -1);
    EXPECT_EQ(info.GetPicture(0)->printName, L"写真");
    EXPECT_EQ(info.GetPicture(0)->date, L"");
}

TEST(CompositionInfoFile, MissingFileGivesAnEmptyModel) {
    TempFolder folder;
    CompositionInfo info = LoadText(folder, kCompleteBook);
    EXPECT_FALSE(info.LoadFromFile(folder / L"ない.ini"));
    EXPECT_EQ(info.GetZoInfo().pageCount, 0);
    EXPECT_EQ(info.GetZoInfo().outputPath, L"");
    EXPECT_EQ(info.PageRecordCount(), 0);
    EXPECT_EQ(info.GetPage(0), nullptr);
    EXPECT_EQ(info.GetPicture(-1), nullptr);
    EXPECT_EQ(info.GetFilePath(), folder / L"ない.ini");
}

TEST(CompositionInfoFile, SingleValuesGoThroughTheBoundFile) {
    TempFolder folder;
    CompositionInfo info = LoadText(folder, kCompleteBook);
    // Longer than the 127 characters of the plain profile write.
    const std::wstring longPath = L"C:\\" + std::wstring(200, L'写');
    EXPECT_TRUE(info.SetProfileText(L"PICT_INFO2", L"FILENAME", longPath));
    EXPECT_TRUE(info.SetProfileNumber(L"PICT_INFO2", L"filenum", -1));
    EXPECT_EQ(info.GetProfileText(L"pict_info2", L"FileName", L"none"), longPath);
    EXPECT_EQ(info.GetProfileNumber(L"PICT_INFO2", L"FILENUM", 9), -1);
    EXPECT_EQ(info.GetProfileNumber(L"PICT_INFO9", L"FILENUM", 9), 9);
    ASSERT_TRUE(info.LoadFromFile(info.GetFilePath()));
    EXPECT_EQ(info.GetPicture(1)->fileName, longPath);
    EXPECT_EQ(info.GetPicture(0)->printName, L"夏休み");
}

namespace {

namespace fs = std::filesystem;

// A kiosk's composition file before the transfer replaces its placeholders: pictures named
// by pattern, outputs below the album folder, the format file in the CTML folder.
const std::string kKioskTemplate =
    "[ZO_INFO]\r\nPAGE_CNT=2\r\nPICT_CNT=3\r\nOUTPUT_PATH=<<ALBUM_DIR>>\\LAYOUTFINAL\r\n"
    "OUTPUT_PATH2=<<ALBUM_DIR>>\\COVERFINAL\r\nIMAGE_FIT=0\r\n"
    "FORMAT_FILE_NAME=<<CTML_DIR>>\\QrmFormat.ini\r\nquality=90\r\nADOBERGB_LUT_FILE_NAME=\r\n"
    "STAMP_PATH=\r\nALLSYS_FILE_NAME=\r\n"
    "[PAGE_INFO1]\r\nPICT_CNT=1\r\nFORMAT_NO=COVER_FRONT\r\nBG_IMAGE_FLAG=0\r\nBACKIMG_PATH=\r\n"
    "[PAGE_INFO2]\r\nPICT_CNT=2\r\nFORMAT_NO=GRID2\r\nBACKIMG_PATH=\r\n"
    "[PICT_INFO1]\r\nFileName=IMG-0001.<<EXT>>\r\nFILENUM=0\r\nENLARGE=120\r\nmoveX=-40\r\n"
    "degree=90\r\nIFPO_NAME=IMG-0001.jpg\r\nPRINT_NAME=写真1\r\n"
    "[PICT_INFO2]\r\nFileName=IMG-0002.<<EXT>>\r\nFILENUM=1\r\n"
    "[PICT_INFO3]\r\nFileName=IMG-0003.<<EXT>>\r\nFILENUM=-1\r\n";

/// A work folder as the transfer prepares it, with the composition file loaded the way the
/// transfer loads it: placeholders replaced, pictures pointed at CORRECT or CORRECT_BK.
class WorkFolder {
public:
    WorkFolder() {
        for (const wchar_t* folder :
             {L"COMPOSITION_INFO/LAYOUTFINAL", L"COMPOSITION_INFO/COVERFINAL", L"CTML", L"CORRECT"})
            m_temp.MakeFolder(std::wstring(L"TEMP/") + folder);
        m_temp.WriteFile(L"TEMP/CTML/QrmFormat.ini", "[FORMAT_GRID2]\n");
        m_temp.WriteFile(L"TEMP/CORRECT/IMG-0002.jpg", "corrected");
        m_temp.WriteFile(L"TEMP/CORRECT_BK/IMG-0001.jpg", "as ordered");
        m_temp.WriteFile(L"TEMP/CORRECT_BK/IMG-0002.jpg", "as ordered");
        m_temp.MakeFolder(L"外");
    }

    const TempFolder& Temp() const { return m_temp; }
    std::wstring Path(std::wstring_view relative) const { return m_temp / relative; }

    /// Gives the composition file `text`, with `lines` put first into their sections: of
    /// keys given twice the first counts, so they replace the template's.
    std::wstring FindOutside(std::string text, const std::map<std::string, std::string>& lines) {
        for (const auto& [section, line] : lines) {
            const std::string header = "[" + section + "]\r\n";
            const std::size_t at = text.find(header);
            EXPECT_NE(at, std::string::npos) << section;
            text.insert(at + header.size(), line + "\r\n");
        }
        const std::wstring infoFile = Path(L"TEMP/COMPOSITION_INFO/QrmZoInRi.ini");
        m_temp.WriteFile(L"TEMP/COMPOSITION_INFO/QrmZoInRi.ini", text);
        EXPECT_TRUE(ReplaceInTextFile(LocalFolders(), infoFile, L"<<ALBUM_DIR>>",
                                      Path(L"TEMP/COMPOSITION_INFO")));
        EXPECT_TRUE(ReplaceInTextFile(LocalFolders(), infoFile, L"<<EXT>>", L"jpg"));
        EXPECT_TRUE(
            ReplaceInTextFile(LocalFolders(), infoFile, L"<<CTML_DIR>>", Path(L"TEMP/CTML")));
        EXPECT_TRUE(ResolvePictureFiles(Path(L"TEMP")));
        EXPECT_TRUE(m_info.LoadFromFile(infoFile));
        return m_info.FindValueOutsideBounds({Path(L"TEMP/COMPOSITION_INFO"), Path(L"TEMP/CTML"),
                                              Path(L"TEMP/CORRECT"), Path(L"TEMP/CORRECT_BK")});
    }

    const CompositionInfo& Info() const { return m_info; }

    void Link(std::wstring_view target, std::wstring_view link) const {
        fs::create_symlink(platform::ToFsPath(std::wstring(target)),
                           platform::ToFsPath(Path(link)));
    }

private:
    TempFolder m_temp;
    CompositionInfo m_info;
};

/// A line put first into a section of the kiosk's composition file and the key the bounds
/// check names for it.
struct BoundsCase {
    const char* section;
    const char* line;
    /// The key named; empty when the value is acceptable.
    const wchar_t* expected;
    /// What the case makes in the work folder besides.
    void (*prepare)(const WorkFolder&) = nullptr;
    const char* name = nullptr; ///< where the line alone does not tell the case
};

void ExpectNamed(std::initializer_list<BoundsCase> cases) {
    for (const BoundsCase& c : cases) {
        SCOPED_TRACE(c.name ? c.name : c.line);
        WorkFolder work;
        if (c.prepare)
            c.prepare(work);
        EXPECT_EQ(work.FindOutside(kKioskTemplate, {{c.section, c.line}}), c.expected);
    }
}

} // namespace

TEST(CompositionInfoBounds, AcceptsAKioskOrderAsTheTransferPreparesIt) {
    WorkFolder work;
    EXPECT_EQ(work.FindOutside(kKioskTemplate, {}), L"");
    // The pictures were pointed at the work folder's copies, so the check saw real paths.
    EXPECT_EQ(work.Info().GetPicture(0)->fileName, work.Path(L"TEMP/CORRECT_BK/IMG-0001.jpg"));
    EXPECT_EQ(work.Info().GetPicture(1)->fileName, work.Path(L"TEMP/CORRECT/IMG-0002.jpg"));
}

TEST(CompositionInfoBounds, NamesThePathThatLeadsOutsideTheWorkFolders) {
    ExpectNamed({
        {"ZO_INFO", "OUTPUT_PATH=/somewhere/LAYOUTFINAL", L"ZO_INFO/OUTPUT_PATH"},
        {"ZO_INFO", "OUTPUT_PATH=<<ALBUM_DIR>>\\..\\..\\x", L"ZO_INFO/OUTPUT_PATH"},
        {"ZO_INFO", "OUTPUT_PATH2=<<ALBUM_DIR>>/../../x", L"ZO_INFO/OUTPUT_PATH2"},
        {"ZO_INFO", "OUTPUT_PATH2=<<ALBUM_DIR>>\\LAYOUTFINAL/..\\..\\..\\x",
         L"ZO_INFO/OUTPUT_PATH2"},
        {"ZO_INFO", "FORMAT_FILE_NAME=<<CTML_DIR>>\\..\\..\\QrmFormat.ini",
         L"ZO_INFO/FORMAT_FILE_NAME"},
        // The work folder itself holds only the order's folders: nothing may go beside them.
        {"ZO_INFO", "ALLSYS_FILE_NAME=<<ALBUM_DIR>>\\..\\allsys.dat", L"ZO_INFO/ALLSYS_FILE_NAME"},
        // A folder whose name only begins like an allowed one.
        {"ZO_INFO", "ADOBERGB_LUT_FILE_NAME=<<CTML_DIR>>_2\\lut.bin",
         L"ZO_INFO/ADOBERGB_LUT_FILE_NAME"},
        // Relative names start in the composition file's folder.
        {"ZO_INFO", "STAMP_PATH=..\\..\\stamp.png", L"ZO_INFO/STAMP_PATH"},
        {"PAGE_INFO2", "BACKIMG_PATH=\\\\server\\share\\bg.jpg", L"PAGE_INFO2/BACKIMG_PATH"},
        {"PAGE_INFO1", "TINFO_BMP=<<CTML_DIR>>\\..\\..\\t.bmp", L"PAGE_INFO1/TINFO_BMP"},
        {"PICT_INFO3", "FileName=/etc/passwd", L"PICT_INFO3/FileName"},
        {"PICT_INFO1", "FILENAME=..\\..\\外\\IMG-0001.jpg", L"PICT_INFO1/FileName"},
        // Inside after all: the dots come back, a relative name stays, an allowed folder itself.
        {"ZO_INFO", "OUTPUT_PATH=<<ALBUM_DIR>>\\x\\..\\LAYOUTFINAL", L""},
        {"ZO_INFO", "FORMAT_FILE_NAME=<<ALBUM_DIR>>\\..\\CTML\\QrmFormat.ini", L""},
        {"ZO_INFO", "FORMAT_FILE_NAME=QrmFormat.ini", L""},
        {"ZO_INFO", "OUTPUT_PATH2=<<ALBUM_DIR>>", L""},
        {"PICT_INFO3", "FileName=..\\CORRECT_BK\\IMG-0002.jpg", L""},
        // Texts that name no file are not paths.
        {"PICT_INFO1", "PRINT_NAME=..\\..\\..\\名前", L""},
        {"PAGE_INFO1", "FORMAT_NO=../../x", L""},
    });
}

TEST(CompositionInfoBounds, FollowsLinksInsideTheWorkFolder) {
    ExpectNamed({
        {"PICT_INFO3", "FILENUM=2", L"PICT_INFO3/FileName",
         [](const WorkFolder& work) {
             work.Temp().WriteFile(L"外/secret.jpg", "not the order's");
             work.Link(work.Path(L"外/secret.jpg"), L"TEMP/CORRECT/IMG-0003.jpg");
         },
         "picture linked to a file outside"},
        {"ZO_INFO", "PAGE_CNT=2", L"ZO_INFO/OUTPUT_PATH",
         [](const WorkFolder& work) {
             fs::remove(platform::ToFsPath(work.Path(L"TEMP/COMPOSITION_INFO/LAYOUTFINAL")));
             work.Link(work.Path(L"外"), L"TEMP/COMPOSITION_INFO/LAYOUTFINAL");
         },
         "output folder linked outside"},
        // A link to a folder not made yet would have the engine create it outside.
        {"ZO_INFO", "OUTPUT_PATH=<<ALBUM_DIR>>\\out\\LAYOUTFINAL", L"ZO_INFO/OUTPUT_PATH",
         [](const WorkFolder& work) {
             work.Link(work.Path(L"外/later"), L"TEMP/COMPOSITION_INFO/out");
         }},
        // ".." leaves the link's target, not the folder that holds the link.
        {"ZO_INFO", "FORMAT_FILE_NAME=<<CTML_DIR>>\\up\\..\\QrmFormat.ini",
         L"ZO_INFO/FORMAT_FILE_NAME",
         [](const WorkFolder& work) {
             work.Temp().MakeFolder(L"外/a/b");
             work.Link(work.Path(L"外/a/b"), L"TEMP/CTML/up");
         }},
        {"ZO_INFO", "FORMAT_FILE_NAME=<<CTML_DIR>>\\loop1\\QrmFormat.ini",
         L"ZO_INFO/FORMAT_FILE_NAME",
         [](const WorkFolder& work) {
             work.Link(L"loop2", L"TEMP/CTML/loop1");
             work.Link(L"loop1", L"TEMP/CTML/loop2");
         },
         "links in a loop"},
        {"PICT_INFO3", "FILENUM=2", L"",
         [](const WorkFolder& work) {
             work.Link(L"../CORRECT_BK/IMG-0001.jpg", L"TEMP/CORRECT/IMG-0003.jpg");
         },
         "relative link that stays inside"},
    });
}

TEST(CompositionInfoBounds, NamesTheNumberOutsideItsRange) {
    ExpectNamed({
        {"ZO_INFO", "PAGE_CNT=-1", L"ZO_INFO/PAGE_CNT"},
        {"ZO_INFO", "PAGE_CNT=100001", L"ZO_INFO/PAGE_CNT"},
        {"ZO_INFO", "PICT_CNT=4294967299", L"ZO_INFO/PICT_CNT"},
        {"ZO_INFO", "PREVIEW_WIDTH=2147483648", L"ZO_INFO/PREVIEW_WIDTH"},
        {"PAGE_INFO2", "PICT_CNT=-2", L"PAGE_INFO2/PICT_CNT"},
        {"PICT_INFO1", "FILENUM=-2", L"PICT_INFO1/FILENUM"},
        {"PICT_INFO2", "moveX=-2147483649", L"PICT_INFO2/moveX"},
        {"PICT_INFO3", "o_degree=99999999999999999999", L"PICT_INFO3/o_degree"},
        // Within range: the largest count, any 32-bit value, the empty slot.
        {"ZO_INFO", "PAGE_CNT=100000", L""},
        {"PICT_INFO2", "moveX=-2147483648", L""},
        {"PICT_INFO2", "ENLARGE=2147483647", L""},
        {"PICT_INFO1", "FILENUM=-1", L""},
        {"PICT_INFO1", "degree=12abc", L""},
    });
}

TEST(CompositionInfoBounds, ReportsNumbersFirstThenPathsInFileOrder) {
    WorkFolder work;
    EXPECT_EQ(work.FindOutside(kKioskTemplate, {{"ZO_INFO", "STAMP_PATH=/x"},
                                                {"PAGE_INFO1", "BACKIMG_PATH=/y"},
                                                {"PICT_INFO3", "FILENUM=-7"}}),
              L"PICT_INFO3/FILENUM");
    EXPECT_EQ(work.FindOutside(kKioskTemplate,
                               {{"ZO_INFO", "STAMP_PATH=/x"}, {"PAGE_INFO1", "BACKIMG_PATH=/y"}}),
              L"ZO_INFO/STAMP_PATH");
    // A new load forgets the numbers of the last one.
    EXPECT_EQ(work.FindOutside(kKioskTemplate, {{"PAGE_INFO1", "BACKIMG_PATH=/y"}}),
              L"PAGE_INFO1/BACKIMG_PATH");
}
