#include "platform/Environment.h"

#include "platform/TextEncoding.h"

#include <cstdlib>

namespace platform {

std::wstring GetEnvironmentValue(const std::wstring& name) {
    const char* value = std::getenv(WideToUtf8(name).c_str());
    return value ? Utf8ToWide(value) : std::wstring();
}

} // namespace platform
