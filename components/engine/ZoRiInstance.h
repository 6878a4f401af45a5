#pragma once
/// One engine instance: the settings handed in through the entry points, a message window
/// of its own on the thread that created it, and the thread that composes the book.
///
/// Thread contract: created, set up and released on one thread (the caller's), whose
/// message loop delivers the start messages; composing runs on the instance's own thread,
/// which reports to the notify window by posting. Release stops and joins that thread.

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "BookLayout.h"
#include "composition/ZoRiProtocol.h"

namespace zori {

class ZoRiInstance {
public:
    /// Creates the message window on the calling thread; `Window()` is 0 when that failed.
    explicit ZoRiInstance(const NotifyRecord& notify);
    ~ZoRiInstance();
    ZoRiInstance(const ZoRiInstance&) = delete;
    ZoRiInstance& operator=(const ZoRiInstance&) = delete;

    std::uintptr_t Window() const { return m_hWindow; }
    void SetCompositionFile(const wchar_t* path) { m_strCompositionFile = path ? path : L""; }
    void SetDataPath(const wchar_t* path) { m_strDataPath = path ? path : L""; }
    void SetMidPictureSize(std::int32_t width, std::int32_t height);
    void SetApplicationId(std::int32_t id) { m_nApplicationId = id; }
    /// Asks the composition to stop; it ends within a second and reports kResultCancelled.
    void Cancel() { m_bCancel = true; }

private:
    static std::intptr_t WindowProc(std::uintptr_t window, std::uint32_t message,
                                    std::uintptr_t wParam, std::intptr_t lParam);
    /// Kept whole: a value beyond 32 bits must fail the range check, not wrap into it.
    void OnStartValue(std::intptr_t dotsPerInch) { m_nDotsPerInch = dotsPerInch; }
    void OnStart();
    void Compose();
    EngineResult ComposeBook();
    void Report(std::uintptr_t kind, std::intptr_t value) const;

    NotifyRecord m_notify;
    std::uintptr_t m_hWindow = 0;
    std::wstring m_strCompositionFile;
    std::wstring m_strDataPath;
    std::int32_t m_nMidWidth = 400;
    std::int32_t m_nMidHeight = 400;
    std::int32_t m_nApplicationId = 0;
    std::intptr_t m_nDotsPerInch = 300;
    std::atomic<bool> m_bCancel{false};
    std::thread m_composer;
};

} // namespace zori
