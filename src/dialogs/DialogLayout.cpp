#include "dialogs/DialogLayout.h"

#include <wx/settings.h>

namespace {

constexpr int kLayoutPointSize = 9;

} // namespace

wxRect ToPixels(wxWindow* dialog, const DialogUnitRect& rect) {
    wxPoint origin = dialog->ConvertDialogToPixels(wxPoint(rect.x, rect.y));
    wxSize size = dialog->ConvertDialogToPixels(wxSize(rect.width, rect.height));
    return wxRect(origin, size);
}

wxFont LayoutFont() {
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    font.SetPointSize(kLayoutPointSize);
    return font;
}

void SetClientSizeInDialogUnits(wxTopLevelWindow* dialog, int width, int height) {
    dialog->SetClientSize(dialog->ConvertDialogToPixels(wxSize(width, height)));
    dialog->CentreOnScreen();
}
