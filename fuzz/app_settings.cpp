// The program's settings file (ini/QRM_Relaydesk2.ini) with the registry stand-in it refers
// to, both from the input: the log folder is always an absolute folder of this platform (the
// program's "log" folder when LOG names a data path the registry lacks), the version is
// "Ver " and PRODUCT_VERSION, and the first run writes a unique id exactly when the
// controller software is installed.

#include "FuzzSupport.h"

#include "config/AppSettings.h"
#include "config/ProfileDocument.h"
#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"

#include <cstdlib>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string registry =
        input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(0, 512));
    const std::string appIni = input.ConsumeRemainingBytesAsString();

    const fs::path& program = ScratchFolder();
    static const bool prepared = [&program] {
        fs::create_directories(program / "ini");
        unsetenv("RELAYDESK_LOG_DIR");
        return setenv("RELAYDESK_REGISTRY", (program / "registry.ini").c_str(), 1) == 0;
    }();
    Check(prepared, "the scratch program folder is ready");
    WriteScratchFile(program / "registry.ini", registry);
    WriteScratchFile(program / "ini" / "QRM_Relaydesk2.ini", appIni);
    fs::remove(program / "composition.ini");

    const std::wstring programFolder = platform::FromFsPath(program);
    const AppSettings settings = ReadAppSettings(programFolder);
    Check(!settings.logFolder.empty() && platform::ToFsPath(settings.logFolder).is_absolute(),
          "the log folder is absolute", settings.logFolder);
    Check(settings.logFolder.find(L'\\') == std::wstring::npos,
          "the log folder uses this platform's separator", settings.logFolder);

    ProfileDocument ini;
    ini.LoadFromBytes(appIni);
    const std::wstring log = ini.Get(L"PATH", L"LOG").value_or(L"");
    if (log.empty())
        Check(settings.logFolder == JoinPath(programFolder, L"log"),
              "without LOG the log folder is the program's", settings.logFolder);
    const std::wstring version = ini.Get(L"SYSTEM_INFO", L"PRODUCT_VERSION").value_or(L"");
    Check(settings.version == (version.empty() ? L"" : L"Ver " + version.substr(0, 259)),
          "the version is read", settings.version);

    const bool installed = IsControllerInstalled();
    Check(settings.checkUniqueId == installed && settings.uniqueId.size() == (installed ? 36u : 0u),
          "a unique id exactly when the controller is installed", settings.uniqueId);
    return 0;
}
