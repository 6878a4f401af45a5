#pragma once
/// Contexts of the SMB client library. A context holds its own connections and is not safe
/// for two threads at once: each is leased to one caller at a time from a pool.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The client library's own type names, declared here so that its header stays in one file.
struct _SMBCCTX;  // NOLINT(bugprone-reserved-identifier)
struct _SMBCFILE; // NOLINT(bugprone-reserved-identifier)
struct stat;
struct statvfs;
struct timeval;

/// The logon to one share. Kept in memory only: never logged, never part of a URL.
struct SmbCredentials {
    std::string domain;
    /// Empty for an anonymous (guest) logon.
    std::string user;
    std::string password;
};

/// Answers the client library's question which logon to use for a share.
class SmbCredentialSource {
public:
    virtual ~SmbCredentialSource() = default;
    /// Called on the thread of the operation that connects; must be thread-safe.
    virtual SmbCredentials For(const std::wstring& server, const std::wstring& share) const = 0;
};

/// One client-library context; every call returns 0 or the errno of its failure.
class SmbContext {
public:
    /// `port` 0 tries the standard ports. `credentials` must outlive the context.
    SmbContext(std::uint16_t port, const SmbCredentialSource& credentials);
    ~SmbContext();
    SmbContext(const SmbContext&) = delete;
    SmbContext& operator=(const SmbContext&) = delete;

    /// False when the library could not set up a context (every call then fails).
    bool Usable() const { return m_context != nullptr; }

    int Stat(const std::string& url, struct stat& status);
    int StatVfs(const std::string& url, struct statvfs& status);
    int MakeFolder(const std::string& url);
    int RemoveFolder(const std::string& url);
    int RemoveFile(const std::string& url);
    /// Note: the library replaces an existing file at `to` (never a folder).
    int Rename(const std::string& from, const std::string& to);
    int SetTimes(const std::string& url, const struct timeval times[2]);
    /// The names in a folder ("." and ".." left out), with whether each is a folder.
    int ListFolder(const std::string& url, std::vector<std::pair<std::string, bool>>& entries);

    int Open(const std::string& url, int flags, _SMBCFILE*& file);
    int Read(_SMBCFILE* file, char* buffer, std::size_t size, std::size_t& got);
    int Write(_SMBCFILE* file, const char* data, std::size_t size);
    int FileStat(_SMBCFILE* file, struct stat& status);
    /// Server-side copy of `count` bytes between two open files of one server.
    int Splice(_SMBCFILE* from, _SMBCFILE* to, std::uint64_t count, std::uint64_t& copied);
    int Close(_SMBCFILE* file);

private:
    _SMBCCTX* m_context = nullptr;
};

/// An open file of a context, closed when it goes (use Close to see the result).
class SmbFile {
public:
    explicit SmbFile(SmbContext& context) : m_context(context) {}
    ~SmbFile();
    SmbFile(const SmbFile&) = delete;
    SmbFile& operator=(const SmbFile&) = delete;

    int Open(const std::string& url, int flags);
    int Read(char* buffer, std::size_t size, std::size_t& got);
    int Write(const char* data, std::size_t size);
    int Stat(struct stat& status);
    int SpliceTo(SmbFile& target, std::uint64_t count, std::uint64_t& copied);
    int Close();

private:
    SmbContext& m_context;
    _SMBCFILE* m_file = nullptr;
};

/// Contexts for any number of threads: each caller leases one for its own use and hands it
/// back, so connections are reused. Every context is freed with the pool, which must outlive
/// every lease.
class SmbContextPool {
public:
    SmbContextPool(std::uint16_t port, const SmbCredentialSource& credentials);
    ~SmbContextPool();

    class Lease {
    public:
        Lease(SmbContextPool& pool, std::unique_ptr<SmbContext> context);
        ~Lease();
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        SmbContext& operator*() const { return *m_context; }
        SmbContext* operator->() const { return m_context.get(); }

    private:
        SmbContextPool& m_pool;
        std::unique_ptr<SmbContext> m_context;
    };

    Lease Acquire();

private:
    const std::uint16_t m_port;
    const SmbCredentialSource& m_credentials;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<SmbContext>> m_idle;
};
