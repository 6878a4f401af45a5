#include "fileutil/FileSystem.h"

#include "fileutil/ConcurrentBatch.h"
#include "fileutil/LocalNameLookup.h"
#include "fileutil/TemporaryName.h"
#include "fileutil/Wildcard.h"
#include "platform/FileSystemCalls.h"
#include "platform/SharePath.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kCopyChunk = std::size_t{64} * 1024;

fs::path TemporarySibling(const fs::path& target) {
    return target.parent_path() / platform::ToFsPath(TemporaryFileName());
}

// Writes all bytes and closes; every short write, failed flush or failed close counts.
bool WriteAll(std::filebuf& out, const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const auto piece = static_cast<std::streamsize>(std::min(size - done, kCopyChunk));
        if (out.sputn(data + done, piece) != piece)
            return false;
        done += static_cast<std::size_t>(piece);
    }
    return true;
}

bool FinishWriting(std::filebuf& out) {
    const bool flushed = out.pubsync() == 0;
    const bool closed = out.close() != nullptr;
    return flushed && closed;
}

enum class ReplacedPermissions {
    kCarryOver,
    /// For a second name of a file: carrying them over would change the file's own.
    kLeave,
};

// Moves a completed temporary file onto its final name, by default keeping the permissions
// of the file it replaces; the temporary file is removed when that fails.
FsResult CommitTemporary(const fs::path& temporary, const fs::path& target,
                         ReplacedPermissions permissions = ReplacedPermissions::kCarryOver) {
    std::error_code error;
    const fs::file_status previous = fs::status(target, error);
    if (fs::is_directory(previous)) {
        fs::remove(temporary, error);
        return FsError::kExists;
    }
    if (fs::exists(previous) && permissions == ReplacedPermissions::kCarryOver)
        fs::permissions(temporary, previous.permissions(), error);
    platform::MoveReplacing(platform::FromFsPath(temporary), platform::FromFsPath(target), error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return FsResult::FromErrorCode(error);
    }
    return true;
}

// The folder that holds `path`, for syncing the names made in it.
std::wstring ContainingFolder(const fs::path& path) {
    return platform::FromFsPath(path.parent_path());
}

// Every file and link below `folder` (linked folders are not entered); nothing for a file
// or for a link, even one to a folder.
std::vector<fs::path> FilesBelow(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(folder, error)))
        return files;
    fs::recursive_directory_iterator it(folder, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (!it->is_directory(ignored) || it->is_symlink(ignored))
            files.push_back(it->path());
    }
    return files;
}

// Clears what stops the deletion of the item and of everything below it (linked folders
// are not entered).
void AllowDeletionBelow(const fs::path& item) {
    platform::AllowDeletion(platform::FromFsPath(item));
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(item, error)))
        return;
    fs::recursive_directory_iterator it(item, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error))
        platform::AllowDeletion(platform::FromFsPath(it->path()));
}

// The reason the C library left for the write or open that just failed; where it left none,
// the folder tells whether it vanished meanwhile.
FsResult LastWriteError(const fs::path& folder) {
    const int code = errno;
    if (code != 0)
        return FsResult::FromErrorCode(std::error_code(code, std::generic_category()));
    std::error_code error;
    return fs::exists(fs::status(folder, error)) ? FsError::kIo : FsError::kNotFound;
}

// The item that `path` names, found without regard to case.
fs::path FindItem(const std::wstring& path) {
    return FindNameIgnoringCase(platform::ToFsPath(path));
}

// A missing item below a share whose root does not answer is an unreachable one: some systems
// report the missing server as a missing path, and "nothing there" would let a delete or a
// poll pass for done.
FsResult ReasonAt(const std::wstring& path, FsResult result) {
    if (result.Error() != FsError::kNotFound)
        return result;
    const std::optional<platform::SharePath> share = platform::SplitSharePath(path);
    if (!share)
        return result;
    const wchar_t separator = platform::kPathSeparator;
    const std::wstring root =
        std::wstring(2, separator) + share->server + separator + share->share + separator;
    std::error_code error;
    return fs::is_directory(platform::ToFsPath(root), error) ? result : FsError::kUnreachable;
}

// Success for a regular file (behind any links when `followLinks`); otherwise why it is none:
// missing, or something that holds no bytes to copy (a folder, a fifo, a socket, a device).
FsResult CheckRegularFile(const fs::path& path, bool followLinks) {
    std::error_code error;
    const fs::file_status status =
        followLinks ? fs::status(path, error) : fs::symlink_status(path, error);
    if (fs::is_regular_file(status))
        return true;
    if (fs::exists(status))
        return FsError::kFailed;
    return error ? FsResult::FromErrorCode(error) : FsError::kNotFound;
}

class LocalBackend final : public FileSystem {
public:
    FsResult ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
        entries.clear();
        std::error_code error;
        fs::directory_iterator it(FindItem(folder), error);
        if (error)
            return ReasonAt(folder, FsResult::FromErrorCode(error));
        for (; it != fs::directory_iterator(); it.increment(error)) {
            if (error)
                return FsResult::FromErrorCode(error);
            std::error_code ignored;
            FolderEntry entry;
            entry.name = platform::FromFsPath(it->path().filename());
            entry.isLink = it->is_symlink(ignored);
            entry.isFolder = it->is_directory(ignored);
            entries.push_back(std::move(entry));
        }
        if (error)
            return FsResult::FromErrorCode(error);
        // NTFS order; names that differ only in case (possible here) keep a fixed order.
        std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
            const int order = CompareNtfsNames(a.name, b.name);
            return order != 0 ? order < 0 : a.name < b.name;
        });
        return true;
    }

    FsResult GetItemInfo(const std::wstring& path, ItemInfo& info) override {
        info = ItemInfo{};
        const fs::path native = FindItem(path);
        std::error_code error;
        fs::file_status status = fs::status(native, error);
        if (!fs::exists(status)) {
            // A link whose target is gone still occupies its name.
            status = fs::symlink_status(native, error);
            if (fs::exists(status))
                return true;
            return ReasonAt(path, error ? FsResult::FromErrorCode(error) : FsError::kNotFound);
        }
        info.isFolder = fs::is_directory(status);
        if (fs::is_regular_file(status)) {
            const std::uintmax_t size = fs::file_size(native, error);
            info.size = error ? 0 : static_cast<std::uint64_t>(size);
        }
        platform::GetModificationTime(platform::FromFsPath(native), info.modifiedSeconds);
        const fs::file_time_type modified = fs::last_write_time(native, error);
        if (!error)
            info.modifiedTicks = static_cast<std::int64_t>(modified.time_since_epoch().count());
        return true;
    }

    FsResult MakeFolder(const std::wstring& path) override {
        const fs::path native = FindItem(path);
        // Also taken by a name that differs only in case.
        if (NameTaken(native))
            return FsError::kExists;
        std::error_code error;
        if (fs::create_directory(native, error))
            return true;
        return error ? FsResult::FromErrorCode(error) : FsError::kExists;
    }

    FsResult RenameNoReplace(const std::wstring& from, const std::wstring& to) override {
        const fs::path source = FindItem(from);
        const fs::path asked = platform::ToFsPath(to);
        fs::path target = FindNameIgnoringCase(asked);
        if (target.filename() != asked.filename()) {
            // A name that differs only in case is taken, unless it is the item itself, whose
            // name only changes case.
            if (target != source)
                return FsError::kExists;
            target.replace_filename(asked.filename());
        }
        std::error_code error;
        if (!platform::RenameNoReplace(platform::FromFsPath(source), platform::FromFsPath(target),
                                       error))
            return FsResult::FromErrorCode(error);
        // The rename marks or releases an order: it must outlive a power cut.
        platform::SyncFolder(ContainingFolder(target));
        if (source.parent_path() != target.parent_path())
            platform::SyncFolder(ContainingFolder(source));
        return true;
    }

    FsResult DeleteTree(const std::wstring& path) override {
        const fs::path native = FindItem(path);
        // The files go first, side by side: each unlink of a file already on disk waits for
        // the file system to free its blocks. The folders and any stragglers go after.
        const std::vector<fs::path> files = FilesBelow(native);
        RunConcurrently(files.size(), [&files](std::size_t file) {
            std::error_code ignored;
            return fs::remove(files[file], ignored);
        });
        std::error_code error;
        fs::remove_all(native, error);
        if (error && NameTaken(native)) {
            // A read-only attribute (Windows) stops a deletion; cleared only when it did.
            AllowDeletionBelow(native);
            fs::remove_all(native, error);
        }
        if (!NameTaken(native))
            return true;
        return error ? FsResult::FromErrorCode(error) : FsError::kFailed;
    }

    FsResult CopyFile(const std::wstring& from, const std::wstring& to) override {
        const fs::path source = FindItem(from);
        // An existing file under another case is replaced, never joined by a second one.
        const fs::path target = FindItem(to);
        if (const FsResult file = CheckRegularFile(source, true); !file)
            return file;
        std::error_code error;
        const std::uintmax_t expected = fs::file_size(source, error);
        if (error)
            return FsResult::FromErrorCode(error);
        const fs::path temporary = TemporarySibling(target);
        std::uint64_t copied = 0;
        const bool written = platform::CopyFileData(platform::FromFsPath(source),
                                                    platform::FromFsPath(temporary), copied, error);
        // A source that shrank or could not be read to its end gives a short copy.
        if (!written || copied != expected) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return written ? FsError::kIo : FsResult::FromErrorCode(error);
        }
        const fs::file_time_type modified = fs::last_write_time(source, error);
        if (!error)
            fs::last_write_time(temporary, modified, error);
        return CommitTemporary(temporary, target);
    }

    FsResult LinkFile(const std::wstring& from, const std::wstring& to) override {
        const fs::path source = FindItem(from);
        // Only a file's bytes may be shared: a link to a link, a fifo or a device is no copy.
        if (const FsResult file = CheckRegularFile(source, false); !file)
            return file;
        // Linked beside the destination, then renamed over it, so that a same-named file
        // is replaced in one step.
        const fs::path target = FindItem(to);
        const fs::path temporary = TemporarySibling(target);
        std::error_code error;
        if (!platform::LinkFile(platform::FromFsPath(source), platform::FromFsPath(temporary),
                                error))
            return FsResult::FromErrorCode(error);
        return CommitTemporary(temporary, target, ReplacedPermissions::kLeave);
    }

    FsResult ReadFile(const std::wstring& path, std::string& bytes, std::size_t maxBytes) override {
        bytes.clear();
        const fs::path native = FindItem(path);
        if (const FsResult file = CheckRegularFile(native, true); !file)
            return file;
        std::error_code error;
        const std::uintmax_t size = fs::file_size(native, error);
        if (error)
            return FsResult::FromErrorCode(error);
        if (size > maxBytes)
            return FsError::kFailed;
        std::filebuf in;
        if (!in.open(native, std::ios::in | std::ios::binary))
            return FsError::kNoAccess;
        bytes.resize(static_cast<std::size_t>(size));
        const std::streamsize got = in.sgetn(bytes.data(), static_cast<std::streamsize>(size));
        if (got != static_cast<std::streamsize>(size)) {
            bytes.clear();
            return FsError::kIo;
        }
        return true;
    }

    FsResult WriteFileAtomically(const std::wstring& path, std::string_view bytes) override {
        // An existing file under another case is replaced, never joined by a second one.
        const fs::path target = FindItem(path);
        const fs::path temporary = TemporarySibling(target);
        std::filebuf out;
        errno = 0;
        if (!out.open(temporary, std::ios::out | std::ios::binary | std::ios::trunc))
            return LastWriteError(target.parent_path());
        // The new content gets the replaced file's access before its first byte: a file
        // restricted to its owner (one holding passwords) is never readable by others, not
        // as the temporary and not after the rename.
        std::error_code noTarget;
        const fs::file_status replaced = fs::status(target, noTarget);
        if (!noTarget)
            fs::permissions(temporary, replaced.permissions(), noTarget);
        const bool written = WriteAll(out, bytes.data(), bytes.size());
        // The content is on the device before its name is: a power cut leaves the old file
        // or the new one, never an empty one.
        const bool finished =
            written && FinishWriting(out) && platform::SyncFile(platform::FromFsPath(temporary));
        if (!finished) {
            const FsResult failure = LastWriteError(target.parent_path());
            out.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return failure;
        }
        const FsResult committed = CommitTemporary(temporary, target);
        if (committed)
            platform::SyncFolder(ContainingFolder(target));
        return committed;
    }

    FsResult Flush(const std::wstring& path) override {
        const bool synced = platform::SyncVolume(platform::FromFsPath(FindItem(path)));
        return synced ? FsResult(true) : FsError::kIo;
    }

    FsResult GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) override {
        return platform::GetFreeBytes(platform::FromFsPath(FindItem(path)), freeBytes);
    }
};

} // namespace

FileSystem& LocalFileSystem() {
    static LocalBackend backend;
    return backend;
}
