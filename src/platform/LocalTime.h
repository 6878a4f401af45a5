#pragma once
/// Calendar time fields as the system reports them.

#include <cstdint>

namespace platform {

struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

SystemTime GetLocalTime();
/// Local calendar fields of a time given as seconds since 1970.
SystemTime ToLocalTime(std::int64_t secondsSinceEpoch);

} // namespace platform
