#include "TestRegistry.h"

#include "platform/TextEncoding.h"
#include "platform/win32/WindowsHeaders.h"

#include <algorithm>
#include <sstream>

namespace {

std::wstring Trimmed(const std::wstring& text) {
    const auto first = text.find_first_not_of(L" \t\r");
    if (first == std::wstring::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L" \t\r") - first + 1);
}

constexpr REGSAM kView32 = KEY_WOW64_32KEY;

} // namespace

TestRegistry::TestRegistry() = default;

TestRegistry::~TestRegistry() {
    Clear();
}

void TestRegistry::Use(std::string_view text) {
    Clear();
    std::wistringstream lines(platform::Utf8ToWide(std::string(text)));
    HKEY key = nullptr;
    for (std::wstring line; std::getline(lines, line);) {
        line = Trimmed(line);
        if (line.size() > 1 && line.front() == L'[' && line.back() == L']') {
            if (key)
                RegCloseKey(key);
            key = nullptr;
            const std::wstring path = line.substr(1, line.size() - 2);
            RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE | kView32, nullptr, &key, nullptr);
            m_keys.push_back(path);
        } else if (const auto equals = line.find(L'='); key && equals != std::wstring::npos) {
            const std::wstring name = Trimmed(line.substr(0, equals));
            const std::wstring value = Trimmed(line.substr(equals + 1));
            RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        }
    }
    if (key)
        RegCloseKey(key);
}

// Each written key and every parent left empty by its removal, up to the first one
// that holds something else.
void TestRegistry::Clear() {
    std::sort(m_keys.begin(), m_keys.end(),
              [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
    for (std::wstring path : m_keys) {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), kView32, 0);
        for (auto cut = path.rfind(L'\\'); cut != std::wstring::npos; cut = path.rfind(L'\\')) {
            path.resize(cut);
            if (RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), kView32, 0) != ERROR_SUCCESS)
                break;
        }
    }
    m_keys.clear();
}
