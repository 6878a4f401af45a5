#include "platform/KeyboardLayout.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace platform {
namespace {

bool XkbLayoutIsJapanese() {
    std::ifstream file("/etc/default/keyboard");
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("XKBLAYOUT=", 0) != 0)
            continue;
        std::string layout = line.substr(10);
        if (!layout.empty() && layout.front() == '"')
            layout.erase(0, 1);
        return layout.rfind("jp", 0) == 0;
    }
    return false;
}

bool LocaleIsJapanese() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::string(value).rfind("ja", 0) == 0;
    }
    return false;
}

} // namespace

std::uint16_t GetKeyboardLanguageId() {
    if (const char* configured = std::getenv("RELAYDESK_KEYBOARD_LAYOUT");
        configured && *configured)
        return static_cast<std::uint16_t>(std::strtoul(configured, nullptr, 16) & 0xFFFF);
    return (XkbLayoutIsJapanese() || LocaleIsJapanese()) ? kLanguageJapanese : kLanguageEnglish;
}

} // namespace platform
