#pragma once
/// The catalogue font as a font of the window toolkit.

#include "config/MessageCatalogue.h"

#include <wx/font.h>
#include <wx/window.h>

/// A font of the catalogue font's face and cell height (a face that is not installed gets
/// the system's substitute).
wxFont ToWindowFont(const CatalogueFont& font);

/// Gives the controls of `window` the font: its direct children and the controls inside its
/// group boxes. The inner windows of other controls keep theirs.
void SetChildrenFont(wxWindow* window, const wxFont& font);
