#include "config/MessageCatalogue.h"
#include "TempFolder.h"
#include "fileutil/FileUtil.h"
#include "platform/KeyboardLayout.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

constexpr std::uint16_t kLayoutUsKeyboard = 0x0409;

std::string Catalogue(std::string_view lines) {
    return "[MESSAGE]\r\n" + std::string(lines);
}

// Every message number that a window reads.
std::set<int> AllMessageNumbers() {
    std::set<int> all(kEditDialogMessages.begin(), kEditDialogMessages.end());
    all.insert({26268, 26265, 26061, 26062, 25102, 20135, 26057, 26058, 26266,
                26059, 26060, 26267, 26076, 26077, 26063, 26065, 26064, 26066,
                26067, 26068, 25110, 25378, 20258, 20092, 25358, 25523, 20058});
    return all;
}

} // namespace

TEST(CatalogueChoice, SkipsTagFilesAndPicksBySecondEntryForJapanese) {
    TempFolder folder;
    for (const wchar_t* name :
         {L"MSG_B.TAG.ini", L"MSG_b.ini", L"MSG_A.ini", L"MSG_A.txt", L"OTHER.ini"})
        folder.WriteFile(name, Catalogue("1000=x\r\n"));
    EXPECT_EQ(ChooseMessageCatalogue(folder.Path(), platform::kLanguageJapanese),
              folder / L"MSG_b.ini");
    EXPECT_EQ(ChooseMessageCatalogue(folder.Path(), kLayoutUsKeyboard), folder / L"MSG_A.ini");
    EXPECT_EQ(ChooseMessageCatalogue(folder.Path(), 0x0C11), folder / L"MSG_b.ini")
        << "0x0C11 & 0x411 is 0x411";
}

TEST(CatalogueChoice, FallsBackToTheFileThatExistsOrToNone) {
    TempFolder folder;
    EXPECT_EQ(ChooseMessageCatalogue(folder.Path(), platform::kLanguageJapanese), L"");
    folder.WriteFile(L"MSG_ENG.TAG.ini", Catalogue("1000=x\r\n"));
    EXPECT_EQ(ChooseMessageCatalogue(folder.Path(), kLayoutUsKeyboard), L"");
    folder.WriteFile(L"MSG_ENG.ini", Catalogue("1000=x\r\n"));
    EXPECT_EQ(ChooseMessageCatalogue(folder.Path(), platform::kLanguageJapanese),
              folder / L"MSG_ENG.ini");

    MainWindowTexts texts = ReadMainWindowTexts(L"", 1000);
    for (const std::wstring& text : texts.messages)
        EXPECT_EQ(text, L"");
    EXPECT_EQ(texts.statusTexts[3], L"");
}

TEST(CatalogueFont, SmallHeightOnlyForTheOneFaceInAnyCase) {
    EXPECT_EQ(MakeCatalogueFont(L"ＭＳ Ｐゴシック").height, 12);
    EXPECT_EQ(MakeCatalogueFont(L"ｍｓ ｐゴシック").height, 12);
    EXPECT_EQ(MakeCatalogueFont(L"ＭＳ ゴシック").height, 15);
    EXPECT_EQ(MakeCatalogueFont(L"").height, 15);
    CatalogueFont font = MakeCatalogueFont(std::wstring(40, L'字'));
    EXPECT_EQ(font.faceName, std::wstring(31, L'字'));
    EXPECT_EQ(font.height, 15);
}

TEST(ShippedCatalogues, HoldEveryMessageWithItsPlaceholders) {
    const std::wstring folder = GetModuleFolder();
    for (const wchar_t* name : {L"MSG_JPN.ini", L"MSG_ENG.ini"}) {
        const std::wstring path = JoinPath(folder, name);
        for (int number : AllMessageNumbers())
            EXPECT_NE(ReadCatalogueText(path, number), L"")
                << platform::WideToUtf8(name) << " " << number;
        EXPECT_NE(ReadCatalogueText(path, kMsgEditFreeDisk).find(L"%d"), std::wstring::npos);
        EXPECT_NE(ReadCatalogueText(path, kMsgProgressFormat).find(L"%d"), std::wstring::npos);
        EXPECT_NE(ReadCatalogueText(path, kMsgStatusFormat).find(L"%s"), std::wstring::npos);
    }
    EXPECT_EQ(ChooseMessageCatalogue(folder, platform::kLanguageJapanese),
              JoinPath(folder, L"MSG_JPN.ini"));
    EXPECT_EQ(ChooseMessageCatalogue(folder, kLayoutUsKeyboard), JoinPath(folder, L"MSG_ENG.ini"));
    EXPECT_EQ(
        MakeCatalogueFont(ReadCatalogueText(JoinPath(folder, L"MSG_JPN.ini"), kMsgFontFace)).height,
        12);
}
