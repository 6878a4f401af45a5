#include "platform/Console.h"

#include "WindowsHeaders.h"

#include <io.h>

namespace platform {

struct HiddenInput::SavedState {
    DWORD mode = 0;
};

bool IsTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

HiddenInput::HiddenInput(const std::string& prompt) {
    auto saved = std::make_unique<SavedState>();
    if (_isatty(_fileno(stdin)) == 0 ||
        !GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &saved->mode))
        return;
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE),
                   saved->mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    m_saved = std::move(saved);
}

HiddenInput::~HiddenInput() {
    if (!m_saved)
        return;
    SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), m_saved->mode);
    std::fputs("\n", stderr);
}

} // namespace platform
