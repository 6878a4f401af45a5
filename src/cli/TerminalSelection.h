#pragma once
/// How a command names a terminal: by its name, or by its slot number as the list shows it.

#include "config/TerminalTable.h"

#include <string>

/// The slot of the terminal named `terminal`; -1, with a message, when there is none.
int FindTerminalSlot(const TerminalTable& table, const std::wstring& terminal);
