#include "cli/ConsoleView.h"

#include "cli/ConsoleText.h"
#include "platform/LocalTime.h"
#include "transfer/OrderFolderName.h"

#include <algorithm>
#include <cwchar>

namespace {

std::wstring OutcomeText(const OrderResult& result) {
    switch (result.outcome) {
    case TransferOutcome::kDelivered:
        return L"delivered";
    case TransferOutcome::kFailed:
        return L"failed: " + result.reason;
    case TransferOutcome::kRetry:
        return L"retried later: " + result.reason;
    case TransferOutcome::kConflict:
        return L"held: " + result.reason;
    case TransferOutcome::kCancelled:
        return L"cancelled: " + result.reason;
    }
    return {};
}

std::wstring TimeStamp() {
    const platform::SystemTime now = platform::GetLocalTime();
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", now.year, now.month, now.day,
                  now.hour, now.minute, now.second);
    return text;
}

} // namespace

void ConsoleView::SetListCell(int row, int column, const std::wstring& text) {
    std::lock_guard lock(m_mutex);
    std::wstring& shown = m_cells[{row, column}];
    // The connection thread rewrites every cell every two seconds; print changes only.
    if (shown == text || m_verbosity == Verbosity::kQuiet)
        return;
    shown = text;
    PrintEventLine(L"terminal " + std::to_wstring(row) +
                   (column == kInputStatusColumn ? L" input: " : L" output: ") + text);
}

void ConsoleView::SetServingName(const std::wstring& name) {
    std::lock_guard lock(m_mutex);
    if (name.empty() || m_verbosity != Verbosity::kVerbose)
        return;
    PrintEventLine(L"serving: " + name);
}

void ConsoleView::SetProgressText(const std::wstring& text) {
    std::lock_guard lock(m_mutex);
    if (text.empty()) {
        EndProgressLine();
        return;
    }
    if (m_bInteractive && m_verbosity != Verbosity::kQuiet) {
        PrintText(m_output, L"\r" + text);
        m_bProgressLineOpen = true;
    } else if (m_verbosity == Verbosity::kVerbose) {
        // A pipe or the journal keeps every line: no carriage returns there.
        PrintLine(m_output, text);
    }
}

void ConsoleView::ShowHeldOrder(const std::wstring& terminalName, const std::wstring& orderName,
                                const std::wstring& takenFolder) {
    std::lock_guard lock(m_mutex);
    PrintEventLine(L"held: " + terminalName + L" " + orderName + L" (" + takenFolder +
                   L" exists; move it away to have the order transferred)");
}

void ConsoleView::ShowOrderResult(const OrderResult& result) {
    std::lock_guard lock(m_mutex);
    m_outcomes[{result.terminalName, result.orderNumber}] = result.outcome;
    if (result.outcome == TransferOutcome::kDelivered && m_verbosity == Verbosity::kQuiet)
        return;
    PrintEventLine(TimeStamp() + L" " + result.terminalName + L" order " +
                   OrderDigits(result.orderNumber) + L" " + OutcomeText(result));
}

bool ConsoleView::HasUndeliveredOrders() const {
    std::lock_guard lock(m_mutex);
    return std::any_of(m_outcomes.begin(), m_outcomes.end(), [](const auto& entry) {
        return entry.second != TransferOutcome::kDelivered &&
               entry.second != TransferOutcome::kCancelled;
    });
}

void ConsoleView::PrintEventLine(const std::wstring& text) {
    EndProgressLine();
    PrintLine(m_output, text);
}

void ConsoleView::EndProgressLine() {
    if (m_bProgressLineOpen)
        PrintText(m_output, L"\n");
    m_bProgressLineOpen = false;
}
