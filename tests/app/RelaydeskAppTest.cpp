#include "GuiTestSupport.h"

#include "app/RelaydeskApp.h"
#include "app/RelaydeskDlg.h"
#include "fileutil/FileUtil.h"
#include "platform/SingleInstance.h"
#include "platform/TextEncoding.h"

#include <wx/app.h>
#include <wx/listctrl.h>
#include <wx/timer.h>

#include <cstdlib>

namespace {

CRelaydeskApp& App() {
    return *static_cast<CRelaydeskApp*>(wxTheApp);
}

enum class CloseBy { kOkButton, kEscape, kCloseBox };

/// Runs the whole program in the test's program folder: `act` runs on the window once it is
/// up, and the program then ends as the user closes it.
class RelaydeskAppTest : public GuiTest, public ::testing::WithParamInterface<CloseBy> {
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
};

void Close(CRelaydeskDlg& window, CloseBy how) {
    switch (how) {
    case CloseBy::kOkButton:
        Click(window.FindWindow(wxID_OK));
        break;
    case CloseBy::kEscape: {
        wxKeyEvent escape(wxEVT_CHAR_HOOK);
        escape.m_keyCode = WXK_ESCAPE;
        escape.SetEventObject(&window);
        window.GetEventHandler()->ProcessEvent(escape);
        break;
    }
    case CloseBy::kCloseBox:
        window.Close();
        break;
    }
}

std::string NameOfWay(const ::testing::TestParamInfo<CloseBy>& way) {
    switch (way.param) {
    case CloseBy::kOkButton:
        return "OkButton";
    case CloseBy::kEscape:
        return "Escape";
    case CloseBy::kCloseBox:
        return "CloseBox";
    }
    return "Unknown";
}

TEST_P(RelaydeskAppTest, EveryWayOfClosingRunsTheShutdownAndSavesTheTable) {
    RunProgram([](CRelaydeskDlg& window) {
        window.List()->CheckItem(2, true);
        window.Controller().ModifyTerminalTable(
            [](TerminalTable& table) { table.slots[2].enabled = 1; });
        Close(window, GetParam());
    });
    std::vector<std::wstring> lines = LogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), L"ExitInstance");
    int shutdown = FindLogLine(L"OnOK IN");
    EXPECT_GT(FindLogLine(L"OnOK OUT", shutdown), shutdown);
    EXPECT_GT(FindLogLine(L"InitInstance OUT"), shutdown);
    EXPECT_EQ(LoadTerminals().slots[2].enabled, 1) << "the table was saved";
    EXPECT_EQ(LoadTerminals().slots[1].enabled, 1);
}

INSTANTIATE_TEST_SUITE_P(Closing, RelaydeskAppTest,
                         ::testing::Values(CloseBy::kOkButton, CloseBy::kEscape,
                                           CloseBy::kCloseBox),
                         NameOfWay);

class SecondCopyTest : public GuiTest {};

TEST_F(SecondCopyTest, RefusesToStartAndAsksTheFirstToComeForward) {
    platform::SingleInstanceGuard first(L"QRM_Relaydesk2");
    ASSERT_TRUE(first.IsFirstInstance());
    App().SetProgramFolder(ProgramFolder());
    EXPECT_FALSE(App().InitInstance());
    App().ExitInstance();
    App().SetProgramFolder({});

    std::vector<std::wstring> lines = LogLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].rfind(L"Start: Ver ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], L"InitInstance IN");
    EXPECT_EQ(lines[2], L"InitInstance ERR");
    EXPECT_EQ(lines[3], L"ExitInstance");
    EXPECT_TRUE(first.TakeRaiseRequest());
    EXPECT_FALSE(m_folder.Exists(L"プログラム/TEMP"));
}

TEST_F(SecondCopyTest, TheProgramItselfExitsAtOnceWhileAnotherCopyRuns) {
    platform::SingleInstanceGuard first(L"QRM_Relaydesk2");
    ASSERT_TRUE(first.IsFirstInstance());
    // The tests lie in the program folder, beside the program.
    std::string program = "'" + platform::WideToUtf8(GetModuleFolder()) + "/relaydesk'";
    EXPECT_EQ(std::system(program.c_str()), 0);
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
