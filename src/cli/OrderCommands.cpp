#include "cli/OrderCommands.h"

#include "cli/ConsoleText.h"
#include "cli/TerminalSelection.h"
#include "config/TerminalTable.h"
#include "fileutil/FileUtil.h"
#include "fileutil/ShareResolver.h"
#include "logging/LogClient.h"
#include "transfer/FinishedOrders.h"
#include "transfer/ConnectionProbe.h"

#include <algorithm>

namespace {

/// The output folder of the terminal, logged on to with its account; empty, with a message,
/// when there is no such terminal.
std::wstring OutputFolderOf(FileSystemResolver& files, const std::wstring& programFolder,
                            const std::wstring& terminal) {
    TerminalTable table;
    std::uint32_t freeDisk = 0;
    LoadTerminalTable(JoinPath(programFolder, L"composition.ini"), table, freeDisk);
    const int slot = FindTerminalSlot(table, terminal);
    if (slot < 0)
        return {};
    const TerminalEntry& entry = table.slots[static_cast<size_t>(slot)];
    CheckFolderConnection(files, entry.outPath, entry.outUserId, entry.outPassword);
    return entry.outPath;
}

} // namespace

int ListOrders(const std::wstring& programFolder, const std::wstring& terminal) {
    ShareResolver files;
    const std::wstring outputFolder = OutputFolderOf(files, programFolder, terminal);
    if (outputFolder.empty())
        return 1;
    for (const FinishedOrder& order : ListFinishedOrders(files, outputFolder))
        PrintLine(stdout, (order.timeText.empty() ? std::wstring(20, L' ') : order.timeText) +
                              L"\t" + order.name);
    return 0;
}

int DeleteOrders(const std::wstring& programFolder, const std::wstring& terminal,
                 const std::vector<std::wstring>& names, const std::wstring& fromDay,
                 const std::wstring& toDay) {
    CalendarDay first, second;
    if (names.empty() && (!ParseCalendarDay(fromDay, first) || !ParseCalendarDay(toDay, second))) {
        PrintError(L"give the orders to delete by name, or a day range with --from and --to "
                   L"(YYYY-MM-DD)");
        return 1;
    }
    ShareResolver files;
    const std::wstring outputFolder = OutputFolderOf(files, programFolder, terminal);
    if (outputFolder.empty())
        return 1;
    const std::vector<FinishedOrder> orders = ListFinishedOrders(files, outputFolder);
    std::vector<FinishedOrder> chosen;
    if (!names.empty()) {
        for (const std::wstring& name : names) {
            const auto found =
                std::find_if(orders.begin(), orders.end(),
                             [&name](const FinishedOrder& order) { return order.name == name; });
            if (found == orders.end()) {
                PrintError(L"no order \"" + name + L"\" in " + outputFolder);
                return 1;
            }
            chosen.push_back(*found);
        }
    } else {
        std::copy_if(
            orders.begin(), orders.end(), std::back_inserter(chosen),
            [&](const FinishedOrder& order) { return IsWithinDays(order, first, second); });
    }
    int status = 0;
    for (const FinishedOrder& order : chosen) {
        if (DeleteItem(files, order.path)) {
            PrintLine(stdout, L"deleted " + order.name);
        } else {
            PrintError(L"could not delete " + order.path);
            status = 1;
        }
    }
    if (chosen.empty())
        PrintLine(stdout, L"no order in that range");
    return status;
}
