#include "CaptionFit.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/datectrl.h>
#include <wx/dcclient.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace {

// The least room a frame leaves around its caption on each side: a button's bevel, a group
// box's corner before its title.
constexpr int kButtonMargin = 4;
constexpr int kGroupTitleIndent = 8;

wxSize TextSize(wxWindow* control, const wxString& text) {
    wxClientDC dc(control);
    dc.SetFont(control->GetFont());
    return dc.GetMultiLineTextExtent(wxControl::RemoveMnemonics(text));
}

/// The size the caption of `control` needs, or an empty size when it has none to check.
wxSize NeededSize(wxWindow* control) {
    const wxString label = control->GetLabel();
    if (dynamic_cast<wxButton*>(control))
        return TextSize(control, label) + wxSize(2 * kButtonMargin, 0);
    if (dynamic_cast<wxStaticBox*>(control))
        return wxSize(TextSize(control, label).x + 2 * kGroupTitleIndent, 0);
    if (dynamic_cast<wxStaticText*>(control))
        return TextSize(control, label);
    if (dynamic_cast<wxCheckBox*>(control) || dynamic_cast<wxRadioButton*>(control) ||
        dynamic_cast<wxDatePickerCtrl*>(control))
        return wxSize(control->GetBestSize().x, 0);
    return {};
}

// Windows paints a group box over its sibling controls: a control on a box must be its child.
bool LiesOnAGroupBoxOf(wxWindow* window, wxWindow* control) {
    for (wxWindow* sibling : window->GetChildren()) {
        if (sibling != control && dynamic_cast<wxStaticBox*>(sibling) &&
            sibling->GetRect().Intersects(control->GetRect()))
            return true;
    }
    return false;
}

void CollectChildren(wxWindow* window, std::vector<std::wstring>& misfits) {
    const wxSize parentRoom = window->GetClientSize();
    for (wxWindow* control : window->GetChildren()) {
        if (control->IsTopLevel() || !control->IsShown())
            continue;
        const wxString name = control->GetLabel().empty()
                                  ? wxString(control->GetClassInfo()->GetClassName())
                                  : control->GetLabel();
        const wxSize needed = NeededSize(control);
        const wxSize room = control->GetSize();
        if (needed.x > room.x || needed.y > room.y)
            misfits.push_back((name + wxString::Format(L" (needs %dx%d, has %dx%d)", needed.x,
                                                       needed.y, room.x, room.y))
                                  .ToStdWstring());
        if (control->GetRect().GetRight() >= parentRoom.x)
            misfits.push_back((name + L" (reaches past its window)").ToStdWstring());
        if (dynamic_cast<wxStaticBox*>(control))
            CollectChildren(control, misfits);
        else if (LiesOnAGroupBoxOf(window, control))
            misfits.push_back((name + L" (lies on a group box, not inside it)").ToStdWstring());
    }
}

} // namespace

std::vector<std::wstring> CaptionsThatDoNotFit(wxWindow* window) {
    std::vector<std::wstring> misfits;
    CollectChildren(window, misfits);
    return misfits;
}
