#include "cli/TerminalSelection.h"

#include "cli/ConsoleText.h"

#include <algorithm>
#include <cwctype>

int FindTerminalSlot(const TerminalTable& table, const std::wstring& terminal) {
    const int used = table.UsedCount();
    for (int slot = 0; slot < used; ++slot) {
        if (table.slots[static_cast<size_t>(slot)].name == terminal)
            return slot;
    }
    const bool isNumber =
        !terminal.empty() && terminal.size() <= 2 &&
        std::all_of(terminal.begin(), terminal.end(), [](wchar_t c) { return std::iswdigit(c); });
    if (isNumber && std::stoi(terminal) < used)
        return std::stoi(terminal);
    PrintError(L"no terminal named \"" + terminal +
               L"\" (give its name or its slot number, see "
               L"'terminal list')");
    return -1;
}
