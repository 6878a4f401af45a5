#include "platform/ShutdownRequests.h"

#include "WindowsHeaders.h"

#include <atomic>

namespace platform {

namespace {

// The console calls its control handler on a thread of its own.
std::atomic<const std::function<void()>*> g_onRequest{nullptr};

BOOL WINAPI OnConsoleControl(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        if (const std::function<void()>* onRequest = g_onRequest.load()) {
            (*onRequest)();
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

struct ShutdownRequestWatcher::Impl {
    std::function<void()> onRequest;
};

ShutdownRequestWatcher::ShutdownRequestWatcher(std::function<void()> onRequest)
    : m_impl(std::make_unique<Impl>()) {
    m_impl->onRequest = std::move(onRequest);
    g_onRequest = &m_impl->onRequest;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

ShutdownRequestWatcher::~ShutdownRequestWatcher() {
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    g_onRequest = nullptr;
}

} // namespace platform
