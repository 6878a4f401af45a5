#include "platform/ModulePath.h"

#include "WindowsHeaders.h"

namespace platform {

std::wstring GetModuleFilePath() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length);
}

} // namespace platform
