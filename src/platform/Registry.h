#pragma once
/// Read access to the machine-wide registry (HKEY_LOCAL_MACHINE).
///
/// On POSIX the registry is an INI file: section names are key paths
/// ("[SOFTWARE\Hollowmere\VQ Controller\Controller]"), keys are value names. Its path comes
/// from the environment variable RELAYDESK_REGISTRY, default /etc/relaydesk/registry.ini.

#include <optional>
#include <string>

namespace platform {

/// The string value `valueName` of the key `subkey`; nullopt when the key or value is missing.
std::optional<std::wstring> ReadMachineRegistryString(const std::wstring& subkey,
                                                      const std::wstring& valueName);
/// Whether the key `subkey` exists (can be opened for reading).
bool MachineRegistryKeyExists(const std::wstring& subkey);

} // namespace platform
