#include "cli/ControllerFolders.h"

#include "cli/ConsoleText.h"
#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"
#include "platform/ProcessEnvironment.h"

#include <filesystem>

std::wstring ControllerFolders::CompositionIni() const {
    return JoinPath(home, L"composition.ini");
}

std::optional<ControllerFolders>
FindControllerFolders(const std::optional<std::wstring>& homeOption) {
    ControllerFolders folders;
    folders.program = GetModuleFolder();
    if (folders.program.empty()) {
        PrintError(L"cannot tell the program folder");
        return std::nullopt;
    }
    if (homeOption && !homeOption->empty())
        folders.home = *homeOption;
    else
        folders.home = platform::GetEnvironmentValue("RELAYDESK_HOME").value_or(folders.program);
    // The controller works in the home folder while it composes: a relative one would move.
    std::error_code error;
    const std::filesystem::path absolute =
        std::filesystem::absolute(platform::ToFsPath(folders.home), error);
    if (!error)
        folders.home = platform::FromFsPath(absolute);
    return folders;
}
