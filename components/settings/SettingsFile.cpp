#include "SettingsFile.h"

#include "config/SettingsLibraryEntryPoints.h"
#include "platform/FileSystemCalls.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace {

enum class FileState { kMissing, kReadable, kUnreadable };

FileState ReadDocument(const std::wstring& path, ProfileDocument& document) {
    std::error_code error;
    const bool exists = std::filesystem::exists(platform::ToFsPath(path), error);
    if (error)
        return FileState::kUnreadable;
    if (!exists) {
        document = ProfileDocument{};
        return FileState::kMissing;
    }
    return document.Load(path) ? FileState::kReadable : FileState::kUnreadable;
}

} // namespace

int SettingsFile::Open(const std::wstring& path, int mode) {
    if (m_bOpen)
        Terminate();
    m_path = path;
    m_bOpen = true;
    m_changes.clear();
    m_nRefusal = mode == kSettingsOpenReadWrite ? kSettingsOk : kSettingsReadOnly;
    if (ReadDocument(path, m_document) == FileState::kUnreadable) {
        // Writing now would replace a file whose contents were never seen.
        m_document = ProfileDocument{};
        m_nRefusal = kSettingsUnreadable;
        return kSettingsUnreadable;
    }
    return kSettingsOk;
}

int SettingsFile::Flush() {
    if (!m_bOpen)
        return kSettingsNotOpen;
    if (m_changes.empty())
        return kSettingsOk;
    // Start from the file as it is now, so that what others wrote since the open stays.
    ProfileDocument current;
    if (ReadDocument(m_path, current) == FileState::kUnreadable)
        return kSettingsUnreadable;
    if (current.SectionNames().empty())
        current.SetEncoding(m_document.GetEncoding());
    for (const Change& change : m_changes)
        Apply(current, change);
    if (!current.Save(m_path))
        return kSettingsWriteFailed;
    m_document = std::move(current);
    m_changes.clear();
    return kSettingsOk;
}

int SettingsFile::Terminate() {
    if (!m_bOpen)
        return kSettingsNotOpen;
    const int result = Flush();
    m_bOpen = false;
    m_changes.clear();
    m_document = ProfileDocument{};
    return result;
}

std::optional<std::wstring> SettingsFile::Get(const std::wstring& section,
                                              const std::wstring& key) const {
    return m_bOpen ? m_document.Get(section, key) : std::nullopt;
}

int SettingsFile::Set(const std::wstring& section, const std::wstring& key,
                      const std::wstring& value) {
    return Record({section, key, value});
}

int SettingsFile::RemoveKey(const std::wstring& section, const std::wstring& key) {
    return Record({section, key, std::nullopt});
}

int SettingsFile::RemoveSection(const std::wstring& section) {
    return Record({section, std::nullopt, std::nullopt});
}

int SettingsFile::ChangeRefusal() const {
    return m_bOpen ? m_nRefusal : kSettingsNotOpen;
}

void SettingsFile::Apply(ProfileDocument& document, const Change& change) {
    if (!change.key)
        document.RemoveSection(change.section);
    else if (!change.value)
        document.RemoveKey(change.section, *change.key);
    else
        document.Set(change.section, *change.key, *change.value);
}

int SettingsFile::Record(Change change) {
    if (int refusal = ChangeRefusal(); refusal != kSettingsOk)
        return refusal;
    Apply(m_document, change);
    m_changes.push_back(std::move(change));
    return kSettingsOk;
}
