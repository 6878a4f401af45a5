#include "dialogs/FolderPicker.h"

#include "config/TerminalChecks.h"
#include "platform/NetworkShare.h"

#include <wx/button.h>
#include <wx/dirctrl.h>
#include <wx/filefn.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

namespace {

constexpr int kBorder = 8;

} // namespace

CFolderPicker::CFolderPicker(wxWindow* owner, const std::wstring& title,
                             const std::wstring& initialFolder, const std::wstring& okCaption,
                             const std::wstring& cancelCaption)
    : wxDialog(owner, wxID_ANY, title, wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    wxString start = initialFolder == L"CURRENT_DIR" ? wxGetCwd() : wxString(initialFolder);
    const bool startIsHere = wxDirExists(start);

    auto* column = new wxBoxSizer(wxVERTICAL);
    m_pPath = new wxTextCtrl(this, wxID_ANY, L"");
    column->Add(m_pPath, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, kBorder);
    m_pTree = new wxGenericDirCtrl(this, wxID_ANY, startIsHere ? start : wxString(),
                                   wxDefaultPosition, FromDIP(wxSize(420, 360)),
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
    m_pPath->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { UpdateOkButton(); });
    if (startIsHere || !platform::IsNetworkPath(initialFolder))
        OnSelectionChanged();
    else
        m_pPath->ChangeValue(initialFolder);
    UpdateOkButton();
}

bool CFolderPicker::Run(std::wstring& chosenFolder) {
    if (ShowModal() != wxID_OK || ChosenFolder().empty())
        return false;
    chosenFolder = ChosenFolder();
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

std::wstring CFolderPicker::ChosenFolder() const {
    return m_pPath->GetValue().ToStdWstring();
}

void CFolderPicker::OnSelectionChanged() {
    const std::wstring local = SelectedFolder();
    // A folder of a mounted share is kept as the share's path, which names its server.
    const std::wstring network = platform::NetworkPathOfLocalFolder(local);
    m_pPath->ChangeValue(network.empty() ? local : network);
    UpdateOkButton();
}

void CFolderPicker::UpdateOkButton() {
    const std::wstring folder = ChosenFolder();
    // A typed share needs at least its server: "//PC01/".
    const bool isShare = platform::IsNetworkPath(folder) && !TerminalNameFromFolder(folder).empty();
    m_pOkButton->Enable(isShare || (!folder.empty() && wxDirExists(folder)));
}
