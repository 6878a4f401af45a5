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
    const ProfileDocument document =
        Parse("\xEF\xBB\xBF"
              "orphan=before any section\r\n[Config]\r\n  UniqueID  =  \"ABC-123\"  \r\n"
              "uniqueid=second is "
              "ignored\r\nQuoted='single'\r\nUnbalanced=\"open\r\nLone=\"\r\nEmpty=\r\n"
              "no equals sign here\r\n; comment=not a key\r\n[unclosed=header\r\n\r\n[ 写真 "
              "]\r\n名前=表紙\r\n[CONFIG]\r\nLater=hidden\r\n");
    EXPECT_EQ(document.Get(L"CONFIG", L"uniqueId"), L"ABC-123");
    EXPECT_EQ(document.Get(L"Config", L"Quoted"), L"single");
    EXPECT_EQ(document.Get(L"Config", L"Unbalanced"), L"\"open");
    EXPECT_EQ(document.Get(L"Config", L"Lone"), L"\"");
    EXPECT_EQ(document.Get(L"Config", L"Empty"), L"");
    EXPECT_EQ(document.Get(L"写真", L"名前"), L"表紙");
    EXPECT_EQ(document.Get(L"\t写真 ", L" 名前"), L"表紙") << "names in calls are trimmed too";
    for (const wchar_t* missing :
         {L"no equals sign here", L"; comment", L"[unclosed", L"Later", L"orphan"})
        EXPECT_FALSE(document.Get(L"Config", missing)) << missing;
    EXPECT_FALSE(document.Get(L"Missing", L"UniqueID"));
    EXPECT_EQ(document.SectionNames(), (std::vector<std::wstring>{L"Config", L"写真"}));
    EXPECT_EQ(
        document.Keys(L"CONFIG"),
        (std::vector<std::wstring>{L"UniqueID", L"Quoted", L"Unbalanced", L"Lone", L"Empty"}));
}

TEST(ProfileDocument, UnchangedTextIsWrittenBackByteForByte) {
    for (const std::string text :
         {"[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny = 2 \r\n", "[A]\nx=1\n[B]\ny=2",
          "\xEF\xBB\xBF[A]\r\nx=写真\r\n", "no section\n=\n[]\n[unclosed\n  \t\n", "",
          "[A]\rx=1\r\r[B]\ry=2\r", "[A]\nx=1\ry=2\n[B]\rz=3"})
        EXPECT_EQ(Parse(text).ToBytes(), text);
}

TEST(ProfileDocument, ACarriageReturnAloneEndsALineWhereNoLineFeedFollows) {
    // As the system reads them: before the last line feed a lone CR is part of its line.
    const std::string texts[] = {"[A]\rx=1\ry=2\r[B]\rz=3", "[A]\nx=1\ry=2\n[B]\rz=3",
                                 "\xFF\xFE" + platform::WideToUtf16Le(L"[A]\rx=1\ry=2\r[B]\rz=3")};
    for (const std::string& text : texts) {
        ProfileDocument document = Parse(text);
        const bool crOnly = text.find('\n') == std::string::npos;
        EXPECT_EQ(document.Get(L"A", L"x"), crOnly ? L"1" : L"1\ry=2");
        EXPECT_EQ(document.Get(L"B", L"z"), L"3");
        // Added lines take the first line end; lines ended by CR alone that a line feed now
        // follows get one, so every line reads as before.
        document.Set(L"A", L"added", L"4");
        document.Set(L"B", L"added", L"5");
        const std::string written = document.ToBytes();
        EXPECT_EQ(written.find('\n') == std::string::npos, crOnly) << written;
        const ProfileDocument reread = Parse(written);
        for (const wchar_t* key : {L"x", L"y", L"added"})
            EXPECT_EQ(reread.Get(L"A", key), document.Get(L"A", key)) << key;
        EXPECT_EQ(reread.Get(L"B", L"z"), L"3");
        EXPECT_EQ(reread.Get(L"B", L"added"), L"5");
    }
}

TEST(ProfileDocument, SetReplacesInPlaceOrAddsAtTheEndOfTheSection) {
    ProfileDocument document = Parse("; settings\n[A]\n  Key = old\nx=1\n; about x\n\n[B]\ny=2");
    document.Set(L"a", L"KEY", L"new");
    document.Set(L"A", L"z", L"3");
    document.Set(L" A ", L"x", L"2");
    document.Set(L"b", L"w", L"4\r\n[Injected]");
    document.Set(L"新しい", L"キー", L"値");
    EXPECT_EQ(
        document.ToBytes(),
        "; settings\n[A]\nKey=new\nx=2\n; about x\nz=3\n\n[B]\ny=2\nw=4\n[新しい]\nキー=値\n");
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

TEST(ProfileDocument, KeepsTheEncodingOfTheFileUntilGivenAnother) {
    ProfileDocument shiftJis = Parse(platform::WideToShiftJis(L"[注文]\r\n名前=山田\r\n"));
    EXPECT_EQ(shiftJis.Get(L"注文", L"名前"), L"山田");
    shiftJis.Set(L"注文", L"名前", L"佐藤");
    EXPECT_EQ(shiftJis.ToBytes(), platform::WideToShiftJis(L"[注文]\r\n名前=佐藤\r\n"));
    // Another encoding rewrites every line, the unchanged ones too.
    shiftJis.SetEncoding(ProfileDocument::Encoding::kUtf8);
    EXPECT_EQ(shiftJis.ToBytes(), platform::WideToUtf8(L"[注文]\r\n名前=佐藤\r\n"));

    const std::string utf16 = "\xFF\xFE" + platform::WideToUtf16Le(L"[A]\r\nk=写真\r\n");
    EXPECT_EQ(Parse(utf16).Get(L"A", L"k"), L"写真");
    EXPECT_EQ(Parse(utf16).ToBytes(), utf16);
    // A stray last byte of UTF-16 goes when lines are added after it, so that they and the
    // line it ends read as before.
    for (const std::wstring lineEnd : {L"\r\n", L"\n"}) {
        for (const std::wstring lastLine : {L"j=値", L"j=値\r"}) {
            const std::string odd =
                "\xFF\xFE" + platform::WideToUtf16Le(L"[B]" + lineEnd + lastLine) + "x";
            ProfileDocument document = Parse(odd);
            document.Set(L"B", L"k", L"2");
            const ProfileDocument reread = Parse(document.ToBytes());
            EXPECT_EQ(reread.Get(L"B", L"k"), L"2");
            EXPECT_EQ(reread.Get(L"B", L"j"), Parse(odd).Get(L"B", L"j"));
        }
    }

    // One line that is not UTF-8 makes the text Shift-JIS; once it is changed, the other
    // lines keep their bytes and read as the UTF-8 they are.
    ProfileDocument mixed = Parse("[A]\r\nname=\xE5\x86\x99\r\nbroken=\xE3x\r\n");
    mixed.Set(L"A", L"broken", L"mended");
    EXPECT_EQ(Parse(mixed.ToBytes()).Get(L"A", L"name"), L"写");

    ProfileDocument ascii = Parse("[A]\r\nk=v\r\n");
    ascii.Set(L"A", L"k", L"写真");
    EXPECT_EQ(ascii.ToBytes(), "[A]\r\nk=写真\r\n")
        << "UTF-8 on every platform, not the ANSI code page";
}

namespace {

/// A file of the same lines in each encoding the documents meet, one value holding bytes the
/// encoding cannot decode (none for UTF-8 without byte-order mark: it would read as Shift-JIS).
struct EncodedFile {
    const char* name;
    std::string byteOrderMark;
    std::string (*encode)(std::wstring_view);
    std::string undecodable;
};

const EncodedFile kEncodedFiles[] = {
    {"UTF-8", "", platform::WideToUtf8, ""},
    {"UTF-8 with byte-order mark", "\xEF\xBB\xBF", platform::WideToUtf8, "\xFF\xC0\xAF"},
    {"Shift-JIS", "", platform::WideToShiftJis, "\xA0\x85\x40"},
    {"UTF-16LE", "\xFF\xFE", platform::WideToUtf16Le, std::string("\x00\xD8", 2)},
};

struct FileLine {
    std::wstring text;
    std::wstring_view end;
    bool withUndecodable = false;
};

/// Lines with every kind of line end, the last one without.
const std::vector<FileLine> kFileLines = {
    {L"; 端末の設定", L"\r\n"},
    {L"[端末]", L"\r\n"},
    {L"  名前 = 店頭１ ", L"\n"},
    {L"備考=", L"\r\n", true},
    {L"", L"\r\n"},
    {L"[CONFIG]", L"\n"},
    {L"UniqueID=\"ABC-123\"", L"\r\n"},
    {L"isCheckUniqueID=true\t", L""},
};

/// The bytes of kFileLines, with line `replaced` (if any) holding `replacement` instead.
std::string FileBytes(const EncodedFile& file, std::size_t replaced = kFileLines.size(),
                      std::wstring_view replacement = {}) {
    std::string bytes = file.byteOrderMark;
    for (std::size_t i = 0; i < kFileLines.size(); ++i) {
        const FileLine& line = kFileLines[i];
        if (i == replaced) {
            bytes += file.encode(replacement);
        } else {
            bytes += file.encode(line.text);
            if (line.withUndecodable)
                bytes += file.undecodable;
        }
        bytes += file.encode(line.end);
    }
    return bytes;
}

} // namespace

TEST(ProfileDocument, SettingOneKeyLeavesEveryOtherLineByteForByte) {
    const struct {
        std::size_t line;
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* written;
    } keyLines[] = {{2, L"端末", L"名前", L"名前=新しい値"},
                    {3, L"端末", L"備考", L"備考=新しい値"},
                    {6, L"CONFIG", L"UniqueID", L"UniqueID=新しい値"},
                    {7, L"config", L"ISCHECKUNIQUEID", L"isCheckUniqueID=新しい値"}};
    for (const EncodedFile& file : kEncodedFiles) {
        const std::string original = FileBytes(file);
        for (const auto& keyLine : keyLines) {
            ProfileDocument document = Parse(original);
            document.Set(keyLine.section, keyLine.key, L"新しい値");
            EXPECT_EQ(document.ToBytes(), FileBytes(file, keyLine.line, keyLine.written))
                << file.name << ", line " << keyLine.line;
        }
    }
}
