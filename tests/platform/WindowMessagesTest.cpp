#include "platform/WindowMessages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace platform;

namespace {

std::atomic<int> g_received{0};
std::atomic<int> g_handledCount{0};
std::atomic<std::thread::id> g_handledOn{};

constexpr std::uintptr_t kMarked = 0x1531;

// Records the messages the tests mark, not those the system sends a window of its own accord.
std::intptr_t RecordingProcedure(WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    if (wParam != kMarked)
        return 0;
    g_received = static_cast<int>(message + wParam + lParam);
    ++g_handledCount;
    g_handledOn = std::this_thread::get_id();
    return 0;
}

void DispatchAllWaiting() {
    WindowMessage message;
    while (PeekWindowMessage(message))
        DispatchWindowMessage(message);
}

/// A hidden window of a class of its own that records the marked messages.
class WindowMessages : public ::testing::Test {
protected:
    WindowMessages() {
        RegisterWindowClass(kClass, RecordingProcedure);
        window = CreateHiddenWindow(kClass, L"test");
    }
    ~WindowMessages() override {
        DestroyHiddenWindow(window);
        UnregisterWindowClass(kClass);
    }

    /// Posts from a thread of its own, as the engine's threads post their reports.
    bool PostFromAnotherThread(std::uint32_t number, std::uintptr_t wParam = 0,
                               std::intptr_t lParam = 0) const {
        bool posted = false;
        std::thread([&] { posted = PostWindowMessage(window, number, wParam, lParam); }).join();
        return posted;
    }

    static constexpr wchar_t kClass[] = L"RelaydeskTestClass";
    WindowHandle window = 0;
};

} // namespace

TEST_F(WindowMessages, MessagePostedFromAnotherThreadIsHandledOnTheOwningThread) {
    ASSERT_NE(window, 0u);
    // The engine's report number (a DDE number on Windows) and one of the program's own.
    for (const std::uint32_t number : {1000u, kFirstPrivateMessage + 1}) {
        g_received = 0;
        g_handledCount = 0;
        ASSERT_TRUE(PostFromAnotherThread(number, kMarked, 42)) << number;
        EXPECT_EQ(g_handledCount, 0) << "handled before the owner looked at its queue";

        ASSERT_TRUE(WaitForWindowMessage(1000)) << number;
        DispatchAllWaiting();
        EXPECT_EQ(g_received, static_cast<int>(number + kMarked + 42));
        EXPECT_EQ(g_handledCount, 1);
        EXPECT_EQ(g_handledOn.load(), std::this_thread::get_id());
    }
}

TEST_F(WindowMessages, QueuesArePerThread) {
    ASSERT_TRUE(PostWindowMessage(window, kFirstPrivateMessage, 0, 0));
    bool otherThreadSaw = true;
    std::thread other([&] {
        WindowMessage message;
        otherThreadSaw = PeekWindowMessage(message);
    });
    other.join();
    EXPECT_FALSE(otherThreadSaw);
    WindowMessage message;
    EXPECT_TRUE(PeekWindowMessage(message));
}

TEST_F(WindowMessages, DestroyedWindowGetsNoMessages) {
    EXPECT_EQ(FindHiddenWindow(kClass, L"test"), window);
    PostWindowMessage(window, kFirstPrivateMessage, 0, 0);
    DestroyHiddenWindow(window);
    WindowMessage message;
    EXPECT_FALSE(PeekWindowMessage(message));
    EXPECT_FALSE(PostWindowMessage(window, kFirstPrivateMessage, 0, 0));
    EXPECT_EQ(CreateHiddenWindow(L"NoSuchClass", L"x"), 0u);
}

TEST_F(WindowMessages, ArrivalCallbackRunsForTheWaitingThread) {
    std::atomic<int> wakes{0};
    SetMessageArrivalCallback([](void* context) { ++*static_cast<std::atomic<int>*>(context); },
                              &wakes);
    PostFromAnotherThread(kFirstPrivateMessage);
    EXPECT_EQ(wakes, 1);
    // Another thread's callback is not this thread's.
    std::thread([] { SetMessageArrivalCallback(nullptr, nullptr); }).join();
    PostFromAnotherThread(1000);
    EXPECT_EQ(wakes, 2);
    SetMessageArrivalCallback(nullptr, nullptr);
    PostFromAnotherThread(kFirstPrivateMessage);
    EXPECT_EQ(wakes, 2);
    DispatchAllWaiting();
}
