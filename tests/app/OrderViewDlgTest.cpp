#include "FileTimes.h"
#include "GuiTestSupport.h"

#include "dialogs/OrderViewDlg.h"
#include "fileutil/FileSystemResolver.h"

#include <wx/datectrl.h>
#include <wx/listctrl.h>

namespace {

class OrderViewDlgTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        m_output = m_folder / L"出力";
        m_folder.MakeFolder(L"出力");
    }
    void TearDown() override {
        if (m_dialog)
            m_dialog->Destroy();
        GuiTest::TearDown();
    }

    /// An order folder modified at the given local time.
    void MakeOrder(const std::wstring& name, int month, int day, int hour, int minute, int second) {
        m_folder.MakeFolder(L"出力/" + name + L"/IMAGE");
        SetModifiedTime(m_output + L"/" + name, LocalTime(2026, month, day, hour, minute, second));
    }

    void Open() {
        m_dialog = new COrderViewDlg(LocalFolders(), ProgramFolder() + L"/MSG_JPN.ini", m_output);
    }
    wxListCtrl* List() const { return m_dialog->List(); }
    std::vector<std::wstring> Column(int column) const {
        std::vector<std::wstring> texts;
        for (long row = 0; row < List()->GetItemCount(); ++row)
            texts.push_back(List()->GetItemText(row, column).ToStdWstring());
        return texts;
    }
    std::vector<std::wstring> SelectedNames() const {
        std::vector<std::wstring> names;
        long row = -1;
        while ((row = List()->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) != -1)
            names.push_back(List()->GetItemText(row, 1).ToStdWstring());
        return names;
    }
    void SetDates(int fromDay, int toDay) {
        m_dialog->DateFrom()->SetValue(
            wxDateTime(static_cast<wxDateTime::wxDateTime_t>(fromDay), wxDateTime::Mar, 2026));
        m_dialog->DateTo()->SetValue(
            wxDateTime(static_cast<wxDateTime::wxDateTime_t>(toDay), wxDateTime::Mar, 2026));
    }

    std::wstring m_output;
    COrderViewDlg* m_dialog = nullptr;
};

TEST_F(OrderViewDlgTest, ListsOrderFoldersWithTheirModificationTimes) {
    MakeOrder(L"p0001234", 3, 2, 9, 5, 7);
    MakeOrder(L"o0001234", 3, 1, 23, 59, 59);
    // Which folders are orders: FinishedOrders.ListsOnlyOrderFoldersWithTheirTimes.
    MakeOrder(L"注文0001", 3, 1, 10, 0, 0);
    Open();
    EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"o0001234", L"p0001234"}));
    EXPECT_EQ(Column(0),
              (std::vector<std::wstring>{L"2026/03/01  23:59:59", L"2026/03/02  09:05:07"}));
    EXPECT_EQ(m_dialog->GetTitle().ToStdWstring(), L"出力済み注文");
    EXPECT_EQ(List()->GetColumnCount(), 2);
}

TEST_F(OrderViewDlgTest, MissingOutputFolderGivesAnEmptyList) {
    m_output = m_folder / L"無い";
    Open();
    EXPECT_EQ(List()->GetItemCount(), 0);
    wxCommandEvent none;
    m_dialog->OnSelectByDate(none);
    m_dialog->OnDeleteSelected(none);
    EXPECT_EQ(List()->GetItemCount(), 0);
}

TEST_F(OrderViewDlgTest, SelectByDateCoversBothDaysAndDeleteRemovesExactlyTheSelection) {
    MakeOrder(L"o0000001", 2, 28, 23, 59, 59);
    MakeOrder(L"o0000002", 3, 1, 0, 0, 0);
    MakeOrder(L"o0000003", 3, 2, 12, 0, 0);
    MakeOrder(L"o0000004", 3, 3, 23, 59, 59);
    MakeOrder(L"p0000005", 3, 4, 0, 0, 0);
    Open();
    wxCommandEvent click;
    m_dialog->OnDeleteSelected(click);
    EXPECT_EQ(List()->GetItemCount(), 5) << "nothing selected, nothing deleted";
    m_dialog->OnSelectAll(click);
    EXPECT_EQ(SelectedNames().size(), 5u);

    // Whichever picker holds the earlier day.
    SetDates(3, 1);
    m_dialog->OnSelectByDate(click);
    EXPECT_EQ(SelectedNames(), (std::vector<std::wstring>{L"o0000002", L"o0000003", L"o0000004"}));

    m_dialog->OnDeleteSelected(click);
    EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"o0000001", L"p0000005"}));
    EXPECT_FALSE(m_folder.Exists(L"出力/o0000002"));
    EXPECT_FALSE(m_folder.Exists(L"出力/o0000004"));
    EXPECT_TRUE(m_folder.Exists(L"出力/p0000005/IMAGE"));

    SetDates(4, 4);
    m_dialog->OnSelectByDate(click);
    EXPECT_EQ(SelectedNames(), std::vector<std::wstring>{L"p0000005"});
}

} // namespace
