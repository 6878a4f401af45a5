#pragma once
/// Local times as a shop's clock shows them, and folders stamped with them.

#include "platform/FileSystemCalls.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>

/// The moment that the local clock shows as the given date and time.
inline std::chrono::system_clock::time_point LocalTime(int year, int month, int day, int hour,
                                                       int minute = 0, int second = 0) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

inline void SetModifiedTime(const std::wstring& path, std::chrono::system_clock::time_point time) {
    std::filesystem::last_write_time(platform::ToFsPath(path),
                                     std::chrono::file_clock::from_sys(time));
}
