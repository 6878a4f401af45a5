#include "platform/ControlSignals.h"

#include <atomic>
#include <csignal>

namespace platform {

namespace {

std::atomic<bool> g_bStopRequested{false};

extern "C" void OnStopSignal(int) {
    g_bStopRequested = true;
}

} // namespace

void InstallControlSignals() {
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    std::signal(SIGBREAK, OnStopSignal);
}

bool IsStopRequested() {
    return g_bStopRequested;
}

// Windows has no reload signal; a terminal change waits for the next start there.
bool TakeReloadRequest() {
    return false;
}

bool AskProcessToReload(int /*processId*/) {
    return false;
}

} // namespace platform
