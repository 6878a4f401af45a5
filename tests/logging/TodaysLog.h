#pragma once
/// Where the logging service writes today's records of the program, below the test's folder
/// that RELAYDESK_LOG_DIR names "ログ".

#include "platform/LocalTime.h"

#include <cwchar>
#include <string>

inline std::wstring TodaysLogFile() {
    const platform::SystemTime now = platform::GetLocalTime();
    wchar_t name[64];
    std::swprintf(name, 64, L"ログ/QRM_Relaydesk2_%04u%02u%02u.log", now.year, now.month, now.day);
    return name;
}
