#include "platform/ComputerName.h"

#include "WindowsHeaders.h"

namespace platform {

std::wstring GetLocalComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &size))
        return {};
    return std::wstring(name, size);
}

} // namespace platform
