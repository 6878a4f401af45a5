#include "platform/ControlSignals.h"

#include "WindowsHeaders.h"

#include <atomic>
#include <csignal>
#include <string>

namespace platform {

namespace {

std::atomic<bool> g_bStopRequested{false};
// Windows has no reload signal: a controller waits on an event named after its process,
// which another process sets.
HANDLE g_hReloadEvent = nullptr;

extern "C" void OnStopSignal(int) {
    g_bStopRequested = true;
}

std::wstring ReloadEventName(int processId) {
    return L"Relaydesk.reload." + std::to_wstring(processId);
}

} // namespace

void InstallControlSignals() {
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    std::signal(SIGBREAK, OnStopSignal);
    if (!g_hReloadEvent)
        g_hReloadEvent =
            CreateEventW(nullptr, FALSE, FALSE,
                         ReloadEventName(static_cast<int>(GetCurrentProcessId())).c_str());
}

bool IsStopRequested() {
    return g_bStopRequested;
}

bool TakeReloadRequest() {
    return g_hReloadEvent && WaitForSingleObject(g_hReloadEvent, 0) == WAIT_OBJECT_0;
}

bool AskProcessToReload(int processId) {
    if (processId <= 0)
        return false;
    // Only a process that installed the signals has the event: any other cannot be asked.
    HANDLE reload = OpenEventW(EVENT_MODIFY_STATE, FALSE, ReloadEventName(processId).c_str());
    if (!reload)
        return false;
    const bool asked = SetEvent(reload) != FALSE;
    CloseHandle(reload);
    return asked;
}

} // namespace platform
