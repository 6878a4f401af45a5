#include "platform/FileSystemCalls.h"

#include "WindowsHeaders.h"

namespace platform {

const wchar_t kPathSeparator = L'\\';
const wchar_t kPathSeparators[] = L"\\/";
const bool kFileNamesIgnoreCase = true;

namespace {

// The system's reason as the portable condition it stands for, so that callers can tell a
// full disk from a missing file on either system.
bool FailedWith(DWORD code, std::error_code& error) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        error = std::make_error_code(std::errc::no_such_file_or_directory);
        break;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        error = std::make_error_code(std::errc::file_exists);
        break;
    case ERROR_DIR_NOT_EMPTY:
        error = std::make_error_code(std::errc::directory_not_empty);
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        error = std::make_error_code(std::errc::permission_denied);
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        error = std::make_error_code(std::errc::no_space_on_device);
        break;
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_SEM_TIMEOUT:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NOT_READY:
        error = std::make_error_code(std::errc::host_unreachable);
        break;
    case ERROR_FILENAME_EXCED_RANGE:
        error = std::make_error_code(std::errc::filename_too_long);
        break;
    default:
        error = std::error_code(static_cast<int>(code), std::system_category());
        break;
    }
    return false;
}

bool Failed(std::error_code& error) {
    return FailedWith(GetLastError(), error);
}

bool Succeeded(std::error_code& error) {
    error.clear();
    return true;
}

bool IsReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool ClearReadOnly(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    if ((attributes & FILE_ATTRIBUTE_READONLY) == 0)
        return true;
    return SetFileAttributesW(path.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY}) != FALSE;
}

bool FlushHandleOf(const std::wstring& path, DWORD flags) {
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(handle) != FALSE;
    CloseHandle(handle);
    return flushed;
}

} // namespace

std::error_code PortableErrorCode(const std::error_code& error) {
    if (error.category() != std::system_category())
        return error;
    std::error_code portable;
    FailedWith(static_cast<DWORD>(error.value()), portable);
    return portable;
}

bool RenameNoReplace(const std::wstring& from, const std::wstring& to, std::error_code& error) {
    // Without MOVEFILE_REPLACE_EXISTING an existing destination fails the move.
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE ? Succeeded(error)
                                                                                  : Failed(error);
}

bool MoveReplacing(const std::wstring& from, const std::wstring& to, std::error_code& error) {
    // One rename: it happens whole or leaves both files in place (ReplaceFileW may stop
    // halfway, with the target under its backup name). A target open in another program
    // refuses to be replaced (sharing violation, or access denied) while it is held; scanners
    // and backups hold a file for moments, so the rename is retried for up to two seconds.
    constexpr int kAttempts = 20;
    constexpr DWORD kPauseMilliseconds = 100;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return Succeeded(error);
        const DWORD code = GetLastError();
        const bool held =
            code == ERROR_SHARING_VIOLATION || (code == ERROR_ACCESS_DENIED && !IsReadOnly(to));
        if (!held || attempt == kAttempts)
            return FailedWith(code, error);
        Sleep(kPauseMilliseconds);
    }
}

bool AllowDeletion(const std::wstring& path) {
    return ClearReadOnly(path);
}

bool LinkFile(const std::wstring& existing, const std::wstring& newName, std::error_code& error) {
    return CreateHardLinkW(newName.c_str(), existing.c_str(), nullptr) != FALSE ? Succeeded(error)
                                                                                : Failed(error);
}

bool CopyFileData(const std::wstring& from, const std::wstring& to, std::uint64_t& copied,
                  std::error_code& error) {
    copied = 0;
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE))
        return Failed(error);
    // CopyFileW carries the source's attributes over; a read-only copy could be neither
    // replaced nor deleted later.
    if (!ClearReadOnly(to))
        return Failed(error);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(to.c_str(), GetFileExInfoStandard, &data))
        return Failed(error);
    copied = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return Succeeded(error);
}

bool SyncFile(const std::wstring& path) {
    return FlushHandleOf(path, FILE_ATTRIBUTE_NORMAL);
}

bool SyncFolder(const std::wstring& folder) {
    // NTFS writes its folder changes through its journal; there is nothing to flush that
    // an unprivileged process may flush.
    (void)folder;
    return true;
}

bool SyncVolume(const std::wstring& path) {
    // Flushing a whole volume needs administrator rights on Windows; the files that must
    // survive are flushed one by one by their writers instead.
    (void)path;
    return true;
}

bool GetCreationTimeUtc(const std::wstring& path, SystemTime& time) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    SYSTEMTIME raw{};
    if (!FileTimeToSystemTime(&data.ftCreationTime, &raw))
        return false;
    time = SystemTime{raw.wYear, raw.wMonth,  raw.wDayOfWeek, raw.wDay,
                      raw.wHour, raw.wMinute, raw.wSecond,    raw.wMilliseconds};
    return true;
}

bool GetModificationTime(const std::wstring& path, std::int64_t& secondsSinceEpoch) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    ULARGE_INTEGER ticks;
    ticks.LowPart = data.ftLastWriteTime.dwLowDateTime;
    ticks.HighPart = data.ftLastWriteTime.dwHighDateTime;
    secondsSinceEpoch =
        static_cast<std::int64_t>((ticks.QuadPart - 116444736000000000ULL) / 10000000ULL);
    return true;
}

bool GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(path.c_str(), &available, nullptr, nullptr))
        return false;
    freeBytes = available.QuadPart;
    return true;
}

} // namespace platform
