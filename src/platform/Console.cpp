#include "platform/Console.h"

#include <iostream>

namespace platform {

std::optional<std::string> ReadSecretLine(const std::string& prompt) {
    std::string line;
    bool read = false;
    {
        const HiddenInput hidden(prompt);
        read = static_cast<bool>(std::getline(std::cin, line));
    }
    if (!read)
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace platform
