#include "platform/Console.h"

#include "WindowsHeaders.h"

#include <io.h>

#include <iostream>

namespace platform {

bool IsTerminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

std::optional<std::string> ReadSecretLine(const std::string& prompt) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD savedMode = 0;
    const bool interactive = _isatty(_fileno(stdin)) != 0 && GetConsoleMode(input, &savedMode);
    if (interactive) {
        std::fputs(prompt.c_str(), stderr);
        std::fflush(stderr);
        SetConsoleMode(input, savedMode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (interactive) {
        SetConsoleMode(input, savedMode);
        std::fputs("\n", stderr);
    }
    if (!read)
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace platform
