#include "config/TerminalTable.h"
#include "RecordedLog.h"
#include "SystemCodePageText.h"
#include "TempFolder.h"
#include "config/CIniLibrary.h"
#include "config/ProfileFunctions.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool SameTerminal(const TerminalEntry& a, const TerminalEntry& b) {
    return a.enabled == b.enabled && a.name == b.name && a.path == b.path && a.userId == b.userId &&
           a.password == b.password && a.outName == b.outName && a.outPath == b.outPath &&
           a.outUserId == b.outUserId && a.outPassword == b.outPassword;
}

class TerminalTableFile : public ::testing::Test {
protected:
    std::wstring File() const { return m_folder / L"composition.ini"; }
    TerminalTable Load() {
        TerminalTable table;
        LoadTerminalTable(File(), table, m_freeDisk);
        return table;
    }
    void Save(const TerminalTable& table) { SaveTerminalTable(File(), table); }
    // Stores a text the way the program does, through the settings library.
    void StoreText(const char* key, const std::wstring& value) {
        CIniLibrary library;
        library.Load();
        char path[1024];
        ToSystemCodePage(File(), path, sizeof(path));
        library.OpenFile(path, kSettingsFileKind, kSettingsOpenReadWrite);
        library.SetText("INI_section", key, value, kTextCodeUtf16);
        library.Terminate();
    }
    void StoreRaw(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
        WriteProfileString(File(), section, key, value);
    }

    TempFolder m_folder;
    std::uint32_t m_freeDisk = 0;
};

} // namespace

TEST_F(TerminalTableFile, FreeDiskIsRaisedToTheMinimumAndTakenAsUnsigned) {
    const struct {
        const wchar_t* stored;
        std::uint32_t expected;
    } cases[] = {
        {nullptr, 1000}, {L"0", 1000},         {L"999", 1000},  {L"1000", 1000},
        {L"1500", 1500}, {L"-1", 4294967295u}, {L"lots", 1000},
    };
    for (const auto& c : cases) {
        if (c.stored)
            StoreRaw(L"OWNER_section", L"FreeDisk", c.stored);
        Load();
        EXPECT_EQ(m_freeDisk, c.expected) << (c.stored ? "stored" : "absent");
    }
}

TEST_F(TerminalTableFile, GapsBetweenUsedSlotsAreClosedInOrder) {
    StoreText("Terminal0_PATH", L"/in/zero");
    StoreText("Terminal2_PATH", L"/in/two");
    StoreText("Terminal2", L"二号機");
    StoreRaw(L"INI_section", L"Terminal2_SW", L"1");
    StoreText("Terminal5_PATH", L"/in/five");
    StoreText("Terminal3", L"名前だけ");

    RecordedLog log;
    TerminalTable table = Load();
    EXPECT_EQ(CountOf(log.Messages(), L"LoadTerminalTable slot 2 moved to 1"), 1);
    EXPECT_EQ(CountOf(log.Messages(), L"LoadTerminalTable slot 5 moved to 2"), 1);
    EXPECT_EQ(table.UsedCount(), 3);
    EXPECT_EQ(table.slots[0].path, L"/in/zero");
    EXPECT_EQ(table.slots[1].path, L"/in/two");
    EXPECT_EQ(table.slots[1].name, L"二号機");
    EXPECT_EQ(table.slots[1].enabled, 1);
    EXPECT_EQ(table.slots[2].path, L"/in/five");
    for (int slot = 3; slot < kTerminalSlots; ++slot)
        EXPECT_TRUE(SameTerminal(table.slots[slot], TerminalEntry{})) << "slot " << slot;

    Save(table);
    TerminalTable again = Load();
    EXPECT_EQ(again.slots[2].path, L"/in/five");
    EXPECT_TRUE(again.slots[5].path.empty());
}

TEST_F(TerminalTableFile, HandDamagedValuesLoadAndForeignSectionsSurviveASave) {
    StoreRaw(L"CONFIG", L"isCheckUniqueID", L"true");
    StoreRaw(L"店舗メモ", L"担当", L"佐藤");
    StoreText("Terminal0_PATH", L"/in/zero");
    StoreRaw(L"INI_section", L"Terminal0_SW", L"on");
    // A name in the system code page without "_Code".
    const std::wstring name = TextTheSystemCodePageHolds(L"日本", L"Café");
    StoreRaw(L"INI_section", L"Terminal0",
             StoredBlock(platform::WideToSystemCodePage(name) + '\0').c_str());
    StoreText("Terminal1_PATH", L"/in/one");
    StoreText("Terminal1_USER_ID", L"shop");
    StoreRaw(L"INI_section", L"Terminal1_USER_ID", L"73006"); // cut short

    TerminalTable table = Load();
    EXPECT_EQ(table.slots[0].enabled, 0);
    EXPECT_EQ(table.slots[0].name, name);
    EXPECT_EQ(table.slots[1].path, L"/in/one");
    EXPECT_EQ(table.slots[1].userId, L"");
    Save(table);

    EXPECT_EQ(ReadProfileString(File(), L"CONFIG", L"isCheckUniqueID", L""), L"true");
    EXPECT_EQ(ReadProfileString(File(), L"店舗メモ", L"担当", L""), L"佐藤");
    EXPECT_EQ(Load().UsedCount(), 2);
}

TEST(TerminalTableEdits, AddTakesTheNextSlotSwitchedOffUntilFullAndDeleteOnlyAUsedOne) {
    TerminalTable table;
    EXPECT_FALSE(table.AddTerminal(TerminalEntry{})) << "no input folder";
    TerminalEntry terminal;
    terminal.enabled = 1;
    for (int n = 0; n < kTerminalSlots; ++n) {
        terminal.name = terminal.path = std::to_wstring(n);
        EXPECT_TRUE(table.AddTerminal(terminal));
    }
    EXPECT_FALSE(table.AddTerminal(terminal));
    EXPECT_EQ(table.UsedCount(), kTerminalSlots);
    EXPECT_EQ(table.slots[9].name, L"9");
    EXPECT_EQ(table.slots[9].enabled, 0);
    // Only a used slot holds a terminal to delete.
    table.DeleteTerminal(kTerminalSlots - 1);
    table.DeleteTerminal(kTerminalSlots - 1);
    table.DeleteTerminal(-1);
    EXPECT_EQ(table.UsedCount(), kTerminalSlots - 1);
}
