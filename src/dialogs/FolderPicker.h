#pragma once
/// The folder picker of the terminal edit dialog.

#include <string>

class wxWindow;

class CFolderPicker {
public:
    /// `initialFolder` "CURRENT_DIR" starts at the process's current folder.
    CFolderPicker(wxWindow* owner, const std::wstring& title, const std::wstring& initialFolder);

    /// Shows the picker modally; true with the chosen folder's path when the user confirmed
    /// a folder, false when the user cancelled.
    bool Run(std::wstring& chosenFolder);

private:
    wxWindow* m_pOwner;
    std::wstring m_strTitle;
    std::wstring m_strInitialFolder;
};
