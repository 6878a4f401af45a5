#pragma once
/// Dialog 132: the finished orders in one terminal's output folder, with commands to select
/// all, select by a range of days, and delete the selected orders (at once, for good).

#include "transfer/FinishedOrders.h"

#include <wx/dialog.h>

#include <string>
#include <vector>

class FileSystemResolver;

class wxDatePickerCtrl;
class wxListCtrl;

class COrderViewDlg : public wxDialog {
public:
    enum ControlId {
        kIdList = 1024,
        kIdSelectAll = 1025,
        kIdDeleteSelected = 1026,
        kIdSelectByDate = 1027,
        kIdDateFrom = 1028,
        kIdDateTo = 1029,
        kIdDateSeparator = 1030,
        kIdListLabel = 1031,
    };

    /// Lists the order folders of `folder`, reached through `files`, with captions from the
    /// catalogue file.
    COrderViewDlg(FileSystemResolver& files, const std::wstring& cataloguePath,
                  const std::wstring& folder);

    /// Rebuilds the rows from the folder: its sub-folders named like "?00*".
    void ListOrders();
    void OnSelectAll(wxCommandEvent& event);
    void OnDeleteSelected(wxCommandEvent& event);
    /// Selects exactly the rows modified on the days from one picker's day to the other's,
    /// both included, whichever holds the earlier day.
    void OnSelectByDate(wxCommandEvent& event);

    wxListCtrl* List() const { return m_pList; }
    wxDatePickerCtrl* DateFrom() const { return m_pDateFrom; }
    wxDatePickerCtrl* DateTo() const { return m_pDateTo; }
    const std::vector<std::wstring>& Names() const { return m_names; }

private:
    void CreateControls();
    void WidenDatePickers();
    void ApplyCatalogue();
    void FillOrderList(const std::vector<std::wstring>& times,
                       const std::vector<std::wstring>& names);
    std::wstring Text(int number) const;

    std::wstring m_strCataloguePath;
    FileSystemResolver& m_files;
    std::wstring m_strFolder;
    std::vector<std::wstring> m_paths;
    std::vector<std::wstring> m_names;
    std::vector<std::wstring> m_times;
    /// The order behind each row; the date command compares its time, not the row's text.
    std::vector<FinishedOrder> m_orders;
    wxListCtrl* m_pList = nullptr;
    wxDatePickerCtrl* m_pDateFrom = nullptr;
    wxDatePickerCtrl* m_pDateTo = nullptr;
};
