#pragma once
/// The controller that may run beside a command: the window or `relaydesk-cli run`, found by
/// the instance lock that both take.

#include "platform/SingleInstance.h"

#include <string>

/// Name of the instance lock that the window holds too: one controller per machine.
inline constexpr wchar_t kControllerInstanceName[] = L"QRM_Relaydesk2";

/// "another controller (process N) is running: it holds the lock <lock>".
std::wstring DescribeRunningController(const platform::SingleInstanceGuard& instance);

/// Holds the instance lock while a command changes the terminal table, so that no
/// controller starts meanwhile, and tells a controller that already runs about the change.
class TerminalTableChange {
public:
    TerminalTableChange() : m_instance(kControllerInstanceName) {}

    /// False, with a message, when a controller runs that cannot take a change (the window,
    /// which would save its own table over it when it closes).
    bool CanBegin() const;
    /// After the table was saved: asks a running controller to take it in; false, with a
    /// message, when it could not be asked.
    bool Announce() const;

private:
    platform::SingleInstanceGuard m_instance;
};
