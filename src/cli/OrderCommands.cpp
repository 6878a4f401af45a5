#include "cli/OrderCommands.h"

#include "cli/ConsoleText.h"
#include "cli/TerminalSelection.h"
#include "config/TerminalTable.h"
#include "fileutil/FileUtil.h"
#include "fileutil/ShareResolver.h"
#include "logging/LogClient.h"
#include "transfer/ConnectionProbe.h"
#include "transfer/FinishedOrders.h"
#include "transfer/OrderFolderName.h"

#include <algorithm>
#include <cwctype>
#include <iostream>

namespace {

/// Logs on to the terminal's two folders with their accounts, as the controller does before
/// it touches them.
void LogOnToFolders(FileSystemResolver& files, const TerminalEntry& entry) {
    CheckFolderConnection(files, entry.path, entry.userId, entry.password);
    CheckFolderConnection(files, entry.outPath, entry.outUserId, entry.outPassword);
}

/// The terminal's entry, its folders logged on to; nullopt, with a message, when there is no
/// such terminal.
std::optional<TerminalEntry> FindTerminal(FileSystemResolver& files,
                                          const ControllerFolders& folders,
                                          const std::wstring& terminal) {
    const TerminalTable table = LoadTerminalTable(folders.CompositionIni());
    const int slot = FindTerminalSlot(table, terminal);
    if (slot < 0)
        return std::nullopt;
    LogOnToFolders(files, table.slots[static_cast<size_t>(slot)]);
    return table.slots[static_cast<size_t>(slot)];
}

std::wstring ShownTime(const FinishedOrder& order) {
    return order.timeText.empty() ? std::wstring(20, L' ') : order.timeText;
}

/// What the operator answers to "delete N orders?"; only y or yes agree.
bool AskToDelete(size_t count) {
    std::fprintf(stderr, "delete %zu order%s? [y/N] ", count, count == 1 ? "" : "s");
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    std::transform(answer.begin(), answer.end(), answer.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return answer == "y" || answer == "yes";
}

/// The r, e and q order folders of a terminal's input folder, with their times.
std::vector<FinishedOrder> TerminalOrders(FileSystemResolver& files,
                                          const std::wstring& inputFolder) {
    std::vector<FinishedOrder> orders = ListOrderFolders(files, inputFolder, L"*");
    std::erase_if(orders, [](const FinishedOrder& order) {
        int number = 0;
        const wchar_t letter = static_cast<wchar_t>(std::towlower(order.name.front()));
        return !ParseOrderFolderName(order.name, number) ||
               (letter != kWaitingLetter && letter != kTransferredLetter &&
                letter != kFailedLetter);
    });
    return orders;
}

} // namespace

int ListOrders(const ControllerFolders& folders, const std::wstring& terminal) {
    ShareResolver files;
    const std::optional<TerminalEntry> entry = FindTerminal(files, folders, terminal);
    if (!entry)
        return 1;
    for (const FinishedOrder& order : ListFinishedOrders(files, entry->outPath))
        PrintLine(stdout, ShownTime(order) + L"\t" + order.name);
    return 0;
}

int DeleteOrders(const ControllerFolders& folders, const std::wstring& terminal,
                 const OrderDeletion& deletion) {
    CalendarDay first, second;
    if (deletion.names.empty() &&
        (!ParseCalendarDay(deletion.fromDay, first) || !ParseCalendarDay(deletion.toDay, second))) {
        PrintError(L"give the orders to delete by name, or a day range with --from and --to "
                   L"(YYYY-MM-DD)");
        return 1;
    }
    ShareResolver files;
    const std::optional<TerminalEntry> entry = FindTerminal(files, folders, terminal);
    if (!entry)
        return 1;
    const std::vector<FinishedOrder> orders = ListFinishedOrders(files, entry->outPath);
    std::vector<FinishedOrder> chosen;
    if (!deletion.names.empty()) {
        for (const std::wstring& name : deletion.names) {
            const auto found =
                std::find_if(orders.begin(), orders.end(),
                             [&name](const FinishedOrder& order) { return order.name == name; });
            if (found == orders.end()) {
                PrintError(L"no order \"" + name + L"\" in " + entry->outPath);
                return 1;
            }
            chosen.push_back(*found);
        }
    } else {
        std::copy_if(
            orders.begin(), orders.end(), std::back_inserter(chosen),
            [&](const FinishedOrder& order) { return IsWithinDays(order, first, second); });
    }
    if (chosen.empty()) {
        PrintLine(stdout, L"no order in that range");
        return 0;
    }
    if (deletion.dryRun || !deletion.confirmed) {
        for (const FinishedOrder& order : chosen)
            PrintLine(stdout, (deletion.dryRun ? L"would delete " : L"to delete ") +
                                  ShownTime(order) + L"\t" + order.name);
    }
    if (deletion.dryRun)
        return 0;
    if (!deletion.confirmed && !AskToDelete(chosen.size())) {
        PrintError(L"nothing deleted (answer y, or give --yes)");
        return 1;
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
    return status;
}

int ShowOrderStatus(const ControllerFolders& folders, const std::wstring& terminal) {
    const TerminalTable table = LoadTerminalTable(folders.CompositionIni());
    std::vector<int> slots;
    if (!terminal.empty()) {
        const int slot = FindTerminalSlot(table, terminal);
        if (slot < 0)
            return 1;
        slots.push_back(slot);
    } else {
        for (int slot = 0; slot < table.UsedCount(); ++slot)
            slots.push_back(slot);
    }
    PrintLine(stdout, L"terminal\tstate\torder\tmodified");
    ShareResolver files;
    for (const int slot : slots) {
        const TerminalEntry& entry = table.slots[static_cast<size_t>(slot)];
        LogOnToFolders(files, entry);
        for (const FinishedOrder& order : TerminalOrders(files, entry.path)) {
            const wchar_t letter = static_cast<wchar_t>(std::towlower(order.name.front()));
            const wchar_t* state = letter == kWaitingLetter       ? L"waiting"
                                   : letter == kTransferredLetter ? L"transferred"
                                                                  : L"failed";
            PrintLine(stdout,
                      entry.name + L"\t" + state + L"\t" + order.name + L"\t" + ShownTime(order));
        }
    }
    return 0;
}

int RetryOrder(const ControllerFolders& folders, const std::wstring& terminal,
               const std::wstring& order) {
    ShareResolver files;
    const std::optional<TerminalEntry> entry = FindTerminal(files, folders, terminal);
    if (!entry)
        return 1;
    int number = 0;
    const bool isNumber =
        !order.empty() && order.size() <= 7 &&
        std::all_of(order.begin(), order.end(), [](wchar_t c) { return std::iswdigit(c) != 0; });
    if (isNumber)
        number = std::stoi(order);
    else if (!ParseOrderFolderName(order, number) ||
             std::towlower(order.front()) != kFailedLetter) {
        PrintError(L"\"" + order +
                   L"\" is not a failed order: give its folder name "
                   L"(q0001234) or its number");
        return 1;
    }
    const std::wstring failed = JoinPath(entry->path, OrderFolderName(kFailedLetter, number));
    const std::wstring waiting = JoinPath(entry->path, OrderFolderName(kWaitingLetter, number));
    if (!ItemExists(files, failed)) {
        PrintError(L"no failed order " + OrderFolderName(kFailedLetter, number) + L" in " +
                   entry->path);
        return 1;
    }
    if (const FsResult moved = MoveItem(files, failed, waiting); !moved) {
        PrintError(L"cannot rename " + failed + L" to " + waiting + L": " + moved.Reason());
        return 1;
    }
    WriteLog(g_pLogClient, L"RetryOrder %s", waiting);
    PrintLine(stdout, L"sent again: " + waiting);
    return 0;
}
