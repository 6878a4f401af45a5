#pragma once
/// The toolkit's locale for the language of the message catalogue, so that what the
/// toolkit draws itself (the buttons of message boxes, the folder picker's own names, the
/// order of year, month and day in the date pickers) speaks the catalogue's language,
/// whatever the session's environment says.

#include <wx/intl.h>

#include <memory>
#include <string>

/// Thread contract: GUI thread only; set before the worker threads start, as it changes
/// the process's C locale. The locale in force before returns when the object goes.
class CatalogueLocale {
public:
    CatalogueLocale();
    ~CatalogueLocale();
    CatalogueLocale(const CatalogueLocale&) = delete;
    CatalogueLocale& operator=(const CatalogueLocale&) = delete;

    /// Takes the language named by the catalogue's message 1001 ("ja_JP"); a catalogue
    /// without it, or a language this machine has no locale for, leaves the locale as it is.
    /// False in those cases.
    bool Apply(const std::wstring& cataloguePath);

private:
    std::unique_ptr<wxLocale> m_locale;
};
