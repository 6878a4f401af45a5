#include "platform/Registry.h"

#include "WindowsHeaders.h"

namespace platform {
namespace {

// The controller software is a 32-bit program: on 64-bit Windows its keys live in the
// 32-bit view of HKEY_LOCAL_MACHINE, which a 64-bit program sees only when it asks for it.
constexpr REGSAM kControllerView = KEY_WOW64_32KEY;

} // namespace

std::optional<std::wstring> ReadMachineRegistryString(const std::wstring& subkey,
                                                      const std::wstring& valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_QUERY_VALUE | kControllerView,
                      &key) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t buffer[2048] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    LONG status = RegQueryValueExW(key, valueName.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    return std::wstring(buffer);
}

bool MachineRegistryKeyExists(const std::wstring& subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_READ | kControllerView, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace platform
