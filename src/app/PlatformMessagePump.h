#pragma once
/// Delivers the platform window messages of the GUI thread (the composition engine reports
/// to its wrapper window, which the GUI thread owns) from within the toolkit's event loop.

#include <wx/timer.h>

/// Thread contract: construct and destroy on the GUI thread. While it exists, a message
/// queued for the GUI thread schedules a pump on the event loop at once; a timer pumps as
/// well, in case a wake-up is missed.
class PlatformMessagePump {
public:
    PlatformMessagePump();
    ~PlatformMessagePump();
    PlatformMessagePump(const PlatformMessagePump&) = delete;
    PlatformMessagePump& operator=(const PlatformMessagePump&) = delete;

    /// Dispatches every message waiting for the calling thread.
    static void DispatchWaiting();
    /// Dispatches at most one waiting message; false when none was waiting.
    static bool DispatchOne();

private:
    static void OnMessageArrived(void* context);

    wxTimer m_timer;
};
