#include "dialogs/WindowFont.h"

#include <algorithm>

#include <wx/statbox.h>

namespace {

// Catalogue heights are character cell heights (ascent plus descent, as the layouts were
// drawn for); the toolkit sizes a font by its em square, about 0.87 of the cell for the
// faces met here. Below 13 pixels anti-aliased kanji blur, so no text is drawn smaller.
constexpr int kSmallestEmHeight = 13;

int EmHeightOfCell(int cellHeight) {
    return std::max(kSmallestEmHeight, (cellHeight * 87 + 50) / 100);
}

} // namespace

wxFont ToWindowFont(const CatalogueFont& font) {
    wxFontInfo info(wxSize(0, EmHeightOfCell(font.height)));
    if (!font.faceName.empty())
        info.FaceName(font.faceName);
    return wxFont(info);
}

void SetChildrenFont(wxWindow* window, const wxFont& font) {
    for (wxWindow* child : window->GetChildren()) {
        child->SetFont(font);
        if (dynamic_cast<wxStaticBox*>(child))
            SetChildrenFont(child, font);
    }
}
