#include "platform/LocalTime.h"
#include "CalendarFields.h"

#include <sys/time.h>
#include <time.h>

namespace platform {

SystemTime GetLocalTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm fields{};
    localtime_r(&now.tv_sec, &fields);
    return SystemTimeFromTm(fields, static_cast<int>(now.tv_nsec / 1000000));
}

SystemTime ToLocalTime(std::int64_t secondsSinceEpoch) {
    time_t seconds = static_cast<time_t>(secondsSinceEpoch);
    tm fields{};
    localtime_r(&seconds, &fields);
    return SystemTimeFromTm(fields, 0);
}

} // namespace platform
