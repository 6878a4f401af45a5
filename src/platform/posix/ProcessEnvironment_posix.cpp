#include "platform/ProcessEnvironment.h"

#include "platform/TextEncoding.h"

#include <cstdlib>

namespace platform {

std::optional<std::wstring> GetEnvironmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (!value || !*value)
        return std::nullopt;
    return Utf8FileNameToWide(value);
}

bool SetEnvironmentValue(const std::string& name, const std::wstring& value) {
    return setenv(name.c_str(), WideToUtf8FileName(value).c_str(), 1) == 0;
}

} // namespace platform
