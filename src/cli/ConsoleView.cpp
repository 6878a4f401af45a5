#include "cli/ConsoleView.h"

#include "cli/ConsoleText.h"

void ConsoleView::SetListCell(int row, int column, const std::wstring& text) {
    std::lock_guard lock(m_mutex);
    std::wstring& shown = m_cells[{row, column}];
    // The connection thread rewrites every cell every two seconds; print changes only.
    if (shown == text)
        return;
    shown = text;
    EndProgressLine();
    PrintLine(m_output, L"terminal " + std::to_wstring(row) +
                            (column == kInputStatusColumn ? L" input: " : L" output: ") + text);
}

void ConsoleView::SetServingName(const std::wstring& name) {
    std::lock_guard lock(m_mutex);
    if (name.empty())
        return;
    EndProgressLine();
    PrintLine(m_output, L"serving: " + name);
}

void ConsoleView::SetProgressText(const std::wstring& text) {
    std::lock_guard lock(m_mutex);
    if (text.empty()) {
        EndProgressLine();
        return;
    }
    PrintText(m_output, L"\r" + text);
    m_bProgressLineOpen = true;
}

void ConsoleView::EndProgressLine() {
    if (m_bProgressLineOpen)
        PrintText(m_output, L"\n");
    m_bProgressLineOpen = false;
}

void ConsoleView::ShowHeldOrder(const std::wstring& terminalName, const std::wstring& orderName,
                                const std::wstring& takenFolder) {
    std::lock_guard lock(m_mutex);
    EndProgressLine();
    PrintLine(m_output, L"held: " + terminalName + L" " + orderName + L" (" + takenFolder +
                            L" exists; move it away to have the order transferred)");
}
