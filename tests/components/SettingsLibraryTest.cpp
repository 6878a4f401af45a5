// The settings library driven only through its C entry points, loaded by name as the
// program loads it.

#include "FolderNames.h"
#include "SystemCodePageText.h"
#include "TempFolder.h"
#include "config/ProfileFunctions.h"
#include "config/SettingsLibraryEntryPoints.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

class SettingsLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_library.Load(kSettingsLibraryName));
        m_entry = ResolveSettingsEntryPoints(m_library);
        ASSERT_TRUE(m_entry.open && m_entry.openForWrite && m_entry.flush && m_entry.terminate &&
                    m_entry.get && m_entry.getInt && m_entry.getDouble && m_entry.getString &&
                    m_entry.getBinary && m_entry.set && m_entry.setInt && m_entry.setDouble &&
                    m_entry.setString && m_entry.setBinary && m_entry.deleteSection &&
                    m_entry.deleteKey);
        m_path = platform::WideToSystemCodePage(File());
    }
    void TearDown() override {
        if (m_entry.terminate)
            m_entry.terminate();
    }

    // The library takes paths in the system code page: a folder name that it holds.
    const std::wstring m_folderName = TextTheSystemCodePageHolds(L"設定", L"Paramètres");
    std::wstring File() const { return m_folder / (m_folderName + L"/composition.ini"); }
    int Open(int mode = kSettingsOpenReadWrite) {
        return m_entry.open(m_path.c_str(), "FileInfo", mode);
    }
    std::string FileText() const { return m_folder.ReadFile(m_folderName + L"/composition.ini"); }
    void WriteFileText(std::string_view text) const {
        m_folder.WriteFile(m_folderName + L"/composition.ini", text);
    }
    std::string Binary(const char* section, const char* key, int bufferSize = 4096) {
        std::string buffer(static_cast<size_t>(bufferSize), '\x7F');
        int count = m_entry.getBinary(section, key, buffer.data(), bufferSize, nullptr, 0);
        return count > 0 ? buffer.substr(0, static_cast<size_t>(count))
                         : "result " + std::to_string(count);
    }

    TempFolder m_folder;
    platform::DynamicLibrary m_library;
    std::string m_path;
    SettingsLibraryEntryPoints m_entry;
};

} // namespace

TEST_F(SettingsLibrary, GivesDefaultsForMissingKeysAndFiles) {
    ASSERT_EQ(Open(), kSettingsOk) << "a file that does not exist yet opens empty";
    EXPECT_EQ(m_entry.getInt("INI_section", "Terminal9_SW", 42), 42);
    char buffer[16] = {};
    EXPECT_EQ(m_entry.getBinary("INI_section", "Terminal9", buffer, sizeof(buffer), "abc", 4), 4);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(m_entry.getBinary("INI_section", "Terminal9", buffer, sizeof(buffer), nullptr, 0), 0);
    EXPECT_EQ(m_entry.getBinary("INI_section", "Terminal9", buffer, 2, "abc", 4), 2)
        << "cut to the buffer";
    EXPECT_EQ(m_entry.terminate(), kSettingsOk);
    EXPECT_FALSE(m_folder.Exists(m_folderName + L"/composition.ini"))
        << "nothing was set, nothing is written";
}

TEST_F(SettingsLibrary, WritesOnlyAtTerminateOrFlushAndLeavesNoTemporaryFile) {
    m_folder.MakeFolder(m_folderName);
    ASSERT_EQ(Open(), kSettingsOk);
    m_entry.setInt("INI_section", "Terminal0_SW", 1);
    EXPECT_FALSE(m_folder.Exists(m_folderName + L"/composition.ini"));
    EXPECT_EQ(m_entry.flush(), kSettingsOk);
    EXPECT_NE(FileText().find("Terminal0_SW=1"), std::string::npos);
    m_entry.setInt("INI_section", "Terminal1_SW", 1);
    EXPECT_EQ(FileText().find("Terminal1_SW"), std::string::npos);
    EXPECT_EQ(m_entry.terminate(), kSettingsOk);
    EXPECT_NE(FileText().find("Terminal1_SW=1"), std::string::npos);
    EXPECT_EQ(m_entry.terminate(), kSettingsNotOpen) << "a second terminate finds nothing open";

    EXPECT_EQ(FolderNames(m_folder / m_folderName), Names{L"composition.ini"});
}

TEST_F(SettingsLibrary, DamagedValuesGiveDefinedResults) {
    WriteFileText(
        "[INI_section]\r\n"
        "Cut=41004\r\nNotHex=Shop A\r\nLower=6162\r\nEmpty=\r\n"
        "Word=on\r\nTail=12x\r\nSpaces= 12 \r\nUnsigned=4294967295\r\nHuge=99999999999\r\n");
    ASSERT_EQ(Open(), kSettingsOk);
    EXPECT_EQ(Binary("INI_section", "Cut"), "result " + std::to_string(kSettingsMalformed));
    EXPECT_EQ(Binary("INI_section", "NotHex"), "result " + std::to_string(kSettingsMalformed));
    EXPECT_EQ(Binary("INI_section", "Lower"), "ab");
    EXPECT_EQ(Binary("INI_section", "Empty"), "result 0") << "an empty block yields nothing usable";
    EXPECT_EQ(m_entry.getInt("INI_section", "Word", 7), 7);
    EXPECT_EQ(m_entry.getInt("INI_section", "Tail", 7), 7);
    EXPECT_EQ(m_entry.getInt("INI_section", "Spaces", 7), 12);
    EXPECT_EQ(m_entry.getInt("INI_section", "Unsigned", 7), -1) << "the same 32 bits";
    EXPECT_EQ(m_entry.getInt("INI_section", "Huge", 7), 7);
}

TEST_F(SettingsLibrary, ReplacesAValueAndCutsALongBlockToTheBuffer) {
    ASSERT_EQ(Open(), kSettingsOk);
    const std::string large(10000, 'x');
    m_entry.setBinary("INI_section", "Terminal0", "old", 3);
    m_entry.setBinary("INI_section", "Terminal0", large.data(), static_cast<int>(large.size()));
    EXPECT_EQ(Binary("INI_section", "Terminal0", 4096), std::string(4096, 'x'));
    EXPECT_EQ(m_entry.setBinary("INI_section", "Terminal1", nullptr, 0), kSettingsOk);
    EXPECT_EQ(Binary("INI_section", "Terminal1"), "result 0");
}

TEST_F(SettingsLibrary, RefusesChangesWithoutAWritableFile) {
    EXPECT_EQ(m_entry.setInt("INI_section", "Terminal0_SW", 1), kSettingsNotOpen);
    EXPECT_EQ(m_entry.getInt("INI_section", "Terminal0_SW", 3), 3);
    EXPECT_EQ(m_entry.open(nullptr, "FileInfo", 1), kSettingsNotOpen);

    WriteFileText("[INI_section]\r\nTerminal0_SW=4\r\n");
    ASSERT_EQ(Open(kSettingsOpenRead), kSettingsOk);
    EXPECT_EQ(m_entry.getInt("INI_section", "Terminal0_SW", 0), 4);
    EXPECT_EQ(m_entry.setInt("INI_section", "Terminal0_SW", 1), kSettingsReadOnly);
    EXPECT_EQ(m_entry.terminate(), kSettingsOk);
    EXPECT_EQ(FileText(), "[INI_section]\r\nTerminal0_SW=4\r\n");
}

TEST_F(SettingsLibrary, NeverReplacesAFileItCouldNotRead) {
    // A folder where the file should be: it exists but cannot be read as a file.
    m_folder.MakeFolder(m_folderName + L"/composition.ini");
    EXPECT_EQ(Open(), kSettingsUnreadable);
    EXPECT_EQ(m_entry.setInt("INI_section", "Terminal0_SW", 1), kSettingsUnreadable);
    EXPECT_EQ(m_entry.terminate(), kSettingsOk);
    EXPECT_TRUE(std::filesystem::is_directory(platform::ToFsPath(File())));
}

TEST_F(SettingsLibrary, OpeningAnotherFileEndsTheFirst) {
    const std::string other = platform::WideToSystemCodePage(m_folder / L"other.ini");
    m_folder.MakeFolder(m_folderName);
    ASSERT_EQ(Open(), kSettingsOk);
    m_entry.setInt("A", "Value", 1);
    ASSERT_EQ(m_entry.openForWrite(other.c_str(), "FileInfo"), kSettingsOk);
    m_entry.setInt("A", "Value", 2);
    ASSERT_EQ(m_entry.terminate(), kSettingsOk);
    EXPECT_EQ(ReadProfileString(File(), L"A", L"Value", L""), L"1");
    EXPECT_EQ(ReadProfileString(m_folder / L"other.ini", L"A", L"Value", L""), L"2");
}

TEST_F(SettingsLibrary, StoresTextsDoublesAndDeletions) {
    m_folder.MakeFolder(m_folderName);
    ASSERT_EQ(Open(), kSettingsOk);
    EXPECT_EQ(m_entry.setString("S", "Padded", "  \"本店\" "), kSettingsOk);
    EXPECT_EQ(m_entry.set("S", "Raw", "D:\\DATA"), kSettingsOk);
    EXPECT_EQ(m_entry.set("S", "Broken", "two\nlines"), kSettingsBadValue);
    EXPECT_EQ(m_entry.setDouble("S", "Ratio", 0.1), kSettingsOk);
    m_entry.setInt("Gone", "Value", 1);
    m_entry.setInt("S", "GoneKey", 1);
    EXPECT_EQ(m_entry.deleteSection("Gone"), kSettingsOk);
    EXPECT_EQ(m_entry.deleteKey("S", "GoneKey"), kSettingsOk);
    ASSERT_EQ(m_entry.terminate(), kSettingsOk);

    ASSERT_EQ(Open(), kSettingsOk);
    char buffer[64];
    EXPECT_EQ(m_entry.getString("S", "Padded", buffer, sizeof(buffer), ""),
              static_cast<int>(std::strlen("  \"本店\" ")));
    EXPECT_STREQ(buffer, "  \"本店\" ");
    m_entry.get("S", "Raw", buffer, sizeof(buffer), "");
    EXPECT_STREQ(buffer, "D:\\DATA");
    EXPECT_EQ(m_entry.get("S", "Raw", buffer, 4, ""), 3);
    EXPECT_STREQ(buffer, "D:\\");
    m_entry.get("S", "Missing", buffer, sizeof(buffer), "既定");
    EXPECT_STREQ(buffer, "既定");
    EXPECT_EQ(m_entry.getDouble("S", "Ratio", 9.0), 0.1);
    EXPECT_EQ(m_entry.getDouble("S", "Raw", 9.0), 9.0);
    EXPECT_EQ(m_entry.getInt("Gone", "Value", -1), -1);
    EXPECT_EQ(m_entry.getInt("S", "GoneKey", -1), -1);
}
