#include "config/ProfileFunctions.h"
#include "platform/TextEncoding.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <thread>
#include <vector>

TEST(ReadProfileString, GivesTheDefaultForWhatIsMissingAndCutsAt259) {
    TempFolder folder;
    folder.WriteFile(L"app.ini",
                     "[PATH]\r\nLOG=%DataPath%\\LOG\r\nLONG=" + std::string(300, 'v') + "\r\n");
    const std::wstring ini = folder / L"app.ini";
    EXPECT_EQ(ReadProfileString(ini, L"path", L"log", L"def"), L"%DataPath%\\LOG");
    EXPECT_EQ(ReadProfileString(folder / L"missing.ini", L"PATH", L"LOG", L"def"), L"def");
    EXPECT_EQ(ReadProfileString(ini, L"SYSTEM_INFO", L"PRODUCT_VERSION", L""), L"");
    EXPECT_EQ(ReadProfileString(ini, L"PATH", L"REG_SUBKEY", L"default  "), L"default");
    EXPECT_EQ(ReadProfileString(folder.Path(), L"PATH", L"LOG", L"a folder"), L"a folder");
    EXPECT_EQ(ReadProfileString(ini, L"PATH", L"LONG", L""), std::wstring(259, L'v'));
    EXPECT_EQ(ReadProfileString(ini, L"PATH", L"NONE", std::wstring(280, L'd')),
              std::wstring(259, L'd'));
    folder.WriteFile(L"sjis.ini", platform::WideToShiftJis(L"[ORDER]\r\nNAME=山田 太郎\r\n"));
    EXPECT_EQ(ReadProfileString(folder / L"sjis.ini", L"ORDER", L"NAME", L""), L"山田 太郎");
}

TEST(WriteProfileString, CutsStringsAt127AndRefusesWhatItCannotWriteWhole) {
    TempFolder folder;
    const std::wstring ini = folder / L"a.ini";
    WriteProfileString(ini, L"S", std::wstring(130, L'k'), std::wstring(200, L'x'));
    EXPECT_EQ(ReadProfileString(ini, L"S", std::wstring(127, L'k'), L""), std::wstring(127, L'x'));
    // One character more than the 260-character path buffer holds with its terminator.
    const std::wstring tooLong(260 - folder.Path().size() - 1, L'n');
    WriteProfileString(folder / tooLong, L"S", L"K", L"v");
    WriteProfileString(folder / L"no folder/a.ini", L"S", L"K", L"v");
    EXPECT_FALSE(folder.Exists(tooLong) || folder.Exists(tooLong.substr(1)) ||
                 folder.Exists(L"no folder"));
}

TEST(WriteProfileString, ConcurrentWritersLoseNoKey) {
    TempFolder folder;
    const std::wstring ini = folder / L"composition.ini";
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([&ini, t] {
            for (int i = 0; i < 25; ++i)
                WriteProfileString(ini, L"T" + std::to_wstring(t), L"K" + std::to_wstring(i),
                                   std::to_wstring(i));
        });
    for (std::thread& writer : writers)
        writer.join();
    for (int t = 0; t < 4; ++t)
        for (int i = 0; i < 25; ++i)
            EXPECT_EQ(ReadProfileString(ini, L"T" + std::to_wstring(t), L"K" + std::to_wstring(i),
                                        L"lost"),
                      std::to_wstring(i));
}

TEST(ReadProfileInt, ReadsTheLeadingNumberAndWrapsAsTheSystemDoes) {
    TempFolder folder;
    folder.WriteFile(L"a.ini",
                     "[N]\r\nplain=42\r\nsigned= -17 \r\nplus=+8\r\ntrailing=12abc\r\nwords=abc\r\n"
                     "empty=\r\nquoted=\"9\"\r\nhuge=4294967297\r\n"
                     "hex=0x1fg\r\nnegativeHex=-0x10\r\noctal=0o178\r\nbinary=0b102\r\n"
                     "capitalX=0X10\r\nmin=-2147483648\r\nmax=2147483647\r\nabove=2147483648\r\n"
                     "below=-2147483649\r\nlong=99999999999999999999\r\n"
                     "longNegative=-99999999999999999999\r\n");
    // The system's conversion takes a lower-case "0x", "0o" or "0b" as the base, and keeps
    // the low 32 bits: 10^20 - 1 is 1661992959 modulo 2^32.
    const std::pair<const wchar_t*, int> cases[] = {
        {L"plain", 42},        {L"signed", -17},
        {L"plus", 8},          {L"trailing", 12},
        {L"words", 0},         {L"empty", -1},
        {L"quoted", 9},        {L"huge", 1},
        {L"missing", -1},      {L"hex", 31},
        {L"negativeHex", -16}, {L"octal", 15},
        {L"binary", 2},        {L"capitalX", 0},
        {L"min", INT_MIN},     {L"max", INT_MAX},
        {L"above", INT_MIN},   {L"below", INT_MAX},
        {L"long", 1661992959}, {L"longNegative", -1661992959}};
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(ReadProfileInt(folder / L"a.ini", L"N", key, -1), expected) << key;
    EXPECT_EQ(ReadProfileInt(folder / L"missing.ini", L"N", L"plain", 7), 7);
}
