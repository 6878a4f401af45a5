#include "platform/LocalTime.h"

#include <sys/time.h>
#include <time.h>

namespace platform {
namespace {

SystemTime FromTm(const tm& fields, int milliseconds) {
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

} // namespace

SystemTime GetLocalTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm fields{};
    localtime_r(&now.tv_sec, &fields);
    return FromTm(fields, static_cast<int>(now.tv_nsec / 1000000));
}

SystemTime ToLocalTime(std::int64_t secondsSinceEpoch) {
    time_t seconds = static_cast<time_t>(secondsSinceEpoch);
    tm fields{};
    localtime_r(&seconds, &fields);
    return FromTm(fields, 0);
}

} // namespace platform
