#include "dialogs/DialogLayout.h"

#include <wx/settings.h>
#include <wx/statbox.h>

namespace {

constexpr int kLayoutPointSize = 9;

// Where the children of a group box count their positions from, in its parent's pixels.
// Windows counts from the box's corner; GTK from the inside of its frame, below the title,
// which the toolkit reports only as the box's borders.
wxPoint ContentOrigin(wxStaticBox* box) {
    wxPoint origin = box->GetPosition() + box->GetClientAreaOrigin();
#ifdef __WXGTK__
    int top = 0;
    int other = 0;
    box->GetBordersForSizer(&top, &other);
    origin += wxPoint(other, top);
#endif
    return origin;
}

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
            return {box, pixels.GetPosition() - ContentOrigin(box), pixels.GetSize()};
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
