#include "dialogs/MessageBox.h"

#include <wx/msgdlg.h>

int ShowMessageBox(wxWindow* parent, const std::wstring& text, long style,
                   const std::wstring& title) {
    wxGenericMessageDialog box(parent, text, title, style);
    return box.ShowModal();
}
