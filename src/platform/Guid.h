#pragma once
/// Globally unique identifiers.

#include <cstdint>

namespace platform {

struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};
};

/// A fresh random GUID; false when the system's random source fails.
bool CreateGuid(Guid& guid);

} // namespace platform
