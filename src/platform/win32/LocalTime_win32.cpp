#include "platform/LocalTime.h"

#include "WindowsHeaders.h"

namespace platform {
namespace {

SystemTime FromSystemTime(const SYSTEMTIME& raw) {
    return SystemTime{raw.wYear, raw.wMonth,  raw.wDayOfWeek, raw.wDay,
                      raw.wHour, raw.wMinute, raw.wSecond,    raw.wMilliseconds};
}

} // namespace

SystemTime GetLocalTime() {
    SYSTEMTIME raw{};
    ::GetLocalTime(&raw);
    return FromSystemTime(raw);
}

SystemTime ToLocalTime(std::int64_t secondsSinceEpoch) {
    // 100-nanosecond intervals between 1601 and 1970.
    ULARGE_INTEGER ticks;
    ticks.QuadPart =
        static_cast<ULONGLONG>(secondsSinceEpoch) * 10000000ULL + 116444736000000000ULL;
    FILETIME utc{ticks.LowPart, ticks.HighPart};
    FILETIME local{};
    FileTimeToLocalFileTime(&utc, &local);
    SYSTEMTIME raw{};
    FileTimeToSystemTime(&local, &raw);
    return FromSystemTime(raw);
}

} // namespace platform
