#include "dialogs/OrderViewDlg.h"

#include "config/MessageCatalogue.h"
#include "dialogs/DialogLayout.h"
#include "fileutil/FileUtil.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/datectrl.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>

namespace {

CalendarDay DayOf(const wxDateTime& date) {
    wxDateTime day = date.IsValid() ? date : wxDateTime::Today();
    return CalendarDay{day.GetYear(), static_cast<int>(day.GetMonth()) + 1, day.GetDay()};
}

wxButton* AddButton(wxWindow* dialog, int id, const DialogUnitRect& layout) {
    wxRect rect = ToPixels(dialog, layout);
    return new wxButton(dialog, id, L"", rect.GetPosition(), rect.GetSize());
}

} // namespace

COrderViewDlg::COrderViewDlg(FileSystemResolver& files, const std::wstring& cataloguePath,
                             const std::wstring& folder)
    : wxDialog(nullptr, wxID_ANY, L"", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_strCataloguePath(cataloguePath), m_files(files), m_strFolder(folder) {
    SetFont(LayoutFont());
    CreateControls();
    SetClientSizeInDialogUnits(this, 481, 308);
    ApplyCatalogue();
    ListOrders();
}

void COrderViewDlg::CreateControls() {
    wxRect label = ToPixels(this, {19, 18, 206, 15});
    new wxStaticText(this, kIdListLabel, L"", label.GetPosition(), label.GetSize());
    wxRect list = ToPixels(this, {19, 36, 446, 165});
    m_pList = new wxListCtrl(this, kIdList, list.GetPosition(), list.GetSize(),
                             wxLC_REPORT | wxBORDER_SUNKEN);
    m_pList->InsertColumn(0, Text(kMsgOrderColumnOrder), wxLIST_FORMAT_LEFT, 300);
    m_pList->InsertColumn(1, Text(kMsgOrderColumnDate), wxLIST_FORMAT_LEFT, 500);

    AddButton(this, kIdSelectAll, {37, 210, 74, 22});
    AddButton(this, kIdDeleteSelected, {123, 210, 74, 22});
    AddButton(this, kIdSelectByDate, {36, 247, 74, 22});
    wxRect from = ToPixels(this, {125, 249, 69, 21});
    wxDateTime today = wxDateTime::Today();
    m_pDateFrom = new wxDatePickerCtrl(this, kIdDateFrom, today, from.GetPosition(), from.GetSize(),
                                       wxDP_DROPDOWN | wxDP_SHOWCENTURY);
    wxRect separator = ToPixels(this, {205, 248, 33, 24});
    new wxStaticText(this, kIdDateSeparator, L"", separator.GetPosition(), separator.GetSize(),
                     wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    wxRect to = ToPixels(this, {249, 249, 69, 21});
    m_pDateTo = new wxDatePickerCtrl(this, kIdDateTo, today, to.GetPosition(), to.GetSize(),
                                     wxDP_DROPDOWN | wxDP_SHOWCENTURY);
    WidenDatePickers();
    AddButton(this, wxID_OK, {424, 287, 50, 14})->SetDefault();

    Bind(wxEVT_BUTTON, &COrderViewDlg::OnSelectAll, this, kIdSelectAll);
    Bind(wxEVT_BUTTON, &COrderViewDlg::OnDeleteSelected, this, kIdDeleteSelected);
    Bind(wxEVT_BUTTON, &COrderViewDlg::OnSelectByDate, this, kIdSelectByDate);
}

void COrderViewDlg::WidenDatePickers() {
    // A date in the locale's long form (year, month and day with their signs in Japanese)
    // needs more than the layout's width; the separator and the second picker move along.
    const int width = std::max(m_pDateFrom->GetSize().x, m_pDateFrom->GetBestSize().x);
    const int growth = width - m_pDateFrom->GetSize().x;
    m_pDateFrom->SetSize(width, m_pDateFrom->GetSize().y);
    wxWindow* separator = FindWindow(kIdDateSeparator);
    separator->Move(separator->GetPosition().x + growth, separator->GetPosition().y);
    m_pDateTo->SetSize(m_pDateTo->GetPosition().x + growth, m_pDateTo->GetPosition().y, width,
                       m_pDateTo->GetSize().y);
}

std::wstring COrderViewDlg::Text(int number) const {
    return ReadCatalogueText(m_strCataloguePath, number);
}

void COrderViewDlg::ApplyCatalogue() {
    FindWindow(kIdSelectAll)->SetLabel(Text(kMsgOrderSelectAll));
    FindWindow(kIdDeleteSelected)->SetLabel(Text(kMsgOrderDelete));
    FindWindow(kIdSelectByDate)->SetLabel(Text(kMsgOrderSelectByDate));
    wxWindow* separator = FindWindow(kIdDateSeparator);
    separator->SetLabel(Text(kMsgOrderDateSeparator));
    // The text between the pickers sits on their middle line.
    wxRect picker = m_pDateFrom->GetRect();
    int height = separator->GetTextExtent(separator->GetLabel()).y;
    separator->SetSize(separator->GetPosition().x, picker.y + (picker.height - height) / 2,
                       separator->GetSize().x, height);
    FindWindow(kIdListLabel)->SetLabel(Text(kMsgOrderView));
    FindWindow(wxID_OK)->SetLabel(Text(kMsgOrderOk));
    SetTitle(Text(kMsgOrderView));
}

void COrderViewDlg::ListOrders() {
    m_orders = ListFinishedOrders(m_files, m_strFolder);
    m_paths.clear();
    m_names.clear();
    m_times.clear();
    for (const FinishedOrder& order : m_orders) {
        m_paths.push_back(order.path);
        m_names.push_back(order.name);
        m_times.push_back(order.timeText);
    }
    FillOrderList(m_times, m_names);
}

void COrderViewDlg::FillOrderList(const std::vector<std::wstring>& times,
                                  const std::vector<std::wstring>& names) {
    if (times.size() != names.size())
        return;
    m_pList->DeleteAllItems();
    for (std::size_t i = 0; i < times.size(); ++i) {
        long row = m_pList->InsertItem(static_cast<long>(i), times[i]);
        m_pList->SetItem(row, 1, names[i]);
    }
}

void COrderViewDlg::OnSelectAll(wxCommandEvent&) {
    for (long row = 0; row < m_pList->GetItemCount(); ++row)
        m_pList->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    m_pList->SetFocus();
}

void COrderViewDlg::OnDeleteSelected(wxCommandEvent&) {
    long row = -1;
    while ((row = m_pList->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) != -1) {
        // An order that could not be deleted stays in the list, which shows it.
        if (static_cast<std::size_t>(row) < m_paths.size())
            (void)DeleteItem(m_files, m_paths[row]);
    }
    ListOrders();
}

void COrderViewDlg::OnSelectByDate(wxCommandEvent&) {
    if (m_pList->GetItemCount() == 0)
        return;
    CalendarDay from = DayOf(m_pDateFrom->GetValue());
    CalendarDay to = DayOf(m_pDateTo->GetValue());
    bool anySelected = false;
    for (long row = 0; row < m_pList->GetItemCount(); ++row) {
        bool inRange = static_cast<std::size_t>(row) < m_orders.size() &&
                       IsWithinDays(m_orders[row], from, to);
        m_pList->SetItemState(row, inRange ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
        anySelected = anySelected || inRange;
    }
    if (anySelected)
        m_pList->SetFocus();
}
