#include "platform/Version.h"

#include "platform/ModulePath.h"

#include "WindowsHeaders.h"

#include <vector>

namespace platform {

// The file version of the running executable's version resource, as the shop's support staff
// see it in the file's properties; all zeros when the file carries none.
ProgramVersion GetProgramVersion() {
    const std::wstring path = GetModuleFilePath();
    DWORD ignoredHandle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignoredHandle);
    if (size == 0)
        return {};
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return {};
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", &block, &length) || length < sizeof(VS_FIXEDFILEINFO))
        return {};
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(block);
    return ProgramVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                          HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS)};
}

} // namespace platform
