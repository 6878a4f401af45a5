#include "config/ProfileFunctions.h"

#include "config/ProfileDocument.h"
#include "config/ProfileValues.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"

#include <cstdint>
#include <mutex>
#include <optional>

namespace {

// Writes read, change and replace a whole file; two at once would lose one of the changes.
std::mutex g_writeMutex;

std::wstring CutToBuffer(std::wstring text, std::size_t bufferLength) {
    if (text.size() >= bufferLength)
        text.resize(bufferLength - 1);
    return text;
}

std::wstring WithoutTrailingBlanks(std::wstring text) {
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.pop_back();
    return text;
}

// The value, or nothing when the file, section or key is missing.
std::optional<std::wstring> ReadValue(const std::wstring& file, const std::wstring& section,
                                      const std::wstring& key) {
    if (IsPathTooLong(file))
        return std::nullopt;
    ProfileDocument document;
    if (!document.Load(file))
        return std::nullopt;
    return document.Get(section, key);
}

} // namespace

std::wstring ReadProfileString(const std::wstring& file, const std::wstring& section,
                               const std::wstring& key, std::wstring defaultValue) {
    std::optional<std::wstring> value = ReadValue(file, section, key);
    return CutToBuffer(value ? std::move(*value) : WithoutTrailingBlanks(std::move(defaultValue)),
                       kProfileReadBuffer);
}

void WriteProfileString(const std::wstring& file, std::wstring section, std::wstring key,
                        std::wstring value) {
    if (IsPathTooLong(file))
        return;
    section = CutToBuffer(std::move(section), kProfileWriteBuffer);
    key = CutToBuffer(std::move(key), kProfileWriteBuffer);
    value = CutToBuffer(std::move(value), kProfileWriteBuffer);
    std::lock_guard<std::mutex> lock(g_writeMutex);
    ProfileDocument document;
    // A file that exists but cannot be read must not be replaced by one holding only this key.
    if (!document.Load(file) && ItemExists(LocalFolders(), file))
        return;
    document.Set(section, key, value);
    document.Save(file);
}

int ReadProfileInt(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                   int defaultValue) {
    return ProfileNumberFromText(ReadValue(file, section, key), defaultValue);
}
