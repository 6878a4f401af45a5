#include "fileutil/SmbContext.h"

#include "platform/TextEncoding.h"

#include <libsmbclient.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// The library keeps per-call state in process-wide stacks (its thread set-up is not exported
// by every build): one call at a time in the whole process, on whichever context.
std::mutex g_libraryMutex;

// The errno of the call that just failed; a failure that left none still counts as one.
int LastError() {
    return errno != 0 ? errno : EIO;
}

void CopyInto(const std::string& value, char* buffer, int size) {
    if (size <= 0)
        return;
    const std::size_t count = std::min(value.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, value.data(), count);
    buffer[count] = '\0';
}

void ProvideCredentials(SMBCCTX* context, const char* server, const char* share, char* domain,
                        int domainSize, char* user, int userSize, char* password,
                        int passwordSize) {
    const auto* source = static_cast<const SmbCredentialSource*>(smbc_getOptionUserData(context));
    const SmbCredentials credentials =
        source->For(platform::Utf8ToWide(server), platform::Utf8ToWide(share));
    CopyInto(credentials.domain, domain, domainSize);
    CopyInto(credentials.user, user, userSize);
    CopyInto(credentials.password, password, passwordSize);
}

// The library reports the progress of a server-side copy here and requires someone to listen;
// a non-zero answer lets the copy go on.
int ContinueSplice(off_t /*copied*/, void* /*unused*/) {
    return 1;
}

} // namespace

SmbContext::SmbContext(std::uint16_t port, const SmbCredentialSource& credentials) {
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    SMBCCTX* context = smbc_new_context();
    if (!context)
        return;
    smbc_setOptionUserData(context, const_cast<SmbCredentialSource*>(&credentials));
    smbc_setFunctionAuthDataWithContext(context, &ProvideCredentials);
    // A refused logon must be reported, not silently replaced by a guest logon; no ticket
    // cache or Kerberos of the machine's user takes part.
    smbc_setOptionNoAutoAnonymousLogin(context, 1);
    smbc_setOptionUseKerberos(context, 0);
    smbc_setOptionFallbackAfterKerberos(context, 1);
    smbc_setOptionUseCCache(context, 0);
    // Names with any character reach the server as given, and listings return them raw.
    smbc_setOptionUrlEncodeReaddirEntries(context, 0);
    smbc_setOptionFullTimeNames(context, 1);
    if (port != 0)
        smbc_setPort(context, port);
    if (!smbc_init_context(context)) {
        smbc_free_context(context, 1);
        return;
    }
    m_context = context;
}

SmbContext::~SmbContext() {
    if (!m_context)
        return;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    smbc_free_context(m_context, 1);
}

int SmbContext::Stat(const std::string& url, struct stat& status) {
    if (!m_context)
        return EIO;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    return smbc_getFunctionStat(m_context)(m_context, url.c_str(), &status) == 0 ? 0 : LastError();
}

int SmbContext::StatVfs(const std::string& url, struct statvfs& status) {
    if (!m_context)
        return EIO;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    std::string writable = url;
    return smbc_getFunctionStatVFS(m_context)(m_context, writable.data(), &status) == 0
               ? 0
               : LastError();
}

int SmbContext::MakeFolder(const std::string& url) {
    if (!m_context)
        return EIO;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    return smbc_getFunctionMkdir(m_context)(m_context, url.c_str(), 0755) == 0 ? 0 : LastError();
}

int SmbContext::RemoveFolder(const std::string& url) {
    if (!m_context)
        return EIO;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    return smbc_getFunctionRmdir(m_context)(m_context, url.c_str()) == 0 ? 0 : LastError();
}

int SmbContext::RemoveFile(const std::string& url) {
    if (!m_context)
        return EIO;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    return smbc_getFunctionUnlink(m_context)(m_context, url.c_str()) == 0 ? 0 : LastError();
}

int SmbContext::Rename(const std::string& from, const std::string& to) {
    if (!m_context)
        return EIO;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    return smbc_getFunctionRename(m_context)(m_context, from.c_str(), m_context, to.c_str()) == 0
               ? 0
               : LastError();
}

int SmbContext::SetTimes(const std::string& url, const struct timeval times[2]) {
    if (!m_context)
        return EIO;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    struct timeval writable[2] = {times[0], times[1]};
    return smbc_getFunctionUtimes(m_context)(m_context, url.c_str(), writable) == 0 ? 0
                                                                                    : LastError();
}

int SmbContext::ListFolder(const std::string& url,
                           std::vector<std::pair<std::string, bool>>& entries) {
    entries.clear();
    if (!m_context)
        return EIO;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    SMBCFILE* folder = smbc_getFunctionOpendir(m_context)(m_context, url.c_str());
    if (!folder)
        return LastError();
    int error = 0;
    for (;;) {
        errno = 0;
        const smbc_dirent* entry = smbc_getFunctionReaddir(m_context)(m_context, folder);
        if (!entry) {
            // The end of the listing leaves errno alone; a broken connection sets it.
            error = errno;
            break;
        }
        const std::string name(entry->name);
        if (name == "." || name == "..")
            continue;
        if (entry->smbc_type == SMBC_DIR || entry->smbc_type == SMBC_FILE ||
            entry->smbc_type == SMBC_LINK)
            entries.emplace_back(name, entry->smbc_type == SMBC_DIR);
    }
    smbc_getFunctionClosedir(m_context)(m_context, folder);
    if (error != 0)
        entries.clear();
    return error;
}

int SmbContext::Open(const std::string& url, int flags, SMBCFILE*& file) {
    file = nullptr;
    if (!m_context)
        return EIO;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    file = smbc_getFunctionOpen(m_context)(m_context, url.c_str(), flags, 0644);
    return file ? 0 : LastError();
}

int SmbContext::Read(SMBCFILE* file, char* buffer, std::size_t size, std::size_t& got) {
    got = 0;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    const ssize_t read = smbc_getFunctionRead(m_context)(m_context, file, buffer, size);
    if (read < 0)
        return LastError();
    got = static_cast<std::size_t>(read);
    return 0;
}

int SmbContext::Write(SMBCFILE* file, const char* data, std::size_t size) {
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    while (size > 0) {
        errno = 0;
        const ssize_t written = smbc_getFunctionWrite(m_context)(m_context, file, data, size);
        if (written <= 0)
            return LastError();
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

int SmbContext::FileStat(SMBCFILE* file, struct stat& status) {
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    return smbc_getFunctionFstat(m_context)(m_context, file, &status) == 0 ? 0 : LastError();
}

int SmbContext::Splice(SMBCFILE* from, SMBCFILE* to, std::uint64_t count, std::uint64_t& copied) {
    copied = 0;
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    const off_t done = smbc_getFunctionSplice(m_context)(
        m_context, from, to, static_cast<off_t>(count), &ContinueSplice, nullptr);
    if (done < 0)
        return LastError();
    copied = static_cast<std::uint64_t>(done);
    return 0;
}

int SmbContext::Close(SMBCFILE* file) {
    std::lock_guard<std::mutex> lock(g_libraryMutex);
    errno = 0;
    return smbc_getFunctionClose(m_context)(m_context, file) == 0 ? 0 : LastError();
}

SmbFile::~SmbFile() {
    if (m_file)
        m_context.Close(m_file);
}

int SmbFile::Open(const std::string& url, int flags) {
    return m_context.Open(url, flags, m_file);
}

int SmbFile::Read(char* buffer, std::size_t size, std::size_t& got) {
    return m_context.Read(m_file, buffer, size, got);
}

int SmbFile::Write(const char* data, std::size_t size) {
    return m_context.Write(m_file, data, size);
}

int SmbFile::Stat(struct stat& status) {
    return m_context.FileStat(m_file, status);
}

int SmbFile::SpliceTo(SmbFile& target, std::uint64_t count, std::uint64_t& copied) {
    return m_context.Splice(m_file, target.m_file, count, copied);
}

int SmbFile::Close() {
    SMBCFILE* file = m_file;
    m_file = nullptr;
    return file ? m_context.Close(file) : 0;
}

SmbContextPool::SmbContextPool(std::uint16_t port, const SmbCredentialSource& credentials)
    : m_port(port), m_credentials(credentials) {}

SmbContextPool::~SmbContextPool() = default;

SmbContextPool::Lease SmbContextPool::Acquire() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_idle.empty()) {
            std::unique_ptr<SmbContext> context = std::move(m_idle.back());
            m_idle.pop_back();
            return Lease(*this, std::move(context));
        }
    }
    return Lease(*this, std::make_unique<SmbContext>(m_port, m_credentials));
}

SmbContextPool::Lease::Lease(SmbContextPool& pool, std::unique_ptr<SmbContext> context)
    : m_pool(pool), m_context(std::move(context)) {}

SmbContextPool::Lease::~Lease() {
    if (!m_context || !m_context->Usable())
        return;
    std::lock_guard<std::mutex> lock(m_pool.m_mutex);
    m_pool.m_idle.push_back(std::move(m_context));
}
