#include "composition/CorrectionFolders.h"
#include "composition/CompositionInfo.h"

#include "FolderNames.h"
#include "TempFolder.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

const std::wstring kInfoFile = L"COMPOSITION_INFO/QrmZoInRi.ini";

/// Writes a composition information file whose pictures have the given "FILENAME" texts.
void WriteBook(const TempFolder& work, std::initializer_list<std::string> fileNames) {
    std::string text = "[ZO_INFO]\r\nPAGE_CNT=1\r\nPICT_CNT=" + std::to_string(fileNames.size()) +
                       "\r\n[PAGE_INFO1]\r\nPICT_CNT=" + std::to_string(fileNames.size()) + "\r\n";
    int number = 0;
    for (const std::string& fileName : fileNames) {
        const std::string section = std::to_string(++number);
        text += "[PICT_INFO" + section + "]\r\nFileName=" + fileName + "\r\nFILENUM=" + section +
                "\r\n";
    }
    work.WriteFile(kInfoFile, text);
}

std::wstring PictureFile(const TempFolder& work, int index) {
    CompositionInfo info;
    if (!info.LoadFromFile(work / kInfoFile))
        return L"(unreadable)";
    const PictInfo* picture = info.GetPicture(index);
    return picture ? picture->fileName : L"(none)";
}

} // namespace

TEST(ResolvePictureFiles, PointsEachPictureAtTheNewestMatchingImage) {
    struct Case {
        std::string fileName;
        std::wstring expected; // empty: the text stays
    };
    const Case cases[] = {
        {"IMG-0009.JPG", L"CORRECT/IMG-0009.JPG"}, // the correction before its backup
        {"img-0001.jpg", L"CORRECT_BK/IMG-0001.JPG"},
        {"IMG-00?1.JPG", L"CORRECT_BK/IMG-0001.JPG"},
        {"IMG-0001.*", L"CORRECT_BK/IMG-0001.BMP"}, // the first in name order
        {"IMG-0007.", L"CORRECT_BK/IMG-0007"},
        {"*.jpeg", L"CORRECT_BK/アルバム.jpeg"},
        {"IMG-0001.JP", L""},
        {"CORRECT_BK/IMG-0001.JPG", L""},
        {"", L""},
    };
    for (const Case& c : cases) {
        TempFolder work;
        work.WriteFile(L"CORRECT/IMG-0009.JPG", "");
        work.WriteFile(L"CORRECT_BK/IMG-0009.JPG", "");
        work.WriteFile(L"CORRECT_BK/IMG-0001.JPG", "");
        work.WriteFile(L"CORRECT_BK/IMG-0001.BMP", "");
        work.MakeFolder(L"CORRECT_BK/IMG-0001.AAA"); // a folder is not a picture
        work.WriteFile(L"CORRECT_BK/IMG-0007", "");
        work.WriteFile(L"CORRECT_BK/アルバム.jpeg", "");
        WriteBook(work, {c.fileName});
        EXPECT_TRUE(ResolvePictureFiles(work.Path()));
        const std::wstring expected =
            c.expected.empty() ? platform::Utf8ToWide(c.fileName) : work / c.expected;
        EXPECT_EQ(PictureFile(work, 0), expected) << c.fileName.c_str();
    }
}

TEST(ResolvePictureFiles, LeavesFilesWithoutPicturesAlone) {
    for (const std::string text :
         {"", "[ZO_INFO]\r\nPICT_CNT=0\r\n[PICT_INFO1]\r\nFileName=IMG-0001.JPG\r\n",
          "[ZO_INFO]\r\nPICT_CNT=-3\r\n[PICT_INFO1]\r\nFileName=IMG-0001.JPG\r\n"}) {
        TempFolder work;
        work.WriteFile(L"CORRECT/IMG-0001.JPG", "");
        work.WriteFile(kInfoFile, text);
        EXPECT_TRUE(ResolvePictureFiles(work.Path()));
        EXPECT_EQ(work.ReadFile(kInfoFile), text);
    }
    TempFolder withoutFile;
    EXPECT_TRUE(ResolvePictureFiles(withoutFile.Path()));
    EXPECT_FALSE(withoutFile.Exists(kInfoFile));

    // A count larger than the sections present adds no sections for the missing pictures.
    TempFolder work;
    work.WriteFile(L"CORRECT/IMG-0001.JPG", "");
    work.WriteFile(kInfoFile,
                   "[ZO_INFO]\r\nPICT_CNT=50\r\n[PICT_INFO1]\r\nFileName=IMG-0001.JPG\r\n");
    EXPECT_TRUE(ResolvePictureFiles(work.Path()));
    EXPECT_EQ(PictureFile(work, 0), work / L"CORRECT/IMG-0001.JPG");
    EXPECT_EQ(work.ReadFile(kInfoFile).find("PICT_INFO2"), std::string::npos);
}

TEST(MergeCorrections, ReplacesBackupsOfTheSamePictureWhateverTheExtension) {
    struct Case {
        std::wstring backup;
        bool kept;
    };
    const Case cases[] = {
        {L"IMG-0001.TIF", false},     {L"IMG-0001.jpg", false}, {L"img-0001.bmp", false},
        {L"IMG-0001.JPG.bak", false}, {L"IMG-00010.JPG", true}, {L"IMG-0002.JPG", true},
        {L"IMG-0001", false},         {L"写真.jpg", true},
    };
    TempFolder work;
    work.WriteFile(L"CORRECT/IMG-0001.JPG", "new");
    for (const Case& c : cases)
        work.WriteFile(L"CORRECT_BK/" + c.backup, "old");
    EXPECT_TRUE(MergeCorrections(work.Path()));
    // Names as spelt: where case is ignored, IMG-0001.jpg would exist as the new IMG-0001.JPG.
    std::vector<std::wstring> left{L"IMG-0001.JPG"};
    for (const Case& c : cases)
        if (c.kept)
            left.push_back(c.backup);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(FolderNames(work / L"CORRECT_BK"), left);
    EXPECT_EQ(work.ReadFile(L"CORRECT_BK/IMG-0001.JPG"), "new");
    EXPECT_EQ(work.ReadFile(L"CORRECT/IMG-0001.JPG"), "new");
}
