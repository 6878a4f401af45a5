#pragma once
/// Hidden message windows and per-thread message queues.
///
/// A window belongs to the thread that creates it; posting is allowed from any thread and
/// the message is handled when the owning thread peeks and dispatches it.

#include <cstdint>
#include <string>

namespace platform {

using WindowHandle = std::uintptr_t;
using WindowProcedure = std::intptr_t (*)(WindowHandle window, std::uint32_t message,
                                          std::uintptr_t wParam, std::intptr_t lParam);

struct WindowMessage {
    WindowHandle window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

/// The first number a program may give messages of its own (WM_APP on Windows). Numbers
/// below it belong to the system, which may refuse to post them (those carrying pointers)
/// or change their parameters on the way (the DDE messages, 992..1000).
constexpr std::uint32_t kFirstPrivateMessage = 0x8000;

bool RegisterWindowClass(const std::wstring& className, WindowProcedure procedure);
void UnregisterWindowClass(const std::wstring& className);
/// A hidden window owned by the calling thread; 0 on failure.
WindowHandle CreateHiddenWindow(const std::wstring& className, const std::wstring& title);
void DestroyHiddenWindow(WindowHandle window);
WindowHandle FindHiddenWindow(const std::wstring& className, const std::wstring& title);

bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam);
/// Removes the oldest message of the calling thread's queue into `message`. On Windows a
/// message numbered in the DDE range travels as a sent notification: this call hands it to
/// its window's procedure itself and does not return it.
bool PeekWindowMessage(WindowMessage& message);
/// Translates and dispatches one message to its window's procedure.
void DispatchWindowMessage(const WindowMessage& message);
std::intptr_t DefaultWindowProcedure(WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam);
/// Blocks until the calling thread's queue is not empty or the time has passed.
bool WaitForWindowMessage(unsigned timeoutMs);

using MessageArrivalCallback = void (*)(void* context);
/// Called on the posting thread whenever a message is queued for the calling thread;
/// lets a GUI event loop schedule a pump on its own thread. Null removes it.
void SetMessageArrivalCallback(MessageArrivalCallback callback, void* context);

} // namespace platform
