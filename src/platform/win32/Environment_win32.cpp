#include "platform/Environment.h"

#include "WindowsHeaders.h"

namespace platform {

std::wstring GetEnvironmentValue(const std::wstring& name) {
    const DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    const DWORD written = GetEnvironmentVariableW(name.c_str(), value.data(), size);
    value.resize(written < size ? written : 0);
    return value;
}

} // namespace platform
