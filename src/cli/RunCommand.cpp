#include "cli/RunCommand.h"

#include "cli/ConsoleText.h"
#include "cli/RunningController.h"
#include "config/MessageCatalogue.h"
#include "fileutil/ShareResolver.h"
#include "logging/LogClient.h"
#include "platform/Console.h"
#include "platform/ControlSignals.h"
#include "platform/SingleInstance.h"
#include "platform/WindowMessages.h"
#include "transfer/RelaydeskController.h"
#include "transfer/StartupChecks.h"

#include <atomic>

namespace {

constexpr unsigned kMessageWaitMs = 200;

/// The CLI's main loop: the engine's wrapper window lives on this thread.
void DispatchWindowMessages(unsigned waitMs) {
    platform::WaitForWindowMessage(waitMs);
    platform::WindowMessage message;
    while (platform::PeekWindowMessage(message))
        platform::DispatchWindowMessage(message);
}

} // namespace

int RunController(const std::wstring& home, const std::wstring& programFolder, bool untilIdle,
                  Verbosity verbosity) {
    WriteLog(g_pLogClient, L"InitInstance IN");
    platform::SingleInstanceGuard instance(kControllerInstanceName);
    if (!instance.IsFirstInstance()) {
        WriteLog(g_pLogClient, L"InitInstance ERR");
        PrintError(DescribeRunningController(instance));
        return 1;
    }
    // Said before any order is touched: a controller that cannot write its own folders
    // would fail every order quietly.
    if (const std::wstring problem = FindUnwritableFolder(home); !problem.empty()) {
        WriteLog(g_pLogClient, L"InitInstance ERR %s", problem);
        PrintError(problem);
        return 1;
    }
    platform::InstallControlSignals();
    instance.AnnounceReloadable();

    ConsoleView view(stdout, verbosity, platform::IsTerminal(stdout));
    {
        ShareResolver files;
        RelaydeskController controller(view, files, home);
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
        // composition.ini changed by the terminal commands: the controller saves its table
        // when it ends, so it takes the change in before, also while it shuts down.
        const auto takeTableChanges = [&controller] {
            if (platform::TakeReloadRequest())
                controller.ReloadTerminalTable();
        };
        while (!platform::IsStopRequested() && !idle) {
            DispatchWindowMessages(kMessageWaitMs);
            takeTableChanges();
        }

        WriteLog(g_pLogClient, L"OnOK IN");
        takeTableChanges();
        controller.Shutdown([&takeTableChanges] {
            DispatchWindowMessages(0);
            takeTableChanges();
        });
        WriteLog(g_pLogClient, L"OnOK OUT");
    }
    WriteLog(g_pLogClient, L"InitInstance OUT");
    return untilIdle && view.HasUndeliveredOrders() ? kExitUndeliveredOrders : 0;
}
