#include "composition/CompositionInfo.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// A complete book of two pages and two pictures, keys in a different order than a save
// writes them and with mixed-case key names, as kiosks write them.
const std::string kCompleteBook = "[ZO_INFO]\r\n"
                                  "ALLSYS_FILE_NAME=allsys.dat\r\n"
                                  "PAGE_CNT=2\r\n"
                                  "pict_cnt=2\r\n"
                                  "OUTPUT_PATH=C:\\out\\LAYOUTFINAL\r\n"
                                  "OUTPUT_PATH2=C:\\out\\COVERFINAL\r\n"
                                  "IMAGE_FIT=1\r\n"
                                  "FORMAT_FILE_NAME=format.fmt\r\n"
                                  "SPLIT_PICTURE_FLAG=-1\r\n"
                                  "HARD_COVER_FLAG=1\r\n"
                                  "QUALITY=95\r\n"
                                  "PREVIEW_WIDTH=640\r\n"
                                  "PREVIEW_HEIGHT=480\r\n"
                                  "PREVIEW_COMPOSITE=2\r\n"
                                  "ADOBERGB_LUT_FILE_NAME=lut.bin\r\n"
                                  "NOT_OUTPUT_RAKUGAKI_MOJI_BG=1\r\n"
                                  "STAMP_PATH=スタンプ\r\n"
                                  "[PAGE_INFO1]\r\n"
                                  "FORMAT_NO=007\r\n"
                                  "PICT_CNT=2\r\n"
                                  "SINFO_INI=s.ini\r\nSINFO_BMP=s.bmp\r\nSINFO_MSK=s.msk\r\n"
                                  "TINFO_INI=t.ini\r\nTINFO_BMP=t.bmp\r\nTINFO_MSK=t.msk\r\n"
                                  "BG_IMAGE_FLAG=1\r\n"
                                  "BACKIMG_PATH=背景.jpg\r\n"
                                  "[PAGE_INFO2]\r\n"
                                  "PICT_CNT=0\r\n"
                                  "[PICT_INFO1]\r\n"
                                  "FILENAME=IMG-0001.JPG\r\n"
                                  "FILENUM=-1\r\n"
                                  "PRINT_NAME=夏休み\r\nDATE=2026/08/01\r\nCORRECT_AUTO=1\r\n"
                                  "CORRECT_PARAM=1,2,3\r\nCORRECT_PARAM_CIPO=4,5\r\nENLARGE=120\r\n"
                                  "MOVEX=-15\r\nmoveY=30\r\ndegree=90\r\no_degree=-90\r\n"
                                  "IFPO_NAME=ifpo\r\n"
                                  "[PICT_INFO2]\r\n"
                                  "FileName=IMG-0002.JPG\r\n"
                                  "FILENUM=2\r\n";

std::vector<std::string> LinesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::istringstream stream(bytes);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
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

TEST(CompositionInfoFile, LoadsEveryValueWhateverTheKeyCase) {
    TempFolder folder;
    const CompositionInfo info = LoadText(folder, kCompleteBook);
    const ZoInfo& book = info.GetZoInfo();
    EXPECT_EQ(book.pageCount, 2);
    EXPECT_EQ(book.pictureCount, 2);
    EXPECT_EQ(book.outputPath, L"C:\\out\\LAYOUTFINAL");
    EXPECT_EQ(book.splitPictureFlag, -1);
    EXPECT_EQ(book.quality, 95);
    EXPECT_EQ(book.stampPath, L"スタンプ");
    EXPECT_EQ(book.allSysFileName, L"allsys.dat");
    ASSERT_EQ(info.PageRecordCount(), 2);
    EXPECT_EQ(info.GetPage(0)->formatNo, L"007");
    EXPECT_EQ(info.GetPage(0)->bgImageFlag, 1);
    EXPECT_EQ(info.GetPage(0)->backImgPath, L"背景.jpg");
    ASSERT_EQ(info.PictureRecordCount(), 2);
    const PictInfo& first = *info.GetPicture(0);
    EXPECT_EQ(first.fileName, L"IMG-0001.JPG");
    EXPECT_EQ(first.fileNum, -1);
    EXPECT_FALSE(first.IsUsed());
    EXPECT_EQ(first.printName, L"夏休み");
    EXPECT_EQ(first.moveX, -15);
    EXPECT_EQ(first.oDegree, -90);
    EXPECT_EQ(info.GetPicture(1)->fileName, L"IMG-0002.JPG");
    EXPECT_EQ(info.GetFilePath(), folder / L"COMPOSITION_INFO/QrmZoInRi.ini");
}

TEST(CompositionInfoFile, SaveIntoFreshFileWritesKeysInFileOrder) {
    TempFolder folder;
    CompositionInfo info = LoadText(folder, kCompleteBook);
    ASSERT_TRUE(info.SaveToFile(folder / L"saved.ini"));
    const std::vector<std::string> expected = {
        "[ZO_INFO]", "PAGE_CNT=2", "PICT_CNT=2", "OUTPUT_PATH=C:\\out\\LAYOUTFINAL",
        "OUTPUT_PATH2=C:\\out\\COVERFINAL", "IMAGE_FIT=1", "FORMAT_FILE_NAME=format.fmt",
        "SPLIT_PICTURE_FLAG=-1", "HARD_COVER_FLAG=1", "quality=95", "PREVIEW_WIDTH=640",
        "PREVIEW_HEIGHT=480", "PREVIEW_COMPOSITE=2", "ADOBERGB_LUT_FILE_NAME=lut.bin",
        "NOT_OUTPUT_RAKUGAKI_MOJI_BG=1", "STAMP_PATH=スタンプ", "ALLSYS_FILE_NAME=allsys.dat",
        // No BG_IMAGE_FLAG and no BACKIMG_PATH: they are read but never written.
        "[PAGE_INFO1]", "PICT_CNT=2", "FORMAT_NO=007", "SINFO_INI=s.ini", "SINFO_BMP=s.bmp",
        "SINFO_MSK=s.msk", "TINFO_INI=t.ini", "TINFO_BMP=t.bmp", "TINFO_MSK=t.msk",
        "[PAGE_INFO2]", "PICT_CNT=0", "FORMAT_NO=", "SINFO_INI=", "SINFO_BMP=", "SINFO_MSK=",
        "TINFO_INI=", "TINFO_BMP=", "TINFO_MSK=",
        "[PICT_INFO1]", "FileName=IMG-0001.JPG", "FILENUM=-1", "CORRECT_AUTO=1",
        "CORRECT_PARAM=1,2,3", "CORRECT_PARAM_CIPO=4,5", "ENLARGE=120", "moveX=-15", "moveY=30",
        "degree=90", "o_degree=-90", "IFPO_NAME=ifpo", "PRINT_NAME=夏休み", "DATE=2026/08/01",
        "[PICT_INFO2]", "FileName=IMG-0002.JPG", "FILENUM=2", "CORRECT_AUTO=0", "CORRECT_PARAM=",
        "CORRECT_PARAM_CIPO=", "ENLARGE=0", "moveX=0", "moveY=0", "degree=0", "o_degree=0",
        "IFPO_NAME=", "PRINT_NAME=", "DATE="};
    std::vector<std::string> saved = LinesOf(folder.ReadFile(L"saved.ini"));
    std::erase(saved, std::string());
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(info.GetFilePath(), folder / L"saved.ini");
}

TEST(CompositionInfoFile, SavedFileLoadsBackToTheSameModel) {
    TempFolder folder;
    CompositionInfo original = LoadText(folder, kCompleteBook);
    ASSERT_TRUE(original.SaveToFile(folder / L"保存.ini"));
    CompositionInfo reloaded;
    ASSERT_TRUE(reloaded.LoadFromFile(folder / L"保存.ini"));
    EXPECT_EQ(reloaded.GetZoInfo().previewHeight, 480);
    EXPECT_EQ(reloaded.GetZoInfo().stampPath, L"スタンプ");
    ASSERT_EQ(reloaded.PictureRecordCount(), 2);
    EXPECT_EQ(reloaded.GetPicture(0)->fileNum, -1);
    EXPECT_EQ(reloaded.GetPicture(0)->correctParamCipo, L"4,5");
    EXPECT_EQ(reloaded.GetPicture(0)->date, L"2026/08/01");
    // The keys that are never written come back as their defaults.
    EXPECT_EQ(reloaded.GetPage(0)->bgImageFlag, 0);
    EXPECT_EQ(reloaded.GetPage(0)->backImgPath, L"");
}

TEST(CompositionInfoFile, SaveChangesAnExistingFileInPlace) {
    TempFolder folder;
    folder.WriteFile(L"book.ini", "; kiosk notes\r\n[EXTRA]\r\nA=1\r\n[ZO_INFO]\r\nPAGE_CNT=9\r\n");
    CompositionInfo info;
    info.GetZoInfo().pageCount = 0;
    ASSERT_TRUE(info.SaveToFile(folder / L"book.ini"));
    const std::vector<std::string> lines = LinesOf(folder.ReadFile(L"book.ini"));
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "; kiosk notes");
    EXPECT_EQ(lines[2], "A=1");
    EXPECT_EQ(lines[4], "PAGE_CNT=0");
}

TEST(CompositionInfoFile, CountsDecideTheRecordsWhateverSectionsArePresent) {
    struct Case {
        const char* pageCount;
        int expectedRecords;
        int expectedCount;
    };
    // Two page sections are present in every case.
    const Case cases[] = {{"3", 3, 3},   {"1", 1, 1},           {"0", 0, 0},
                          {"-5", 0, -5}, {"4294967295", 0, -1}, {"2abc", 2, 2},
                          {"abc", 0, 0}, {" +2", 2, 2},         {"", 0, 0}};
    for (const Case& c : cases) {
        TempFolder folder;
        const CompositionInfo info = LoadText(
            folder, std::string("[ZO_INFO]\nPAGE_CNT=") + c.pageCount +
                        "\n[PAGE_INFO1]\nPICT_CNT=1\nFORMAT_NO=A\n[PAGE_INFO2]\nPICT_CNT=2\n");
        EXPECT_EQ(info.PageRecordCount(), c.expectedRecords) << c.pageCount;
        EXPECT_EQ(info.GetZoInfo().pageCount, c.expectedCount) << c.pageCount;
        if (c.expectedRecords == 3) {
            // The third page has no section: defaults.
            EXPECT_EQ(info.GetPage(1)->pictureCount, 2);
            EXPECT_EQ(info.GetPage(2)->pictureCount, 0);
            EXPECT_EQ(info.GetPage(2)->formatNo, L"");
        }
    }
}

TEST(CompositionInfoFile, HugeCountIsLoweredToTheRecordLimit) {
    TempFolder folder;
    const CompositionInfo info =
        LoadText(folder, "[ZO_INFO]\nPAGE_CNT=1\nPICT_CNT=2000000000\n[PICT_INFO1]\nFILENUM=5\n");
    EXPECT_EQ(info.GetZoInfo().pictureCount, CompositionInfo::kMaxRecordCount);
    EXPECT_EQ(info.PictureRecordCount(), CompositionInfo::kMaxRecordCount);
    EXPECT_EQ(info.GetPicture(0)->fileNum, 5);
}

TEST(CompositionInfoFile, TextIsCutToTheReadBuffer) {
    TempFolder folder;
    const std::string longName(300, 'x');
    const CompositionInfo info =
        LoadText(folder, "[ZO_INFO]\nPICT_CNT=1\n[PICT_INFO1]\nFileName=" + longName + "\n");
    EXPECT_EQ(info.GetPicture(0)->fileName, std::wstring(259, L'x'));
}

TEST(CompositionInfoFile, ReadsShiftJisAndLineFeedFiles) {
    TempFolder folder;
    // PRINT_NAME "写真" in Shift-JIS, lines ending in a bare LF, no line end at the end.
    const CompositionInfo info =
        LoadText(folder, "[ZO_INFO]\nPICT_CNT=1\n[PICT_INFO1]\nPRINT_NAME=\x8e\xca\x90\x5e");
    EXPECT_EQ(info.GetPicture(0)->printName, L"写真");
}

TEST(CompositionInfoFile, FirstOfDuplicateSectionsAndKeysCounts) {
    TempFolder folder;
    const CompositionInfo info = LoadText(folder, "[ZO_INFO]\nPAGE_CNT=1\nPAGE_CNT=7\n"
                                                  "[PAGE_INFO1]\nFORMAT_NO=first\n"
                                                  "[page_info1]\nFORMAT_NO=second\n");
    ASSERT_EQ(info.PageRecordCount(), 1);
    EXPECT_EQ(info.GetPage(0)->formatNo, L"first");
}

TEST(CompositionInfoFile, MissingFileGivesAnEmptyModel) {
    TempFolder folder;
    CompositionInfo info = LoadText(folder, kCompleteBook);
    EXPECT_FALSE(info.LoadFromFile(folder / L"ない.ini"));
    EXPECT_EQ(info.GetZoInfo().pageCount, 0);
    EXPECT_EQ(info.GetZoInfo().outputPath, L"");
    EXPECT_EQ(info.PageRecordCount(), 0);
    EXPECT_EQ(info.PictureRecordCount(), 0);
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
    EXPECT_EQ(info.GetProfileText(L"PICT_INFO9", L"FileName", L"none"), L"none");
    // The other values of the file are kept.
    ASSERT_TRUE(info.LoadFromFile(info.GetFilePath()));
    EXPECT_EQ(info.GetPicture(1)->fileName, longPath);
    EXPECT_EQ(info.GetPicture(1)->fileNum, -1);
    EXPECT_EQ(info.GetPicture(0)->printName, L"夏休み");
}
