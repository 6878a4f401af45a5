#include "dialogs/DialogLayout.h"

#include <wx/settings.h>
#include <wx/statbox.h>

namespace {

constexpr int kLayoutPointSize = 9;

} // namespace

wxRect ToPixels(wxWindow* dialog, const DialogUnitRect& rect) {
    wxPoint origin = dialog->ConvertDialogToPixels(wxPoint(rect.x, rect.y));
    wxSize size = dialog->ConvertDialogToPixels(wxSize(rect.width, rect.height));
    return wxRect(origin, size);
}

ControlPlace PlaceControl(wxWindow* dialog, const DialogUnitRect& rect) {
    const wxRect pixels = ToPixels(dialog, rect);
    for (wxWindow* child : dialog->GetChildren()) {
        auto* box = dynamic_cast<wxStaticBox*>(child);
        if (box && box->GetRect().Contains(pixels)) {
            // A child's position counts from its parent's client area.
            const wxPoint origin = box->GetPosition() + box->GetClientAreaOrigin();
            return {box, pixels.GetPosition() - origin, pixels.GetSize()};
        }
    }
    return {dialog, pixels.GetPosition(), pixels.GetSize()};
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
