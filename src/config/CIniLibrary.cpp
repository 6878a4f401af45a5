#include "config/CIniLibrary.h"

#include "platform/TextEncoding.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace {

// The companion key that holds a text value's encoding.
std::string CodeKey(const char* key) {
    char codeKey[kTextReadBufferSize];
    std::snprintf(codeKey, sizeof(codeKey), "%s%s", key, "_Code");
    return codeKey;
}

// The text of a read buffer up to its first terminator; the count bounds a block that
// lacks one.
std::wstring TextFromBlock(const char* bytes, int count, int textCode) {
    std::string_view block(bytes, static_cast<size_t>(count));
    if (textCode == kTextCodeUtf16) {
        size_t units = block.size() / 2;
        size_t end = 0;
        while (end < units && (block[2 * end] != '\0' || block[2 * end + 1] != '\0'))
            ++end;
        return platform::Utf16LeToWide(block.substr(0, 2 * end));
    }
    return platform::SystemCodePageToWide(
        block.substr(0, std::min(block.find('\0'), block.size())));
}

} // namespace

CIniLibrary::CIniLibrary(std::wstring libraryName) : m_libraryName(std::move(libraryName)) {}

CIniLibrary::~CIniLibrary() {
    Unload();
}

int CIniLibrary::Load() {
    if (!m_library.Load(m_libraryName))
        return 1;
    m_entry = ResolveSettingsEntryPoints(m_library);
    return 0;
}

void CIniLibrary::Unload() {
    m_entry = {};
    m_library.Free();
}

int CIniLibrary::OpenFile(const char* path, const char* fileKind, int mode) {
    return m_entry.open ? m_entry.open(path, fileKind, mode) : kIniLibraryMissing;
}

int CIniLibrary::Terminate() {
    if (!m_entry.terminate)
        return kIniLibraryMissing;
    m_entry.terminate();
    return 0;
}

int CIniLibrary::GetInt(const char* section, const char* key, int defaultValue) {
    return m_entry.getInt ? m_entry.getInt(section, key, defaultValue) : kIniLibraryMissing;
}

int CIniLibrary::SetInt(const char* section, const char* key, int value) {
    return m_entry.setInt ? m_entry.setInt(section, key, value) : kIniLibraryMissing;
}

int CIniLibrary::GetText(const char* section, const char* key, std::wstring& value) {
    if (!m_entry.getBinary || !m_entry.getInt)
        return kIniLibraryMissing;
    const std::string defaultBytes = platform::WideToSystemCodePage(value);
    char buffer[kTextReadBufferSize];
    int count = m_entry.getBinary(section, key, buffer, sizeof(buffer), defaultBytes.c_str(),
                                  static_cast<int>(defaultBytes.size() + 1));
    if (count <= 0)
        return count;
    int textCode = m_entry.getInt(section, CodeKey(key).c_str(), -1);
    value = TextFromBlock(buffer, std::min(count, kTextReadBufferSize), textCode);
    return count;
}

int CIniLibrary::SetText(const char* section, const char* key, const std::wstring& value,
                         int textCode) {
    if (!m_entry.setInt || !m_entry.setBinary)
        return kIniLibraryMissing;
    m_entry.setInt(section, CodeKey(key).c_str(), textCode);
    std::string bytes;
    if (textCode == kTextCodeSystemCodePage)
        bytes = platform::WideToSystemCodePage(value) + '\0';
    else if (textCode == kTextCodeUtf16)
        bytes = platform::WideToUtf16Le(value) + std::string(2, '\0');
    return m_entry.setBinary(section, key, bytes.empty() ? nullptr : bytes.data(),
                             static_cast<int>(bytes.size()));
}

void ToSystemCodePage(std::wstring_view text, char* buffer, std::size_t bufferSize) {
    if (!buffer || bufferSize == 0)
        return;
    std::string converted = platform::WideToSystemCodePage(text);
    // Drop whole characters from the end until the text and its terminator fit.
    while (converted.size() >= bufferSize && !text.empty()) {
        text.remove_suffix(1);
        converted = platform::WideToSystemCodePage(text);
    }
    std::memcpy(buffer, converted.data(), converted.size());
    buffer[converted.size()] = '\0';
}
