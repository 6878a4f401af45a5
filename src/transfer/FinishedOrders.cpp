#include "transfer/FinishedOrders.h"

#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "fileutil/FolderLister.h"
#include "platform/LocalTime.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace {

bool ReadModifiedSeconds(FileSystemResolver& files, const std::wstring& path,
                         std::int64_t& seconds) {
    ItemInfo info;
    if (!files.For(path).GetItemInfo(path, info) || info.modifiedSeconds == 0)
        return false;
    seconds = info.modifiedSeconds;
    return true;
}

std::wstring FormatTime(std::int64_t seconds) {
    const platform::SystemTime time = platform::ToLocalTime(seconds);
    wchar_t text[64] = {};
    std::swprintf(text, 64, L"%4d/%02d/%02d  %02d:%02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    return text;
}

int DayKey(int year, int month, int day) {
    return (year * 100 + month) * 100 + day;
}

// Exactly "YYYY-MM-DD" or "YYYY/MM/DD": a scanf conversion would also take blanks, signs and
// single digits.
bool HasCalendarDayShape(const std::wstring& text) {
    if (text.size() != 10 || (text[4] != L'-' && text[4] != L'/') || text[7] != text[4])
        return false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (at != 4 && at != 7 && (text[at] < L'0' || text[at] > L'9'))
            return false;
    }
    return true;
}

int DigitsAt(const std::wstring& text, std::size_t at, std::size_t digits) {
    int value = 0;
    for (std::size_t i = at; i < at + digits; ++i)
        value = value * 10 + (text[i] - L'0');
    return value;
}

bool IsDayOfCalendar(int year, int month, int date) {
    static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return year >= 1970 && month >= 1 && month <= 12 && date >= 1 &&
           date <= kDaysInMonth[month - 1] && (month != 2 || date != 29 || leap);
}

} // namespace

std::vector<FinishedOrder> ListOrderFolders(FileSystemResolver& files, const std::wstring& folder,
                                            const std::wstring& pattern) {
    std::vector<std::wstring> paths;
    FolderLister(files).ListToArray(paths, folder, pattern, 0, FolderLister::kFolders);
    std::vector<FinishedOrder> orders;
    for (const std::wstring& path : paths) {
        FinishedOrder order;
        order.path = path;
        order.name = NameOfPath(path);
        if (ReadModifiedSeconds(files, path, order.modifiedSeconds))
            order.timeText = FormatTime(order.modifiedSeconds);
        orders.push_back(std::move(order));
    }
    return orders;
}

std::vector<FinishedOrder> ListFinishedOrders(FileSystemResolver& files,
                                              const std::wstring& outputFolder) {
    return ListOrderFolders(files, outputFolder, L"?00*");
}

std::wstring FormatModifiedTime(FileSystemResolver& files, const std::wstring& path) {
    std::int64_t seconds = 0;
    return ReadModifiedSeconds(files, path, seconds) ? FormatTime(seconds) : std::wstring();
}

bool ParseCalendarDay(const std::wstring& text, CalendarDay& day) {
    if (!HasCalendarDayShape(text))
        return false;
    const int year = DigitsAt(text, 0, 4);
    const int month = DigitsAt(text, 5, 2);
    const int date = DigitsAt(text, 8, 2);
    if (!IsDayOfCalendar(year, month, date))
        return false;
    day = CalendarDay{year, month, date};
    return true;
}

bool IsWithinDays(const FinishedOrder& order, const CalendarDay& first, const CalendarDay& second) {
    if (order.timeText.empty())
        return false;
    const platform::SystemTime time = platform::ToLocalTime(order.modifiedSeconds);
    const int key = DayKey(time.year, time.month, time.day);
    const int a = DayKey(first.year, first.month, first.day);
    const int b = DayKey(second.year, second.month, second.day);
    return key >= std::min(a, b) && key <= std::max(a, b);
}
