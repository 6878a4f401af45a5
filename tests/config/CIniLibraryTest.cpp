#include "config/CIniLibrary.h"
#include "SystemCodePageText.h"
#include "TempFolder.h"
#include "config/ProfileFunctions.h"
#include "fileutil/FileUtil.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// An adapter opened on composition.ini in a fresh folder, terminated at the end.
class IniLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_library.Load(), 0);
        ToSystemCodePage(File(), m_path, sizeof(m_path));
        m_library.OpenFile(m_path, kSettingsFileKind, kSettingsOpenReadWrite);
    }
    void TearDown() override { m_library.Terminate(); }

    std::wstring File() const { return m_folder / L"composition.ini"; }
    void Reopen() {
        m_library.Terminate();
        m_library.OpenFile(m_path, kSettingsFileKind, kSettingsOpenReadWrite);
    }
    std::wstring Stored(const wchar_t* key) {
        return ReadProfileString(File(), L"INI_section", key, L"<none>");
    }

    TempFolder m_folder;
    CIniLibrary m_library;
    char m_path[1024];
};

} // namespace

TEST_F(IniLibrary, TextsWithTheirCodeSurviveSaveAndLoad) {
    const std::wstring password = L"パスワード\u00E9\U0001F600x";
    EXPECT_EQ(m_library.SetText("INI_section", "Terminal0_PASSWORD", password, kTextCodeUtf16),
              kSettingsOk);
    const std::wstring name = TextTheSystemCodePageHolds(L"1号機", L"1 Café");
    m_library.SetText("INI_section", "Terminal0", name, kTextCodeSystemCodePage);
    Reopen();

    std::wstring value = L"default";
    const int utf16Bytes = static_cast<int>(platform::WideToUtf16Le(password).size()) + 2;
    EXPECT_EQ(m_library.GetText("INI_section", "Terminal0_PASSWORD", value), utf16Bytes);
    EXPECT_EQ(value, password);
    const int nameBytes = static_cast<int>(platform::WideToSystemCodePage(name).size()) + 1;
    EXPECT_EQ(m_library.GetText("INI_section", "Terminal0", value), nameBytes);
    EXPECT_EQ(value, name);
    m_library.Terminate();
    EXPECT_EQ(Stored(L"Terminal0_PASSWORD_Code"), L"1");
    EXPECT_EQ(Stored(L"Terminal0_Code"), L"0");
}

TEST_F(IniLibrary, KeepsTheDefaultWhenNothingUsableIsRead) {
    m_library.SetText("INI_section", "Terminal3", L"ignored", 2);
    m_library.SetInt("INI_section", "Terminal4_SW", 1);
    Reopen();
    EXPECT_EQ(m_library.GetInt("INI_section", "Terminal3_Code", -1), 2) << "the code is stored";
    std::wstring value = L"既定";
    EXPECT_EQ(m_library.GetText("INI_section", "Terminal3", value), 0) << "an empty block";
    EXPECT_EQ(value, L"既定");

    m_library.Terminate();
    WriteProfileString(File(), L"INI_section", L"Cut_Code", L"1");
    WriteProfileString(File(), L"INI_section", L"Cut", L"30003");
    m_library.OpenFile(m_path, kSettingsFileKind, kSettingsOpenReadWrite);
    EXPECT_LT(m_library.GetText("INI_section", "Cut", value), 0) << "a truncated block";
    EXPECT_EQ(value, L"既定");
}

TEST_F(IniLibrary, BoundsAValueLongerThanTheReadBuffer) {
    const std::wstring longText(3000, L'長');
    m_library.SetText("INI_section", "Terminal0_PATH", longText, kTextCodeUtf16);
    Reopen();
    std::wstring value;
    EXPECT_EQ(m_library.GetText("INI_section", "Terminal0_PATH", value), kTextReadBufferSize);
    EXPECT_EQ(value, std::wstring(kTextReadBufferSize / 2, L'長'));
}

namespace {

// Every operation of an adapter without its entry points returns 2 and keeps the default.
void ExpectEveryOperationMissing(CIniLibrary& library) {
    EXPECT_EQ(library.OpenFile("composition.ini", kSettingsFileKind, kSettingsOpenReadWrite),
              kIniLibraryMissing);
    EXPECT_EQ(library.GetInt("INI_section", "Terminal0_SW", 0), kIniLibraryMissing);
    std::wstring value = L"既定";
    EXPECT_EQ(library.GetText("INI_section", "Terminal0", value), kIniLibraryMissing);
    EXPECT_EQ(value, L"既定");
    EXPECT_EQ(library.SetInt("INI_section", "Terminal0_SW", 1), kIniLibraryMissing);
    EXPECT_EQ(library.SetText("INI_section", "Terminal0", L"x", kTextCodeUtf16),
              kIniLibraryMissing);
    EXPECT_EQ(library.Terminate(), kIniLibraryMissing);
}

} // namespace

TEST(IniLibraryMissing, EveryOperationReturnsTwoWhenTheLibraryIsAbsent) {
    TempFolder folder;
    CIniLibrary library(folder / L"QRM_UTIL.DLL");
    EXPECT_EQ(library.Load(), 1);
    ExpectEveryOperationMissing(library);
}

TEST(IniLibraryMissing, ALibraryWithoutTheEntryPointsLoadsButDoesNothing) {
    // A real library of the program folder (the logging service) that exports none of them.
    CIniLibrary library(JoinPath(GetModuleFolder(), L"QRM_LOGSVC.DLL"));
    EXPECT_EQ(library.Load(), 0);
    ExpectEveryOperationMissing(library);
}

TEST(ToSystemCodePage, CutsWholeCharactersToTheBuffer) {
    // One byte short of the whole text and its terminator: the last character goes whole,
    // however many bytes the system code page gives it.
    const std::wstring text = TextTheSystemCodePageHolds(L"日本語", L"Café");
    const std::string whole = platform::WideToSystemCodePage(text);
    char buffer[32];
    ToSystemCodePage(text, buffer, whole.size());
    EXPECT_EQ(std::string(buffer), platform::WideToSystemCodePage(text.substr(0, text.size() - 1)));
    ToSystemCodePage(text, buffer, whole.size() + 1);
    EXPECT_EQ(std::string(buffer), whole);
    ToSystemCodePage(L"/data/端末", buffer, 1);
    EXPECT_STREQ(buffer, "");
}
