#pragma once
/// The console the program was started from: whether output goes to a person, and reading
/// a secret from the keyboard without showing it.

#include <cstdio>
#include <optional>
#include <string>

namespace platform {

/// Whether `stream` is a terminal (not a pipe, a file or the journal).
bool IsTerminal(std::FILE* stream);

/// One line of standard input without its line end. On a terminal, `prompt` is shown on the
/// error output and the typed characters are not echoed. Empty when input has ended.
std::optional<std::string> ReadSecretLine(const std::string& prompt);

} // namespace platform
