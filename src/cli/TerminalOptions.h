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
    std::optional<std::string> m_name, m_path, m_userId, m_outName, m_outPath, m_outUserId;
    bool m_bPasswordFromInput = false;
    bool m_bOutPasswordFromInput = false;
};
