#pragma once
/// The controller's terminals: ten slots, stored in composition.ini through the settings
/// library (section "INI_section"; "FreeDisk" in "OWNER_section").
///
/// Used slots are contiguous from slot 0, so list row i always shows slot i. The table
/// itself takes no lock; whoever shares it between threads protects it.

#include "config/SettingsLibraryEntryPoints.h"

#include <array>
#include <cstdint>
#include <string>

constexpr int kTerminalSlots = 10;
/// The smallest free-disk setting; a stored value below it is raised to it.
constexpr std::uint32_t kMinimumFreeDisk = 1000;

struct TerminalEntry {
    std::int32_t enabled = 0; ///< 0 = off, anything else = on
    std::wstring name, path, userId, password, outName, outPath, outUserId, outPassword;

    /// A slot is in use exactly when its input folder is set.
    bool InUse() const { return !path.empty(); }
};

struct TerminalTable {
    std::array<TerminalEntry, kTerminalSlots> slots;

    int UsedCount() const;
    /// Fills the first free slot with `entry`, switched off; false when the table is full or
    /// the entry has no input folder.
    bool AddTerminal(const TerminalEntry& entry);
    /// Moves every later used slot down by one and clears the last used slot; a slot that
    /// is not in use changes nothing.
    void DeleteTerminal(int slot);
};

/// Fills all ten slots and `freeDisk` from `compositionIni`. Missing values keep their
/// defaults; used slots with gaps between them are moved up in order (and logged).
void LoadTerminalTable(const std::wstring& compositionIni, TerminalTable& table,
                       std::uint32_t& freeDisk,
                       const std::wstring& settingsLibrary = kSettingsLibraryName);
/// The ten slots alone, for readers that leave the free-disk setting to the controller.
TerminalTable LoadTerminalTable(const std::wstring& compositionIni);
/// Writes all ten slots to `compositionIni`, texts with text code 1.
bool SaveTerminalTable(const std::wstring& compositionIni, const TerminalTable& table,
                       const std::wstring& settingsLibrary = kSettingsLibraryName);
