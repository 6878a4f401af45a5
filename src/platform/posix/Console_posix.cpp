#include "platform/Console.h"

#include <termios.h>
#include <unistd.h>

namespace platform {

struct HiddenInput::SavedState {
    termios settings{};
};

bool IsTerminal(std::FILE* stream) {
    return isatty(fileno(stream)) == 1;
}

HiddenInput::HiddenInput(const std::string& prompt) {
    auto saved = std::make_unique<SavedState>();
    if (isatty(STDIN_FILENO) != 1 || tcgetattr(STDIN_FILENO, &saved->settings) != 0)
        return;
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    termios silent = saved->settings;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    m_saved = std::move(saved);
}

HiddenInput::~HiddenInput() {
    if (!m_saved)
        return;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved->settings);
    // The line end typed was not echoed either.
    std::fputs("\n", stderr);
}

} // namespace platform
