#include "config/AppSettings.h"

#include "config/ProfileFunctions.h"
#include "config/TextSubstitution.h"
#include "fileutil/FileUtil.h"
#include "logging/LogClient.h"
#include "platform/FilePermissions.h"
#include "platform/FileSystemCalls.h"
#include "platform/Guid.h"
#include "platform/ProcessEnvironment.h"
#include "platform/Registry.h"

#include <cstdio>
#include <cwchar>

namespace {

constexpr wchar_t kConfigSection[] = L"CONFIG";
constexpr wchar_t kCheckUniqueIdKey[] = L"isCheckUniqueID";
constexpr wchar_t kUniqueIdKey[] = L"UniqueID";
// A registry string value holds at most 127 characters and its terminator (256 bytes).
constexpr size_t kRegistryValueMaxLength = 127;
constexpr wchar_t kDataPathVariable[] = L"%DataPath%";

std::wstring AppIniPath(const std::wstring& programFolder) {
    return JoinPath(JoinPath(programFolder, L"ini"), L"QRM_Relaydesk2.ini");
}

/// The LOG setting as a folder of this platform; empty when it is unset or unusable.
std::wstring LogSettingFolder(const std::wstring& programFolder) {
    const std::wstring appIni = AppIniPath(programFolder);
    std::wstring folder = ReadProfileString(appIni, L"PATH", L"LOG", L"");
    if (folder.find(kDataPathVariable) != std::wstring::npos) {
        const std::wstring regSubkey = ReadProfileString(appIni, L"PATH", L"REG_SUBKEY", L"");
        const std::wstring dataPath = ReadRegistryString(regSubkey, L"DataPath");
        // Without the data path "%DataPath%\LOG" would name a folder at the root.
        if (dataPath.empty())
            return {};
        folder = ReplaceAll(folder, kDataPathVariable, dataPath);
    }
    for (wchar_t& c : folder) {
        if (c == L'\\' || c == L'/')
            c = platform::kPathSeparator;
    }
    // The program runs in its own folder, so a relative folder names one inside it.
    if (!folder.empty() && platform::ToFsPath(folder).is_relative())
        folder = JoinPath(programFolder, folder);
    return folder;
}

// The unique id is created on the first run only: isCheckUniqueID is absent exactly when
// reading it yields a fresh id as the default.
void CreateUniqueIdOnFirstRun(const std::wstring& compositionIni) {
    const std::wstring probe = NewUniqueId();
    if (ReadProfileString(compositionIni, kConfigSection, kCheckUniqueIdKey, probe) != probe)
        return;
    if (IsControllerInstalled()) {
        WriteProfileString(compositionIni, kConfigSection, kCheckUniqueIdKey, L"true");
        WriteProfileString(compositionIni, kConfigSection, kUniqueIdKey, NewUniqueId());
    } else {
        WriteProfileString(compositionIni, kConfigSection, kCheckUniqueIdKey, L"false");
        WriteProfileString(compositionIni, kConfigSection, kUniqueIdKey, L"");
    }
    // Rewritten whole: keep the terminals' passwords in it to the owner.
    platform::RestrictFileAccess(compositionIni, platform::FileAccess::kOwnerOnly);
}

} // namespace

std::wstring ReadRegistryString(const std::wstring& subkey, const std::wstring& valueName,
                                int* succeeded) {
    std::optional<std::wstring> value = platform::ReadMachineRegistryString(subkey, valueName);
    const bool fits = value && value->size() <= kRegistryValueMaxLength;
    if (succeeded)
        *succeeded = fits ? 1 : 0;
    return fits ? *value : std::wstring();
}

bool IsControllerInstalled() {
    return platform::MachineRegistryKeyExists(kControllerPresenceKey);
}

std::wstring NewUniqueId() {
    platform::Guid guid;
    if (!platform::CreateGuid(guid))
        WriteLog(g_pLogClient, L"NewUniqueId ERR");
    wchar_t text[40];
    std::swprintf(text, sizeof(text) / sizeof(text[0]),
                  L"%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned long>(guid.data1), guid.data2, guid.data3, guid.data4[0],
                  guid.data4[1], guid.data4[2], guid.data4[3], guid.data4[4], guid.data4[5],
                  guid.data4[6], guid.data4[7]);
    return text;
}

std::wstring ReadLogFolder(const std::wstring& programFolder) {
    if (std::optional<std::wstring> configured = platform::GetEnvironmentValue("RELAYDESK_LOG_DIR"))
        return *configured;
    const std::wstring setting = LogSettingFolder(programFolder);
    return setting.empty() ? JoinPath(programFolder, L"log") : setting;
}

AppSettings ReadAppSettings(const std::wstring& programFolder) {
    AppSettings settings;
    const std::wstring appIni = AppIniPath(programFolder);
    const std::wstring version = ReadProfileString(appIni, L"SYSTEM_INFO", L"PRODUCT_VERSION", L"");
    if (!version.empty())
        settings.version = L"Ver " + version;
    settings.logFolder = ReadLogFolder(programFolder);

    const std::wstring compositionIni = JoinPath(programFolder, L"composition.ini");
    CreateUniqueIdOnFirstRun(compositionIni);
    settings.checkUniqueId =
        ReadProfileString(compositionIni, kConfigSection, kCheckUniqueIdKey, L"false") == L"true";
    settings.uniqueId = ReadProfileString(compositionIni, kConfigSection, kUniqueIdKey, L"");
    return settings;
}
