#include "ZoRiInstance.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

#include "EngineSwitches.h"
#include "SpreadQueue.h"
#include "SpreadRenderer.h"
#include "platform/FileSystemCalls.h"
#include "platform/ThreadPriority.h"
#include "platform/WindowMessages.h"

namespace zori {

namespace {

const wchar_t kWindowClass[] = L"QrmZoRiEngineWindow";
constexpr std::intptr_t kMinDotsPerInch = 30;
constexpr std::intptr_t kMaxDotsPerInch = 1200;

/// The window class points into this library, which the program may unload and load again
/// at another address: the class goes with the library, so each load registers its own.
struct WindowClassOfThisLibrary {
    ~WindowClassOfThisLibrary() { platform::UnregisterWindowClass(kWindowClass); }
} g_windowClass;

/// Window handle -> instance, for the window procedure, which has no other way to its object.
std::mutex g_windowsMutex;
std::map<std::uintptr_t, ZoRiInstance*> g_windows;

ZoRiInstance* InstanceOf(std::uintptr_t window) {
    std::lock_guard lock(g_windowsMutex);
    auto found = g_windows.find(window);
    return found == g_windows.end() ? nullptr : found->second;
}

std::wstring OutputFileName(const std::wstring& folder, int number) {
    wchar_t name[16];
    std::swprintf(name, 16, L"cmb%04d.jpg", number);
    return folder + platform::kPathSeparator + name;
}

bool EnsureFolder(const std::wstring& folder) {
    std::error_code error;
    std::filesystem::create_directories(platform::ToFsPath(folder), error);
    return std::filesystem::is_directory(platform::ToFsPath(folder), error);
}

} // namespace

ZoRiInstance::ZoRiInstance(const NotifyRecord& notify) : m_notify(notify) {
    platform::RegisterWindowClass(kWindowClass,
                                  &WindowProc); // fails harmlessly once registered by this load
    m_hWindow = platform::CreateHiddenWindow(kWindowClass, L"QRM_ZO_RI");
    if (m_hWindow != 0) {
        std::lock_guard lock(g_windowsMutex);
        g_windows[m_hWindow] = this;
    }
}

ZoRiInstance::~ZoRiInstance() {
    m_bCancel = true;
    if (m_composer.joinable())
        m_composer.join();
    if (m_hWindow != 0) {
        {
            std::lock_guard lock(g_windowsMutex);
            g_windows.erase(m_hWindow);
        }
        platform::DestroyHiddenWindow(m_hWindow);
    }
}

void ZoRiInstance::SetMidPictureSize(std::int32_t width, std::int32_t height) {
    m_nMidWidth = width;
    m_nMidHeight = height;
}

std::intptr_t ZoRiInstance::WindowProc(std::uintptr_t window, std::uint32_t message,
                                       std::uintptr_t wParam, std::intptr_t lParam) {
    if (ZoRiInstance* instance = InstanceOf(window)) {
        if (message == kMessageStartValue)
            instance->OnStartValue(lParam);
        else if (message == kMessageStart)
            instance->OnStart();
    }
    return platform::DefaultWindowProcedure(window, message, wParam, lParam);
}

void ZoRiInstance::OnStart() {
    if (m_composer.joinable())
        return; // one composition per instance
    m_composer = std::thread(&ZoRiInstance::Compose, this);
}

void ZoRiInstance::Compose() {
    // Threads the image library starts from here on inherit this (on Linux).
    platform::LowerCurrentThreadPriority();
    const EngineResult result = ComposeBook();
    if (result == kResultSuccess)
        Report(kNotifyDone, kResultSuccess);
    else
        Report(kNotifyAborted, result);
}

EngineResult ZoRiInstance::ComposeBook() {
    if (!StartImageLibrary())
        return kResultRenderingFailed;
    if (m_nDotsPerInch < kMinDotsPerInch || m_nDotsPerInch > kMaxDotsPerInch)
        return kResultInvalidCompositionValue;
    const EngineFolders folders{m_strCompositionFile, m_strDataPath};
    BookLayout book;
    if (EngineResult result = ReadBookLayout(folders, book); result != kResultSuccess)
        return result;
    if (m_bCancel)
        return kResultCancelled;

    const std::optional<OutputColourSpace> space = OutputColourSpace::Open(book.outputProfile);
    if (!space)
        return kResultUnusableOutputProfile;
    const EngineSwitches switches = ReadEngineSwitches();
    // The output folders were checked; a spread's file name might still be a link out of them.
    const FolderBoundary outputBoundary = OutputBoundary(folders);
    const std::size_t total = book.spreads.size();
    std::vector<std::wstring> files;
    for (std::size_t index = 0; index < total; ++index)
        files.push_back(OutputFileName(book.spreads[index].cover ? book.coverOutputFolder
                                                                 : book.innerOutputFolder,
                                       static_cast<int>(index + 1)));
    const auto composeSpread = [&](std::size_t index, const std::atomic<bool>& stop) {
        const SpreadLayout& spread = book.spreads[index];
        if (!outputBoundary.Contains(platform::ToFsPath(files[index])))
            return kResultPathOutsideFolders;
        if (!EnsureFolder(spread.cover ? book.coverOutputFolder : book.innerOutputFolder))
            return kResultUnwritableOutput;
        const SpreadRenderer renderer(*space, book.fit, book.quality,
                                      static_cast<int>(m_nDotsPerInch), stop,
                                      switches.colourManagement);
        return renderer.Render(spread, files[index]);
    };

    Report(kNotifyProgress, 0);
    SpreadQueue queue(total, switches.spreadsInFlight, composeSpread);
    for (std::size_t index = 0; index < total; ++index) {
        const EngineResult result = queue.WaitFor(index, m_bCancel);
        if (result != kResultSuccess) {
            // Spreads after this one may have been finished ahead of it; like the spread
            // itself they are not part of the book, so none is left behind.
            for (std::size_t ahead : queue.AbandonFrom(index)) {
                std::error_code error;
                std::filesystem::remove(platform::ToFsPath(files[ahead]), error);
            }
            return result;
        }
        Report(kNotifyProgress, static_cast<std::intptr_t>((index + 1) * 100 / total));
    }
    return kResultSuccess;
}

void ZoRiInstance::Report(std::uintptr_t kind, std::intptr_t value) const {
    platform::PostWindowMessage(m_notify.notifyWindow, m_notify.notifyMessage, kind, value);
}

} // namespace zori
