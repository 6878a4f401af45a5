#include "platform/WindowMessages.h"

#include "WindowsHeaders.h"

#include <dde.h>

#include <map>
#include <mutex>

namespace platform {
namespace {

std::mutex g_classMutex;
std::map<std::wstring, WindowProcedure> g_classProcedures;

// Windows calls one trampoline; it finds the class's procedure by the window's class name.
LRESULT CALLBACK Trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    wchar_t className[256] = {};
    GetClassNameW(window, className, 256);
    WindowProcedure procedure = nullptr;
    {
        std::lock_guard lock(g_classMutex);
        auto found = g_classProcedures.find(className);
        if (found != g_classProcedures.end())
            procedure = found->second;
    }
    if (procedure)
        procedure(reinterpret_cast<WindowHandle>(window), message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

// The module this code is linked into (the program or a component DLL): its classes are its
// own, and go when it unregisters them before it is unloaded.
HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&Trampoline), &module);
    return module;
}

// Wine takes every posted message numbered WM_DDE_FIRST..WM_DDE_LAST for DDE, also between
// threads of one process, and drops it on arrival unless its lParam is a DDE memory handle;
// Windows passes such messages through unchanged within a process. The engine's reports use
// message 1000 (WM_DDE_EXECUTE), so under wine they go as sent notifications, which wine
// queues unchanged and the owning thread handles at its next look at its queue.
bool WineDropsPostedMessage(std::uint32_t message) {
    static const bool underWine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return underWine && message >= WM_DDE_FIRST && message <= WM_DDE_LAST;
}

} // namespace

bool RegisterWindowClass(const std::wstring& className, WindowProcedure procedure) {
    {
        std::lock_guard lock(g_classMutex);
        g_classProcedures[className] = procedure;
    }
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = Trampoline;
    windowClass.hInstance = ThisModule();
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className.c_str();
    return RegisterClassW(&windowClass) != 0;
}

void UnregisterWindowClass(const std::wstring& className) {
    UnregisterClassW(className.c_str(), ThisModule());
    std::lock_guard lock(g_classMutex);
    g_classProcedures.erase(className);
}

WindowHandle CreateHiddenWindow(const std::wstring& className, const std::wstring& title) {
    // A top-level window without WS_VISIBLE: never shown, yet found by FindWindow, which a
    // message-only window would not be.
    HWND window = CreateWindowW(className.c_str(), title.c_str(), WS_OVERLAPPED, 0, 0, 0, 0,
                                nullptr, nullptr, ThisModule(), nullptr);
    return reinterpret_cast<WindowHandle>(window);
}

void DestroyHiddenWindow(WindowHandle window) {
    DestroyWindow(reinterpret_cast<HWND>(window));
}

WindowHandle FindHiddenWindow(const std::wstring& className, const std::wstring& title) {
    return reinterpret_cast<WindowHandle>(FindWindowW(className.c_str(), title.c_str()));
}

bool PostWindowMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) {
    const HWND target = reinterpret_cast<HWND>(window);
    if (WineDropsPostedMessage(message))
        return SendNotifyMessageW(target, message, wParam, lParam) != FALSE;
    return PostMessageW(target, message, wParam, lParam) != FALSE;
}

bool PeekWindowMessage(WindowMessage& message) {
    MSG raw{};
    if (!PeekMessageW(&raw, nullptr, 0, 0, PM_REMOVE))
        return false;
    message = WindowMessage{reinterpret_cast<WindowHandle>(raw.hwnd), raw.message, raw.wParam,
                            raw.lParam};
    return true;
}

void DispatchWindowMessage(const WindowMessage& message) {
    MSG raw{};
    raw.hwnd = reinterpret_cast<HWND>(message.window);
    raw.message = message.message;
    raw.wParam = message.wParam;
    raw.lParam = message.lParam;
    TranslateMessage(&raw);
    DispatchMessageW(&raw);
}

std::intptr_t DefaultWindowProcedure(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) {
    // The trampoline already hands every message to DefWindowProcW.
    return 0;
}

bool WaitForWindowMessage(unsigned timeoutMs) {
    return MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs, QS_ALLINPUT) == WAIT_OBJECT_0;
}

void SetMessageArrivalCallback(MessageArrivalCallback, void*) {
    // The Windows GUI loop dispatches thread messages itself.
}

} // namespace platform
