#include "platform/WindowMessages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace platform;

namespace {

std::atomic<int> g_received{0};
std::atomic<std::thread::id> g_handledOn{};

std::intptr_t RecordingProcedure(WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    g_received = static_cast<int>(message + wParam + lParam);
    g_handledOn = std::this_thread::get_id();
    return 0;
}

struct ClassRegistration {
    explicit ClassRegistration(const wchar_t* name) : m_name(name) {
        RegisterWindowClass(m_name, RecordingProcedure);
    }
    ~ClassRegistration() { UnregisterWindowClass(m_name); }
    std::wstring m_name;
};

} // namespace

TEST(WindowMessages, MessagePostedFromAnotherThreadIsHandledOnTheOwningThread) {
    ClassRegistration registration(L"TestOwnerClass");
    WindowHandle window = CreateHiddenWindow(L"TestOwnerClass", L"owner");
    ASSERT_NE(window, 0u);
    g_received = 0;

    std::thread poster([window] { PostWindowMessage(window, 1000, 0x1531, 42); });
    poster.join();

    ASSERT_TRUE(WaitForWindowMessage(1000));
    WindowMessage message;
    ASSERT_TRUE(PeekWindowMessage(message));
    DispatchWindowMessage(message);
    EXPECT_EQ(g_received, 1000 + 0x1531 + 42);
    EXPECT_EQ(g_handledOn.load(), std::this_thread::get_id());
    EXPECT_FALSE(PeekWindowMessage(message));
    DestroyHiddenWindow(window);
}

TEST(WindowMessages, QueuesArePerThread) {
    ClassRegistration registration(L"TestQueueClass");
    WindowHandle window = CreateHiddenWindow(L"TestQueueClass", L"q");
    PostWindowMessage(window, 1, 0, 0);
    bool otherThreadSaw = true;
    std::thread other([&] {
        WindowMessage message;
        otherThreadSaw = PeekWindowMessage(message);
    });
    other.join();
    EXPECT_FALSE(otherThreadSaw);
    WindowMessage message;
    EXPECT_TRUE(PeekWindowMessage(message));
    DestroyHiddenWindow(window);
}

TEST(WindowMessages, DestroyedWindowGetsNoMessages) {
    ClassRegistration registration(L"TestGoneClass");
    WindowHandle window = CreateHiddenWindow(L"TestGoneClass", L"gone");
    EXPECT_EQ(FindHiddenWindow(L"TestGoneClass", L"gone"), window);
    PostWindowMessage(window, 7, 0, 0);
    DestroyHiddenWindow(window);
    WindowMessage message;
    EXPECT_FALSE(PeekWindowMessage(message));
    EXPECT_FALSE(PostWindowMessage(window, 7, 0, 0));
    EXPECT_EQ(CreateHiddenWindow(L"NoSuchClass", L"x"), 0u);
}

TEST(WindowMessages, ArrivalCallbackRunsForTheWaitingThread) {
    ClassRegistration registration(L"TestWakeClass");
    WindowHandle window = CreateHiddenWindow(L"TestWakeClass", L"wake");
    std::atomic<int> wakes{0};
    SetMessageArrivalCallback([](void* context) { ++*static_cast<std::atomic<int>*>(context); }, &wakes);
    std::thread([window] { PostWindowMessage(window, 5, 0, 0); }).join();
    EXPECT_EQ(wakes, 1);
    SetMessageArrivalCallback(nullptr, nullptr);
    WindowMessage message;
    while (PeekWindowMessage(message)) {}
    DestroyHiddenWindow(window);
}
