#include "fileutil/Wildcard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(Wildcard, MatchesAsTheWindowsFileSystemDoes) {
    struct Case {
        const wchar_t* name;
        const wchar_t* pattern;
        bool matches;
    };
    const Case cases[] = {
        {L"R0001234", L"r*", true},
        {L"e0001234", L"r*", false},
        {L".", L"r*", false},
        {L"abc", L"*.*", true},
        {L".hidden", L"*.*", true},
        {L"a.b.c", L"*.*", true},
        {L"..", L"*.*", true},
        {L"IMG-0001", L"IMG-*.*", true},
        {L"img-0001.JPG", L"IMG-*.*", true},
        {L"IMG0001.JPG", L"IMG-*.*", false},
        {L"CMB0002.JPG", L"cmb*.*", true},
        {L"xcmb0001.jpg", L"cmb*.*", false},
        {L"o0001234", L"*0001234", true},
        {L"p00012345", L"*0001234", false},
        {L"ab.txt", L"?.txt", false},
        {L"a.txt", L"a??.txt", true},
        {L"abc", L"abc?", true},
        {L"abcde", L"abc?", false}, // ? may match nothing before a dot or at the end
        {L"readme", L"*.", true},
        {L"readme.txt", L"*.", false}, // "*." means: no extension
        {L"a.txt.txt", L"*.txt", true},
        {L"a.txt.bak", L"*.txt", false},
        {L"VQ_Info.ini", L"vq_info.INI", true},
        {L"VQ_Info.ini", L"VQ_Info", false},
        {L"注文データ.ini", L"注文*.ini", true},
        {L"ＡＢＣ.txt", L"ａｂｃ.TXT", true},
        {L"Ärger", L"ärger", true},
        {L"Жук", L"жук", true},
        {L"ΑΣ", L"ας", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.matches)
            << "name '" << c.name << "' pattern '" << c.pattern << "'";
    // Backtracking over many stars must not explode on a long name.
    EXPECT_FALSE(MatchesWildcard(std::wstring(300, L'a'), L"*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

TEST(NtfsOrder, SortsUpperCasedNamesByUtf16CodeUnit) {
    std::vector<std::wstring> names = {L"b.txt",
                                       L"_x",
                                       L"写真",
                                       L"Z",
                                       L"~",
                                       L"r-note",
                                       L"R0001",
                                       L"あ",
                                       L"[1]",
                                       L"1",
                                       std::wstring(1, static_cast<wchar_t>(0x1F600)),
                                       L"Ａ"};
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareNtfsNames(a, b) < 0;
    });
    // Upper-cased: '-' < '0' and 'Z' < '[' < '_'; U+1F600 is D83D DE00 in UTF-16, before U+FF21.
    EXPECT_EQ(names, (std::vector<std::wstring>{
                         L"1", L"b.txt", L"r-note", L"R0001", L"Z", L"[1]", L"_x", L"~", L"あ",
                         L"写真", std::wstring(1, static_cast<wchar_t>(0x1F600)), L"Ａ"}));
    EXPECT_EQ(CompareNtfsNames(L"A.txt", L"a.TXT"), 0);
    EXPECT_LT(CompareNtfsNames(L"abc", L"abcd"), 0);
}
