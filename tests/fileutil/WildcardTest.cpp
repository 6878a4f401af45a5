#include "fileutil/NameCase.h"
#include "fileutil/Wildcard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct WildcardCase {
    const wchar_t* name;
    const wchar_t* pattern;
    bool matches;
};

const WildcardCase kWildcardCases[] = {
    {L"r0001234", L"r*", true},
    {L"R0001234", L"r*", true},
    {L"e0001234", L"r*", false},
    {L"abc", L"*.*", true},
    {L"abc.txt", L"*.*", true},
    {L".hidden", L"*.*", true},
    {L"a.b.c", L"*.*", true},
    {L"IMG-0001", L"IMG-*.*", true},
    {L"img-0001.JPG", L"IMG-*.*", true},
    {L"IMG0001.JPG", L"IMG-*.*", false},
    {L"cmb0001.jpg", L"cmb*.*", true},
    {L"CMB0002.JPG", L"cmb*.*", true},
    {L"xcmb0001.jpg", L"cmb*.*", false},
    {L"p0001234", L"*0001234", true},
    {L"o0001234", L"*0001234", true},
    {L"p0001235", L"*0001234", false},
    {L"p00012345", L"*0001234", false},
    {L"a.txt", L"?.txt", true},
    {L"ab.txt", L"?.txt", false},
    {L"a.txt", L"a??.txt", true},   // ? also matches nothing before a dot
    {L"abc", L"abc?", true},        // and at the end of the name
    {L"abcd", L"abc?", true},
    {L"abcde", L"abc?", false},
    {L"readme", L"*.", true},       // "*." matches names without extension only
    {L"readme.txt", L"*.", false},
    {L"a.txt.txt", L"*.txt", true},
    {L"a.txt.bak", L"*.txt", false},
    {L"VQ_Info.ini", L"vq_info.INI", true},
    {L"VQ_Info.ini", L"VQ_Info", false},
    {L".", L"*", true},
    {L"..", L"*.*", true},
    {L".", L"r*", false},
    {L"", L"*", true},
    {L"注文データ.ini", L"注文*.ini", true},
    {L"ＡＢＣ.txt", L"ａｂｃ.TXT", true},  // full-width letters compare without case too
    {L"Ärger", L"ärger", true},
    {L"Жук", L"жук", true},
};

} // namespace

TEST(Wildcard, MatchesAsTheWindowsFileSystemDoes) {
    for (const WildcardCase& c : kWildcardCases)
        EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.matches) << "name '" << c.name << "' pattern '" << c.pattern << "'";
}

TEST(Wildcard, ManyStarsStayCheapOnLongNames) {
    const std::wstring name(200, L'a');
    EXPECT_FALSE(MatchesWildcard(name, L"*a*a*a*a*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(MatchesWildcard(name, L"*a*a*a*a*a*a*a*a*a*a*a*a*"));
}

TEST(Wildcard, RecognisesPatterns) {
    EXPECT_TRUE(HasWildcards(L"*0001234"));
    EXPECT_TRUE(HasWildcards(L"a?c"));
    EXPECT_FALSE(HasWildcards(L"p0001234"));
}

TEST(NtfsOrder, SortsUpperCasedNamesByCodeUnit) {
    std::vector<std::wstring> names = {L"b.txt", L"A.txt", L"_x", L"a.TXT", L"Z", L"~", L"写真", L"1", L"あ", L"[1]"};
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareNtfsNames(a, b) < 0;
    });
    // Upper-cased: '1' < 'A' < 'B' < 'Z' < '[' < '_' < '~' < hiragana < kanji.
    EXPECT_EQ(names.front(), L"1");
    const std::vector<std::wstring> rest(names.begin() + 3, names.end());
    EXPECT_EQ(rest, (std::vector<std::wstring>{L"b.txt", L"Z", L"[1]", L"_x", L"~", L"あ", L"写真"}));
    EXPECT_EQ(CompareNtfsNames(L"A.txt", L"a.TXT"), 0);
    EXPECT_LT(CompareNtfsNames(L"r0001", L"R0002"), 0);
    EXPECT_LT(CompareNtfsNames(L"abc", L"abcd"), 0);
}

TEST(NtfsOrder, CharactersBeyondTheBasicPlaneSortAsSurrogates) {
    // As UTF-16, U+1F600 is D83D DE00 and so comes before U+FF21.
    EXPECT_LT(CompareNtfsNames(std::wstring(1, static_cast<wchar_t>(0x1F600)), L"Ａ"), 0);
}

TEST(NameCase, UpperCasesIndependentlyOfTheLocale) {
    EXPECT_EQ(UpperCaseName(L"terminal1_path"), L"TERMINAL1_PATH");
    EXPECT_EQ(UpperCaseName(L"éàÿœ"), L"ÉÀŸŒ");
    EXPECT_EQ(UpperCaseName(L"αβς"), L"ΑΒΣ");
    EXPECT_EQ(UpperCaseName(L"ёж"), L"ЁЖ");
    EXPECT_EQ(UpperCaseName(L"写真ｱ"), L"写真ｱ");
    EXPECT_TRUE(NamesEqual(L"Config", L"CONFIG"));
    EXPECT_FALSE(NamesEqual(L"Config", L"CONFIGS"));
}
