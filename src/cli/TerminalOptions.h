#pragma once
/// The options of `terminal add` and `terminal edit`. Passwords never travel on the command
/// line, where every user of the machine sees them: they are typed at a prompt that does not
/// echo, or read from standard input.

#include "cli/TerminalCommands.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

class TerminalOptions {
public:
    void AddTo(CLI::App& command);

    /// The given fields, passwords read as the options ask: one line from standard input per
    /// --password-stdin / --out-password-stdin (input folder first), or a prompt for the
    /// password of a user id given while standard input is a terminal. Nullopt, with a
    /// message, when input ends before a password.
    std::optional<TerminalFields> ReadFields() const;

private:
    /// The options of one side, the input folder ("--path") or the output ("--out-path").
    struct FolderOptions {
        std::optional<std::string> name, path, userId;
        bool passwordFromInput = false;

        /// `what` the name option names.
        void AddTo(CLI::App& command, const std::string& prefix, const std::string& folder,
                   const std::string& what);
        /// False, with a message, when input ended before the password.
        bool Read(std::optional<std::wstring>& nameField, std::optional<std::wstring>& pathField,
                  std::optional<std::wstring>& userField,
                  std::optional<std::wstring>& passwordField, const std::string& folder) const;
    };

    FolderOptions m_input, m_output;
};
