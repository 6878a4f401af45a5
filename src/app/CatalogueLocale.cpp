#include "app/CatalogueLocale.h"

#include "config/MessageCatalogue.h"

#include <wx/log.h>

CatalogueLocale::CatalogueLocale() = default;
CatalogueLocale::~CatalogueLocale() = default;

bool CatalogueLocale::Apply(const std::wstring& cataloguePath) {
    const std::wstring name = ReadCatalogueText(cataloguePath, kMsgLanguage);
    const wxLanguageInfo* language = name.empty() ? nullptr : wxLocale::FindLanguageInfo(name);
    if (!language)
        return false;
    // A locale missing from this machine is not the operator's concern: no message box.
    wxLogNull quiet;
    auto locale = std::make_unique<wxLocale>();
    if (!locale->Init(language->Language))
        return false;
    m_locale = std::move(locale);
    return true;
}
