#pragma once
/// Keeps the log folder under a size limit: sums the ".log" files from the newest to the
/// oldest and deletes every file from the one that makes the total pass the limit.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/LocalTime.h"

struct LogFileEntry {
    std::wstring path;
    std::uint64_t size = 0; // 64 bits: a total past 4 GiB must not wrap below the limit
    /// Creation time in UTC to the minute: ((((year*12+month)*32+day)*24+hour)*60+minute)
    /// - 1105920000, in unsigned 32-bit arithmetic.
    std::uint32_t timeKey = 0;
};

/// Thread contract: one pass at a time (the start-up pass ends before the transfer thread,
/// which runs the later passes, starts).
class CLogRotator {
public:
    CLogRotator() = default;
    virtual ~CLogRotator();

    void SetFolder(const std::wstring& folder) { m_folder = folder; }
    /// 0 switches trimming off.
    void SetSizeLimit(std::uint32_t bytes) { m_sizeLimit = bytes; }
    /// One pass; returns 1.
    int Run();

    static std::uint32_t TimeKey(std::uint32_t year, std::uint32_t month, std::uint32_t day,
                                 std::uint32_t hour, std::uint32_t minute);

protected:
    /// Creation time of a log file in UTC; the file system's by default.
    virtual bool FileCreationTime(const std::wstring& path, platform::SystemTime& time) const;

private:
    void Trim();
    /// Rebuilds the file list and the entries, newest first; false when any file cannot be
    /// opened or measured.
    [[nodiscard]] bool ScanLogFiles();

    std::wstring m_folder;
    std::uint32_t m_sizeLimit = 0;
    std::vector<std::wstring> m_files;
    std::vector<LogFileEntry> m_entries;
};
