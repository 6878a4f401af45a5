#include "fileutil/SmbFileSystem.h"

#include "fileutil/LocalNameLookup.h"
#include "fileutil/NameCase.h"
#include "fileutil/ShareClient.h"
#include "fileutil/SmbContext.h"
#include "fileutil/SmbCredentialTable.h"
#include "fileutil/SmbErrors.h"
#include "fileutil/SmbSharePath.h"
#include "fileutil/TemporaryName.h"
#include "fileutil/Wildcard.h"
#include "platform/FileSystemCalls.h"
#include "platform/NetworkShare.h"
#include "platform/ProcessEnvironment.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>

namespace fs = std::filesystem;

namespace {

// Large enough that the client keeps several requests in flight on the connection.
constexpr std::size_t kCopyChunk = std::size_t{4} * 1024 * 1024;

using Nanoseconds = std::chrono::nanoseconds;

// In microseconds, the finest unit a copy can be given through the client library, so that a
// copy and its source show the same time.
Nanoseconds ModificationTime(const struct stat& status) {
    const Nanoseconds time =
        std::chrono::seconds(status.st_mtim.tv_sec) + Nanoseconds(status.st_mtim.tv_nsec);
    return std::chrono::duration_cast<std::chrono::microseconds>(time);
}

// Why an operation on `path` failed. A missing item may be a missing share or server: the
// share's root tells, so that a share that went away is reported as unreachable.
FsResult Failure(SmbContext& context, const SmbSharePath& path, int error) {
    const FsResult result = FsResultFromSmbError(error);
    if (result.Error() != FsError::kNotFound && result.Error() != FsError::kFailed)
        return result;
    struct stat status {};
    const int rootError = context.Stat(path.Root().Url(), status);
    if (rootError == 0)
        return result;
    return rootError == ENOENT ? FsError::kUnreachable : FsResultFromSmbError(rootError);
}

FsResult LocalFailure(int error) {
    return FsResult::FromErrorCode(
        std::error_code(error != 0 ? error : EIO, std::generic_category()));
}

// A network path that names no share (no server or share name, "." or ".." in it) is no
// path to anything.
constexpr FsError kBadSharePath = FsError::kNotFound;

/// The file a copy reads: on a share or in a local folder.
class CopySource {
public:
    virtual ~CopySource() = default;
    virtual FsResult Read(char* buffer, std::size_t size, std::size_t& got) = 0;
    std::uint64_t size = 0;
    Nanoseconds modified{0};
};

/// The file a copy writes: a temporary file beside the final name, renamed onto it (replacing
/// a file of that name) only when complete; removed when the copy does not complete.
class CopyTarget {
public:
    virtual ~CopyTarget() = default;
    virtual FsResult Write(const char* data, std::size_t size) = 0;
    /// Finishes the temporary file, gives it `modified` when known, and puts it in place.
    virtual FsResult Commit(std::optional<Nanoseconds> modified) = 0;
};

class ShareSource final : public CopySource {
public:
    ShareSource(SmbContext& context, SmbSharePath path)
        : m_context(context), m_path(std::move(path)), m_file(context) {}

    FsResult Open() {
        if (const int error = m_file.Open(m_path.Url(), O_RDONLY))
            return Failure(m_context, m_path, error);
        struct stat status {};
        if (const int error = m_file.Stat(status))
            return Failure(m_context, m_path, error);
        if (S_ISDIR(status.st_mode))
            return FsError::kFailed;
        size = static_cast<std::uint64_t>(status.st_size);
        modified = ModificationTime(status);
        return true;
    }

    FsResult Read(char* buffer, std::size_t count, std::size_t& got) override {
        const int error = m_file.Read(buffer, count, got);
        return error ? Failure(m_context, m_path, error) : FsResult(true);
    }

    SmbFile& File() { return m_file; }
    const SmbSharePath& Path() const { return m_path; }

private:
    SmbContext& m_context;
    SmbSharePath m_path;
    SmbFile m_file;
};

class LocalSource final : public CopySource {
public:
    FsResult Open(const std::wstring& path) {
        const fs::path native = FindNameIgnoringCase(platform::ToFsPath(path));
        std::error_code error;
        const fs::file_status status = fs::status(native, error);
        if (!fs::exists(status))
            return error ? FsResult::FromErrorCode(error) : FsError::kNotFound;
        if (!fs::is_regular_file(status))
            return FsError::kFailed;
        size = fs::file_size(native, error);
        const fs::file_time_type time = fs::last_write_time(native, error);
        if (error)
            return FsResult::FromErrorCode(error);
        modified = std::chrono::duration_cast<Nanoseconds>(
            std::chrono::file_clock::to_sys(time).time_since_epoch());
        errno = 0;
        if (!m_in.open(native, std::ios::in | std::ios::binary))
            return LocalFailure(errno);
        return true;
    }

    FsResult Read(char* buffer, std::size_t count, std::size_t& got) override {
        errno = 0;
        const std::streamsize read = m_in.sgetn(buffer, static_cast<std::streamsize>(count));
        got = read > 0 ? static_cast<std::size_t>(read) : 0;
        // A short read before the expected end shows as a short copy.
        return true;
    }

private:
    std::filebuf m_in;
};

class ShareTarget final : public CopyTarget {
public:
    ShareTarget(SmbContext& context, SmbSharePath path)
        : m_context(context), m_path(std::move(path)),
          m_temporary(m_path.Sibling(TemporaryFileName())), m_file(context) {}

    ~ShareTarget() override {
        if (m_committed || !m_opened)
            return;
        m_file.Close();
        m_context.RemoveFile(m_temporary.Url());
    }

    FsResult Open() {
        if (m_path.names.empty())
            return FsError::kExists; // the share's root
        if (const int error = m_file.Open(m_temporary.Url(), O_WRONLY | O_CREAT | O_EXCL))
            return Failure(m_context, m_temporary, error);
        m_opened = true;
        return true;
    }

    FsResult Write(const char* data, std::size_t size) override {
        const int error = m_file.Write(data, size);
        return error ? Failure(m_context, m_temporary, error) : FsResult(true);
    }

    FsResult Commit(std::optional<Nanoseconds> modified) override {
        if (const int error = m_file.Close())
            return Failure(m_context, m_temporary, error);
        if (modified) {
            const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(*modified);
            struct timeval times[2];
            times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(micros.count() / 1000000);
            times[0].tv_usec = times[1].tv_usec =
                static_cast<suseconds_t>(micros.count() % 1000000);
            // A server may refuse it (to an anonymous user): the copy then keeps the time of
            // its writing, as a local copy does where times cannot be set.
            m_context.SetTimes(m_temporary.Url(), times);
        }
        // The library replaces whatever has the final name, even an empty folder: only a file
        // may be replaced.
        struct stat existing {};
        if (m_context.Stat(m_path.Url(), existing) == 0 && S_ISDIR(existing.st_mode))
            return FsError::kExists;
        if (const int error = m_context.Rename(m_temporary.Url(), m_path.Url()))
            return Failure(m_context, m_path, error);
        m_committed = true;
        return true;
    }

    SmbFile& File() { return m_file; }

private:
    SmbContext& m_context;
    SmbSharePath m_path;
    SmbSharePath m_temporary;
    SmbFile m_file;
    bool m_opened = false;
    bool m_committed = false;
};

class LocalTarget final : public CopyTarget {
public:
    ~LocalTarget() override {
        if (m_committed || m_temporary.empty())
            return;
        m_out.close();
        std::error_code ignored;
        fs::remove(m_temporary, ignored);
    }

    FsResult Open(const std::wstring& path) {
        // An existing file under another case is replaced, never joined by a second one.
        m_target = FindNameIgnoringCase(platform::ToFsPath(path));
        const fs::path temporary = m_target.parent_path() / platform::ToFsPath(TemporaryFileName());
        errno = 0;
        if (!m_out.open(temporary, std::ios::out | std::ios::binary | std::ios::trunc))
            return LocalFailure(errno);
        m_temporary = temporary;
        return true;
    }

    FsResult Write(const char* data, std::size_t size) override {
        errno = 0;
        if (m_out.sputn(data, static_cast<std::streamsize>(size)) !=
            static_cast<std::streamsize>(size))
            return LocalFailure(errno);
        return true;
    }

    FsResult Commit(std::optional<Nanoseconds> modified) override {
        errno = 0;
        const bool flushed = m_out.pubsync() == 0;
        if (!m_out.close() || !flushed)
            return LocalFailure(errno);
        std::error_code error;
        if (modified)
            fs::last_write_time(
                m_temporary,
                std::chrono::file_clock::from_sys(std::chrono::sys_time<Nanoseconds>(*modified)),
                error);
        if (fs::is_directory(fs::symlink_status(m_target, error)))
            return FsError::kExists;
        fs::rename(m_temporary, m_target, error);
        if (error)
            return FsResult::FromErrorCode(error);
        m_committed = true;
        return true;
    }

private:
    fs::path m_target;
    fs::path m_temporary;
    std::filebuf m_out;
    bool m_committed = false;
};

// Streams the source's bytes into the target; a source that ends early gives a short copy.
FsResult Stream(CopySource& source, CopyTarget& target) {
    // One buffer per thread for every copy: a fresh one per file costs a page fault per page.
    thread_local std::vector<char> buffer(kCopyChunk);
    std::uint64_t copied = 0;
    for (;;) {
        std::size_t got = 0;
        if (const FsResult read = source.Read(buffer.data(), buffer.size(), got); !read)
            return read;
        if (got == 0)
            break;
        if (const FsResult written = target.Write(buffer.data(), got); !written)
            return written;
        copied += got;
    }
    return copied == source.size ? FsResult(true) : FsError::kIo;
}

// Within one share the server copies the bytes itself; where it cannot, they are streamed.
FsResult CopyWithinShare(SmbContext& context, ShareSource& source, ShareTarget& target) {
    if (source.size > 0) {
        std::uint64_t copied = 0;
        const int error = source.File().SpliceTo(target.File(), source.size, copied);
        if (error == 0 && copied == source.size)
            return true;
        if (error != 0 && IsSmbConnectionError(error))
            return Failure(context, source.Path(), error);
    }
    return Stream(source, target);
}

SmbCredentials CredentialsOf(const std::wstring& userId, const std::wstring& password) {
    SmbCredentials credentials;
    const std::size_t separator = userId.find(L'\\');
    if (separator == std::wstring::npos) {
        credentials.user = platform::WideToUtf8(userId);
    } else {
        credentials.domain = platform::WideToUtf8(userId.substr(0, separator));
        credentials.user = platform::WideToUtf8(userId.substr(separator + 1));
    }
    credentials.password = platform::WideToUtf8(password);
    return credentials;
}

FsResult DeleteTreeOn(SmbContext& context, const SmbSharePath& path) {
    struct stat status {};
    if (const int error = context.Stat(path.Url(), status)) {
        const FsResult failure = Failure(context, path, error);
        return failure.Error() == FsError::kNotFound ? FsResult(true) : failure;
    }
    if (!S_ISDIR(status.st_mode)) {
        const int error = context.RemoveFile(path.Url());
        return error == 0 || error == ENOENT ? FsResult(true) : Failure(context, path, error);
    }
    std::vector<std::pair<std::string, bool>> entries;
    if (const int error = context.ListFolder(path.Url(), entries))
        return Failure(context, path, error);
    for (const auto& [name, isFolder] : entries) {
        if (const FsResult removed =
                DeleteTreeOn(context, path.Child(platform::Utf8FileNameToWide(name)));
            !removed)
            return removed;
    }
    if (path.names.empty())
        return true; // the share itself stays
    const int error = context.RemoveFolder(path.Url());
    return error == 0 || error == ENOENT ? FsResult(true) : Failure(context, path, error);
}

} // namespace

std::uint16_t SmbPortSetting() {
    const std::wstring value =
        platform::GetEnvironmentValue("RELAYDESK_SMB_PORT").value_or(std::wstring());
    if (value.empty() || value.size() > 5 ||
        !std::all_of(value.begin(), value.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
        return 0;
    const unsigned long port = std::stoul(value);
    return port <= 65535 ? static_cast<std::uint16_t>(port) : 0;
}

SmbFileSystem::SmbFileSystem(std::uint16_t port)
    : m_port(port != 0 ? port : SmbPortSetting()),
      m_credentials(std::make_unique<SmbCredentialTable>()),
      m_contexts(std::make_unique<SmbContextPool>(m_port, *m_credentials)) {}

SmbFileSystem::~SmbFileSystem() = default;

int SmbFileSystem::LogOn(const std::wstring& folder, const std::wstring& userId,
                         const std::wstring& password) {
    const std::optional<SmbSharePath> path = ParseSmbSharePath(folder);
    if (!path)
        return platform::kNetworkBadPathOrNoNetwork;
    // Without a user id the share's existing logon is checked, else an anonymous one.
    SmbCredentials credentials =
        userId.empty() ? m_credentials->Find(path->server, path->share).value_or(SmbCredentials{})
                       : CredentialsOf(userId, password);
    const SmbTrialCredentials trial(credentials);
    SmbContext context(m_port, trial);
    if (!context.Usable())
        return platform::kNetworkExtendedError;
    struct stat status {};
    const int error = context.Stat(path->Root().Url(), status);
    if (error == 0) {
        m_credentials->Store(path->server, path->share, std::move(credentials));
        return platform::kNetworkOk;
    }
    // A refused logon fails on every share, even on the server's IPC$ that admits every user
    // it knows; a share that refuses a known user fails alone.
    bool logonRefused = false;
    if (error == EACCES) {
        const SmbSharePath ipc{path->server, L"IPC$", {}};
        logonRefused = context.Stat(ipc.Url(), status) == EACCES;
    }
    return NetworkErrorFromSmbError(error, logonRefused);
}

FsResult SmbFileSystem::ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    const std::optional<SmbSharePath> path = ParseSmbSharePath(folder);
    if (!path)
        return kBadSharePath;
    SmbContextPool::Lease context = m_contexts->Acquire();
    std::vector<std::pair<std::string, bool>> names;
    if (const int error = context->ListFolder(path->Url(), names))
        return Failure(*context, *path, error);
    for (const auto& [name, isFolder] : names)
        entries.push_back(FolderEntry{platform::Utf8FileNameToWide(name), isFolder, false});
    // NTFS order; names that differ only in case (possible on some servers) keep a fixed order.
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const int order = CompareNtfsNames(a.name, b.name);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return true;
}

FsResult SmbFileSystem::GetItemInfo(const std::wstring& path, ItemInfo& info) {
    info = ItemInfo{};
    const std::optional<SmbSharePath> item = ParseSmbSharePath(path);
    if (!item)
        return kBadSharePath;
    SmbContextPool::Lease context = m_contexts->Acquire();
    struct stat status {};
    if (const int error = context->Stat(item->Url(), status))
        return Failure(*context, *item, error);
    info.isFolder = S_ISDIR(status.st_mode);
    info.size = info.isFolder ? 0 : static_cast<std::uint64_t>(status.st_size);
    info.modifiedSeconds = static_cast<std::int64_t>(status.st_mtim.tv_sec);
    info.modifiedTicks = static_cast<std::int64_t>(ModificationTime(status).count());
    return true;
}

FsResult SmbFileSystem::MakeFolder(const std::wstring& path) {
    const std::optional<SmbSharePath> folder = ParseSmbSharePath(path);
    if (!folder)
        return kBadSharePath;
    if (folder->names.empty())
        return FsError::kExists;
    SmbContextPool::Lease context = m_contexts->Acquire();
    // The server finds names without regard to case, so a name differing in case is taken.
    const int error = context->MakeFolder(folder->Url());
    return error ? Failure(*context, *folder, error) : FsResult(true);
}

FsResult SmbFileSystem::RenameNoReplace(const std::wstring& from, const std::wstring& to) {
    const std::optional<SmbSharePath> source = ParseSmbSharePath(from);
    const std::optional<SmbSharePath> target = ParseSmbSharePath(to);
    if (!source || !target)
        return kBadSharePath;
    if (!source->SameShare(*target) || source->names.empty() || target->names.empty())
        return FsError::kFailed;
    SmbContextPool::Lease context = m_contexts->Acquire();
    // The library would replace a file at the target: the name is checked first. The server
    // finds it without regard to case; the item itself may change the case of its name.
    struct stat status {};
    const int existing = context->Stat(target->Url(), status);
    const bool sameItem =
        source->names.size() == target->names.size() &&
        std::equal(source->names.begin(), source->names.end(), target->names.begin(), &NamesEqual);
    if (existing == 0 && !sameItem)
        return FsError::kExists;
    if (existing != 0 && existing != ENOENT)
        return Failure(*context, *target, existing);
    const int error = context->Rename(source->Url(), target->Url());
    return error ? Failure(*context, *source, error) : FsResult(true);
}

FsResult SmbFileSystem::DeleteTree(const std::wstring& path) {
    const std::optional<SmbSharePath> item = ParseSmbSharePath(path);
    if (!item)
        return kBadSharePath;
    SmbContextPool::Lease context = m_contexts->Acquire();
    return DeleteTreeOn(*context, *item);
}

FsResult SmbFileSystem::CopyFile(const std::wstring& from, const std::wstring& to) {
    const std::optional<SmbSharePath> fromShare = ParseSmbSharePath(from);
    const std::optional<SmbSharePath> toShare = ParseSmbSharePath(to);
    if ((IsNetworkPath(from) && !fromShare) || (IsNetworkPath(to) && !toShare))
        return kBadSharePath;
    if (!fromShare && !toShare)
        return LocalFileSystem().CopyFile(from, to);
    SmbContextPool::Lease context = m_contexts->Acquire();

    std::unique_ptr<CopySource> source;
    ShareSource* shareSource = nullptr;
    if (fromShare) {
        auto opened = std::make_unique<ShareSource>(*context, *fromShare);
        if (const FsResult open = opened->Open(); !open)
            return open;
        shareSource = opened.get();
        source = std::move(opened);
    } else {
        auto opened = std::make_unique<LocalSource>();
        if (const FsResult open = opened->Open(from); !open)
            return open;
        source = std::move(opened);
    }

    std::unique_ptr<CopyTarget> target;
    ShareTarget* shareTarget = nullptr;
    if (toShare) {
        auto opened = std::make_unique<ShareTarget>(*context, *toShare);
        if (const FsResult open = opened->Open(); !open)
            return open;
        shareTarget = opened.get();
        target = std::move(opened);
    } else {
        auto opened = std::make_unique<LocalTarget>();
        if (const FsResult open = opened->Open(to); !open)
            return open;
        target = std::move(opened);
    }

    const bool withinShare = shareSource && shareTarget && fromShare->SameShare(*toShare);
    const FsResult copied = withinShare ? CopyWithinShare(*context, *shareSource, *shareTarget)
                                        : Stream(*source, *target);
    if (!copied)
        return copied;
    return target->Commit(source->modified);
}

FsResult SmbFileSystem::ReadFile(const std::wstring& path, std::string& bytes,
                                 std::size_t maxBytes) {
    bytes.clear();
    const std::optional<SmbSharePath> file = ParseSmbSharePath(path);
    if (!file)
        return kBadSharePath;
    SmbContextPool::Lease context = m_contexts->Acquire();
    ShareSource source(*context, *file);
    if (const FsResult open = source.Open(); !open)
        return open;
    if (source.size > maxBytes)
        return FsError::kFailed;
    bytes.resize(static_cast<std::size_t>(source.size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t got = 0;
        if (const FsResult read = source.Read(bytes.data() + done, bytes.size() - done, got);
            !read) {
            bytes.clear();
            return read;
        }
        if (got == 0)
            break;
        done += got;
    }
    if (done != bytes.size()) {
        bytes.clear();
        return FsError::kIo;
    }
    return true;
}

FsResult SmbFileSystem::WriteFileAtomically(const std::wstring& path, std::string_view bytes) {
    const std::optional<SmbSharePath> file = ParseSmbSharePath(path);
    if (!file)
        return kBadSharePath;
    SmbContextPool::Lease context = m_contexts->Acquire();
    ShareTarget target(*context, *file);
    if (const FsResult open = target.Open(); !open)
        return open;
    if (const FsResult written = target.Write(bytes.data(), bytes.size()); !written)
        return written;
    return target.Commit(std::nullopt);
}

FsResult SmbFileSystem::Flush(const std::wstring& path) {
    const std::optional<SmbSharePath> item = ParseSmbSharePath(path);
    if (!item)
        return kBadSharePath;
    SmbContextPool::Lease context = m_contexts->Acquire();
    struct stat status {};
    const int error = context->Stat(item->Url(), status);
    return error ? Failure(*context, *item, error) : FsResult(true);
}

FsResult SmbFileSystem::GetFreeBytes(const std::wstring& path, std::uint64_t& freeBytes) {
    freeBytes = 0;
    const std::optional<SmbSharePath> item = ParseSmbSharePath(path);
    if (!item)
        return kBadSharePath;
    SmbContextPool::Lease context = m_contexts->Acquire();
    struct statvfs status {};
    if (const int error = context->StatVfs(item->Url(), status))
        return Failure(*context, *item, error);
    const std::uint64_t unit = status.f_frsize != 0 ? status.f_frsize : status.f_bsize;
    freeBytes = static_cast<std::uint64_t>(status.f_bavail) * unit;
    return true;
}

std::unique_ptr<FileSystem> MakeShareClient() {
    return std::make_unique<SmbFileSystem>();
}
