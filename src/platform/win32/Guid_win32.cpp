#include "platform/Guid.h"

#include "WindowsHeaders.h"

#include <objbase.h>

#include <cstring>

namespace platform {

bool CreateGuid(Guid& guid) {
    GUID raw{};
    if (FAILED(CoCreateGuid(&raw)))
        return false;
    guid.data1 = raw.Data1;
    guid.data2 = raw.Data2;
    guid.data3 = raw.Data3;
    std::memcpy(guid.data4, raw.Data4, 8);
    return true;
}

} // namespace platform
