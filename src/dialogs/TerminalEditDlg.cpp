#include "dialogs/TerminalEditDlg.h"

#include "dialogs/DialogLayout.h"
#include "dialogs/FolderPicker.h"
#include "dialogs/MessageBox.h"
#include "dialogs/WindowFont.h"

#include <wx/button.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <utility>

namespace {

struct LabelLayout {
    int id;
    int textPosition;
    DialogUnitRect rect;
};

// The labels of both groups and the text each shows.
const LabelLayout kLabels[] = {
    {1006, CTerminalEditDlg::kTextFolder, {12, 25, 56, 8}},
    {1009, CTerminalEditDlg::kTextName, {12, 45, 56, 8}},
    {1007, CTerminalEditDlg::kTextUserId, {12, 65, 56, 8}},
    {1008, CTerminalEditDlg::kTextPassword, {12, 85, 56, 8}},
    {1011, CTerminalEditDlg::kTextFolder, {12, 119, 56, 8}},
    {1014, CTerminalEditDlg::kTextName, {12, 139, 56, 8}},
    {1016, CTerminalEditDlg::kTextUserId, {12, 159, 56, 8}},
    {1018, CTerminalEditDlg::kTextPassword, {12, 179, 56, 8}},
};

constexpr int kInputGroupId = 1023;
constexpr int kOutputGroupId = 1024;

} // namespace

CTerminalEditDlg::CTerminalEditDlg()
    : wxDialog(nullptr, wxID_ANY, L"", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_fields{{
          {kIdPath, &TerminalEntry::path, kFolderFieldLimit, true, true, {}},
          {kIdName, &TerminalEntry::name, kNameFieldLimit, false, true, {}},
          {kIdUserId, &TerminalEntry::userId, kCredentialFieldLimit, false, false, {}},
          {kIdPassword, &TerminalEntry::password, kCredentialFieldLimit, false, false, {}},
          {kIdOutPath, &TerminalEntry::outPath, kOutFolderFieldLimit, true, true, {}},
          {kIdOutName, &TerminalEntry::outName, kOutNameFieldLimit, false, true, {}},
          {kIdOutUserId, &TerminalEntry::outUserId, kOutCredentialFieldLimit, false, false, {}},
          {kIdOutPassword, &TerminalEntry::outPassword, kOutCredentialFieldLimit, false, false, {}},
      }} {
    SetFont(LayoutFont());
    CreateControls();
    SetClientSizeInDialogUnits(this, 318, 223);
}

void CTerminalEditDlg::CreateControls() {
    for (auto [id, layout] : {std::pair{kInputGroupId, DialogUnitRect{7, 11, 304, 93}},
                              std::pair{kOutputGroupId, DialogUnitRect{7, 105, 304, 93}}}) {
        wxRect group = ToPixels(this, layout);
        new wxStaticBox(this, id, L"", group.GetPosition(), group.GetSize());
    }
    for (const LabelLayout& label : kLabels) {
        ControlPlace place = PlaceControl(this, label.rect);
        new wxStaticText(place.parent, label.id, L"", place.position, place.size,
                         wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
    }
    const int editRows[] = {22, 42, 62, 82, 116, 136, 156, 176};
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        Field& field = m_fields[i];
        bool masked = field.controlId == kIdPassword || field.controlId == kIdOutPassword;
        ControlPlace place = PlaceControl(this, {72, editRows[i], 171, 14});
        auto* edit = new wxTextCtrl(place.parent, field.controlId, L"", place.position, place.size,
                                    masked ? wxTE_PASSWORD : 0);
        if (field.limit.maxCharacters > 0)
            edit->SetMaxLength(field.limit.maxCharacters);
        edit->Bind(wxEVT_TEXT, [this, &field](wxCommandEvent&) { OnFieldChanged(field); });
    }
    for (auto [id, layout] : {std::pair{kIdBrowsePath, DialogUnitRect{258, 20, 50, 16}},
                              std::pair{kIdBrowseOutPath, DialogUnitRect{258, 114, 50, 16}}}) {
        ControlPlace place = PlaceControl(this, layout);
        new wxButton(place.parent, id, L"", place.position, place.size);
    }
    ControlPlace ok = PlaceControl(this, {178, 202, 50, 14});
    m_pOkButton = new wxButton(ok.parent, wxID_OK, L"", ok.position, ok.size);
    m_pOkButton->SetDefault();
    ControlPlace cancel = PlaceControl(this, {261, 202, 50, 14});
    new wxButton(cancel.parent, wxID_CANCEL, L"", cancel.position, cancel.size);

    Bind(wxEVT_BUTTON, &CTerminalEditDlg::OnOK, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CTerminalEditDlg::OnCancel, this, wxID_CANCEL);
    Bind(wxEVT_BUTTON, &CTerminalEditDlg::OnBrowsePath, this, kIdBrowsePath);
    Bind(wxEVT_BUTTON, &CTerminalEditDlg::OnBrowseOutPath, this, kIdBrowseOutPath);
}

void CTerminalEditDlg::ApplyCatalogue() {
    SetChildrenFont(this, ToWindowFont(MakeCatalogueFont(m_strMessage[kTextFontFace])));
    FindWindow(kInputGroupId)->SetLabel(m_strMessage[kTextInputGroup]);
    FindWindow(kOutputGroupId)->SetLabel(m_strMessage[kTextOutputGroup]);
    for (const LabelLayout& label : kLabels)
        FindWindow(label.id)->SetLabel(m_strMessage[label.textPosition]);
    FindWindow(kIdBrowsePath)->SetLabel(m_strMessage[kTextBrowse]);
    FindWindow(kIdBrowseOutPath)->SetLabel(m_strMessage[kTextBrowse]);
    m_pOkButton->SetLabel(m_strMessage[kTextOk]);
    FindWindow(wxID_CANCEL)->SetLabel(m_strMessage[kTextCancel]);
    SetTitle(m_strMessage[kTextTitle]);
}

wxTextCtrl* CTerminalEditDlg::TextOf(const Field& field) const {
    return static_cast<wxTextCtrl*>(FindWindow(field.controlId));
}

bool CTerminalEditDlg::TransferDataToWindow() {
    if (!m_bInitialised) {
        m_bInitialised = true;
        for (Field& field : m_fields)
            TextOf(field)->ChangeValue(m_entry.*field.value);
        ApplyCatalogue();
        UpdateOkButton();
        return true;
    }
    // Only changed texts are written, so that the caret of the field being typed in stays.
    for (Field& field : m_fields) {
        wxTextCtrl* edit = TextOf(field);
        if (edit->GetValue().ToStdWstring() != m_entry.*field.value)
            edit->ChangeValue(m_entry.*field.value);
    }
    return true;
}

bool CTerminalEditDlg::TransferDataFromWindow() {
    for (Field& field : m_fields)
        m_entry.*field.value = TextOf(field)->GetValue().ToStdWstring();
    return true;
}

void CTerminalEditDlg::UpdateOkButton() {
    m_pOkButton->Enable(HasRequiredFields(m_entry));
}

void CTerminalEditDlg::OnFieldChanged(Field& field) {
    if (!m_bInitialised || !TransferDataFromWindow())
        return;
    if (field.decidesOk)
        UpdateOkButton();
    std::wstring& value = m_entry.*field.value;
    // The edit control hands out at most as many characters as the width limit; only those
    // are measured.
    std::wstring measured = value.substr(0, static_cast<std::size_t>(field.limit.maxDisplayWidth));
    if (FitsFieldLimit(measured, field.limit)) {
        field.lastAccepted = value;
    } else {
        value = field.lastAccepted;
        if (field.isFolder) {
            wxTextCtrl* edit = TextOf(field);
            edit->SelectNone();
            edit->ShowPosition(edit->GetInsertionPoint());
        }
    }
    TransferDataToWindow();
}

void CTerminalEditDlg::OnBrowsePath(wxCommandEvent&) {
    Browse(&TerminalEntry::path, &TerminalEntry::name);
}

void CTerminalEditDlg::OnBrowseOutPath(wxCommandEvent&) {
    Browse(&TerminalEntry::outPath, &TerminalEntry::outName);
}

void CTerminalEditDlg::Browse(std::wstring TerminalEntry::*folder,
                              std::wstring TerminalEntry::*name) {
    TransferDataFromWindow();
    CFolderPicker picker(this, m_strMessage[kTextPickerTitle], m_entry.*folder,
                         m_strMessage[kTextOk], m_strMessage[kTextCancel]);
    std::wstring chosen;
    if (picker.Run(chosen)) {
        m_entry.*folder = chosen;
        // A server name may be longer than the name field takes; it is cut to the field.
        m_entry.*name = TerminalNameFromFolder(chosen).substr(0, kNameFieldLimit.maxCharacters);
    }
    TransferDataToWindow();
    TransferDataFromWindow();
    UpdateOkButton();
}

void CTerminalEditDlg::OnOK(wxCommandEvent&) {
    TransferDataFromWindow();
    TerminalCheckResult result = CheckTerminalEntry(m_entry, m_usedNames);
    if (result == TerminalCheckResult::kSameFolders) {
        ShowMessageBox(this, m_strMessage[kTextSameFolders], wxOK);
        return;
    }
    if (result != TerminalCheckResult::kAccepted) {
        ShowMessageBox(this, m_strMessage[kTextInvalidEntry], wxOK);
        return;
    }
    EndModal(wxID_OK);
}

void CTerminalEditDlg::OnCancel(wxCommandEvent&) {
    EndModal(wxID_CANCEL);
}
