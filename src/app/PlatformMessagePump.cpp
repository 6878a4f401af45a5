#include "app/PlatformMessagePump.h"

#include "platform/WindowMessages.h"

#include <wx/app.h>

namespace {

constexpr int kFallbackIntervalMs = 100;

} // namespace

CPlatformMessagePump::CPlatformMessagePump() {
    platform::SetMessageArrivalCallback(&CPlatformMessagePump::OnMessageArrived, nullptr);
    m_timer.Bind(wxEVT_TIMER, [](wxTimerEvent&) { DispatchWaiting(); });
    m_timer.Start(kFallbackIntervalMs);
}

CPlatformMessagePump::~CPlatformMessagePump() {
    platform::SetMessageArrivalCallback(nullptr, nullptr);
    m_timer.Stop();
}

void CPlatformMessagePump::DispatchWaiting() {
    while (DispatchOne()) {
    }
}

bool CPlatformMessagePump::DispatchOne() {
    platform::WindowMessage message;
    if (!platform::PeekWindowMessage(message))
        return false;
    platform::DispatchWindowMessage(message);
    return true;
}

// Runs on the posting thread: only schedules, the GUI thread dispatches.
void CPlatformMessagePump::OnMessageArrived(void*) {
    if (wxTheApp)
        wxTheApp->CallAfter([] { DispatchWaiting(); });
}
