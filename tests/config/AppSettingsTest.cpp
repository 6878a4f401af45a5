#include "config/AppSettings.h"
#include "TempFolder.h"
#include "TestRegistry.h"
#include "config/ProfileFunctions.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

constexpr wchar_t kAbsent[] = L"<absent>";

// A program folder and a registry file of its own for each test.
class FirstStart : public ::testing::Test {
protected:
    void SetUp() override { m_program.MakeFolder(L"プログラム"); }

    void UseRegistry(std::string_view text) { m_registry.Use(text); }
    std::wstring ProgramFolder() const { return m_program / L"プログラム"; }
    std::wstring CompositionIni() const {
        return ProgramFolder() + platform::kPathSeparator + L"composition.ini";
    }
    std::wstring Config(const wchar_t* key) const {
        return ReadProfileString(CompositionIni(), L"CONFIG", key, kAbsent);
    }
    void WriteAppIni(std::string_view text) const {
        m_program.WriteFile(L"プログラム/ini/QRM_Relaydesk2.ini", text);
    }

    TempFolder m_program;
    TempFolder m_data;
    TestRegistry m_registry;
};

bool IsUniqueIdForm(const std::wstring& id) {
    static const std::wregex form(L"[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
    return std::regex_match(id, form);
}

} // namespace

TEST_F(FirstStart, WithTheControllerWritesTrueAndAFreshIdThatLaterStartsKeep) {
    UseRegistry("[SOFTWARE\\Hollowmere\\VQ Controller\\Controller]\r\n");
    AppSettings first = ReadAppSettings(ProgramFolder());
    EXPECT_EQ(Config(L"isCheckUniqueID"), L"true");
    EXPECT_TRUE(first.checkUniqueId);
    EXPECT_TRUE(IsUniqueIdForm(first.uniqueId)) << platform::WideToUtf8(first.uniqueId);
    EXPECT_EQ(Config(L"UniqueID"), first.uniqueId);

    AppSettings later = ReadAppSettings(ProgramFolder());
    EXPECT_EQ(later.uniqueId, first.uniqueId);
    EXPECT_TRUE(later.checkUniqueId);
}

TEST_F(FirstStart, AnExistingSwitchIsNeverRewrittenAndComparedExactly) {
    UseRegistry("[SOFTWARE\\Hollowmere\\VQ Controller\\Controller]\r\n");
    for (const wchar_t* stored : {L"True", L"TRUE", L"false", L""}) {
        WriteProfileString(CompositionIni(), L"CONFIG", L"isCheckUniqueID", stored);
        WriteProfileString(CompositionIni(), L"CONFIG", L"UniqueID", L"");
        AppSettings settings = ReadAppSettings(ProgramFolder());
        EXPECT_FALSE(settings.checkUniqueId) << platform::WideToUtf8(stored);
        EXPECT_EQ(Config(L"isCheckUniqueID"), stored);
        EXPECT_EQ(settings.uniqueId, L"") << "an empty id stays empty";
    }
}

TEST_F(FirstStart, ReadsTheVersionAndTheLogFolderWithTheDataPath) {
    const std::wstring dataPath = m_data / L"データ";
    UseRegistry("[SOFTWARE\\Hollowmere\\VQ Controller]\r\nDataPath=" +
                platform::WideToUtf8(dataPath) + "\r\n");
    // Either separator names the folder of this platform.
    for (const char* separator : {"\\", "/"}) {
        WriteAppIni(std::string("[SYSTEM_INFO]\r\nPRODUCT_VERSION=2.1.0.0\r\n[PATH]\r\n"
                                "REG_SUBKEY=SOFTWARE\\Hollowmere\\VQ Controller\r\n"
                                "LOG=%DataPath%") +
                    separator + "LOG" + separator + "店\r\n");
        const AppSettings settings = ReadAppSettings(ProgramFolder());
        EXPECT_EQ(settings.version, L"Ver 2.1.0.0");
        EXPECT_EQ(settings.logFolder,
                  dataPath + platform::kPathSeparator + L"LOG" + platform::kPathSeparator + L"店")
            << separator;
    }

    WriteAppIni("[SYSTEM_INFO]\r\nPRODUCT_VERSION=\r\n[PATH]\r\nREG_SUBKEY="
                "SOFTWARE\\Missing\r\nLOG=ログ\r\n");
    AppSettings settings = ReadAppSettings(ProgramFolder());
    EXPECT_EQ(settings.version, L"") << "not \"Ver \"";
    EXPECT_EQ(settings.logFolder, ProgramFolder() + platform::kPathSeparator + L"ログ")
        << "a relative folder lies in the program folder";
}

TEST_F(FirstStart, WithoutItsDataPathTheLogStaysInTheProgramFolder) {
    WriteAppIni("[PATH]\r\nREG_SUBKEY=SOFTWARE\\Hollowmere\\VQ "
                "Controller\r\nLOG=%DataPath%\\LOG\r\n");
    AppSettings settings = ReadAppSettings(ProgramFolder());
    EXPECT_EQ(settings.logFolder, ProgramFolder() + platform::kPathSeparator + L"log")
        << "not the root's LOG: the logging service's own folder";
    EXPECT_EQ(Config(L"isCheckUniqueID"), L"false");
}

TEST_F(FirstStart, WritesTheIdWhateverTheProgramFolderLength) {
    UseRegistry("[SOFTWARE\\Hollowmere\\VQ Controller\\Controller]\r\n");
    const std::wstring iniName = std::wstring(1, platform::kPathSeparator) + L"composition.ini";
    // Program folders whose composition.ini path ends at 127 characters, well beyond, and at
    // the last character the path buffer holds.
    for (std::size_t iniLength : {127u, 180u, 259u}) {
        TempFolder root;
        std::wstring program = root.Path();
        // Folder names of at most 60 characters stay within every file system's name limit;
        // none is left with fewer than one.
        for (std::size_t left = iniLength - iniName.size() - program.size(); left > 0;) {
            std::size_t part = std::min<std::size_t>(left, 61);
            if (left - part == 1)
                --part;
            program += platform::kPathSeparator + std::wstring(part - 1, L'長');
            left -= part;
        }
        root.MakeFolder(program.substr(root.Path().size() + 1));
        ASSERT_EQ(program.size() + iniName.size(), iniLength);

        const AppSettings settings = ReadAppSettings(program);
        EXPECT_TRUE(settings.checkUniqueId) << iniLength;
        EXPECT_TRUE(IsUniqueIdForm(settings.uniqueId)) << iniLength;
        EXPECT_EQ(ReadProfileString(program + iniName, L"CONFIG", L"UniqueID", kAbsent),
                  settings.uniqueId);
    }
}

TEST(RegistryString, ReadsValuesUpTo127CharactersAndReportsSuccess) {
    TestRegistry registry;
    const std::string fits(127, 'a');
    registry.Use("[SOFTWARE\\Shop]\r\nFits=" + fits + "\r\nLong=" + fits + "b\r\n");
    int succeeded = -1;
    EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\Shop", L"Fits", &succeeded), std::wstring(127, L'a'));
    EXPECT_EQ(succeeded, 1);
    EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\Shop", L"Long", &succeeded), L"");
    EXPECT_EQ(succeeded, 0);
    EXPECT_EQ(ReadRegistryString(L"SOFTWARE\\Other", L"Fits", &succeeded), L"");
    EXPECT_EQ(succeeded, 0);
    EXPECT_FALSE(IsControllerInstalled());
}

TEST(UniqueId, IsFreshEachTimeIn36UpperCaseCharacters) {
    const std::wstring first = NewUniqueId();
    const std::wstring second = NewUniqueId();
    EXPECT_TRUE(IsUniqueIdForm(first));
    EXPECT_TRUE(IsUniqueIdForm(second));
    EXPECT_NE(first, second);
}
