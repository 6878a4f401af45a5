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
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&Trampoline), &module);
    return module;
}

// A posted message numbered WM_DDE_FIRST..WM_DDE_LAST is taken for DDE: its lParam is moved
// to the receiver as DDE memory (between processes on Windows, between any two threads under
// wine, which drops it when the lParam is no global memory handle). The engine's reports use
// message 1000 (WM_DDE_EXECUTE) with plain numbers, so such messages go as sent notifications:
// queued unchanged for the window's thread and handled when that thread next looks at its
// queue (PeekMessage hands them to the window procedure itself). To a window of the calling
// thread, a notification is handled at once.
bool IsDdeNumber(std::uint32_t message) {
    return message >= WM_DDE_FIRST && message <= WM_DDE_LAST;
}

struct ArrivalCallback {
    MessageArrivalCallback callback = nullptr;
    void* context = nullptr;
};

// By the thread whose queue each watches. Each module (the program, a component DLL) keeps
// its own: posts from a component reach the queue, not this module's callbacks. The Windows
// window's event loop needs none, as it takes every message of its thread from the system.
std::mutex g_arrivalMutex;
std::map<DWORD, ArrivalCallback> g_arrivalCallbacks;

void AnnounceArrival(HWND target) {
    const DWORD owner = GetWindowThreadProcessId(target, nullptr);
    ArrivalCallback arrival;
    {
        std::lock_guard lock(g_arrivalMutex);
        const auto found = g_arrivalCallbacks.find(owner);
        if (found == g_arrivalCallbacks.end())
            return;
        arrival = found->second;
    }
    arrival.callback(arrival.context);
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
    const BOOL queued = IsDdeNumber(message) ? SendNotifyMessageW(target, message, wParam, lParam)
                                             : PostMessageW(target, message, wParam, lParam);
    if (!queued)
        return false;
    AnnounceArrival(target);
    return true;
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

void SetMessageArrivalCallback(MessageArrivalCallback callback, void* context) {
    std::lock_guard lock(g_arrivalMutex);
    if (callback)
        g_arrivalCallbacks[GetCurrentThreadId()] = ArrivalCallback{callback, context};
    else
        g_arrivalCallbacks.erase(GetCurrentThreadId());
}

} // namespace platform
