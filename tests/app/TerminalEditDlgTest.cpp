#include "GuiTestSupport.h"
#include "MountTable.h"

#include "dialogs/FolderPicker.h"
#include "dialogs/TerminalEditDlg.h"
#include "platform/ComputerName.h"
#include "platform/TextEncoding.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/dirdlg.h>
#include <wx/textctrl.h>

namespace {

const wchar_t kSameFoldersText[] = L"入力と出力に同じフォルダは使えません";
const wchar_t kInvalidEntryText[] = L"フォルダまたは名前が正しくありません";

class TerminalEditDlgTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        m_dialog = new CTerminalEditDlg;
        m_dialog->m_strMessage[CTerminalEditDlg::kTextSameFolders] = kSameFoldersText;
        m_dialog->m_strMessage[CTerminalEditDlg::kTextInvalidEntry] = kInvalidEntryText;
        m_dialog->m_strMessage[CTerminalEditDlg::kTextTitle] = L"端末の設定";
        m_dialog->m_usedNames = {L"店頭1", L"", L"受付"};
    }
    void TearDown() override {
        m_dialog->Destroy();
        GuiTest::TearDown();
    }

    /// What the text field `id` shows.
    std::wstring Shown(int id) const {
        return static_cast<wxTextCtrl*>(m_dialog->FindWindow(id))->GetValue().ToStdWstring();
    }
    wxWindow* OkButton() const { return m_dialog->FindWindow(wxID_OK); }
    void Type(int id, const std::wstring& text) { ::Type(m_dialog, id, text); }
    void FillValidEntry() {
        Type(CTerminalEditDlg::kIdPath, L"/srv/端末/in");
        Type(CTerminalEditDlg::kIdName, L"新しい端末");
        Type(CTerminalEditDlg::kIdOutPath, L"/srv/端末/out");
        Type(CTerminalEditDlg::kIdOutName, L"出力");
    }

    CTerminalEditDlg* m_dialog = nullptr;
    ModalScript m_script;
};

TEST_F(TerminalEditDlgTest, OkIsEnabledOnlyWhileBothFoldersAndBothNamesAreFilled) {
    m_dialog->TransferDataToWindow();
    EXPECT_FALSE(OkButton()->IsEnabled());
    Type(CTerminalEditDlg::kIdPath, L"/srv/in");
    Type(CTerminalEditDlg::kIdName, L"店頭");
    Type(CTerminalEditDlg::kIdOutPath, L"/srv/out");
    EXPECT_FALSE(OkButton()->IsEnabled());
    Type(CTerminalEditDlg::kIdOutName, L"出力");
    EXPECT_TRUE(OkButton()->IsEnabled());
    Type(CTerminalEditDlg::kIdName, L"");
    EXPECT_FALSE(OkButton()->IsEnabled());
}

TEST_F(TerminalEditDlgTest, OverWideFirstChangeOfAPrefilledFieldEmptiesIt) {
    m_dialog->m_entry.name = L"受付";
    m_dialog->TransferDataToWindow();
    EXPECT_EQ(Shown(CTerminalEditDlg::kIdName), L"受付");
    Type(CTerminalEditDlg::kIdName, L"受付受付受付受付");
    EXPECT_EQ(m_dialog->m_entry.name, L"");
}

TEST_F(TerminalEditDlgTest, EqualFoldersAreRefusedBeforeAnyOtherCheck) {
    m_script.ThenWhileModal<CTerminalEditDlg>([this](CTerminalEditDlg&) {
        FillValidEntry();
        Type(CTerminalEditDlg::kIdName, L"..");
        Type(CTerminalEditDlg::kIdOutPath, L"/srv/端末/in");
        Click(OkButton());
        EXPECT_TRUE(m_dialog->IsModal());
        Click(m_dialog->FindWindow(wxID_CANCEL));
    });
    m_script.ThenMessageBox(wxID_OK);
    EXPECT_EQ(m_dialog->ShowModal(), wxID_CANCEL);
    EXPECT_EQ(m_script.MessageTexts(), std::vector<std::wstring>{kSameFoldersText});
}

TEST_F(TerminalEditDlgTest, InvalidFolderOrNameKeepsTheDialogOpenWithOneMessage) {
    const struct {
        std::wstring path;
        std::wstring name;
    } invalid[] = {
        {L"..", L"新しい端末"}, // folder of dots only
        {L"/srv/in", L"..."},   // name of dots only
        {L"/srv/in", L"店頭1"}, // name of another terminal
        {L"/srv/in", L"a:b"},   // reserved characters
        {L"/srv/in", L"a|b"},   {L"/srv/in", L"a\\b"},
    };
    m_script.ThenWhileModal<CTerminalEditDlg>([&](CTerminalEditDlg&) {
        FillValidEntry();
        for (const auto& entry : invalid) {
            Type(CTerminalEditDlg::kIdPath, entry.path);
            Type(CTerminalEditDlg::kIdName, entry.name);
            Click(OkButton());
            EXPECT_TRUE(m_dialog->IsModal()) << m_dialog->m_entry.name;
        }
        FillValidEntry();
        Click(OkButton());
    });
    for (std::size_t i = 0; i < std::size(invalid); ++i)
        m_script.ThenMessageBox(wxID_OK);
    EXPECT_EQ(m_dialog->ShowModal(), wxID_OK);
    EXPECT_EQ(m_script.MessageTexts(),
              std::vector<std::wstring>(std::size(invalid), kInvalidEntryText));
    EXPECT_EQ(m_dialog->m_entry.name, L"新しい端末");
    EXPECT_EQ(m_dialog->m_entry.outPath, L"/srv/端末/out");
}

TEST_F(TerminalEditDlgTest, PickingALocalFolderNamesTheTerminalAfterThisComputer) {
    m_dialog->TransferDataToWindow();
    m_folder.MakeFolder(L"注文/in");
    const std::wstring picked = m_folder / L"注文/in";
    Type(CTerminalEditDlg::kIdName, L"前の名前");
    Type(CTerminalEditDlg::kIdPath, m_folder.Path());
    m_script.ThenWhileModal<CFolderPicker>([picked](CFolderPicker& picker) {
        ASSERT_TRUE(picker.SelectFolder(picked));
        Click(picker.FindWindow(wxID_OK));
    });
    Click(m_dialog->FindWindow(CTerminalEditDlg::kIdBrowsePath));
    EXPECT_EQ(m_dialog->m_entry.path, picked);
    EXPECT_EQ(m_dialog->m_entry.name, platform::GetLocalComputerName().substr(0, 15));
    EXPECT_EQ(Shown(CTerminalEditDlg::kIdName), m_dialog->m_entry.name);
}

TEST_F(TerminalEditDlgTest, TypedOrMountedShareNamesTheTerminalAfterItsServer) {
    m_folder.MakeFolder(L"mnt/受付/in");
    const MountTable mounts(m_folder, MountTable::Cifs("//KIOSK7/orders", m_folder / L"mnt/受付"));
    m_dialog->TransferDataToWindow();
    const struct {
        std::function<void(CFolderPicker&)> choose;
        std::wstring path;
        std::wstring name;
    } choices[] = {
        {[](CFolderPicker& picker) { picker.PathField()->SetValue(L"\\\\PC01\\注文\\in"); },
         L"\\\\PC01\\注文\\in", L"PC01"},
        {[](CFolderPicker& picker) { picker.PathField()->SetValue(L"//pc02/spool"); },
         L"//pc02/spool", L"pc02"},
        {[this](CFolderPicker& picker) { picker.SelectFolder(m_folder / L"mnt/受付/in"); },
         L"//KIOSK7/orders/in", L"KIOSK7"},
    };
    for (const auto& choice : choices) {
        m_script.ThenWhileModal<CFolderPicker>([&choice](CFolderPicker& picker) {
            choice.choose(picker);
            Click(picker.FindWindow(wxID_OK));
        });
        Click(m_dialog->FindWindow(CTerminalEditDlg::kIdBrowsePath));
        EXPECT_EQ(Shown(CTerminalEditDlg::kIdPath), choice.path);
        EXPECT_EQ(Shown(CTerminalEditDlg::kIdName), choice.name);
    }
}

TEST_F(TerminalEditDlgTest, PickerRefusesATypedPathWithoutServerOrFolder) {
    m_script.ThenWhileModal<CFolderPicker>([this](CFolderPicker& picker) {
        wxWindow* ok = picker.FindWindow(wxID_OK);
        for (const wchar_t* refused : {L"\\\\", L"\\\\PC01", L"/無いフォルダ", L""}) {
            picker.PathField()->SetValue(refused);
            EXPECT_FALSE(ok->IsEnabled()) << platform::WideToUtf8(refused);
        }
        picker.PathField()->SetValue(m_folder.Path());
        EXPECT_TRUE(ok->IsEnabled());
        Click(picker.FindWindow(wxID_CANCEL));
    });
    m_dialog->TransferDataToWindow();
    Click(m_dialog->FindWindow(CTerminalEditDlg::kIdBrowsePath));
    EXPECT_TRUE(m_script.Done());
}

TEST_F(TerminalEditDlgTest, CancelledFolderPickerLeavesFolderAndName) {
    m_dialog->TransferDataToWindow();
    Type(CTerminalEditDlg::kIdOutPath, L"/srv/out");
    Type(CTerminalEditDlg::kIdOutName, L"出力");
    m_script.Then([](wxDialog*) { return wxID_CANCEL; });
    Click(m_dialog->FindWindow(CTerminalEditDlg::kIdBrowseOutPath));
    EXPECT_EQ(m_dialog->m_entry.outPath, L"/srv/out");
    EXPECT_EQ(m_dialog->m_entry.outName, L"出力");
    EXPECT_TRUE(m_script.Done());
}

} // namespace
