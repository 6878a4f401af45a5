#include "platform/Registry.h"

#include "platform/TextEncoding.h"

#include <cstdlib>
#include <cwctype>
#include <fstream>
#include <sstream>

namespace platform {
namespace {

std::string RegistryFilePath() {
    const char* configured = std::getenv("RELAYDESK_REGISTRY");
    return configured && *configured ? configured : "/etc/relaydesk/registry.ini";
}

std::wstring Trim(const std::wstring& text) {
    size_t first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos)
        return {};
    size_t last = text.find_last_not_of(L" \t\r\n");
    return text.substr(first, last - first + 1);
}

// Key paths compare like registry keys: without regard to case, with '/' and '\' alike
// and no leading or trailing separators.
std::wstring NormalisedKey(const std::wstring& key) {
    std::wstring out;
    for (wchar_t c : Trim(key))
        out.push_back(c == L'/' ? L'\\'
                                : static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))));
    size_t first = out.find_first_not_of(L'\\');
    size_t last = out.find_last_not_of(L'\\');
    return first == std::wstring::npos ? std::wstring() : out.substr(first, last - first + 1);
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i])))
            return false;
    return true;
}

// Scans the registry file for the key; calls `onValue` for each value line of it.
// Returns whether the key's section exists.
template <typename OnValue> bool ScanKey(const std::wstring& subkey, OnValue onValue) {
    std::ifstream file(RegistryFilePath(), std::ios::binary);
    if (!file)
        return false;
    std::stringstream bytes;
    bytes << file.rdbuf();
    std::wistringstream lines(DecodeText(bytes.str()));
    const std::wstring wanted = NormalisedKey(subkey);
    bool inKey = false;
    bool found = false;
    for (std::wstring line; std::getline(lines, line);) {
        line = Trim(line);
        if (line.empty() || line[0] == L';' || line[0] == L'#')
            continue;
        if (line.front() == L'[' && line.back() == L']') {
            inKey = NormalisedKey(line.substr(1, line.size() - 2)) == wanted;
            found = found || inKey;
            continue;
        }
        size_t equals = line.find(L'=');
        if (inKey && equals != std::wstring::npos) {
            std::wstring value = Trim(line.substr(equals + 1));
            if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
                value = value.substr(1, value.size() - 2);
            if (onValue(Trim(line.substr(0, equals)), value))
                return true;
        }
    }
    return found;
}

} // namespace

std::optional<std::wstring> ReadMachineRegistryString(const std::wstring& subkey,
                                                      const std::wstring& valueName) {
    std::optional<std::wstring> result;
    ScanKey(subkey, [&](const std::wstring& name, const std::wstring& value) {
        if (!EqualNoCase(name, valueName))
            return false;
        result = value;
        return true;
    });
    return result;
}

bool MachineRegistryKeyExists(const std::wstring& subkey) {
    return ScanKey(subkey, [](const std::wstring&, const std::wstring&) { return false; });
}

} // namespace platform
