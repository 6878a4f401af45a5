#include "platform/Guid.h"

#include <sys/random.h>

#include <cstring>

namespace platform {

bool CreateGuid(Guid& guid) {
    std::uint8_t bytes[16];
    size_t filled = 0;
    while (filled < sizeof(bytes)) {
        ssize_t got = getrandom(bytes + filled, sizeof(bytes) - filled, 0);
        if (got <= 0)
            return false;
        filled += static_cast<size_t>(got);
    }
    std::memcpy(&guid.data1, bytes, 4);
    std::memcpy(&guid.data2, bytes + 4, 2);
    std::memcpy(&guid.data3, bytes + 6, 2);
    std::memcpy(guid.data4, bytes + 8, 8);
    // Version 4 (random) and the RFC 4122 variant, as the system's generator makes them.
    guid.data3 = static_cast<std::uint16_t>((guid.data3 & 0x0FFF) | 0x4000);
    guid.data4[0] = static_cast<std::uint8_t>((guid.data4[0] & 0x3F) | 0x80);
    return true;
}

} // namespace platform
