#pragma once
/// Adapter around the photo-book composition engine library QRM_ZO_RI.
///
/// Thread contract: construct and destroy on the user-interface thread, which owns the
/// hidden wrapper window and so receives the engine's reports. `Prepare` and `Run` are
/// called on the transfer thread; `RequestCancel` and `GetProgress` from any thread.
/// Only one composition runs at a time in the process.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "composition/ZoRiProtocol.h"
#include "platform/DynamicLibrary.h"
#include "platform/WindowMessages.h"

/// The record handed to `CZoRiEngine::Run`, copied in one piece.
struct EngineRunParams {
    static constexpr std::size_t kPathCapacity = 260;

    std::int32_t midPictureWidth = 400;
    std::int32_t midPictureHeight = 400;
    std::int32_t startValue = 300;
    wchar_t compositionInfoPath[kPathCapacity] = {};
    wchar_t dataPath[kPathCapacity] = {};

    /// Store a path, cut to the field's 259 characters plus terminator.
    void SetCompositionInfoPath(std::wstring_view path);
    void SetDataPath(std::wstring_view path);
};

class CZoRiEngine {
public:
    /// Creates the wrapper window on the calling thread. `libraryName` is the engine
    /// library to load; tests hand in a stand-in by full path.
    explicit CZoRiEngine(std::wstring libraryName = L"QRM_ZO_RI.dll");
    ~CZoRiEngine();
    CZoRiEngine(const CZoRiEngine&) = delete;
    CZoRiEngine& operator=(const CZoRiEngine&) = delete;

    /// Loads the library and its eight entry points; -1 at the first missing piece, else 0.
    [[nodiscard]] int LoadEngine();
    /// Resets the progress; -1 without a wrapper window, else the result of `LoadEngine`.
    [[nodiscard]] int Prepare();
    /// Runs one composition to its end or to a cancel. 0 = success; -1 = not started or
    /// no instance; anything else is the engine's own result code.
    [[nodiscard]] int Run(const EngineRunParams* params);
    /// Asks a running composition to stop; does nothing when none runs.
    void RequestCancel();
    int GetProgress() const;
    /// Dispatches every message waiting for the calling thread.
    void PumpMessages();
    /// Destroys the wrapper window and frees the library; safe to repeat.
    void Shutdown();

    static std::intptr_t WrapperWindowProc(platform::WindowHandle window, std::uint32_t message,
                                           std::uintptr_t wParam, std::intptr_t lParam);

private:
    void CreateWrapperWindow();
    bool EntryPointsLoaded() const;
    void ReleaseEngineInstance();

    zori::CreateInstanceFunction m_pCreateInstance = nullptr;
    zori::ReleaseInstanceFunction m_pReleaseInstance = nullptr;
    zori::SetIniFileNameFunction m_pSetIniFileName = nullptr;
    zori::SetWindowHdlFunction m_pSetWindowHdl = nullptr;
    zori::SetMidPictureSizeFunction m_pSetMidPictureSize = nullptr;
    zori::SetDataPathFunction m_pSetDataPath = nullptr;
    zori::CancelFunction m_pCancel = nullptr;
    zori::SetApplicationIdFunction m_pSetApplicationId = nullptr;
    platform::DynamicLibrary m_library;
    // Read by RequestCancel on the user-interface thread while Run owns it.
    std::atomic<zori::EngineInstance> m_instance{nullptr};
    std::uintptr_t m_hEngineWindow = 0;
    EngineRunParams m_params;
    platform::WindowHandle m_hWrapperWindow = 0;
    bool m_bClassRegistered = false;
    bool m_bRunWakeClassRegistered = false;
    std::wstring m_strLibraryName;
};
