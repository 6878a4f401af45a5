#include "platform/DisplayLoss.h"

#include <X11/Xlib.h>

#include <atomic>

#include <unistd.h>

namespace platform {

namespace {

std::atomic<int (*)()> g_onLost{nullptr};

// Xlib ends the process itself when this returns, with a status of its own choosing.
int OnDisplayIoError(Display*) {
    int (*onLost)() = g_onLost.load();
    _exit(onLost ? onLost() : 1);
}

} // namespace

void SetDisplayLostHandler(int (*onLost)()) {
    g_onLost = onLost;
    // Replaces the toolkit's own handler, which only reports the loss and exits.
    XSetIOErrorHandler(onLost ? OnDisplayIoError : nullptr);
}

} // namespace platform
