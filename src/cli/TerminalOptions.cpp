#include "cli/TerminalOptions.h"

#include "cli/ConsoleText.h"
#include "platform/Console.h"
#include "platform/TextEncoding.h"

namespace {

constexpr char kInputFolder[] = "input folder";
constexpr char kOutputFolder[] = "output folder";

std::optional<std::wstring> Wide(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    return platform::Utf8ToWide(*text);
}

} // namespace

void TerminalOptions::FolderOptions::AddTo(CLI::App& command, const std::string& prefix,
                                           const std::string& folder, const std::string& what) {
    command.add_option("--" + prefix + "name", name,
                       what + " (add: derived from the " + folder + ")");
    command.add_option("--" + prefix + "path", path, folder);
    command.add_option("--" + prefix + "user", userId,
                       "network user id of the " + folder +
                           " (asks for its password on a terminal)");
    command.add_flag("--" + prefix + "password-stdin", passwordFromInput,
                     "read the password of the " + folder + " from standard input");
}

bool TerminalOptions::FolderOptions::Read(std::optional<std::wstring>& nameField,
                                          std::optional<std::wstring>& pathField,
                                          std::optional<std::wstring>& userField,
                                          std::optional<std::wstring>& passwordField,
                                          const std::string& folder) const {
    nameField = Wide(name);
    pathField = Wide(path);
    userField = Wide(userId);
    if (!passwordFromInput && !(userId && platform::IsTerminal(stdin)))
        return true;
    const std::optional<std::string> line =
        platform::ReadSecretLine("password of the " + folder + ": ");
    if (!line) {
        PrintError(L"standard input ended before the password of the " +
                   platform::Utf8ToWide(folder));
        return false;
    }
    passwordField = platform::Utf8ToWide(*line);
    return true;
}

void TerminalOptions::AddTo(CLI::App& command) {
    m_input.AddTo(command, "", kInputFolder, "terminal name");
    m_output.AddTo(command, "out-", kOutputFolder, "output name");
}

std::optional<TerminalFields> TerminalOptions::ReadFields() const {
    TerminalFields fields;
    if (!m_input.Read(fields.name, fields.path, fields.userId, fields.password, kInputFolder) ||
        !m_output.Read(fields.outName, fields.outPath, fields.outUserId, fields.outPassword,
                       kOutputFolder))
        return std::nullopt;
    return fields;
}
