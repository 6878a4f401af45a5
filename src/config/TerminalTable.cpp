#include "config/TerminalTable.h"

#include "config/CIniLibrary.h"
#include "logging/LogClient.h"
#include "platform/FilePermissions.h"

#include <cstdio>
#include <string>

namespace {

constexpr char kTerminalSection[] = "INI_section";
constexpr char kOwnerSection[] = "OWNER_section";
constexpr char kFreeDiskKey[] = "FreeDisk";
constexpr char kSwitchKey[] = "Terminal%d_SW";

struct TextField {
    const char* keyFormat;
    std::wstring TerminalEntry::*field;
};

// The text fields in the order in which they are read and written.
constexpr TextField kTextFields[] = {
    {"Terminal%d", &TerminalEntry::name},
    {"Terminal%d_PATH", &TerminalEntry::path},
    {"Terminal%d_USER_ID", &TerminalEntry::userId},
    {"Terminal%d_PASSWORD", &TerminalEntry::password},
    {"Terminal_Out_%d", &TerminalEntry::outName},
    {"Terminal_Out_%d_PATH", &TerminalEntry::outPath},
    {"Terminal_Out_%d_USER_ID", &TerminalEntry::outUserId},
    {"Terminal_Out_%d_PASSWORD", &TerminalEntry::outPassword},
};

std::string SlotKey(const char* format, int slot) {
    char key[64];
    std::snprintf(key, sizeof(key), format, slot);
    return key;
}

// The settings library opened on one file for the life of the object, as every load and
// save uses it.
class SettingsFileSession {
public:
    SettingsFileSession(const std::wstring& file, const std::wstring& libraryName)
        : m_library(libraryName) {
        char path[4 * 260 + 1];
        ToSystemCodePage(file, path, sizeof(path));
        m_library.Load();
        m_library.OpenFile(path, kSettingsFileKind, kSettingsOpenReadWrite);
    }
    ~SettingsFileSession() {
        if (!m_bFinished)
            m_library.Terminate();
        m_library.Unload();
    }
    /// Makes the changes permanent; false when the file could not be written.
    bool Finish() {
        m_bFinished = true;
        return m_library.Terminate() == 0;
    }
    SettingsFileSession(const SettingsFileSession&) = delete;
    SettingsFileSession& operator=(const SettingsFileSession&) = delete;

    CIniLibrary* operator->() { return &m_library; }

private:
    CIniLibrary m_library;
    bool m_bFinished = false;
};

// Moves used slots up over unused ones, keeping their order, so that row i shows slot i.
void CloseGaps(TerminalTable& table) {
    int target = 0;
    bool moved = false;
    for (int slot = 0; slot < kTerminalSlots; ++slot) {
        if (!table.slots[slot].InUse())
            continue;
        if (slot != target) {
            WriteLog(g_pLogClient, L"LoadTerminalTable slot %d moved to %d", slot, target);
            table.slots[target] = table.slots[slot];
            moved = true;
        }
        ++target;
    }
    if (!moved)
        return;
    for (; target < kTerminalSlots; ++target)
        table.slots[target] = TerminalEntry{};
}

} // namespace

int TerminalTable::UsedCount() const {
    int used = 0;
    for (const TerminalEntry& entry : slots)
        used += entry.InUse() ? 1 : 0;
    return used;
}

bool TerminalTable::AddTerminal(const TerminalEntry& entry) {
    if (!entry.InUse())
        return false;
    for (TerminalEntry& slot : slots) {
        if (slot.InUse())
            continue;
        slot = entry;
        slot.enabled = 0;
        return true;
    }
    return false;
}

void TerminalTable::DeleteTerminal(int slot) {
    const int used = UsedCount();
    if (slot < 0 || slot >= used)
        return;
    for (int i = slot; i < used - 1; ++i)
        slots[i] = slots[i + 1];
    slots[used - 1] = TerminalEntry{};
}

void LoadTerminalTable(const std::wstring& compositionIni, TerminalTable& table,
                       std::uint32_t& freeDisk, const std::wstring& settingsLibrary) {
    {
        SettingsFileSession settings(compositionIni, settingsLibrary);
        for (int slot = 0; slot < kTerminalSlots; ++slot) {
            TerminalEntry& entry = table.slots[slot];
            entry.enabled =
                settings->GetInt(kTerminalSection, SlotKey(kSwitchKey, slot).c_str(), 0);
            for (const TextField& text : kTextFields)
                settings->GetText(kTerminalSection, SlotKey(text.keyFormat, slot).c_str(),
                                  entry.*text.field);
        }
        // A negative stored value is taken as unsigned, so it stays above the minimum.
        freeDisk = static_cast<std::uint32_t>(settings->GetInt(kOwnerSection, kFreeDiskKey, 0));
    }
    if (freeDisk < kMinimumFreeDisk)
        freeDisk = kMinimumFreeDisk;
    CloseGaps(table);
}

TerminalTable LoadTerminalTable(const std::wstring& compositionIni) {
    TerminalTable table;
    std::uint32_t freeDisk = 0;
    LoadTerminalTable(compositionIni, table, freeDisk);
    return table;
}

bool SaveTerminalTable(const std::wstring& compositionIni, const TerminalTable& table,
                       const std::wstring& settingsLibrary) {
    SettingsFileSession settings(compositionIni, settingsLibrary);
    // A file that cannot be read is not written over: its settings refuse every change.
    bool stored = true;
    for (int slot = 0; slot < kTerminalSlots; ++slot) {
        const TerminalEntry& entry = table.slots[slot];
        stored = settings->SetInt(kTerminalSection, SlotKey(kSwitchKey, slot).c_str(),
                                  entry.enabled) == kSettingsOk &&
                 stored;
        for (const TextField& text : kTextFields)
            stored = settings->SetText(kTerminalSection, SlotKey(text.keyFormat, slot).c_str(),
                                       entry.*text.field, kTextCodeUtf16) == kSettingsOk &&
                     stored;
    }
    const bool saved = settings.Finish() && stored;
    // The table holds the shares' passwords.
    platform::RestrictFileAccess(compositionIni, platform::FileAccess::kOwnerOnly);
    return saved;
}
