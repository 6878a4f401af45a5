#pragma once
/// The folder picker of the terminal edit dialog: a tree of the machine's folders with the
/// chosen folder's path shown above it; OK is enabled only while a folder with a path is
/// selected.

#include <wx/dialog.h>

#include <string>

class wxButton;
class wxGenericDirCtrl;
class wxStaticText;

class CFolderPicker : public wxDialog {
public:
    /// `initialFolder` "CURRENT_DIR" starts at the process's current folder; a folder that
    /// does not exist here (a share of another machine) starts at the top of the tree.
    CFolderPicker(wxWindow* owner, const std::wstring& title, const std::wstring& initialFolder,
                  const std::wstring& okCaption = {}, const std::wstring& cancelCaption = {});

    /// Shows the picker modally; true with the chosen folder's path when the user confirmed
    /// a folder, false when the user cancelled.
    bool Run(std::wstring& chosenFolder);

    /// Selects `folder` in the tree, as the user clicking it would; false when it is not there.
    bool SelectFolder(const std::wstring& folder);
    std::wstring SelectedFolder() const;

private:
    void OnSelectionChanged();

    wxGenericDirCtrl* m_pTree = nullptr;
    wxStaticText* m_pStatus = nullptr;
    wxButton* m_pOkButton = nullptr;
};
