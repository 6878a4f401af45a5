#include "platform/ModulePath.h"

#include "platform/TextEncoding.h"

#include <unistd.h>

#include <climits>

namespace platform {

std::wstring GetModuleFilePath() {
    char path[PATH_MAX + 1] = {};
    ssize_t length = readlink("/proc/self/exe", path, PATH_MAX);
    if (length <= 0)
        return {};
    return Utf8FileNameToWide(std::string(path, static_cast<size_t>(length)));
}

} // namespace platform
