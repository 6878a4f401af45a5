#include "platform/ProcessEnvironment.h"

#include "platform/TextEncoding.h"

#include <cstdlib>

namespace platform {

std::optional<std::wstring> GetEnvironmentValue(const std::string& name) {
    const wchar_t* value = _wgetenv(Utf8ToWide(name).c_str());
    if (!value || !*value)
        return std::nullopt;
    return std::wstring(value);
}

bool SetEnvironmentValue(const std::string& name, const std::wstring& value) {
    return _wputenv_s(Utf8ToWide(name).c_str(), value.c_str()) == 0;
}

} // namespace platform
