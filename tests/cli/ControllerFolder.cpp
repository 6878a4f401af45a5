#include "ControllerFolder.h"

#include "LogRecords.h"

#include "config/ProfileFunctions.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

void CopyIntoFolder(const fs::path& source, const fs::path& folder) {
    fs::copy(source, folder / source.filename(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

// RELAYDESK_WINDOWS_PROGRAM names the program folder of a Windows build: the tests then run
// its relaydesk-cli.exe under wine (in the wine prefix of the environment), with the same
// checks. The kiosk simulator stays this build's.
const char* WindowsProgramFolder() {
    const char* folder = std::getenv("RELAYDESK_WINDOWS_PROGRAM");
    return folder && *folder ? folder : nullptr;
}

// A path as the program sees it: under wine a Windows path on the drive that maps the root
// folder, since a path starting with '/' reads as a network path on Windows.
std::wstring ProgramPath(const std::wstring& path) {
    if (!WindowsProgramFolder())
        return path;
    std::wstring windows = L"Z:" + path;
    std::replace(windows.begin(), windows.end(), L'/', L'\\');
    return windows;
}

bool IsProgramFile(const fs::path& file) {
    const std::string name = file.filename().string();
    const std::string extension = file.extension().string();
    if (name == "ini" || (name.rfind("MSG_", 0) == 0 && extension == ".ini"))
        return true;
    if (WindowsProgramFolder())
        return name == "relaydesk-cli.exe" || extension == ".dll" || extension == ".icc";
    return name == "relaydesk-cli" || extension == ".so";
}

} // namespace

ControllerFolder::ControllerFolder()
    : m_programFolder(m_root / L"プログラム"), m_logFolder(m_root / L"log") {
    const fs::path build = WindowsProgramFolder() ? fs::path(WindowsProgramFolder())
                                                  : platform::ToFsPath(GetModuleFolder());
    const fs::path program = platform::ToFsPath(m_programFolder);
    fs::create_directories(program);
    fs::create_directories(platform::ToFsPath(m_logFolder));
    fs::create_directories(platform::ToFsPath(m_root / L"run"));
    for (const fs::directory_entry& entry : fs::directory_iterator(build)) {
        if (IsProgramFile(entry.path()))
            CopyIntoFolder(entry.path(), program);
    }
}

std::string ControllerFolder::Environment() const {
    return "RELAYDESK_LOG_DIR=" + Quote(ProgramPath(m_logFolder)) +
           " RELAYDESK_REGISTRY=" + Quote(ProgramPath(m_root / L"registry.ini")) +
           " XDG_RUNTIME_DIR=" + Quote(m_root / L"run") + " ";
}

bool ControllerFolder::UnderWine() {
    return WindowsProgramFolder() != nullptr;
}

std::string ControllerFolder::ProgramCommand() const {
    return UnderWine() ? "wine " + Quote(JoinPath(m_programFolder, L"relaydesk-cli.exe"))
                       : Quote(JoinPath(m_programFolder, L"relaydesk-cli"));
}

std::string ControllerFolder::StartCli(const std::string& arguments) const {
    const std::wstring pidFile = m_root / L"started-pid";
    const std::string command = Environment() + ProgramCommand() + " " + arguments +
                                " >/dev/null 2>&1 & echo $! >" + Quote(pidFile);
    if (std::system(command.c_str()) != 0)
        return {};
    std::string pid = m_root.ReadFile(L"started-pid");
    return pid.substr(0, pid.find('\n'));
}

int ControllerFolder::RunCli(const std::string& arguments, std::string* output,
                             const std::string& launcher) const {
    const std::wstring outputFile = m_root / L"cli-output.txt";
    const std::string command = Environment() + launcher + ProgramCommand() + " " + arguments +
                                " >" + Quote(outputFile) + " 2>&1";
    const int status = std::system(command.c_str());
    std::string said = m_root.ReadFile(L"cli-output.txt");
    // A Windows program ends its console lines with CR LF; a lone CR stays, as on Linux.
    if (UnderWine())
        for (size_t at = said.find("\r\n"); at != std::string::npos; at = said.find("\r\n", at))
            said.erase(at, 1);
    if (output)
        *output = said;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ControllerFolder::WriteOrder(const std::wstring& inputFolder, int orderNumber,
                                  const std::string& options) const {
    const std::string command = Quote(JoinPath(GetModuleFolder(), L"relaydesk-kiosk")) +
                                " --input " + Quote(inputFolder) + " --order " +
                                std::to_string(orderNumber) +
                                " --pages 4 --photos-per-page 1 --megapixels 0.05 " + options;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

void ControllerFolder::AddTerminal(const std::wstring& name, const std::wstring& inputFolder,
                                   const std::wstring& outputFolder) const {
    // An empty folder name stands for a terminal without that folder.
    for (const std::wstring* folder : {&inputFolder, &outputFolder}) {
        if (!folder->empty()) {
            ASSERT_TRUE(MakeFolderPath(*folder));
        }
    }
    std::string output;
    ASSERT_EQ(RunCli("terminal add --name " + Quote(name) + " --path " +
                         Quote(ProgramPath(inputFolder)) + " --out-name " + Quote(name + L"-out") +
                         " --out-path " + Quote(ProgramPath(outputFolder)),
                     &output),
              0)
        << output;
    ASSERT_EQ(RunCli("terminal enable " + Quote(name), &output), 0) << output;
}

void ControllerFolder::SetUniqueIdCheck(bool on, const std::wstring& uniqueId) const {
    const std::wstring ini = JoinPath(m_programFolder, L"composition.ini");
    WriteProfileString(ini, L"CONFIG", L"isCheckUniqueID", on ? L"true" : L"false");
    WriteProfileString(ini, L"CONFIG", L"UniqueID", uniqueId);
}

std::vector<std::wstring> ControllerFolder::LogLines() const {
    return LogMessagesIn(m_logFolder);
}

int ControllerFolder::CountLogLines(const std::wstring& text) const {
    return CountOf(LogLines(), text);
}

int ControllerFolder::CountLogLinesStartingWith(const std::wstring& start) const {
    const std::vector<std::wstring> lines = LogLines();
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(),
                      [&](const std::wstring& line) { return line.starts_with(start); }));
}
