#include "app/PlatformMessagePump.h"

#include "platform/WindowMessages.h"

#include <wx/app.h>

namespace {

constexpr int kFallbackIntervalMs = 100;

} // namespace

PlatformMessagePump::PlatformMessagePump() {
    platform::SetMessageArrivalCallback(&PlatformMessagePump::OnMessageArrived, nullptr);
    m_timer.Bind(wxEVT_TIMER, [](wxTimerEvent&) { DispatchWaiting(); });
    m_timer.Start(kFallbackIntervalMs);
}

PlatformMessagePump::~PlatformMessagePump() {
    platform::SetMessageArrivalCallback(nullptr, nullptr);
    m_timer.Stop();
}

void PlatformMessagePump::DispatchWaiting() {
    while (DispatchOne()) {
    }
}

bool PlatformMessagePump::DispatchOne() {
    platform::WindowMessage message;
    if (!platform::PeekWindowMessage(message))
        return false;
    platform::DispatchWindowMessage(message);
    return true;
}

// Runs on the posting thread: only schedules, the GUI thread dispatches.
void PlatformMessagePump::OnMessageArrived(void*) {
    if (wxTheApp)
        wxTheApp->CallAfter([] { DispatchWaiting(); });
}
