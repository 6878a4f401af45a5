#pragma once
/// The folder picker of the terminal edit dialog: a tree of the machine's folders under a
/// path field. Selecting a folder writes its path into the field (a folder inside a mounted
/// network share as its network path); a share that cannot be browsed here is typed in
/// ("//PC01/share/folder" or "\\PC01\share\folder"). OK is enabled while the field holds a
/// network path or a folder that exists.

#include <wx/dialog.h>

#include <string>

class wxButton;
class wxGenericDirCtrl;
class wxTextCtrl;

class CFolderPicker : public wxDialog {
public:
    /// `initialFolder` "CURRENT_DIR" starts at the process's current folder; a folder that
    /// does not exist here (a share of another machine) starts at the top of the tree with
    /// the folder in the path field.
    CFolderPicker(wxWindow* owner, const std::wstring& title, const std::wstring& initialFolder,
                  const std::wstring& okCaption = {}, const std::wstring& cancelCaption = {});

    /// Shows the picker modally; true with the path field's folder when the user confirmed
    /// one, false when the user cancelled.
    bool Run(std::wstring& chosenFolder);

    /// Selects `folder` in the tree, as the user clicking it would; false when it is not there.
    bool SelectFolder(const std::wstring& folder);
    /// The folder selected in the tree, as a local path.
    std::wstring SelectedFolder() const;
    /// The folder that OK would choose: the path field's text.
    std::wstring ChosenFolder() const;
    wxTextCtrl* PathField() const { return m_pPath; }

private:
    void OnSelectionChanged();
    void UpdateOkButton();

    wxGenericDirCtrl* m_pTree = nullptr;
    wxTextCtrl* m_pPath = nullptr;
    wxButton* m_pOkButton = nullptr;
};
