#pragma once
/// Whether the captions of a window's controls fit the controls, measured with each
/// control's own font, as the user would see them.

#include <wx/window.h>

#include <string>
#include <vector>

/// One line per control of `window` whose caption does not fit:
/// buttons, labels, check boxes, group titles and date pickers narrower or lower than their
/// text needs, controls reaching past their parent's client area, and controls lying on a
/// group box without being its children; the controls inside group boxes are checked too.
/// Empty when all fit.
std::vector<std::wstring> CaptionsThatDoNotFit(wxWindow* window);
