#include "config/ProfileDocument.h"
#include "platform/TextEncoding.h"

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
        "\xEF\xBB\xBF" "orphan=before any section\r\n[Config]\r\n  UniqueID  =  \"ABC-123\"  \r\n"
        "uniqueid=second is ignored\r\nQuoted='single'\r\nUnbalanced=\"open\r\nLone=\"\r\nEmpty=\r\n"
        "no equals sign here\r\n; comment=not a key\r\n\r\n[ 写真 ]\r\n名前=表紙\r\n[CONFIG]\r\nLater=hidden\r\n");
    EXPECT_EQ(document.Get(L"CONFIG", L"uniqueId"), L"ABC-123");
    EXPECT_EQ(document.Get(L"Config", L"Quoted"), L"single");
    EXPECT_EQ(document.Get(L"Config", L"Unbalanced"), L"\"open");
    EXPECT_EQ(document.Get(L"Config", L"Lone"), L"\"");
    EXPECT_EQ(document.Get(L"Config", L"Empty"), L"");
    EXPECT_EQ(document.Get(L"写真", L"名前"), L"表紙");
    for (const wchar_t* missing : {L"no equals sign here", L"; comment", L"Later", L"orphan"})
        EXPECT_FALSE(document.Get(L"Config", missing)) << missing;
    EXPECT_FALSE(document.Get(L"Missing", L"UniqueID"));
    EXPECT_EQ(document.SectionNames(), (std::vector<std::wstring>{L"Config", L"写真"}));
    EXPECT_EQ(document.Keys(L"CONFIG"), (std::vector<std::wstring>{L"UniqueID", L"Quoted", L"Unbalanced", L"Lone", L"Empty"}));
}

TEST(ProfileDocument, UnchangedTextIsWrittenBackByteForByte) {
    for (const std::string text : {"[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny = 2 \r\n", "[A]\nx=1\n[B]\ny=2",
                                   "\xEF\xBB\xBF[A]\r\nx=写真\r\n", "no section\n=\n[]\n[unclosed\n  \t\n", ""})
        EXPECT_EQ(Parse(text).ToBytes(), text);
}

TEST(ProfileDocument, SetReplacesInPlaceOrAddsAtTheEndOfTheSection) {
    ProfileDocument document = Parse("; settings\n[A]\n  Key = old\nx=1\n; about x\n\n[B]\ny=2");
    document.Set(L"a", L"KEY", L"new");
    document.Set(L"A", L"z", L"3");
    document.Set(L"b", L"w", L"4\r\n[Injected]");
    document.Set(L"新しい", L"キー", L"値");
    EXPECT_EQ(document.ToBytes(), "; settings\n[A]\nKey=new\nx=1\n; about x\nz=3\n\n[B]\ny=2\nw=4\n[新しい]\nキー=値\n");
    EXPECT_FALSE(document.HasSection(L"Injected"));

    ProfileDocument fresh;
    fresh.Set(L"CONFIG", L"UniqueID", L"");
    EXPECT_EQ(fresh.ToBytes(), "[CONFIG]\r\nUniqueID=\r\n");
}

TEST(ProfileDocument, RemovingTheFirstOfDuplicatesUncoversTheNext) {
    ProfileDocument document = Parse("[A]\r\nx=1\r\nx=2\r\ny=3\r\n[B]\r\nz=4\r\n[a]\r\nq=5\r\n");
    EXPECT_TRUE(document.RemoveKey(L"a", L"X"));
    EXPECT_EQ(document.Get(L"A", L"x"), L"2");
    EXPECT_EQ(document.Get(L"A", L"y"), L"3");
    EXPECT_TRUE(document.RemoveSection(L"A"));
    EXPECT_EQ(document.Get(L"A", L"q"), L"5");
    EXPECT_FALSE(document.RemoveSection(L"C") || document.RemoveKey(L"B", L"missing"));
    EXPECT_EQ(document.ToBytes(), "[B]\r\nz=4\r\n[a]\r\nq=5\r\n");
}

TEST(ProfileDocument, KeepsTheEncodingOfTheFile) {
    ProfileDocument shiftJis = Parse(platform::WideToShiftJis(L"[注文]\r\n名前=山田\r\n"));
    EXPECT_EQ(shiftJis.Get(L"注文", L"名前"), L"山田");
    shiftJis.Set(L"注文", L"名前", L"佐藤");
    EXPECT_EQ(shiftJis.ToBytes(), platform::WideToShiftJis(L"[注文]\r\n名前=佐藤\r\n"));

    const std::string utf16 = "\xFF\xFE" + platform::WideToUtf16Le(L"[A]\r\nk=写真\r\n");
    EXPECT_EQ(Parse(utf16).Get(L"A", L"k"), L"写真");
    EXPECT_EQ(Parse(utf16).ToBytes(), utf16);

    ProfileDocument ascii = Parse("[A]\r\nk=v\r\n");
    ascii.Set(L"A", L"k", L"写真");
    EXPECT_EQ(ascii.ToBytes(), platform::WideToSystemCodePage(L"[A]\r\nk=写真\r\n"));
}

TEST(ProfileDocument, LargeBookIsIndexed) {
    // A 500-page book with 3000 pictures: one section per page and per picture.
    std::string text;
    for (int page = 1; page <= 500; ++page)
        text += "[PAGE_INFO" + std::to_string(page) + "]\r\nFORMAT=見開き\r\n";
    for (int picture = 1; picture <= 3000; ++picture)
        text += "[PICTURE_INFO" + std::to_string(picture) + "]\r\nPATH=写真" + std::to_string(picture) + ".jpg\r\nZOOM=100\r\n";
    ProfileDocument document = Parse(text);
    EXPECT_EQ(document.SectionNames().size(), 3500u);
    for (int picture = 1; picture <= 3000; ++picture)
        document.Set(L"picture_info" + std::to_wstring(picture), L"zoom", L"120");
    EXPECT_EQ(document.Get(L"PICTURE_INFO2999", L"PATH"), L"写真2999.jpg");
    EXPECT_EQ(document.Get(L"PICTURE_INFO1500", L"ZOOM"), L"120");
    EXPECT_EQ(document.ToBytes().size(), text.size());
}
