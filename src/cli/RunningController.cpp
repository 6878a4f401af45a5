#include "cli/RunningController.h"

#include "cli/ConsoleText.h"
#include "platform/ControlSignals.h"

std::wstring DescribeRunningController(const platform::SingleInstanceGuard& instance) {
    const int holder = instance.HolderProcessId();
    const std::wstring who = holder > 0 ? L" (process " + std::to_wstring(holder) + L")" : L"";
    return L"another controller" + who + L" is running: it holds the lock " + instance.LockName();
}

bool TerminalTableChange::CanBegin() const {
    if (m_instance.IsFirstInstance() || m_instance.HolderTakesReload())
        return true;
    // The window saves its own table when it closes and would undo the change.
    PrintError(DescribeRunningController(m_instance) +
               L"; it cannot take changes from here: change the terminals in its window, or "
               L"stop it first");
    return false;
}

bool TerminalTableChange::Announce() const {
    if (m_instance.IsFirstInstance())
        return true;
    const int holder = m_instance.HolderProcessId();
    if (platform::AskProcessToReload(holder)) {
        PrintLine(stdout, L"the running controller (process " + std::to_wstring(holder) +
                              L") takes the change");
        return true;
    }
    PrintError(L"saved, but the running controller (process " + std::to_wstring(holder) +
               L") could not be told; it saves its own table when it ends: stop it and "
               L"repeat the change");
    return false;
}
