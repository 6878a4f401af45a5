#include "config/ProfileFunctions.h"
#include "platform/TextEncoding.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

TEST(ReadProfileString, MissingFileSectionOrKeyGivesTheDefault) {
    TempFolder folder;
    folder.WriteFile(L"app.ini", "[PATH]\r\nLOG=%DataPath%\\LOG\r\n");
    const std::wstring ini = folder / L"app.ini";
    EXPECT_EQ(ReadProfileString(folder / L"missing.ini", L"PATH", L"LOG", L"def"), L"def");
    EXPECT_EQ(ReadProfileString(ini, L"SYSTEM_INFO", L"PRODUCT_VERSION", L""), L"");
    EXPECT_EQ(ReadProfileString(ini, L"PATH", L"REG_SUBKEY", L"default  "), L"default");
    EXPECT_EQ(ReadProfileString(ini, L"path", L"log", L"def"), L"%DataPath%\\LOG");
    EXPECT_EQ(ReadProfileString(folder.Path(), L"PATH", L"LOG", L"a folder"), L"a folder");
}

TEST(ReadProfileString, CutsValuesAndDefaultsAt259Characters) {
    TempFolder folder;
    const std::string longValue(300, 'v');
    folder.WriteFile(L"app.ini", "[PATH]\r\nLOG=" + longValue + "\r\nEXACT=" + std::string(259, 'e') + "\r\n");
    EXPECT_EQ(ReadProfileString(folder / L"app.ini", L"PATH", L"LOG", L""), std::wstring(259, L'v'));
    EXPECT_EQ(ReadProfileString(folder / L"app.ini", L"PATH", L"EXACT", L""), std::wstring(259, L'e'));
    EXPECT_EQ(ReadProfileString(folder / L"app.ini", L"PATH", L"NONE", std::wstring(280, L'd')), std::wstring(259, L'd'));
}

TEST(ReadProfileString, ReadsShiftJisAndUtf8Files) {
    TempFolder folder;
    folder.WriteFile(L"sjis.ini", platform::WideToShiftJis(L"[ORDER]\r\nNAME=山田 太郎\r\n"));
    folder.WriteFile(L"utf8.ini", "[ORDER]\nNAME=山田 太郎\n");
    EXPECT_EQ(ReadProfileString(folder / L"sjis.ini", L"ORDER", L"NAME", L""), L"山田 太郎");
    EXPECT_EQ(ReadProfileString(folder / L"utf8.ini", L"ORDER", L"NAME", L""), L"山田 太郎");
}

TEST(WriteProfileString, CreatesFileAndSectionWithCrLf) {
    TempFolder folder;
    const std::wstring ini = folder / L"composition.ini";
    WriteProfileString(ini, L"CONFIG", L"isCheckUniqueID", L"true");
    WriteProfileString(ini, L"CONFIG", L"UniqueID", L"0F2C6A4E-1B3D-4C5E-8F70-123456789ABC");
    EXPECT_EQ(folder.ReadFile(L"composition.ini"),
              "[CONFIG]\r\nisCheckUniqueID=true\r\nUniqueID=0F2C6A4E-1B3D-4C5E-8F70-123456789ABC\r\n");
    EXPECT_EQ(ReadProfileString(ini, L"config", L"uniqueid", L""), L"0F2C6A4E-1B3D-4C5E-8F70-123456789ABC");
}

TEST(WriteProfileString, ReplacesInPlaceAndKeepsOtherSectionsAndComments) {
    TempFolder folder;
    const std::string before =
        "[TERMINAL]\nTerminal0_NAME=店頭1\n; kiosk at the door\n\n[CONFIG]\nUniqueID=\nisCheckUniqueID=false\n";
    folder.WriteFile(L"composition.ini", before);
    WriteProfileString(folder / L"composition.ini", L"config", L"UNIQUEID", L"ID-2");
    EXPECT_EQ(folder.ReadFile(L"composition.ini"),
              "[TERMINAL]\nTerminal0_NAME=店頭1\n; kiosk at the door\n\n[CONFIG]\nUniqueID=ID-2\nisCheckUniqueID=false\n");
}

TEST(WriteProfileString, KeepsAShiftJisFileShiftJis) {
    TempFolder folder;
    folder.WriteFile(L"vq.ini", platform::WideToShiftJis(L"[ORDER]\r\nNAME=山田\r\n"));
    WriteProfileString(folder / L"vq.ini", L"ORDER", L"STATE", L"転送済み");
    EXPECT_EQ(folder.ReadFile(L"vq.ini"), platform::WideToShiftJis(L"[ORDER]\r\nNAME=山田\r\nSTATE=転送済み\r\n"));
}

TEST(WriteProfileString, CutsStringsAt127CharactersAndRefusesLongFilePaths) {
    TempFolder folder;
    const std::wstring ini = folder / L"a.ini";
    WriteProfileString(ini, L"S", L"K", std::wstring(200, L'x'));
    EXPECT_EQ(ReadProfileString(ini, L"S", L"K", L""), std::wstring(127, L'x'));
    WriteProfileString(ini, L"S", std::wstring(130, L'k'), L"v");
    EXPECT_EQ(ReadProfileString(ini, L"S", std::wstring(127, L'k'), L""), L"v");

    std::wstring longPath = folder.Path() + L"/";
    longPath += std::wstring(128 - longPath.size() + 5, L'n');
    WriteProfileString(longPath, L"S", L"K", L"v");
    EXPECT_FALSE(folder.Exists(longPath.substr(folder.Path().size() + 1)));
    EXPECT_FALSE(folder.Exists(longPath.substr(folder.Path().size() + 1, 127 - folder.Path().size() - 1)));
}

TEST(WriteProfileString, MissingFolderWritesNothing) {
    TempFolder folder;
    WriteProfileString(folder / L"no folder/a.ini", L"S", L"K", L"v");
    EXPECT_FALSE(folder.Exists(L"no folder"));
}

TEST(WriteProfileString, ConcurrentWritersLoseNoKey) {
    TempFolder folder;
    const std::wstring ini = folder / L"composition.ini";
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&ini, t] {
            for (int i = 0; i < 25; ++i)
                WriteProfileString(ini, L"T" + std::to_wstring(t), L"K" + std::to_wstring(i), std::to_wstring(i));
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 25; ++i)
            EXPECT_EQ(ReadProfileString(ini, L"T" + std::to_wstring(t), L"K" + std::to_wstring(i), L"lost"), std::to_wstring(i));
    }
}

TEST(ReadProfileInt, ReadsTheLeadingNumber) {
    TempFolder folder;
    folder.WriteFile(L"a.ini", "[N]\r\nplain=42\r\nsigned= -17 \r\nplus=+8\r\ntrailing=12abc\r\nwords=abc\r\n"
                               "empty=\r\nquoted=\"9\"\r\nhuge=4294967297\r\n");
    const std::wstring ini = folder / L"a.ini";
    EXPECT_EQ(ReadProfileInt(ini, L"N", L"plain", -1), 42);
    EXPECT_EQ(ReadProfileInt(ini, L"N", L"signed", -1), -17);
    EXPECT_EQ(ReadProfileInt(ini, L"N", L"plus", -1), 8);
    EXPECT_EQ(ReadProfileInt(ini, L"N", L"trailing", -1), 12);
    EXPECT_EQ(ReadProfileInt(ini, L"N", L"words", -1), 0);
    EXPECT_EQ(ReadProfileInt(ini, L"N", L"empty", -1), -1);
    EXPECT_EQ(ReadProfileInt(ini, L"N", L"quoted", -1), 9);
    EXPECT_EQ(ReadProfileInt(ini, L"N", L"huge", -1), 1);  // wraps as the system's conversion does
    EXPECT_EQ(ReadProfileInt(ini, L"N", L"missing", 7), 7);
    EXPECT_EQ(ReadProfileInt(folder / L"missing.ini", L"N", L"plain", 7), 7);
}
