#pragma once
/// The program's message boxes.

#include <wx/window.h>

#include <string>

/// Shows `text` in a modal message box with the buttons of `style` (wxOK, wxYES_NO) in the
/// language of the current locale; returns the id of the button pressed (wxID_YES, ...),
/// wxID_CANCEL when the box was closed without an answer. The box is the toolkit's generic
/// one, a dialog of the program's own event loop, so that ending the program can close it
/// like any other dialog (the native box of GTK cannot be closed from outside).
int ShowMessageBox(wxWindow* parent, const std::wstring& text, long style,
                   const std::wstring& title = {});
