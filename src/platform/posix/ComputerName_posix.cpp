#include "platform/ComputerName.h"

#include "platform/TextEncoding.h"

#include <unistd.h>

namespace platform {

std::wstring GetLocalComputerName() {
    char name[256] = {};
    if (gethostname(name, sizeof(name) - 1) != 0)
        return {};
    return Utf8ToWide(name);
}

} // namespace platform
