#pragma once
/// The controller's own settings: the application INI (ini/QRM_Relaydesk2.ini), the shop
/// controller's registry entries and the unique id kept in composition.ini's [CONFIG].
///
/// Read once on the main thread while the program starts; nothing here changes afterwards.

#include <cstdint>
#include <string>

/// Registry key whose existence means that the shop's controller software is installed.
inline constexpr wchar_t kControllerPresenceKey[] =
    L"SOFTWARE\\Hollowmere\\VQ Controller\\Controller";
/// Total size of the log files kept by the log rotation.
constexpr std::uint32_t kLogFolderSizeLimit = 104857600;

/// What start-up takes from the settings.
struct AppSettings {
    std::wstring version; ///< "Ver " + PRODUCT_VERSION, or empty when that is empty
    /// The log folder (see ReadLogFolder); the log rotation trims it.
    std::wstring logFolder;
    bool checkUniqueId = false;
    std::wstring uniqueId;
};

/// The string value `valueName` of HKEY_LOCAL_MACHINE\`subkey`, or empty when the key or
/// value cannot be read or is longer than 127 characters. `succeeded`, when given, is set to
/// 1 on success and 0 otherwise.
std::wstring ReadRegistryString(const std::wstring& subkey, const std::wstring& valueName,
                                int* succeeded = nullptr);

/// Whether the shop's controller software is installed on this machine.
bool IsControllerInstalled();

/// A fresh id: 36 upper-case hexadecimal characters with hyphens, no braces.
std::wstring NewUniqueId();

/// The one folder of the log files, which the logging service writes and the log rotation
/// trims: RELAYDESK_LOG_DIR when set; else [PATH] LOG of the application INI with
/// "%DataPath%" replaced, either separator accepted, a relative folder taken from the program
/// folder; else "log" in the program folder, also when LOG names a DataPath that the
/// registry does not hold.
std::wstring ReadLogFolder(const std::wstring& programFolder);

/// Reads the application INI, the registry and the unique id, in this order, from the
/// program folder's "ini/QRM_Relaydesk2.ini" and "composition.ini". On the first run (no
/// isCheckUniqueID in [CONFIG]) it writes isCheckUniqueID and UniqueID: "true" and a fresh
/// id when the controller software is installed, "false" and an empty id otherwise.
AppSettings ReadAppSettings(const std::wstring& programFolder);
