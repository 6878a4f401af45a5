#include "platform/FileSystemCalls.h"

#include "platform/TextEncoding.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

const wchar_t kPathSeparator = L'/';

bool RenameNoReplace(const std::wstring& from, const std::wstring& to) {
    std::string source = WideToUtf8(from);
    std::string destination = WideToUtf8(to);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without RENAME_NOREPLACE (some network mounts): check, then rename.
    struct stat existing {};
    if (lstat(destination.c_str(), &existing) == 0)
        return false;
    return rename(source.c_str(), destination.c_str()) == 0;
}

bool GetCreationTimeUtc(const std::wstring& path, SystemTime& time) {
    struct statx info {};
    std::string native = WideToUtf8(path);
    if (statx(AT_FDCWD, native.c_str(), 0, STATX_BTIME | STATX_CTIME, &info) != 0)
        return false;
    const statx_timestamp& stamp = (info.stx_mask & STATX_BTIME) ? info.stx_btime : info.stx_ctime;
    time_t seconds = static_cast<time_t>(stamp.tv_sec);
    tm fields{};
    gmtime_r(&seconds, &fields);
    time.year = static_cast<std::uint16_t>(fields.tm_year + 1900);
    time.month = static_cast<std::uint16_t>(fields.tm_mon + 1);
    time.dayOfWeek = static_cast<std::uint16_t>(fields.tm_wday);
    time.day = static_cast<std::uint16_t>(fields.tm_mday);
    time.hour = static_cast<std::uint16_t>(fields.tm_hour);
    time.minute = static_cast<std::uint16_t>(fields.tm_min);
    time.second = static_cast<std::uint16_t>(fields.tm_sec);
    time.milliseconds = static_cast<std::uint16_t>(stamp.tv_nsec / 1000000);
    return true;
}

bool GetModificationTime(const std::wstring& path, std::int64_t& secondsSinceEpoch) {
    struct stat info {};
    if (stat(WideToUtf8(path).c_str(), &info) != 0)
        return false;
    secondsSinceEpoch = static_cast<std::int64_t>(info.st_mtime);
    return true;
}

bool GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) {
    struct statvfs info {};
    if (statvfs(WideToUtf8(path).c_str(), &info) != 0)
        return false;
    freeBytes = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    return true;
}

} // namespace platform
