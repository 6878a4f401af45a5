#define RDWINMSG_BUILDING
#include "rdwinmsg.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace {

struct ThreadQueue {
    std::deque<RdMsg> messages;
    std::condition_variable arrived;
    RdWakeCallback wake = nullptr;
    void* wakeContext = nullptr;
};

struct Window {
    std::wstring className;
    std::wstring title;
    std::thread::id owner;
};

// One registry per process, guarded by one mutex: traffic is a handful of messages a
// second, so a single lock is simpler than anything finer and never a bottleneck.
struct Registry {
    std::mutex mutex;
    std::map<std::wstring, RdWndProc> classes;
    std::map<RdHwnd, Window> windows;
    std::map<std::thread::id, std::shared_ptr<ThreadQueue>> queues;
    RdHwnd nextHandle = 0x1000;

    std::shared_ptr<ThreadQueue> QueueOf(std::thread::id thread) {
        auto& queue = queues[thread];
        if (!queue)
            queue = std::make_shared<ThreadQueue>();
        return queue;
    }
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

} // namespace

extern "C" {

int RdRegisterClass(const wchar_t* className, RdWndProc procedure) {
    if (!className || !procedure)
        return 0;
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    return registry.classes.emplace(className, procedure).second ? 1 : 0;
}

int RdUnregisterClass(const wchar_t* className) {
    if (!className)
        return 0;
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    for (const auto& [handle, window] : registry.windows)
        if (window.className == className)
            return 0; // a class in use stays registered, as with the window manager
    return registry.classes.erase(className) ? 1 : 0;
}

RdHwnd RdCreateWindow(const wchar_t* className, const wchar_t* title) {
    if (!className)
        return 0;
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    if (!registry.classes.count(className))
        return 0;
    RdHwnd handle = registry.nextHandle;
    registry.nextHandle += 4;
    registry.windows[handle] = Window{className, title ? title : L"", std::this_thread::get_id()};
    registry.QueueOf(std::this_thread::get_id());
    return handle;
}

int RdDestroyWindow(RdHwnd hwnd) {
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.windows.find(hwnd);
    if (found == registry.windows.end())
        return 0;
    auto queue = registry.QueueOf(found->second.owner);
    std::erase_if(queue->messages, [hwnd](const RdMsg& m) { return m.hwnd == hwnd; });
    registry.windows.erase(found);
    return 1;
}

int RdIsWindow(RdHwnd hwnd) {
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    return registry.windows.count(hwnd) ? 1 : 0;
}

RdHwnd RdFindWindow(const wchar_t* className, const wchar_t* title) {
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    for (const auto& [handle, window] : registry.windows) {
        if (className && window.className != className)
            continue;
        if (title && window.title != title)
            continue;
        return handle;
    }
    return 0;
}

int RdPostMessage(RdHwnd hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    auto& registry = TheRegistry();
    RdWakeCallback wake = nullptr;
    void* wakeContext = nullptr;
    {
        std::lock_guard lock(registry.mutex);
        auto found = registry.windows.find(hwnd);
        if (found == registry.windows.end())
            return 0;
        auto queue = registry.QueueOf(found->second.owner);
        queue->messages.push_back(RdMsg{hwnd, message, wParam, lParam});
        queue->arrived.notify_all();
        wake = queue->wake;
        wakeContext = queue->wakeContext;
    }
    // Outside the lock: the callback may post or peek itself.
    if (wake)
        wake(wakeContext);
    return 1;
}

int RdPeekMessage(RdMsg* msg, int remove) {
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.queues.find(std::this_thread::get_id());
    if (found == registry.queues.end() || found->second->messages.empty())
        return 0;
    if (msg)
        *msg = found->second->messages.front();
    if (remove)
        found->second->messages.pop_front();
    return 1;
}

int RdWaitMessage(unsigned timeoutMs) {
    auto& registry = TheRegistry();
    std::unique_lock lock(registry.mutex);
    auto queue = registry.QueueOf(std::this_thread::get_id());
    return queue->arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [&] { return !queue->messages.empty(); })
               ? 1
               : 0;
}

intptr_t RdDispatchMessage(const RdMsg* msg) {
    if (!msg)
        return 0;
    RdWndProc procedure = nullptr;
    {
        auto& registry = TheRegistry();
        std::lock_guard lock(registry.mutex);
        auto window = registry.windows.find(msg->hwnd);
        if (window == registry.windows.end())
            return 0;
        auto windowClass = registry.classes.find(window->second.className);
        if (windowClass == registry.classes.end())
            return 0;
        procedure = windowClass->second;
    }
    return procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

intptr_t RdDefWindowProc(RdHwnd, uint32_t, uintptr_t, intptr_t) {
    return 0;
}

void RdSetWakeCallback(RdWakeCallback callback, void* context) {
    auto& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto queue = registry.QueueOf(std::this_thread::get_id());
    queue->wake = callback;
    queue->wakeContext = context;
}

} // extern "C"
