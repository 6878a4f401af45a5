#pragma once
/// The file-system operations that touch a terminal's folders. Every such operation goes
/// through this interface, so that network paths can be served by their own backend while
/// local folders use the local one; a FileSystemResolver chooses the backend of a path.
///
/// Copies between two backends: a backend's CopyFile and LinkFile take paths that it serves,
/// or a path it serves on one side and a local path on the other (a share and the work
/// folder). The backend of the network side copies; FileSystemResolver::ForCopy names it.

#include "fileutil/FsResult.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// One entry of a folder, never "." or "..".
struct FolderEntry {
    std::wstring name;
    bool isFolder = false;
    /// A symbolic link (to a file or a folder); walks do not descend into linked folders.
    bool isLink = false;
};

struct ItemInfo {
    bool isFolder = false;
    std::uint64_t size = 0;
    /// Last modification, seconds since 1970 (0 when unknown).
    std::int64_t modifiedSeconds = 0;
    /// Last modification in the finest unit the volume keeps (0 when unknown): equal for a
    /// copy and its source, as copies keep the time.
    std::int64_t modifiedTicks = 0;
};

/// A file-system backend. All operations report failure, with its reason, as their result and
/// throw nothing; an implementation must be safe to use from several threads at once.
/// Exact names follow Windows' rules whatever the system: a name is found, and is taken,
/// without regard to case.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    /// The entries of `folder` in NTFS name order; false when the folder cannot be listed.
    virtual FsResult ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) = 0;
    /// False when nothing exists at `path`.
    virtual FsResult GetItemInfo(const std::wstring& path, ItemInfo& info) = 0;
    /// Creates one folder whose parent exists; false when it cannot be created or exists.
    virtual FsResult MakeFolder(const std::wstring& path) = 0;
    /// Renames a file or folder; fails, changing nothing, when `to` exists. The rename
    /// survives a power cut once this returns.
    virtual FsResult RenameNoReplace(const std::wstring& from, const std::wstring& to) = 0;
    /// Deletes a file, or a folder with everything in it (links are removed, not followed).
    /// True when nothing is left at `path`.
    virtual FsResult DeleteTree(const std::wstring& path) = 0;
    /// Copies a file's bytes and modification time, replacing an existing destination file.
    /// A copy that fails part-way leaves the destination as it was: never a truncated file.
    virtual FsResult CopyFile(const std::wstring& from, const std::wstring& to) = 0;
    /// Gives a file a second name (a hard link), replacing an existing destination file, for
    /// files that are never rewritten in place or whose first name is about to go. False,
    /// changing nothing, where the backend or the volume has no links or `from` is not a
    /// regular file (a link, a fifo); the caller then copies.
    virtual FsResult LinkFile(const std::wstring& /*from*/, const std::wstring& /*to*/) {
        return false;
    }
    /// Reads a whole file; false when it cannot be read or is larger than `maxBytes`.
    virtual FsResult ReadFile(const std::wstring& path, std::string& bytes,
                              std::size_t maxBytes) = 0;
    /// Replaces a file's content as one step (a temporary file beside it, then a rename), so
    /// that readers see the old or the new content, never a half-written file, also after a
    /// power cut.
    virtual FsResult WriteFileAtomically(const std::wstring& path, std::string_view bytes) = 0;
    /// Makes what was written at `path` (a file, or a folder with everything below it) and
    /// the names made in it survive a power cut. Backends that write through return true.
    virtual FsResult Flush(const std::wstring& /*path*/) { return true; }
    /// Free bytes for this program on the volume that holds `path`.
    virtual FsResult GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) = 0;
    /// Logs on to the share that holds `folder` with the given account (none: the current
    /// user's own logon), so that later operations on the share use it. Returns 0 or one of
    /// the logon error numbers of platform/NetworkShare.h. The default asks the system.
    virtual int LogOn(const std::wstring& folder, const std::wstring& userId,
                      const std::wstring& password);
};

/// The backend for folders of this machine.
FileSystem& LocalFileSystem();

/// A path that names a network share (it begins with two separators).
bool IsNetworkPath(std::wstring_view path);
