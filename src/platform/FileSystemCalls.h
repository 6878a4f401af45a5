#pragma once
/// The file-system calls, and the conversions of paths and error codes, that the standard
/// library does not offer portably.

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/LocalTime.h"

namespace platform {

/// The separator used to build paths on this system.
extern const wchar_t kPathSeparator;
/// Every character that separates the parts of a path here (Windows takes '/' as well).
extern const wchar_t kPathSeparators[];

/// Whether the local file system finds names without regard to case by itself.
extern const bool kFileNamesIgnoreCase;

/// A wide path as the standard library's path, converted through UTF-8 on POSIX (never
/// through the process locale, which may not know non-ASCII names). Bytes of a name that are
/// not UTF-8 survive the round trip (see WideToUtf8FileName).
std::filesystem::path ToFsPath(const std::wstring& path);
std::wstring FromFsPath(const std::filesystem::path& path);

/// A failure reported by this system (an errno value, a Win32 error) as the portable condition
/// it stands for where the standard names one, so that callers can tell a full disk from a
/// vanished share on either system; any other code as it is.
std::error_code PortableErrorCode(const std::error_code& error);

/// Renames a file or folder; fails, leaving both in place, when the destination exists.
/// `error` receives the system's reason for a failure.
bool RenameNoReplace(const std::wstring& from, const std::wstring& to, std::error_code& error);

/// Moves the file `from` onto the name `to` in one step, replacing a file of that name (a save
/// through a temporary file). A target that another program holds open for a moment (a virus
/// scanner, an indexer, a backup) is waited for briefly; when it stays held, or is read-only,
/// both files are left as they were and `error` tells why.
bool MoveReplacing(const std::wstring& from, const std::wstring& to, std::error_code& error);

/// Lets a file or folder be deleted: clears the read-only attribute that stops deletion on
/// Windows (POSIX has no such attribute). False when the item's attributes could not be changed.
bool AllowDeletion(const std::wstring& path);

/// Copies the bytes of file `from` into `to` (created or truncated), letting the system
/// copy inside the kernel where it can. The copy is writable whatever the source's
/// attributes. `copied` receives the number of bytes written.
/// False on any read or write error (`error` tells which); the partial `to` is left for the
/// caller to remove.
bool CopyFileData(const std::wstring& from, const std::wstring& to, std::uint64_t& copied,
                  std::error_code& error);

/// Gives the existing file `existing` a second name `newName` on the same volume (a hard
/// link). False, changing nothing, where the names are on different volumes, the volume has
/// no links or `newName` exists.
bool LinkFile(const std::wstring& existing, const std::wstring& newName, std::error_code& error);

/// Writes a file's data, or a folder's entries (names made, renamed or removed in it), to
/// the device, so that they survive a power cut. False when that could not be done.
bool SyncFile(const std::wstring& path);
bool SyncFolder(const std::wstring& folder);
/// Writes everything still held in memory for the volume that holds `path` to the device:
/// one call for a whole tree just written.
bool SyncVolume(const std::wstring& path);

/// Creation time of a file in UTC (the change time where the file system keeps no birth time).
bool GetCreationTimeUtc(const std::wstring& path, SystemTime& time);

/// Last modification time as seconds since 1970.
bool GetModificationTime(const std::wstring& path, std::int64_t& secondsSinceEpoch);

/// Free bytes for an unprivileged writer on the volume holding `path`.
bool GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes);

} // namespace platform
