#include "config/ProfileDocument.h"
#include "platform/TextEncoding.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ProfileDocument Parse(std::string_view bytes) {
    ProfileDocument document;
    document.LoadFromBytes(bytes);
    return document;
}

} // namespace

TEST(ProfileDocument, ReadsAsTheWindowsProfileFunctionsDo) {
    const ProfileDocument document = Parse(
        "\xEF\xBB\xBF"
        "orphan=before any section\r\n"
        "[Config]\r\n"
        "  UniqueID  =  \"ABC-123\"  \r\n"
        "isCheckUniqueID=true\r\n"
        "uniqueid=second is ignored\r\n"
        "Quoted='single'\r\n"
        "Unbalanced=\"open\r\n"
        "Lone=\"\r\n"
        "Empty=\r\n"
        "no equals sign here\r\n"
        "; comment=not a key\r\n"
        "\r\n"
        "[ 写真 ]\r\n"
        "名前=表紙\r\n"
        "[CONFIG]\r\n"
        "Later=duplicate section is not read\r\n");
    EXPECT_EQ(document.Get(L"CONFIG", L"uniqueId"), L"ABC-123");
    EXPECT_EQ(document.Get(L"config", L"ISCHECKUNIQUEID"), L"true");
    EXPECT_EQ(document.Get(L"Config", L"Quoted"), L"single");
    EXPECT_EQ(document.Get(L"Config", L"Unbalanced"), L"\"open");
    EXPECT_EQ(document.Get(L"Config", L"Lone"), L"\"");
    EXPECT_EQ(document.Get(L"Config", L"Empty"), L"");
    EXPECT_EQ(document.Get(L"写真", L"名前"), L"表紙");
    EXPECT_FALSE(document.Get(L"Config", L"no equals sign here"));
    EXPECT_FALSE(document.Get(L"Config", L"; comment"));
    EXPECT_FALSE(document.Get(L"Config", L"Later"));
    EXPECT_FALSE(document.Get(L"", L"orphan"));
    EXPECT_FALSE(document.Get(L"Missing", L"UniqueID"));
    EXPECT_EQ(document.SectionNames(), (std::vector<std::wstring>{L"Config", L"写真"}));
    EXPECT_EQ(document.Keys(L"CONFIG"),
              (std::vector<std::wstring>{L"UniqueID", L"isCheckUniqueID", L"Quoted", L"Unbalanced", L"Lone", L"Empty"}));
}

TEST(ProfileDocument, UnchangedTextIsWrittenBackByteForByte) {
    const std::string texts[] = {
        "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny = 2 \r\n",
        "[A]\nx=1\n[B]\ny=2",
        "\xEF\xBB\xBF[A]\r\nx=写真\r\n",
        "no section\n=\n[]\n[unclosed\n  \t\n",
        "",
    };
    for (const std::string& text : texts)
        EXPECT_EQ(Parse(text).ToBytes(), text);
}

TEST(ProfileDocument, SetReplacesInPlaceAndKeepsEverythingElse) {
    ProfileDocument document = Parse(
        "; settings\r\n[CONFIG]\r\n  UniqueID = old ; kept comment? no, part of the value\r\nother=1\r\n\r\n"
        "[TERMINAL]\r\nTerminal0_PATH=/in\r\n");
    document.Set(L"config", L"uniqueid", L"NEW-ID");
    EXPECT_EQ(document.ToBytes(),
              "; settings\r\n[CONFIG]\r\nUniqueID=NEW-ID\r\nother=1\r\n\r\n"
              "[TERMINAL]\r\nTerminal0_PATH=/in\r\n");
}

TEST(ProfileDocument, SetAddsKeysAtTheEndOfTheSectionAndNewSectionsAtTheEnd) {
    ProfileDocument document = Parse("[A]\nx=1\n; about x\n\n[B]\ny=2");
    document.Set(L"A", L"z", L"3");
    document.Set(L"b", L"w", L"4");
    document.Set(L"新しい", L"キー", L"値");
    EXPECT_EQ(document.ToBytes(), "[A]\nx=1\n; about x\nz=3\n\n[B]\ny=2\nw=4\n[新しい]\nキー=値\n");
    EXPECT_EQ(document.Get(L"A", L"Z"), L"3");
    EXPECT_EQ(document.Get(L"新しい", L"キー"), L"値");
}

TEST(ProfileDocument, ValuesWithLineBreaksStopAtTheBreak) {
    ProfileDocument document;
    document.Set(L"S", L"k", L"first\r\n[Injected]\r\nx=1");
    EXPECT_EQ(document.Get(L"S", L"k"), L"first");
    EXPECT_FALSE(document.HasSection(L"Injected"));
}

TEST(ProfileDocument, RemovesKeysAndSections) {
    ProfileDocument document = Parse("[A]\r\nx=1\r\nx=2\r\ny=3\r\n[B]\r\nz=4\r\n[a]\r\nq=5\r\n");
    EXPECT_TRUE(document.RemoveKey(L"a", L"X"));
    EXPECT_EQ(document.Get(L"A", L"x"), L"2");
    EXPECT_EQ(document.Get(L"A", L"y"), L"3");
    EXPECT_FALSE(document.RemoveKey(L"A", L"missing"));
    EXPECT_TRUE(document.RemoveSection(L"A"));
    // The duplicate that was hidden behind the first section now counts.
    EXPECT_EQ(document.Get(L"A", L"q"), L"5");
    EXPECT_EQ(document.Get(L"B", L"z"), L"4");
    EXPECT_FALSE(document.RemoveSection(L"C"));
    EXPECT_EQ(document.ToBytes(), "[B]\r\nz=4\r\n[a]\r\nq=5\r\n");
}

TEST(ProfileDocument, KeepsTheEncodingOfTheFile) {
    const std::string shiftJis = platform::WideToShiftJis(L"[注文]\r\n名前=山田\r\n");
    ProfileDocument document = Parse(shiftJis);
    EXPECT_EQ(document.GetEncoding(), ProfileDocument::Encoding::kShiftJis);
    EXPECT_EQ(document.Get(L"注文", L"名前"), L"山田");
    document.Set(L"注文", L"名前", L"佐藤");
    EXPECT_EQ(document.ToBytes(), platform::WideToShiftJis(L"[注文]\r\n名前=佐藤\r\n"));

    const std::string utf16 = "\xFF\xFE" + platform::WideToUtf16Le(L"[A]\r\nk=写真\r\n");
    ProfileDocument wide = Parse(utf16);
    EXPECT_EQ(wide.Get(L"A", L"k"), L"写真");
    EXPECT_EQ(wide.ToBytes(), utf16);

    ProfileDocument ascii = Parse("[A]\r\nk=v\r\n");
    ascii.Set(L"A", L"k", L"写真");
    EXPECT_EQ(ascii.ToBytes(), platform::WideToSystemCodePage(L"[A]\r\nk=写真\r\n"));
}

TEST(ProfileDocument, NewDocumentUsesCrLf) {
    ProfileDocument document;
    document.Set(L"CONFIG", L"isCheckUniqueID", L"false");
    document.Set(L"CONFIG", L"UniqueID", L"");
    EXPECT_EQ(document.ToBytes(), "[CONFIG]\r\nisCheckUniqueID=false\r\nUniqueID=\r\n");
}

TEST(ProfileDocument, SaveReplacesTheFileAndLoadReadsItBack) {
    TempFolder folder;
    folder.WriteFile(L"composition.ini", "[CONFIG]\r\nUniqueID=a\r\n");
    ProfileDocument document;
    ASSERT_TRUE(document.Load(folder / L"composition.ini"));
    document.Set(L"CONFIG", L"UniqueID", L"b");
    ASSERT_TRUE(document.Save(folder / L"composition.ini"));
    EXPECT_EQ(folder.ReadFile(L"composition.ini"), "[CONFIG]\r\nUniqueID=b\r\n");
    EXPECT_FALSE(document.Load(folder / L"missing.ini"));
    EXPECT_TRUE(document.SectionNames().empty());
    EXPECT_FALSE(document.Save(folder / L"no folder/x.ini"));
}

TEST(ProfileDocument, LargeFilesLoadAndAnswerFromTheIndex) {
    // A 500-page book with 3000 pictures: one section per page and per picture.
    std::string text;
    for (int page = 1; page <= 500; ++page)
        text += "[PAGE_INFO" + std::to_string(page) + "]\r\nPICTURE_COUNT=6\r\nFORMAT=見開き\r\n";
    for (int picture = 1; picture <= 3000; ++picture)
        text += "[PICTURE_INFO" + std::to_string(picture) + "]\r\nPATH=/TEMP/IMAGE/写真" + std::to_string(picture) +
                ".jpg\r\nZOOM=100\r\nROTATE=0\r\n";
    ProfileDocument document = Parse(text);
    EXPECT_EQ(document.SectionNames().size(), 3500u);
    EXPECT_EQ(document.Get(L"picture_info2999", L"path"), L"/TEMP/IMAGE/写真2999.jpg");
    for (int picture = 1; picture <= 3000; ++picture)
        document.Set(L"PICTURE_INFO" + std::to_wstring(picture), L"ZOOM", L"120");
    EXPECT_EQ(document.Get(L"PICTURE_INFO1500", L"ZOOM"), L"120");
    EXPECT_EQ(document.ToBytes().size(), text.size());
}
