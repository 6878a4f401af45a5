#include "GuiTestSupport.h"
#include "ShellQuote.h"

#include "app/RelaydeskApp.h"
#include "app/RelaydeskDlg.h"
#include "fileutil/FileUtil.h"
#include "platform/SingleInstance.h"
#include "platform/TextEncoding.h"

#include <wx/app.h>
#include <wx/listctrl.h>
#include <wx/timer.h>

#include <csignal>
#include <cstdlib>

namespace {

CRelaydeskApp& App() {
    return *static_cast<CRelaydeskApp*>(wxTheApp);
}

/// Runs the whole program in the test's program folder: `act` runs on the window once it is
/// up, and the program then ends as the user closes it.
class ProgramRunTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        SaveTerminals(
            {MakeTerminal(L"店頭1"), MakeTerminal(L"KIOSK-2", true), MakeTerminal(L"受付")});
        App().SetProgramFolder(ProgramFolder());
    }
    void TearDown() override {
        App().SetProgramFolder({});
        GuiTest::TearDown();
    }

    void RunProgram(std::function<void(CRelaydeskDlg&)> act) {
        wxTimer watcher;
        bool acted = false;
        watcher.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            auto* window = dynamic_cast<CRelaydeskDlg*>(App().GetTopWindow());
            if (acted || !window || FindLogLine(L"WindowProc OUT 6000") < 0)
                return;
            acted = true;
            act(*window);
        });
        watcher.Start(20);
        EXPECT_FALSE(App().InitInstance());
        watcher.Stop();
        App().ExitInstance();
        EXPECT_TRUE(acted) << "the window never came up";
    }

    /// Ticks the third terminal's box, as the user would; the shutdown must save it.
    static void TickThirdTerminal(CRelaydeskDlg& window) {
        window.List()->CheckItem(2, true);
        window.Controller().ModifyTerminalTable(
            [](TerminalTable& table) { table.slots[2].enabled = 1; });
    }
    void ExpectShutdownRanAndSavedTheTick() const {
        ExpectShutdownRan();
        EXPECT_GT(FindLogLine(L"InitInstance OUT"), FindLogLine(L"OnOK IN"));
        EXPECT_EQ(LoadTerminals().slots[2].enabled, 1) << "the table was saved";
        EXPECT_EQ(LoadTerminals().slots[1].enabled, 1);
    }
};

/// A way the user or the system closes the running program.
struct WayToClose {
    const char* name;
    void (*close)(CRelaydeskDlg& window);
};

void PrintTo(const WayToClose& way, std::ostream* out) {
    *out << way.name;
}

class RelaydeskAppTest : public ProgramRunTest, public ::testing::WithParamInterface<WayToClose> {};

TEST_P(RelaydeskAppTest, EveryWayOfClosingRunsTheShutdownAndSavesTheTable) {
    RunProgram([](CRelaydeskDlg& window) {
        TickThirdTerminal(window);
        GetParam().close(window);
    });
    ExpectShutdownRanAndSavedTheTick();
}

INSTANTIATE_TEST_SUITE_P(
    Closing, RelaydeskAppTest,
    ::testing::Values(WayToClose{"OkButton",
                                 [](CRelaydeskDlg& window) { Click(window.FindWindow(wxID_OK)); }},
                      WayToClose{"Escape",
                                 [](CRelaydeskDlg& window) {
                                     wxKeyEvent escape(wxEVT_CHAR_HOOK);
                                     escape.m_keyCode = WXK_ESCAPE;
                                     escape.SetEventObject(&window);
                                     window.GetEventHandler()->ProcessEvent(escape);
                                 }},
                      WayToClose{"CloseBox", [](CRelaydeskDlg& window) { window.Close(); }},
                      WayToClose{"EndOfSession",
                                 [](CRelaydeskDlg&) {
                                     wxCloseEvent end(wxEVT_END_SESSION);
                                     App().ProcessEvent(end);
                                 }},
                      WayToClose{"TerminateSignal", [](CRelaydeskDlg&) { std::raise(SIGTERM); }},
                      WayToClose{"InterruptSignal", [](CRelaydeskDlg&) { std::raise(SIGINT); }},
                      WayToClose{"HangUpSignal", [](CRelaydeskDlg&) { std::raise(SIGHUP); }}),
    [](const ::testing::TestParamInfo<WayToClose>& way) { return std::string(way.param.name); });

/// A request to end that comes while the user has a dialog open above the window.
class EndDuringDialogTest : public ProgramRunTest,
                            public ::testing::WithParamInterface<void (CRelaydeskDlg::*)()> {};

std::string NameOfCommand(const ::testing::TestParamInfo<void (CRelaydeskDlg::*)()>& command) {
    return command.index == 0 ? "Add" : "Delete";
}

TEST_P(EndDuringDialogTest, ClosesTheDialogWithoutItsEffectAndSaves) {
    RunProgram([](CRelaydeskDlg& window) {
        TickThirdTerminal(window);
        window.List()->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        std::raise(SIGTERM);
        // Runs until the request, arriving inside its modal run, closes it.
        (window.*GetParam())();
    });
    ExpectShutdownRanAndSavedTheTick();
    TerminalTable table = LoadTerminals();
    EXPECT_EQ(table.slots[0].name, L"店頭1") << "nothing deleted";
    EXPECT_FALSE(table.slots[3].InUse()) << "nothing added";
}

INSTANTIATE_TEST_SUITE_P(AddAndDelete, EndDuringDialogTest,
                         ::testing::Values(&CRelaydeskDlg::OnBAdd, &CRelaydeskDlg::OnBDelete),
                         NameOfCommand);

/// The program itself on a display of its own, ended from outside.
class ProgramEndTest : public GuiTest, public ::testing::WithParamInterface<const char*> {};

std::string NameOfOutsideEnd(const ::testing::TestParamInfo<const char*>& end) {
    const char* names[] = {"Terminate", "HangUp", "DisplayLost"};
    return names[end.index];
}

TEST_P(ProgramEndTest, RunsTheShutdownAndSavesTheTable) {
    SaveTerminals({MakeTerminal(L"店頭1", true), MakeTerminal(L"受付")});
    const std::wstring program = InstallProgram();
    const std::wstring display = m_folder / L"display";
    // The table is saved again at the end: gone while the program runs, it must come back.
    std::string script = "set -u\n"
                         "Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>" +
                         Quote(display) +
                         " 2>/dev/null & display=$!\n"
                         "for i in $(seq 600); do [ -s \"$DISPLAY_FILE\" ] && break; sleep 0.05; "
                         "done\n"
                         "DISPLAY=:$(cat \"$DISPLAY_FILE\") \"$PROGRAM\" & program=$!\n"
                         "for i in $(seq 600); do grep -qs 'WindowProc OUT 6000' "
                         "\"$RELAYDESK_LOG_DIR\"/*.log && break; sleep 0.05; done\n"
                         "rm \"$TABLE\"\n" +
                         std::string(GetParam()) +
                         "\nwait $program; status=$?\n"
                         "kill $display 2>/dev/null; wait $display 2>/dev/null\n"
                         "exit $status\n";
    m_folder.WriteFile(L"end.sh", script);
    const std::string command = "DISPLAY_FILE=" + Quote(display) + " PROGRAM=" + Quote(program) +
                                " TABLE=" + Quote(CompositionIni()) + " bash " +
                                Quote(m_folder / L"end.sh");
    EXPECT_EQ(std::system(command.c_str()), 0);

    TerminalTable table = LoadTerminals();
    EXPECT_EQ(table.slots[0].name, L"店頭1");
    EXPECT_EQ(table.slots[0].enabled, 1);
    EXPECT_EQ(table.slots[1].name, L"受付");
    ExpectShutdownRan();
}

INSTANTIATE_TEST_SUITE_P(FromOutside, ProgramEndTest,
                         ::testing::Values("kill -TERM $program", "kill -HUP $program",
                                           "kill $display"),
                         NameOfOutsideEnd);

class SecondCopyTest : public GuiTest {};

TEST_F(SecondCopyTest, TheProgramItselfExitsAtOnceWhileAnotherCopyRuns) {
    platform::SingleInstanceGuard first(L"QRM_Relaydesk2");
    ASSERT_TRUE(first.IsFirstInstance());
    // The tests lie in the program folder, beside the program.
    EXPECT_EQ(std::system(Quote(GetModuleFolder() + L"/relaydesk").c_str()), 0);
    EXPECT_GE(FindLogLine(L"InitInstance ERR"), 0);
    EXPECT_EQ(LogLines().back(), L"ExitInstance");
    EXPECT_TRUE(first.TakeRaiseRequest());
}

class StartUpTest : public GuiTest {};

TEST_F(StartUpTest, FolderThatCannotBeWrittenIsToldInOneMessageBoxBeforeAnythingStarts) {
    // A file where the work folder belongs, as a second installation might leave it.
    m_folder.WriteFile(L"プログラム/TEMP", "not a folder");
    ModalScript script;
    script.ThenMessageBox(wxID_OK);
    App().SetProgramFolder(ProgramFolder());
    EXPECT_FALSE(App().InitInstance());
    App().ExitInstance();
    App().SetProgramFolder({});

    ASSERT_EQ(script.MessageTexts().size(), 1u);
    EXPECT_EQ(script.MessageTexts()[0],
              L"cannot write " + JoinPath(ProgramFolder(), L"TEMP") + L": name taken");
    EXPECT_LT(FindLogLine(L"OnInitDialog IN"), 0) << "the window started";
    EXPECT_GE(FindLogLine(L"InitInstance ERR cannot write " + JoinPath(ProgramFolder(), L"TEMP") +
                          L": name taken"),
              0);
}

} // namespace
