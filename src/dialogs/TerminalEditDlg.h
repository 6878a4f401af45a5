#pragma once
/// Dialog 129: entry and checking of one terminal's input and output folders, names and
/// network credentials. It stores nothing; the caller reads the fields after OK.

#include "config/TerminalChecks.h"

#include <wx/dialog.h>
#include <wx/textctrl.h>

#include <array>
#include <string>
#include <vector>

class wxButton;

class CTerminalEditDlg : public wxDialog {
public:
    /// The twenty catalogue texts handed over by the main dialog, by position.
    using MessageTexts = std::array<std::wstring, 20>;

    enum ControlId {
        kIdPath = 1002,
        kIdBrowsePath = 1003,
        kIdUserId = 1004,
        kIdPassword = 1005,
        kIdName = 1010,
        kIdOutPath = 1012,
        kIdBrowseOutPath = 1013,
        kIdOutName = 1015,
        kIdOutUserId = 1017,
        kIdOutPassword = 1019,
    };

    /// Text positions of `m_strMessage` the dialog uses.
    enum TextPosition {
        kTextOk = 0,
        kTextCancel = 1,
        kTextBrowse = 2,
        kTextTitle = 3,
        kTextFolder = 4,
        kTextUserId = 5,
        kTextPassword = 6,
        kTextFontFace = 7,
        kTextPickerTitle = 9,
        kTextName = 10,
        kTextInvalidEntry = 11,
        kTextInputGroup = 13,
        kTextOutputGroup = 15,
        kTextSameFolders = 19,
    };

    /// Created without a parent, like the main dialog's other windows.
    CTerminalEditDlg();

    /// Initial data, to be set before the modal run.
    MessageTexts m_strMessage;
    std::vector<std::wstring> m_usedNames;
    std::vector<std::wstring> m_usedOutNames;

    /// The eight text fields: initial values before the run, results after OK. The switch
    /// `enabled` is not the dialog's: it is neither shown nor changed.
    TerminalEntry m_entry;

    /// Builds the captions and moves the fields into the controls (also run by ShowModal).
    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    /// Checks the fields as the OK button does; ends the dialog when they pass, otherwise
    /// shows the message of the failed rule and keeps the dialog open.
    void OnOK(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    void OnBrowsePath(wxCommandEvent& event);
    void OnBrowseOutPath(wxCommandEvent& event);

    /// Enables OK when path, outPath, name and outName are all filled in.
    void UpdateOkButton();

private:
    struct Field {
        int controlId;
        std::wstring TerminalEntry::*value;
        TerminalFieldLimit limit;
        bool isFolder;
        bool decidesOk; ///< part of the OK enabling rule
        std::wstring lastAccepted;
    };

    void CreateControls();
    void ApplyCatalogue();
    void OnFieldChanged(Field& field);
    void Browse(std::wstring TerminalEntry::*folder, std::wstring TerminalEntry::*name);
    wxTextCtrl* TextOf(const Field& field) const;

    std::array<Field, 8> m_fields;
    wxButton* m_pOkButton = nullptr;
    bool m_bInitialised = false;
};
