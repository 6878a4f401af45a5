#pragma once
/// The terminal table as a program folder's composition.ini holds it, for tests that check
/// what was saved.

#include "config/TerminalTable.h"

#include <cstdint>
#include <string>

inline TerminalTable StoredTerminalTable(const std::wstring& compositionIni) {
    TerminalTable table;
    std::uint32_t freeDisk = 0;
    LoadTerminalTable(compositionIni, table, freeDisk);
    return table;
}
