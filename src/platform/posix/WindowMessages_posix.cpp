#include "platform/WindowMessages.h"

#include "rdwinmsg.h"

namespace platform {

bool RegisterWindowClass(const std::wstring& className, WindowProcedure procedure) {
    return RdRegisterClass(className.c_str(), procedure) != 0;
}

void UnregisterWindowClass(const std::wstring& className) {
    RdUnregisterClass(className.c_str());
}

WindowHandle CreateHiddenWindow(const std::wstring& className, const std::wstring& title) {
    return RdCreateWindow(className.c_str(), title.c_str());
}

void DestroyHiddenWindow(WindowHandle window) {
    RdDestroyWindow(window);
}

WindowHandle FindHiddenWindow(const std::wstring& className, const std::wstring& title) {
    return RdFindWindow(className.c_str(), title.c_str());
}

bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) {
    return RdPostMessage(window, message, wParam, lParam) != 0;
}

bool PeekWindowMessage(WindowMessage& message) {
    RdMsg raw{};
    if (!RdPeekMessage(&raw, 1))
        return false;
    message = WindowMessage{raw.hwnd, raw.message, raw.wParam, raw.lParam};
    return true;
}

void DispatchWindowMessage(const WindowMessage& message) {
    RdMsg raw{message.window, message.message, message.wParam, message.lParam};
    RdDispatchMessage(&raw);
}

std::intptr_t DefaultWindowProcedure(WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam) {
    return RdDefWindowProc(window, message, wParam, lParam);
}

bool WaitForWindowMessage(unsigned timeoutMs) {
    return RdWaitMessage(timeoutMs) != 0;
}

void SetMessageArrivalCallback(MessageArrivalCallback callback, void* context) {
    RdSetWakeCallback(callback, context);
}

} // namespace platform
