#pragma once
/// The calendar fields of a `tm` as the program's SystemTime, for the POSIX sources that turn
/// the system's times into the form the rest of the program reads.

#include "platform/LocalTime.h"

#include <time.h>

namespace platform {

inline SystemTime SystemTimeFromTm(const tm& fields, int milliseconds) {
    SystemTime time;
    time.year = static_cast<std::uint16_t>(fields.tm_year + 1900);
    time.month = static_cast<std::uint16_t>(fields.tm_mon + 1);
    time.dayOfWeek = static_cast<std::uint16_t>(fields.tm_wday);
    time.day = static_cast<std::uint16_t>(fields.tm_mday);
    time.hour = static_cast<std::uint16_t>(fields.tm_hour);
    time.minute = static_cast<std::uint16_t>(fields.tm_min);
    time.second = static_cast<std::uint16_t>(fields.tm_sec);
    time.milliseconds = static_cast<std::uint16_t>(milliseconds);
    return time;
}

} // namespace platform
