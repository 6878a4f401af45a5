#include "platform/FileSystemCalls.h"

#include "platform/TextEncoding.h"
#include "CalendarFields.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

const wchar_t kPathSeparator = L'/';
const wchar_t kPathSeparators[] = L"/";
const bool kFileNamesIgnoreCase = false;

namespace {

bool Failed(std::error_code& error) {
    error = std::error_code(errno, std::generic_category());
    return false;
}

bool Succeeded(std::error_code& error) {
    error.clear();
    return true;
}

bool SyncDescriptorOf(const std::string& path, int flags) {
    const int descriptor = open(path.c_str(), flags | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = fsync(descriptor) == 0;
    close(descriptor);
    return synced;
}

} // namespace

std::error_code PortableErrorCode(const std::error_code& error) {
    if (error.category() != std::generic_category() && error.category() != std::system_category())
        return error;
    switch (error.value()) {
    case EDQUOT:
        return std::make_error_code(std::errc::no_space_on_device);
    case ESTALE: // a network mount whose server lost the file handle
    case EHOSTDOWN:
        return std::make_error_code(std::errc::host_unreachable);
    default:
        return error;
    }
}

bool RenameNoReplace(const std::wstring& from, const std::wstring& to, std::error_code& error) {
    std::string source = WideToUtf8FileName(from);
    std::string destination = WideToUtf8FileName(to);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0)
        return Succeeded(error);
    if (errno != EINVAL && errno != ENOSYS)
        return Failed(error);
    // File systems without RENAME_NOREPLACE (some network mounts): check, then rename.
    struct stat existing {};
    if (lstat(destination.c_str(), &existing) == 0) {
        error = std::make_error_code(std::errc::file_exists);
        return false;
    }
    return rename(source.c_str(), destination.c_str()) == 0 ? Succeeded(error) : Failed(error);
}

bool MoveReplacing(const std::wstring& from, const std::wstring& to, std::error_code& error) {
    // An open target never stops a rename here: its holders keep the old file.
    return rename(WideToUtf8FileName(from).c_str(), WideToUtf8FileName(to).c_str()) == 0
               ? Succeeded(error)
               : Failed(error);
}

bool AllowDeletion(const std::wstring& path) {
    (void)path;
    return true;
}

bool LinkFile(const std::wstring& existing, const std::wstring& newName, std::error_code& error) {
    return link(WideToUtf8FileName(existing).c_str(), WideToUtf8FileName(newName).c_str()) == 0
               ? Succeeded(error)
               : Failed(error);
}

bool SyncFile(const std::wstring& path) {
    return SyncDescriptorOf(WideToUtf8FileName(path), O_RDONLY);
}

bool SyncFolder(const std::wstring& folder) {
    return SyncDescriptorOf(WideToUtf8FileName(folder), O_RDONLY | O_DIRECTORY);
}

bool SyncVolume(const std::wstring& path) {
    const int descriptor = open(WideToUtf8FileName(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = syncfs(descriptor) == 0;
    close(descriptor);
    return synced;
}

namespace {

bool WriteAll(int descriptor, const char* data, size_t size) {
    while (size > 0) {
        ssize_t written = write(descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Plain read/write copy, for file systems where copy_file_range does not apply.
bool CopyThroughBuffer(int in, int out, std::uint64_t& copied) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        ssize_t got = read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!WriteAll(out, buffer.data(), static_cast<size_t>(got)))
            return false;
        copied += static_cast<std::uint64_t>(got);
    }
}

bool CopyDescriptors(int in, int out, std::uint64_t& copied) {
    for (;;) {
        ssize_t moved = copy_file_range(in, nullptr, out, nullptr, size_t{1} << 30, 0);
        if (moved > 0) {
            copied += static_cast<std::uint64_t>(moved);
            continue;
        }
        if (moved == 0)
            return true;
        if (errno == EINTR)
            continue;
        // Across file systems or on ones without support, copy the rest through a buffer.
        if (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)
            return CopyThroughBuffer(in, out, copied);
        return false;
    }
}

} // namespace

bool CopyFileData(const std::wstring& from, const std::wstring& to, std::uint64_t& copied,
                  std::error_code& error) {
    copied = 0;
    int in = open(WideToUtf8FileName(from).c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return Failed(error);
    int out = open(WideToUtf8FileName(to).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        Failed(error);
        close(in);
        return false;
    }
    bool ok = CopyDescriptors(in, out, copied) || Failed(error);
    // A failed close can be the first report of a full disk.
    if (close(out) != 0 && ok)
        ok = Failed(error);
    close(in);
    return ok && Succeeded(error);
}

bool GetCreationTimeUtc(const std::wstring& path, SystemTime& time) {
    struct statx info {};
    std::string native = WideToUtf8FileName(path);
    if (statx(AT_FDCWD, native.c_str(), 0, STATX_BTIME | STATX_CTIME, &info) != 0)
        return false;
    const statx_timestamp& stamp = (info.stx_mask & STATX_BTIME) ? info.stx_btime : info.stx_ctime;
    time_t seconds = static_cast<time_t>(stamp.tv_sec);
    tm fields{};
    gmtime_r(&seconds, &fields);
    time = SystemTimeFromTm(fields, static_cast<int>(stamp.tv_nsec / 1000000));
    return true;
}

bool GetModificationTime(const std::wstring& path, std::int64_t& secondsSinceEpoch) {
    struct stat info {};
    if (stat(WideToUtf8FileName(path).c_str(), &info) != 0)
        return false;
    secondsSinceEpoch = static_cast<std::int64_t>(info.st_mtime);
    return true;
}

bool GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) {
    struct statvfs info {};
    if (statvfs(WideToUtf8FileName(path).c_str(), &info) != 0)
        return false;
    freeBytes = static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    return true;
}

} // namespace platform
