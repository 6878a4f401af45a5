#include "dialogs/FolderPicker.h"

#include <wx/button.h>
#include <wx/dirctrl.h>
#include <wx/filefn.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {

constexpr int kBorder = 8;

} // namespace

CFolderPicker::CFolderPicker(wxWindow* owner, const std::wstring& title,
                             const std::wstring& initialFolder, const std::wstring& okCaption,
                             const std::wstring& cancelCaption)
    : wxDialog(owner, wxID_ANY, title, wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    wxString start = initialFolder == L"CURRENT_DIR" ? wxGetCwd() : wxString(initialFolder);
    if (!wxDirExists(start))
        start.clear();

    auto* column = new wxBoxSizer(wxVERTICAL);
    m_pStatus = new wxStaticText(this, wxID_ANY, L"", wxDefaultPosition, wxDefaultSize,
                                 wxST_ELLIPSIZE_MIDDLE | wxST_NO_AUTORESIZE);
    column->Add(m_pStatus, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, kBorder);
    m_pTree =
        new wxGenericDirCtrl(this, wxID_ANY, start, wxDefaultPosition, FromDIP(wxSize(420, 360)),
                             static_cast<long>(wxDIRCTRL_DIR_ONLY) | wxBORDER_SUNKEN);
    column->Add(m_pTree, 1, wxEXPAND | wxALL, kBorder);

    auto* buttons = new wxStdDialogButtonSizer;
    m_pOkButton = new wxButton(this, wxID_OK, okCaption);
    m_pOkButton->SetDefault();
    buttons->AddButton(m_pOkButton);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, cancelCaption));
    buttons->Realize();
    column->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, kBorder);
    SetSizerAndFit(column);
    CentreOnParent();

    m_pTree->Bind(wxEVT_DIRCTRL_SELECTIONCHANGED, [this](wxTreeEvent& event) {
        OnSelectionChanged();
        event.Skip();
    });
    OnSelectionChanged();
}

bool CFolderPicker::Run(std::wstring& chosenFolder) {
    if (ShowModal() != wxID_OK || SelectedFolder().empty())
        return false;
    chosenFolder = SelectedFolder();
    return true;
}

bool CFolderPicker::SelectFolder(const std::wstring& folder) {
    if (!wxDirExists(folder))
        return false;
    m_pTree->SetPath(folder);
    OnSelectionChanged();
    return SelectedFolder() == folder;
}

std::wstring CFolderPicker::SelectedFolder() const {
    return m_pTree->GetPath().ToStdWstring();
}

void CFolderPicker::OnSelectionChanged() {
    std::wstring path = SelectedFolder();
    m_pStatus->SetLabel(path);
    m_pOkButton->Enable(!path.empty());
}
