// The order view's listing and its selection by calendar days.

#include "transfer/FinishedOrders.h"
#include "FileTimes.h"
#include "TempFolder.h"
#include "fileutil/FileSystemResolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace {

TEST(FinishedOrders, ListsOnlyOrderFoldersWithTheirTimes) {
    TempFolder folder;
    for (const wchar_t* name : {L"o0001234", L"p0001234", L"p0123456", L"完了"})
        folder.MakeFolder(name);
    folder.WriteFile(L"o0009999", "a file, not an order");
    const std::vector<FinishedOrder> orders = ListFinishedOrders(LocalFolders(), folder.Path());
    std::vector<std::wstring> names;
    for (const FinishedOrder& order : orders) {
        names.push_back(order.name);
        EXPECT_EQ(order.timeText.size(), 20u) << order.name;
        EXPECT_EQ(order.timeText.substr(10, 2), L"  ");
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"o0001234", L"p0001234"}));
    EXPECT_TRUE(ListFinishedOrders(LocalFolders(), folder / L"missing").empty());
    EXPECT_EQ(FormatModifiedTime(LocalFolders(), folder / L"missing"), L"");
}

TEST(FinishedOrders, SelectsBothNamedDaysWhicheverComesFirst) {
    FinishedOrder order;
    order.timeText = L"set";
    // Seconds of a local time in March 2026.
    const auto at = [](int day, int hour, int minute, int second) {
        return static_cast<std::int64_t>(
            std::chrono::system_clock::to_time_t(LocalTime(2026, 3, day, hour, minute, second)));
    };
    const CalendarDay first{2026, 3, 3}, last{2026, 3, 1};
    order.modifiedSeconds = at(1, 0, 0, 0);
    EXPECT_TRUE(IsWithinDays(order, first, last));
    order.modifiedSeconds = at(3, 23, 59, 59);
    EXPECT_TRUE(IsWithinDays(order, first, last));
    order.modifiedSeconds = at(4, 0, 0, 0);
    EXPECT_FALSE(IsWithinDays(order, first, last));
    EXPECT_TRUE(IsWithinDays(order, CalendarDay{2026, 3, 4}, CalendarDay{2026, 3, 4}));
    order.timeText.clear();
    EXPECT_FALSE(IsWithinDays(order, CalendarDay{2026, 3, 4}, CalendarDay{2026, 3, 4}));
}

TEST(FinishedOrders, ParsesDaysInBothSpellings) {
    CalendarDay day;
    EXPECT_TRUE(ParseCalendarDay(L"2026-03-01", day));
    EXPECT_EQ(day.month, 3);
    EXPECT_TRUE(ParseCalendarDay(L"2024/02/29", day));
    for (const wchar_t* bad :
         {L"2026-02-29", L"2026-13-01", L"2026/03-01", L"01.03.2026", L"2026-03-01x", L"",
          L"2024/ 2/28", L" 2026-03-01", L"2026-+3-01", L"2026-3-1"})
        EXPECT_FALSE(ParseCalendarDay(bad, day)) << bad;
}

} // namespace
