#include "cli/RunCommand.h"

#include "cli/ConsoleText.h"
#include "cli/ConsoleView.h"
#include "config/MessageCatalogue.h"
#include "fileutil/ShareResolver.h"
#include "logging/LogClient.h"
#include "platform/SingleInstance.h"
#include "platform/WindowMessages.h"
#include "transfer/RelaydeskController.h"
#include "transfer/StartupChecks.h"

#include <atomic>
#include <csignal>

namespace {

/// Name of the instance lock that the window holds too: one controller per machine.
constexpr wchar_t kInstanceName[] = L"QRM_Relaydesk2";
constexpr unsigned kMessageWaitMs = 200;

std::atomic<bool> g_bStopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void OnStopSignal(int) {
    g_bStopRequested = true;
}

/// The CLI's main loop: the engine's wrapper window lives on this thread.
void DispatchWindowMessages(unsigned waitMs) {
    platform::WaitForWindowMessage(waitMs);
    platform::WindowMessage message;
    while (platform::PeekWindowMessage(message))
        platform::DispatchWindowMessage(message);
}

} // namespace

int RunController(const std::wstring& programFolder, bool untilIdle) {
    WriteLog(g_pLogClient, L"InitInstance IN");
    platform::SingleInstanceGuard instance(kInstanceName);
    if (!instance.IsFirstInstance()) {
        WriteLog(g_pLogClient, L"InitInstance ERR");
        PrintError(L"another controller is already running on this machine");
        return 1;
    }
    // Said before any order is touched: a controller that cannot write its own folders
    // would fail every order quietly.
    if (const std::wstring problem = FindUnwritableFolder(programFolder); !problem.empty()) {
        WriteLog(g_pLogClient, L"InitInstance ERR %s", problem);
        PrintError(problem);
        return 1;
    }
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);

    ConsoleView view(stdout);
    {
        ShareResolver files;
        RelaydeskController controller(view, files, programFolder);
        WriteLog(g_pLogClient, L"OnInitDialog IN");
        controller.Initialize();
        WriteLog(g_pLogClient, L"OnInitDialog OUT");

        const MainWindowTexts texts =
            ReadMainWindowTexts(ChooseMessageCatalogue(programFolder), controller.GetFreeDisk());
        controller.SetTexts(texts.statusTexts, texts.progressFormat, texts.heldOrdersFormat);
        std::atomic<bool> idle{false};
        if (untilIdle)
            controller.SetPassObserver([&idle](int transferred) {
                if (transferred == 0)
                    idle = true;
            });
        controller.StartCheckThread();
        controller.ThreadStart();
        while (!g_bStopRequested && !idle)
            DispatchWindowMessages(kMessageWaitMs);

        WriteLog(g_pLogClient, L"OnOK IN");
        controller.Shutdown();
        WriteLog(g_pLogClient, L"OnOK OUT");
    }
    WriteLog(g_pLogClient, L"InitInstance OUT");
    return 0;
}
