#pragma once
/// The console the program was started from: whether output goes to a person, and reading
/// a secret from the keyboard without showing it.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace platform {

/// Whether `stream` is a terminal (not a pipe, a file or the journal).
bool IsTerminal(std::FILE* stream);

/// While it lives, characters typed at a terminal on standard input are not echoed, and
/// `prompt` has been shown on the error output. Off a terminal it does nothing.
class HiddenInput {
public:
    explicit HiddenInput(const std::string& prompt);
    ~HiddenInput();
    HiddenInput(const HiddenInput&) = delete;
    HiddenInput& operator=(const HiddenInput&) = delete;

private:
    struct SavedState;
    std::unique_ptr<SavedState> m_saved; ///< the console's settings before; null off a terminal
};

/// One line of standard input without its line end, typed hidden behind `prompt` on a
/// terminal. Nullopt when input has ended.
std::optional<std::string> ReadSecretLine(const std::string& prompt);

} // namespace platform
