#pragma once
/// Logon to the network shares that hold the terminals' folders.
///
/// A network path begins with two separators ("\\PC01\share\orders" or "//PC01/share/orders").
/// On Windows the logon and every file operation go to the network directly. On POSIX a
/// network path is served by a share that is already mounted on the machine (cifs, smb3 or
/// gvfs entries of the mount table, /proc/self/mounts or the file named by the environment
/// variable RELAYDESK_MOUNTS); the logon then checks that such a mount exists.

#include <string>

namespace platform {

/// Error numbers of a logon, as the Windows network functions report them.
enum NetworkError : int {
    kNetworkOk = 0,
    kNetworkAccessDenied = 5,
    kNetworkBadNetName = 67,
    kNetworkInvalidPassword = 86,
    kNetworkBadPathOrNoNetwork = 1203,
    kNetworkExtendedError = 1208,
    kNetworkNoNetwork = 1222,
};

/// Whether the path names a local or mapped drive, on which no logon is made (Windows: the
/// path has a drive component; POSIX: any absolute path that is not a network path).
bool HasDriveComponent(const std::wstring& path);

/// Whether the path begins with two separators.
bool IsNetworkPath(const std::wstring& path);

/// The share that holds a network path, as the system's logon names it ("\\server\share" on
/// Windows, "//server/share" on POSIX); empty when the path names no share.
std::wstring NetworkShareName(const std::wstring& path);

/// Connects the share that holds `remoteName` (the folder path as configured). Without a
/// user id the current user's own logon is used. A path that names no share gives
/// kNetworkBadPathOrNoNetwork. Returns 0 or one of the error numbers
/// above (or another system error number).
int AddNetworkConnection(const std::wstring& remoteName, const std::wstring& userId,
                         const std::wstring& password);
int AddNetworkConnection(const std::wstring& remoteName);

/// The path under which the file functions reach `path`: on POSIX a network path becomes
/// the folder inside the mounted share (empty when no mounted share serves it); every other
/// path, and every path on Windows, comes back unchanged.
std::wstring ResolveNetworkPath(const std::wstring& path);

/// The other way round: the network path ("//server/share/folder") of a local folder that
/// lies inside a mounted network share (POSIX: below the mount point of a cifs, smb3 or gvfs
/// entry of the mount table; Windows: on a drive mapped to a share). Empty for every other
/// folder.
std::wstring NetworkPathOfLocalFolder(const std::wstring& folder);

} // namespace platform
