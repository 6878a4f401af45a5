#pragma once
/// Placement of controls from layouts given in dialog units, so that a dialog keeps its
/// proportions whatever font and screen resolution it meets.

#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/toplevel.h>
#include <wx/window.h>

#include <string>

/// A rectangle in dialog units, as the layouts of the dialogs give it.
struct DialogUnitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

/// The pixel rectangle of `rect` in `dialog`, measured with the dialog's current font.
wxRect ToPixels(wxWindow* dialog, const DialogUnitRect& rect);

/// Where a control goes: its parent window and its rectangle in that parent's pixels.
struct ControlPlace {
    wxWindow* parent;
    wxPoint position;
    wxSize size;
};

/// The place of a control laid out at `rect` in `dialog`. A control that lies inside one of
/// the dialog's group boxes is the box's child (Windows paints a group box over sibling
/// controls that lie on it: they show as black rectangles); any other is the dialog's.
/// The group boxes are created before the controls they hold.
ControlPlace PlaceControl(wxWindow* dialog, const DialogUnitRect& rect);

/// The font that dialog units are measured with: the system's GUI font at 9 points, the
/// size the layouts were drawn for.
wxFont LayoutFont();

/// Sizes a dialog's client area from dialog units and centres it on the screen.
void SetClientSizeInDialogUnits(wxTopLevelWindow* dialog, int width, int height);
