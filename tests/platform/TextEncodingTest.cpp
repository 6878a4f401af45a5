#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(TextEncoding, InvalidUtf8BecomesReplacementCharacters) {
    EXPECT_FALSE(IsValidUtf8("\x82\xA0"));
    EXPECT_EQ(Utf8ToWide("a\xFFz"), L"a\uFFFDz");
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // an encoded surrogate
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));     // an overlong form
}

TEST(FileNameEncoding, EveryByteSequenceComesBackAsItWas) {
    const std::string names[] = {
        "写真0001.jpg",         // UTF-8
        "\xFF\xFE",             // no UTF-8 at all
        "\x8E\xCA\x90\x5E.jpg", // Shift-JIS from a kiosk
        "a\xC3z",               // a sequence cut short by ASCII
        "\xE5\x86",             // a sequence cut short by the end
        "\xED\xA0\x80",         // an encoded surrogate
        "\xC0\xAF",             // an overlong form
        "\xF4\x90\x80\x80",     // beyond U+10FFFF
        "\xF0\x9F\x93\xB7\x80", // a valid character, then a stray continuation byte
    };
    for (const std::string& name : names)
        EXPECT_EQ(WideToUtf8FileName(Utf8FileNameToWide(name)), name) << name;
}

TEST(FileNameEncoding, UndecodableBytesStandAsLoneSurrogatesOnlyInNames) {
    EXPECT_EQ(Utf8FileNameToWide("\xFF\xFE"), L"\xDCFF\xDCFE");
    EXPECT_EQ(Utf8FileNameToWide("a\xC3z"), L"a\xDCC3z");
    EXPECT_EQ(Utf8FileNameToWide("写真"), L"写真");
    // Text keeps its replacement characters; a name that holds a U+FFFD keeps it as such.
    EXPECT_EQ(Utf8ToWide("\xFF"), L"\uFFFD");
    EXPECT_EQ(WideToUtf8(L"\xDCFF"), "\xEF\xBF\xBD");
    EXPECT_EQ(WideToUtf8FileName(L"\uFFFD"), "\xEF\xBF\xBD");
    // Other lone surrogates stand for no byte and are written as replacement characters.
    EXPECT_EQ(WideToUtf8FileName(L"\xDC7F\xD800"), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(TextEncoding, Utf16LeRoundTripAndOddTrailingByte) {
    const std::wstring text = L"端末\U0001F600";
    std::string bytes = WideToUtf16Le(text);
    EXPECT_EQ(bytes.size(), 8u);
    EXPECT_EQ(Utf16LeToWide(bytes), text);
    EXPECT_EQ(Utf16LeToWide(bytes + "x"), text);
    EXPECT_EQ(Utf16LeToWide(std::string("\x00\xD8", 2)), L"\uFFFD");
}

TEST(TextEncoding, ShiftJisWritesOneQuestionMarkPerCharacterItCannotEncode) {
    // Hangul takes three bytes in UTF-8, the emoji four; Shift-JIS holds neither.
    EXPECT_EQ(WideToShiftJis(L"\uD55C"), "?");
    EXPECT_EQ(WideToShiftJis(L"a\U0001F600b\uD55C\uAD6D写"), "a?b??\x8E\xCA");
}

TEST(TextEncoding, DecodeTextDetectsBomUtf8AndShiftJis) {
    EXPECT_EQ(DecodeText("\xEF\xBB\xBFname=\xE5\x86\x99"), L"name=写");
    EXPECT_EQ(DecodeText("name=\x8E\xCA"), L"name=写");
    EXPECT_EQ(DecodeText(std::string("\xFF\xFE\x42\x30", 4)), L"\u3042");
    EXPECT_EQ(DecodeText("plain"), L"plain");
}
