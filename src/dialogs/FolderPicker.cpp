#include "dialogs/FolderPicker.h"

#include <wx/dirdlg.h>
#include <wx/filefn.h>

CFolderPicker::CFolderPicker(wxWindow* owner, const std::wstring& title,
                             const std::wstring& initialFolder)
    : m_pOwner(owner), m_strTitle(title), m_strInitialFolder(initialFolder) {}

bool CFolderPicker::Run(std::wstring& chosenFolder) {
    wxString initial = m_strInitialFolder == L"CURRENT_DIR" ? wxGetCwd() : wxString(m_strInitialFolder);
    wxDirDialog picker(m_pOwner, m_strTitle, initial, wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (picker.ShowModal() != wxID_OK || picker.GetPath().empty())
        return false;
    chosenFolder = picker.GetPath().ToStdWstring();
    return true;
}
