#include "platform/FileSystemCalls.h"

#include "WindowsHeaders.h"

namespace platform {

const wchar_t kPathSeparator = L'\\';

bool RenameNoReplace(const std::wstring& from, const std::wstring& to) {
    return MoveFileW(from.c_str(), to.c_str()) != FALSE;
}

bool LinkFile(const std::wstring& existing, const std::wstring& newName) {
    return CreateHardLinkW(newName.c_str(), existing.c_str(), nullptr) != FALSE;
}

bool CopyFileData(const std::wstring& from, const std::wstring& to, std::uint64_t& copied) {
    copied = 0;
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE))
        return false;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(to.c_str(), GetFileExInfoStandard, &data))
        return false;
    copied = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool GetCreationTimeUtc(const std::wstring& path, SystemTime& time) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    SYSTEMTIME raw{};
    if (!FileTimeToSystemTime(&data.ftCreationTime, &raw))
        return false;
    time = SystemTime{raw.wYear, raw.wMonth, raw.wDayOfWeek, raw.wDay,
                      raw.wHour, raw.wMinute, raw.wSecond, raw.wMilliseconds};
    return true;
}

bool GetModificationTime(const std::wstring& path, std::int64_t& secondsSinceEpoch) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    ULARGE_INTEGER ticks;
    ticks.LowPart = data.ftLastWriteTime.dwLowDateTime;
    ticks.HighPart = data.ftLastWriteTime.dwHighDateTime;
    secondsSinceEpoch = static_cast<std::int64_t>((ticks.QuadPart - 116444736000000000ULL) / 10000000ULL);
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
