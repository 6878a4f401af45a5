#include "platform/ControlSignals.h"

#include <csignal>

#include <signal.h>

#include <atomic>

namespace platform {

namespace {

std::atomic<bool> g_bStopRequested{false};
std::atomic<bool> g_bReloadRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "signal handlers need lock-free flags");

extern "C" void OnStopSignal(int) {
    g_bStopRequested = true;
}

extern "C" void OnReloadSignal(int) {
    g_bReloadRequested = true;
}

void Handle(int signalNumber, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Restarted system calls: a reload must not make a file operation of a worker fail.
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

} // namespace

void InstallControlSignals() {
    Handle(SIGINT, OnStopSignal);
    Handle(SIGTERM, OnStopSignal);
    // A closing SSH session sends SIGHUP; a service manager sends it to reload. Neither
    // must end the controller without its shutdown.
    Handle(SIGHUP, OnReloadSignal);
    Handle(SIGPIPE, SIG_IGN);
}

bool IsStopRequested() {
    return g_bStopRequested;
}

bool TakeReloadRequest() {
    return g_bReloadRequested.exchange(false);
}

bool AskProcessToReload(int processId) {
    return processId > 0 && kill(processId, SIGHUP) == 0;
}

} // namespace platform
