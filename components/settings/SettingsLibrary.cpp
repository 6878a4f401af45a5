// The sixteen C entry points of the settings library QRM_UTIL. Each call takes the
// library's lock, so calls from several threads are serialised; the open file is the
// library's one piece of state.

#include "ByteBlockText.h"
#include "SettingsFile.h"

#include "config/CIniLibrary.h"
#include "config/SettingsLibraryEntryPoints.h"
#include "platform/SharedLibraryExport.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

namespace {

std::mutex g_lock;
SettingsFile g_file;

std::wstring Wide(const char* text) {
    return platform::SystemCodePageToWide(text);
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// The stored value of section/key, or nullopt when no file is open or the key is absent.
std::optional<std::wstring> StoredValue(const char* section, const char* key) {
    if (!section || !key)
        return std::nullopt;
    return g_file.Get(Wide(section), Wide(key));
}

int Store(const char* section, const char* key, const std::wstring& value) {
    if (!section || !key)
        return kSettingsNotOpen;
    return g_file.Set(Wide(section), Wide(key), value);
}

// A whole decimal number; values up to 2^32 - 1 wrap, so that an unsigned setting stored
// as such reads back as the same 32 bits.
std::optional<int> ParseInt(const std::wstring& text) {
    const std::string digits = platform::WideToUtf8(text);
    const char* begin = digits.data() + (digits.starts_with('+') ? 1 : 0);
    const char* end = digits.data() + digits.size();
    long long value = 0;
    auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || begin == end || value < INT32_MIN ||
        value > UINT32_MAX)
        return std::nullopt;
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

std::optional<double> ParseDouble(const std::wstring& text) {
    const std::string digits = platform::WideToUtf8(text);
    double value = 0;
    auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || stop != digits.data() + digits.size() || digits.empty())
        return std::nullopt;
    return value;
}

// Copies a text into a caller's buffer as the system code page, cut to fit; returns the
// number of bytes before the terminator.
int CopyText(const std::wstring& text, char* buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0)
        return kSettingsNotOpen;
    ToSystemCodePage(text, buffer, static_cast<size_t>(bufferSize));
    return static_cast<int>(std::strlen(buffer));
}

int GetText(const char* section, const char* key, char* buffer, int bufferSize,
            const char* defaultValue) {
    std::optional<std::wstring> value = StoredValue(section, key);
    return CopyText(value ? *value : Wide(defaultValue ? defaultValue : ""), buffer, bufferSize);
}

// Bytes copied into the buffer, cut to its size.
int CopyBytes(std::string_view bytes, void* buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0)
        return kSettingsNotOpen;
    const size_t count = std::min(bytes.size(), static_cast<size_t>(bufferSize));
    std::memcpy(buffer, bytes.data(), count);
    return static_cast<int>(count);
}

} // namespace

RELAYDESK_EXPORT int QRM_PlxIniOpen(const char* path, const char* fileKind, int mode) {
    std::lock_guard lock(g_lock);
    // The file kind names what the caller keeps in the file; every kind is stored alike.
    if (!path || !*path || !fileKind)
        return kSettingsNotOpen;
    return g_file.Open(Wide(path), mode);
}

RELAYDESK_EXPORT int QRM_PlxIniOpenForWrite(const char* path, const char* fileKind) {
    return QRM_PlxIniOpen(path, fileKind, kSettingsOpenReadWrite);
}

RELAYDESK_EXPORT int QRM_PlxIniFlush() {
    std::lock_guard lock(g_lock);
    return g_file.Flush();
}

RELAYDESK_EXPORT int QRM_PlxIniTerminate() {
    std::lock_guard lock(g_lock);
    return g_file.Terminate();
}

RELAYDESK_EXPORT int QRM_PlxIniGet(const char* section, const char* key, char* buffer,
                                   int bufferSize, const char* defaultValue) {
    std::lock_guard lock(g_lock);
    return GetText(section, key, buffer, bufferSize, defaultValue);
}

RELAYDESK_EXPORT int QRM_PlxIniGetInt(const char* section, const char* key, int defaultValue) {
    std::lock_guard lock(g_lock);
    std::optional<std::wstring> value = StoredValue(section, key);
    std::optional<int> number = value ? ParseInt(*value) : std::nullopt;
    return number.value_or(defaultValue);
}

RELAYDESK_EXPORT double QRM_PlxIniGetDouble(const char* section, const char* key,
                                            double defaultValue) {
    std::lock_guard lock(g_lock);
    std::optional<std::wstring> value = StoredValue(section, key);
    std::optional<double> number = value ? ParseDouble(*value) : std::nullopt;
    return number.value_or(defaultValue);
}

RELAYDESK_EXPORT int QRM_PlxIniGetString(const char* section, const char* key, char* buffer,
                                         int bufferSize, const char* defaultValue) {
    std::lock_guard lock(g_lock);
    return GetText(section, key, buffer, bufferSize, defaultValue);
}

RELAYDESK_EXPORT int QRM_PlxIniGetBinary(const char* section, const char* key, void* buffer,
                                         int bufferSize, const void* defaultBytes,
                                         int defaultSize) {
    std::lock_guard lock(g_lock);
    std::optional<std::wstring> value = StoredValue(section, key);
    if (!value) {
        if (!defaultBytes || defaultSize <= 0)
            return 0;
        return CopyBytes({static_cast<const char*>(defaultBytes), static_cast<size_t>(defaultSize)},
                         buffer, bufferSize);
    }
    std::optional<std::string> bytes = DecodeByteBlock(*value);
    return bytes ? CopyBytes(*bytes, buffer, bufferSize) : kSettingsMalformed;
}

RELAYDESK_EXPORT int QRM_PlxIniSet(const char* section, const char* key, const char* value) {
    std::lock_guard lock(g_lock);
    if (!value)
        return kSettingsNotOpen;
    if (HasLineBreak(value))
        return kSettingsBadValue;
    return Store(section, key, Wide(value));
}

RELAYDESK_EXPORT int QRM_PlxIniSetInt(const char* section, const char* key, int value) {
    std::lock_guard lock(g_lock);
    return Store(section, key, std::to_wstring(value));
}

RELAYDESK_EXPORT int QRM_PlxIniSetDouble(const char* section, const char* key, double value) {
    std::lock_guard lock(g_lock);
    char digits[64];
    auto [end, error] = std::to_chars(digits, digits + sizeof(digits), value);
    if (error != std::errc())
        return kSettingsBadValue;
    return Store(section, key, Wide(std::string(digits, end).c_str()));
}

RELAYDESK_EXPORT int QRM_PlxIniSetString(const char* section, const char* key, const char* value) {
    std::lock_guard lock(g_lock);
    if (!value)
        return kSettingsNotOpen;
    if (HasLineBreak(value))
        return kSettingsBadValue;
    // Quoted, so that blanks and quotes at either end survive the reader's trimming.
    return Store(section, key, L"\"" + Wide(value) + L"\"");
}

RELAYDESK_EXPORT int QRM_PlxIniSetBinary(const char* section, const char* key, const void* bytes,
                                         int size) {
    std::lock_guard lock(g_lock);
    if (size < 0 || (size > 0 && !bytes))
        return kSettingsNotOpen;
    return Store(section, key,
                 EncodeByteBlock({static_cast<const char*>(bytes), static_cast<size_t>(size)}));
}

RELAYDESK_EXPORT int QRM_PlxIniDeleteSection(const char* section) {
    std::lock_guard lock(g_lock);
    if (!section)
        return kSettingsNotOpen;
    return g_file.RemoveSection(Wide(section));
}

RELAYDESK_EXPORT int QRM_PlxIniDeleteKey(const char* section, const char* key) {
    std::lock_guard lock(g_lock);
    if (!section || !key)
        return kSettingsNotOpen;
    return g_file.RemoveKey(Wide(section), Wide(key));
}
