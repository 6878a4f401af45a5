#include "composition/ZoRiEngine.h"

#include <algorithm>

#include "platform/LogWriterFactory.h"

namespace {

const wchar_t kWrapperClassName[] = L"QrmZoRiWrapperDlg";
const wchar_t kWrapperTitle[] = L"QrmZoRiWrapperDlg";
const wchar_t kRunWakeClassName[] = L"QrmZoRiRunWake";
constexpr std::uint32_t kRunWakeMessage = platform::kFirstPrivateMessage;
constexpr std::int32_t kDefaultMidPictureSize = 400;
constexpr std::int32_t kDefaultStartValue = 300;
constexpr unsigned kPollIntervalMs = 1000;

// Shared between the wrapper window procedure (user-interface thread) and Run (transfer
// thread). The window procedure has no object to reach, so they are process-wide.
std::atomic<std::int32_t> g_nDone{0};
std::atomic<std::int32_t> g_nProgress{0};
std::atomic<std::int32_t> g_nCancel{0};
std::atomic<std::int32_t> g_nResult{0};

// A window of the transfer thread while Run waits. A report that ends the run, and a cancel
// request, are passed on to it, so that Run looks at the flags at once rather than at the
// end of its one-second wait; without it the run still ends, only later.
std::atomic<platform::WindowHandle> g_hRunWakeWindow{0};

void WakeRun() {
    if (const platform::WindowHandle window = g_hRunWakeWindow.load())
        platform::PostWindowMessage(window, kRunWakeMessage, 0, 0);
}

void CopyPath(wchar_t (&field)[EngineRunParams::kPathCapacity], std::wstring_view path) {
    std::size_t length = std::min(path.size(), EngineRunParams::kPathCapacity - 1);
    std::copy_n(path.data(), length, field);
    field[length] = L'\0';
}

} // namespace

void EngineRunParams::SetCompositionInfoPath(std::wstring_view path) {
    CopyPath(compositionInfoPath, path);
}

void EngineRunParams::SetDataPath(std::wstring_view path) {
    CopyPath(dataPath, path);
}

CZoRiEngine::CZoRiEngine(std::wstring libraryName) : m_strLibraryName(std::move(libraryName)) {
    CreateWrapperWindow();
}

CZoRiEngine::~CZoRiEngine() {
    Shutdown();
}

void CZoRiEngine::CreateWrapperWindow() {
    g_nDone = 0;
    g_nProgress = 0;
    g_nCancel = 0;
    g_nResult = 0;
    m_bClassRegistered = platform::RegisterWindowClass(kWrapperClassName, &WrapperWindowProc);
    m_bRunWakeClassRegistered =
        platform::RegisterWindowClass(kRunWakeClassName, &platform::DefaultWindowProcedure);
    // The window is hidden by nature here; there is nothing to move off screen.
    m_hWrapperWindow = platform::CreateHiddenWindow(kWrapperClassName, kWrapperTitle);
}

int CZoRiEngine::LoadEngine() {
    if (!m_library.IsLoaded() && !m_library.Load(m_strLibraryName))
        return -1;
    const auto resolve = [this](auto& entry, const char* name) {
        entry = m_library.Resolve<std::remove_reference_t<decltype(entry)>>(name);
        return entry != nullptr;
    };
    if (!resolve(m_pCreateInstance, "QRM_ZO_RI_createInstance") ||
        !resolve(m_pReleaseInstance, "QRM_ZO_RI_releaseInstance") ||
        !resolve(m_pSetIniFileName, "QRM_ZO_RI_setIniFileName") ||
        !resolve(m_pSetWindowHdl, "QRM_ZO_RI_setWindowHdl") ||
        !resolve(m_pSetMidPictureSize, "QRM_ZO_RI_setMidPictureSize") ||
        !resolve(m_pSetDataPath, "QRM_ZO_RI_setDataPath") ||
        !resolve(m_pCancel, "QRM_ZO_RI_cancel") ||
        !resolve(m_pSetApplicationId, "QRM_ZO_RI_setApplicationID"))
        return -1;
    return 0;
}

bool CZoRiEngine::EntryPointsLoaded() const {
    return m_library.IsLoaded() && m_pCreateInstance && m_pReleaseInstance && m_pSetIniFileName &&
           m_pSetWindowHdl && m_pSetMidPictureSize && m_pSetDataPath && m_pCancel &&
           m_pSetApplicationId;
}

int CZoRiEngine::Prepare() {
    g_nProgress = 0;
    if (m_hWrapperWindow == 0)
        return -1;
    return LoadEngine();
}

int CZoRiEngine::Run(const EngineRunParams* params) {
    if (m_hWrapperWindow == 0 || !EntryPointsLoaded())
        return -1;
    g_nDone = 0;
    g_nResult = 0;
    g_nCancel = 0;
    if (params == nullptr)
        return -1;

    m_params = *params;
    if (m_params.startValue == 0)
        m_params.startValue = kDefaultStartValue;
    if (m_params.midPictureWidth == 0)
        m_params.midPictureWidth = kDefaultMidPictureSize;
    if (m_params.midPictureHeight == 0)
        m_params.midPictureHeight = kDefaultMidPictureSize;
    if (m_params.compositionInfoPath[0] == L'\0' || m_params.dataPath[0] == L'\0')
        return -1;

    platform::ComInitialize();
    int result = 0;
    const zori::NotifyRecord notify{m_hWrapperWindow, zori::kNotifyMessage, zori::kCreationValue};
    zori::EngineInstance instance = m_pCreateInstance(&notify, &m_hEngineWindow);
    m_instance = instance;
    if (instance == nullptr) {
        result = -1;
    } else {
        m_pSetMidPictureSize(instance, m_params.midPictureWidth, m_params.midPictureHeight);
        m_pSetDataPath(instance, m_params.dataPath);
        m_pSetApplicationId(instance, zori::kApplicationId);
        m_pSetIniFileName(instance, 0, m_params.compositionInfoPath);
        platform::PostWindowMessage(m_hEngineWindow, zori::kMessageStartValue, 0,
                                    m_params.startValue);
        platform::PostWindowMessage(m_hEngineWindow, zori::kMessageStart, 0, 0);

        const platform::WindowHandle wakeWindow =
            platform::CreateHiddenWindow(kRunWakeClassName, kRunWakeClassName);
        g_hRunWakeWindow = wakeWindow;
        while (g_nDone == 0) {
            // Never more than a second between looks at the flags; any message for this
            // thread (the engine's own, or a wake from the wrapper window) ends the wait.
            platform::WaitForWindowMessage(kPollIntervalMs);
            PumpMessages();
            if (g_nCancel == 1) {
                m_pCancel(instance, 0);
                // An engine answers a cancel with its abort report; when the wrapper window
                // is this thread's, that report is taken now so its code is the result.
                PumpMessages();
                break;
            }
        }
        g_hRunWakeWindow = 0;
        if (wakeWindow != 0)
            platform::DestroyHiddenWindow(wakeWindow);
        if (g_nResult != 0)
            result = g_nResult;
    }
    ReleaseEngineInstance();
    m_hEngineWindow = 0;
    platform::ComUninitialize();
    return result;
}

void CZoRiEngine::ReleaseEngineInstance() {
    zori::EngineInstance instance = m_instance.exchange(nullptr);
    if (instance != nullptr)
        m_pReleaseInstance(instance);
}

void CZoRiEngine::RequestCancel() {
    if (m_instance.load() != nullptr) {
        g_nCancel = 1;
        WakeRun();
    }
}

int CZoRiEngine::GetProgress() const {
    return g_nProgress;
}

void CZoRiEngine::PumpMessages() {
    platform::WindowMessage message;
    while (platform::PeekWindowMessage(message))
        platform::DispatchWindowMessage(message);
}

void CZoRiEngine::Shutdown() {
    if (m_hWrapperWindow != 0) {
        platform::DestroyHiddenWindow(m_hWrapperWindow);
        m_hWrapperWindow = 0;
    }
    if (m_bClassRegistered) {
        platform::UnregisterWindowClass(kWrapperClassName);
        m_bClassRegistered = false;
    }
    if (m_bRunWakeClassRegistered) {
        platform::UnregisterWindowClass(kRunWakeClassName);
        m_bRunWakeClassRegistered = false;
    }
    m_library.Free();
}

std::intptr_t CZoRiEngine::WrapperWindowProc(platform::WindowHandle window, std::uint32_t message,
                                             std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == zori::kNotifyMessage) {
        const auto value = static_cast<std::int32_t>(lParam);
        if (wParam == zori::kNotifyProgress) {
            g_nProgress = value;
        } else if (wParam == zori::kNotifyDone) {
            g_nResult = value;
            g_nDone = 1;
            WakeRun();
        } else if (wParam == zori::kNotifyAborted) {
            if (g_nCancel == 0)
                g_nDone = 1;
            g_nResult = value;
            WakeRun();
        }
    }
    return platform::DefaultWindowProcedure(window, message, wParam, lParam);
}
