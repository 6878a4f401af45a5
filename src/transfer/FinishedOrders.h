#pragma once
/// The finished orders stored in a terminal's output folder, as the order view shows them:
/// every folder "?00*" with its last-modification time, and the selection by calendar days.

#include <cstdint>
#include <string>
#include <vector>

class FileSystemResolver;

struct FinishedOrder {
    std::wstring path;
    std::wstring name;
    std::wstring timeText; ///< "YYYY/MM/DD  hh:mm:ss" in local time; empty when unknown
    std::int64_t modifiedSeconds = 0;
};

/// The order folders of `outputFolder` in file-system order; empty when it cannot be listed.
std::vector<FinishedOrder> ListFinishedOrders(FileSystemResolver& files,
                                              const std::wstring& outputFolder);
/// The sub-folders of `folder` whose names match `pattern`, with their times, in file-system
/// order; empty when it cannot be listed.
std::vector<FinishedOrder> ListOrderFolders(FileSystemResolver& files, const std::wstring& folder,
                                            const std::wstring& pattern);

/// The last-modification time of a file or folder as "%4d/%02d/%02d  %02d:%02d:%02d" in
/// local time; empty when it cannot be read.
std::wstring FormatModifiedTime(FileSystemResolver& files, const std::wstring& path);

struct CalendarDay {
    int year = 0;
    int month = 0;
    int day = 0;
};

/// Parses "YYYY-MM-DD" or "YYYY/MM/DD"; false for anything else, an impossible date or
/// one before 1970.
bool ParseCalendarDay(const std::wstring& text, CalendarDay& day);

/// Whether the order's local modification day lies between the two days, both included,
/// whichever of them is the earlier. An order without a time is never within.
bool IsWithinDays(const FinishedOrder& order, const CalendarDay& first, const CalendarDay& second);
