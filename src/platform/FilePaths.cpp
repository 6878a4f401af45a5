#include "platform/FileSystemCalls.h"

#include "platform/TextEncoding.h"

namespace platform {

std::filesystem::path ToFsPath(const std::wstring& path) {
    if constexpr (sizeof(wchar_t) == 2)
        return std::filesystem::path(path);
    else
        return std::filesystem::path(WideToUtf8FileName(path));
}

std::wstring FromFsPath(const std::filesystem::path& path) {
    if constexpr (sizeof(wchar_t) == 2)
        return path.wstring();
    else
        return Utf8FileNameToWide(path.string());
}

} // namespace platform
