#include "platform/SingleInstance.h"

#include "platform/TextEncoding.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace platform {

// The lock is an flock on "<name>.lock" in the user's runtime folder, which holds the
// holder's process id so that others can name it and signal it; a request to raise the
// window is a file "<name>.raise" beside it that the running copy consumes.
struct SingleInstanceGuard::Impl {
    std::string lockPath;
    std::string raisePath;
    int descriptor = -1;
    bool first = false;
};

namespace {

constexpr char kReloadable[] = "reloadable";

/// The lock file's record: the holder's process id, and "reloadable" when it takes reload
/// requests. Without it the lock still holds; others then cannot name or signal the holder.
void WriteHolderRecord(int descriptor, const std::string& record) {
    if (ftruncate(descriptor, 0) != 0)
        return;
    [[maybe_unused]] const ssize_t written = pwrite(descriptor, record.data(), record.size(), 0);
}

std::string ReadHolderRecord(int descriptor) {
    char text[64] = {};
    if (descriptor < 0 || pread(descriptor, text, sizeof(text) - 1, 0) <= 0)
        return {};
    return text;
}

std::string RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return runtime;
    return "/tmp/relaydesk-" + std::to_string(getuid());
}

} // namespace

SingleInstanceGuard::SingleInstanceGuard(const std::wstring& name)
    : m_impl(std::make_unique<Impl>()) {
    std::string folder = RuntimeFolder();
    mkdir(folder.c_str(), 0700);
    m_impl->lockPath = folder + "/" + WideToUtf8(name) + ".lock";
    m_impl->raisePath = folder + "/" + WideToUtf8(name) + ".raise";
    m_impl->descriptor = open(m_impl->lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    m_impl->first = m_impl->descriptor >= 0 && flock(m_impl->descriptor, LOCK_EX | LOCK_NB) == 0;
    if (m_impl->first) {
        unlink(m_impl->raisePath.c_str());
        WriteHolderRecord(m_impl->descriptor, std::to_string(getpid()) + "\n");
    }
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (m_impl->descriptor >= 0)
        close(m_impl->descriptor);
}

bool SingleInstanceGuard::IsFirstInstance() const {
    return m_impl->first;
}

int SingleInstanceGuard::HolderProcessId() const {
    if (m_impl->first)
        return static_cast<int>(getpid());
    return std::atoi(ReadHolderRecord(m_impl->descriptor).c_str());
}

std::wstring SingleInstanceGuard::LockName() const {
    return Utf8ToWide(m_impl->lockPath);
}

void SingleInstanceGuard::AnnounceReloadable() {
    if (m_impl->first)
        WriteHolderRecord(m_impl->descriptor, std::to_string(getpid()) + " " + kReloadable + "\n");
}

bool SingleInstanceGuard::HolderTakesReload() const {
    if (m_impl->first)
        return false;
    return ReadHolderRecord(m_impl->descriptor).find(kReloadable) != std::string::npos;
}

void SingleInstanceGuard::AskRunningInstanceToRaise() {
    int descriptor = open(m_impl->raisePath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor >= 0)
        close(descriptor);
}

bool SingleInstanceGuard::TakeRaiseRequest() {
    return m_impl->first && unlink(m_impl->raisePath.c_str()) == 0;
}

} // namespace platform
