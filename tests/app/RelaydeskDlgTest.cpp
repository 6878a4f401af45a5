#include "CaptionFit.h"
#include "FolderNames.h"
#include "GuiTestSupport.h"

#include "app/RelaydeskDlg.h"
#include "dialogs/OrderViewDlg.h"
#include "dialogs/TerminalEditDlg.h"
#include "fileutil/FileUtil.h"
#include "kiosk/KioskOrder.h"
#include "kiosk/SyntheticPhoto.h"
#include "platform/FileSystemCalls.h"
#include "platform/ProcessEnvironment.h"
#include "platform/TextEncoding.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/listctrl.h>
#include <wx/renderer.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {

class RelaydeskDlgTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        StartLogging();
        m_terminals = {MakeTerminal(L"店頭1"), MakeTerminal(L"KIOSK-2", true),
                       MakeTerminal(L"受付")};
        SaveTerminals(m_terminals);
    }
    void TearDown() override {
        delete m_dialog;
        GuiTest::TearDown();
    }

    /// Opens the window and waits until both set-up steps have run.
    void Open() {
        m_dialog = new CRelaydeskDlg(nullptr, ProgramFolder());
        ASSERT_TRUE(PumpUntil([this] { return FindLogLine(L"WindowProc OUT 6000") >= 0; }));
    }
    wxListCtrl* List() const { return m_dialog->List(); }
    wxWindow* Button(int id) const { return m_dialog->FindWindow(id); }
    std::wstring Cell(long row, int column) const {
        return List()->GetItemText(row, column).ToStdWstring();
    }
    void SelectRow(long row) {
        List()->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                             wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        PumpPending();
    }
    TerminalTable Table() const { return m_dialog->Controller().GetTerminalTable(); }

    std::vector<TerminalEntry> m_terminals;
    CRelaydeskDlg* m_dialog = nullptr;
    ModalScript m_script;
};

TEST_F(RelaydeskDlgTest, TickingACheckBoxSwitchesTheTerminalSelectingDoesNot) {
    Open();
    SelectRow(0);
    EXPECT_EQ(Table().slots[0].enabled, 0);

    wxRect row;
    ASSERT_TRUE(List()->GetItemRect(0, row));
    // The check box sits at the start of the row.
    wxPoint box = List()->GetMainWindowOfCompositeControl()->ClientToScreen(
        wxPoint(row.GetLeft() + 12, row.GetTop() + row.GetHeight() / 2));
    wxUIActionSimulator user;
    user.MouseMove(box);
    user.MouseClick();
    ASSERT_TRUE(PumpUntil([this] { return Table().slots[0].enabled == 1; }));
    EXPECT_TRUE(List()->IsItemChecked(0));
    EXPECT_EQ(Table().slots[1].enabled, 1);
}

// In both keyboard languages: the longest texts of the list.
class ShippedCatalogueTest : public RelaydeskDlgTest,
                             public ::testing::WithParamInterface<const wchar_t*> {
protected:
    void SetUp() override {
        RelaydeskDlgTest::SetUp();
        platform::SetEnvironmentValue("RELAYDESK_KEYBOARD_LAYOUT", GetParam());
    }
};

TEST_P(ShippedCatalogueTest, ListShowsWholeNamesAndStatesAndNoStaleTooltip) {
    TerminalEntry missing = MakeTerminal(L"店頭受付キオス");
    missing.path = m_folder / L"無いフォルダ";
    missing.outName = L"ABCDEFGHIJKLMNO";
    SaveTerminals({missing, MakeTerminal(L"KIOSK-2")});
    Open();
    const std::wstring folderNotFound = m_dialog->MessageFile().ends_with(L"JPN.ini")
                                            ? L"接続エラー（フォルダが見つかりません）"
                                            : L"Not connected (folder not found)";
    ASSERT_TRUE(PumpUntil([&] { return Cell(0, 2) == folderNotFound; }));

    wxClientDC dc(List()->GetMainWindowOfCompositeControl());
    dc.SetFont(List()->GetFont());
    const int checkBox = wxRendererNative::Get().GetCheckBoxSize(List()).x;
    for (long row = 0; row < List()->GetItemCount(); ++row) {
        for (int column : {0, 2, 3, 5}) {
            const int room = List()->GetColumnWidth(column) - (column == 0 ? checkBox : 0);
            EXPECT_LT(dc.GetTextExtent(Cell(row, column)).x, room) << Cell(row, column);
        }
        for (int column : {1, 4})
            EXPECT_LE(dc.GetTextExtent(Cell(row, column)).x, List()->GetColumnWidth(column));
    }

    // The tooltip of the row under the mouse goes with the row.
    wxRect rect;
    ASSERT_TRUE(List()->GetItemRect(0, rect));
    wxUIActionSimulator user;
    user.MouseMove(List()->GetMainWindowOfCompositeControl()->ClientToScreen(rect.GetTopLeft() +
                                                                             wxPoint(60, 4)));
    wxWindow* rows = List()->GetMainWindowOfCompositeControl();
    ASSERT_TRUE(PumpUntil([&] { return rows->GetToolTipText().Contains(L"店頭受付キオス"); }));
    EXPECT_TRUE(rows->GetToolTipText().Contains(missing.path));
    SelectRow(0);
    m_script.ThenMessageBox(wxID_YES);
    m_dialog->OnBDelete();
    EXPECT_FALSE(rows->GetToolTipText().Contains(L"店頭受付キオス"));
}

TEST_P(ShippedCatalogueTest, EveryCaptionFitsItsControlInEveryDialog) {
    Open();
    using Misfits = std::vector<std::wstring>;
    EXPECT_EQ(CaptionsThatDoNotFit(m_dialog), Misfits{});
    // The progress field holds its longest text, the one at 100 %, whole.
    wxTextCtrl* progress = m_dialog->Progress();
    const std::wstring full =
        FormatProgressText(ReadCatalogueText(m_dialog->MessageFile(), kMsgProgressFormat), 100);
    m_dialog->View().SetProgressText(full);
    ASSERT_TRUE(PumpUntil([&] { return progress->GetValue() == full; }));
    EXPECT_LE(progress->GetSizeFromTextSize(progress->GetTextExtent(full)).x,
              progress->GetSize().x);
    EXPECT_LT(progress->GetRect().GetRight(), m_dialog->GetClientSize().x);

    SelectRow(1);
    m_script.ThenWhileModal<CTerminalEditDlg>(
        [](CTerminalEditDlg& edit) { EXPECT_EQ(CaptionsThatDoNotFit(&edit), Misfits{}); });
    m_dialog->OnBEdit();
    m_script.Then([](wxDialog* view) {
        EXPECT_EQ(CaptionsThatDoNotFit(view), Misfits{});
        return wxID_OK;
    });
    Click(Button(CRelaydeskDlg::kIdOrderView));
    EXPECT_TRUE(m_script.Done());
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ShippedCatalogueTest, ::testing::Values(L"0411", L"0409"));

TEST_F(RelaydeskDlgTest, ButtonsFollowTheListSelectionAndRoom) {
    Open();
    SelectRow(1);
    for (int id : {CRelaydeskDlg::kIdEdit, CRelaydeskDlg::kIdDelete, CRelaydeskDlg::kIdOrderView,
                   CRelaydeskDlg::kIdAdd})
        EXPECT_TRUE(Button(id)->IsEnabled()) << id;
    List()->SetItemState(1, 0, wxLIST_STATE_SELECTED);
    PumpPending();
    for (int id : {CRelaydeskDlg::kIdEdit, CRelaydeskDlg::kIdDelete, CRelaydeskDlg::kIdOrderView})
        EXPECT_FALSE(Button(id)->IsEnabled()) << id;
}

TEST_F(RelaydeskDlgTest, AddChecksTheEntryAndShowsTheNewTerminalUncheckedUnlessCancelled) {
    Open();
    m_script.ThenWhileModal<CTerminalEditDlg>([](CTerminalEditDlg& dialog) {
        Type(&dialog, CTerminalEditDlg::kIdPath, L"/srv/in");
        Click(dialog.FindWindow(wxID_CANCEL));
    });
    m_dialog->OnBAdd();
    EXPECT_EQ(List()->GetItemCount(), 3);
    EXPECT_FALSE(Table().slots[3].InUse());
    EXPECT_GE(FindLogLine(L"OnBAdd OUT"), 0);

    TerminalEntry added = MakeTerminal(L"新端末");
    m_script.ThenWhileModal<CTerminalEditDlg>([&](CTerminalEditDlg& dialog) {
        Type(&dialog, CTerminalEditDlg::kIdPath, added.path);
        Type(&dialog, CTerminalEditDlg::kIdName, L"受付"); // the name of row 2
        Type(&dialog, CTerminalEditDlg::kIdOutPath, added.outPath);
        Type(&dialog, CTerminalEditDlg::kIdOutName, added.outName);
        Type(&dialog, CTerminalEditDlg::kIdUserId, L"利用者");
        Click(dialog.FindWindow(wxID_OK));
        Type(&dialog, CTerminalEditDlg::kIdName, added.name);
        Click(dialog.FindWindow(wxID_OK));
    });
    m_script.ThenMessageBox(wxID_OK);
    m_dialog->OnBAdd();

    ASSERT_EQ(List()->GetItemCount(), 4);
    EXPECT_EQ(Cell(3, 0), L"新端末");
    EXPECT_FALSE(List()->IsItemChecked(3));
    TerminalEntry stored = Table().slots[3];
    EXPECT_EQ(stored.enabled, 0);
    EXPECT_EQ(stored.path, added.path);
    EXPECT_EQ(stored.userId, L"利用者");
    EXPECT_EQ(m_script.MessageTexts(),
              std::vector<std::wstring>{
                  L"フォルダまたは名前が正しくありません。入力内容を確認してください。"});
    EXPECT_TRUE(m_script.Done());
}

TEST_F(RelaydeskDlgTest, EditRewritesTheRowAndKeepsItsCheckBox) {
    Open();
    SelectRow(1);
    m_script.ThenWhileModal<CTerminalEditDlg>([](CTerminalEditDlg& dialog) {
        EXPECT_EQ(dialog.m_entry.name, L"KIOSK-2");
        EXPECT_EQ(dialog.m_usedNames.size(), 9u) << "every other slot, empty ones included";
        Type(&dialog, CTerminalEditDlg::kIdOutName, L"新しい出力");
        Click(dialog.FindWindow(wxID_OK));
    });
    m_dialog->OnBEdit();
    EXPECT_EQ(Cell(1, 3), L"新しい出力");
    EXPECT_EQ(Cell(1, 0), L"KIOSK-2");
    EXPECT_TRUE(List()->IsItemChecked(1));
    EXPECT_EQ(Table().slots[1].enabled, 1);
    EXPECT_EQ(Table().slots[1].outName, L"新しい出力");
}

TEST_F(RelaydeskDlgTest, DeleteAsksAndMovesTheLaterRowsUpWithTheirCheckBoxes) {
    Open();
    SelectRow(0);
    m_script.ThenMessageBox(wxID_NO);
    m_dialog->OnBDelete();
    EXPECT_EQ(List()->GetItemCount(), 3);
    EXPECT_GE(FindLogLine(L"OnBDelete OUT NO"), 0);

    m_script.ThenMessageBox(wxID_YES);
    m_dialog->OnBDelete();
    ASSERT_EQ(List()->GetItemCount(), 2);
    EXPECT_EQ(Cell(0, 0), L"KIOSK-2");
    EXPECT_TRUE(List()->IsItemChecked(0));
    EXPECT_EQ(Cell(1, 0), L"受付");
    EXPECT_FALSE(List()->IsItemChecked(1));
    TerminalTable table = Table();
    EXPECT_EQ(table.slots[0].name, L"KIOSK-2");
    EXPECT_EQ(table.slots[0].enabled, 1);
    EXPECT_FALSE(table.slots[2].InUse());
    EXPECT_GE(FindLogLine(L"OnBDelete OUT YES " + m_terminals[0].path), 0);
    EXPECT_EQ(m_script.MessageTexts(),
              std::vector<std::wstring>(2, L"選択した端末を削除しますか？"));
}

TEST_F(RelaydeskDlgTest, OrderViewShowsTheSelectedTerminalsOutputFolder) {
    m_folder.MakeFolder(L"端末/KIOSK-2/out/o0000042");
    m_folder.MakeFolder(L"端末/店頭1/out/o0000001");
    Open();
    SelectRow(1);
    m_script.ThenWhileModal<COrderViewDlg>([](COrderViewDlg& view) {
        EXPECT_EQ(view.Names(), std::vector<std::wstring>{L"o0000042"});
    });
    Click(Button(CRelaydeskDlg::kIdOrderView));
    EXPECT_TRUE(m_script.Done());
}

// The stand-in engine composes for ever unless it is cancelled, so closing always meets a
// composition in progress.
class ClosingDuringCompositionTest : public RelaydeskDlgTest {};

TEST_F(ClosingDuringCompositionTest, LeavesTheOrderUnderItsRName) {
    std::wstring error;
    ASSERT_TRUE(kiosk::StartImages());
    ASSERT_TRUE(kiosk::WriteOrder(kiosk::QuickOrder(m_terminals[1].path, 42), error))
        << platform::WideToUtf8(error);
    ASSERT_TRUE(m_folder.Exists(L"端末/KIOSK-2/in/r0000042"));

    std::wstring engine = GetModuleFolder() + L"/fake-zori/complete/QRM_ZO_RI.so";
    m_dialog = new CRelaydeskDlg(nullptr, ProgramFolder(), engine);
    ASSERT_TRUE(PumpUntil([this] { return m_dialog->Controller().IsOrderBusy(); }));
    // Give the transfer time to reach the composition itself.
    ASSERT_TRUE(PumpUntil([this] {
        return !static_cast<wxTextCtrl*>(Button(CRelaydeskDlg::kIdProgress))->IsEmpty();
    }));
    m_dialog->OnOK();

    EXPECT_FALSE(m_dialog->Controller().IsTransferRunning());
    EXPECT_EQ(FolderNames(m_terminals[1].path), Names{L"r0000042"});
    EXPECT_FALSE(m_folder.Exists(L"端末/KIOSK-2/out/o0000042"));
    EXPECT_GE(FindLogLine(L"Relaydesk2 cancel"), 0) << "the composition was cancelled";
    EXPECT_GE(FindLogLine(L"OnOK OUT"), 0);
}

} // namespace
