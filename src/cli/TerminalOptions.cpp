#include "cli/TerminalOptions.h"

#include "cli/ConsoleText.h"
#include "platform/Console.h"
#include "platform/TextEncoding.h"

namespace {

std::optional<std::wstring> Wide(const std::optional<std::string>& text) {
    if (!text)
        return std::nullopt;
    return platform::Utf8ToWide(*text);
}

/// The password for `userId`, when the options ask for one; false when input ended first.
bool ReadPassword(bool fromInput, const std::optional<std::string>& userId,
                  const std::string& prompt, std::optional<std::wstring>& password) {
    if (!fromInput && !(userId && platform::IsTerminal(stdin)))
        return true;
    const std::optional<std::string> line = platform::ReadSecretLine(prompt);
    if (!line) {
        PrintError(L"standard input ended before the password");
        return false;
    }
    password = platform::Utf8ToWide(*line);
    return true;
}

} // namespace

void TerminalOptions::AddTo(CLI::App& command) {
    command.add_option("--name", m_name, "terminal name (add: from the input folder)");
    command.add_option("--path", m_path, "input folder");
    command.add_option("--user", m_userId,
                       "network user id of the input folder (asks for its password on a "
                       "terminal)");
    command.add_flag("--password-stdin", m_bPasswordFromInput,
                     "read the input folder's password from standard input");
    command.add_option("--out-name", m_outName, "output name (add: from the output folder)");
    command.add_option("--out-path", m_outPath, "output folder");
    command.add_option("--out-user", m_outUserId,
                       "network user id of the output folder (asks for its password on a "
                       "terminal)");
    command.add_flag("--out-password-stdin", m_bOutPasswordFromInput,
                     "read the output folder's password from standard input (after the "
                     "input folder's)");
}

std::optional<TerminalFields> TerminalOptions::ReadFields() const {
    TerminalFields fields{Wide(m_name),    Wide(m_path),    Wide(m_userId),    std::nullopt,
                          Wide(m_outName), Wide(m_outPath), Wide(m_outUserId), std::nullopt};
    if (!ReadPassword(m_bPasswordFromInput, m_userId, "password of the input folder: ",
                      fields.password) ||
        !ReadPassword(m_bOutPasswordFromInput, m_outUserId, "password of the output folder: ",
                      fields.outPassword))
        return std::nullopt;
    return fields;
}
