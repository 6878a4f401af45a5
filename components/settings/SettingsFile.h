#pragma once
/// The one settings file that the library has open: an INI document read at open, the
/// changes made since, and whether they may be written.
///
/// Changes are kept as a list and applied, at flush or terminate, to the file as it is then,
/// so that lines written by others in the meantime (the program's [CONFIG] section) are kept.
/// The file is replaced in one step: a crash leaves the old or the new file, never a mix.
/// Not synchronised; the entry points serialise the calls.

#include "config/ProfileDocument.h"

#include <optional>
#include <string>
#include <vector>

class SettingsFile {
public:
    /// Ends the work on an earlier file (as `Terminate`), then reads `path`. A missing file
    /// opens empty; a file that exists but cannot be read opens empty and refuses changes.
    int Open(const std::wstring& path, int mode);
    /// Writes the changes so far; the file stays open.
    int Flush();
    /// Writes the changes and closes the file.
    int Terminate();

    bool IsOpen() const { return m_bOpen; }
    std::optional<std::wstring> Get(const std::wstring& section, const std::wstring& key) const;
    int Set(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    int RemoveKey(const std::wstring& section, const std::wstring& key);
    int RemoveSection(const std::wstring& section);

private:
    struct Change {
        std::wstring section;
        std::optional<std::wstring> key;   ///< none: the whole section is removed
        std::optional<std::wstring> value; ///< none: the key is removed
    };

    /// 0 when a change may be made now, else the refusal's result.
    int ChangeRefusal() const;
    static void Apply(ProfileDocument& document, const Change& change);
    int Record(Change change);

    std::wstring m_path;
    ProfileDocument m_document;
    std::vector<Change> m_changes;
    bool m_bOpen = false;
    int m_nRefusal = 0;
};
