#include "platform/SingleInstance.h"

#include "platform/TextEncoding.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace platform {

// The lock is an flock on "<name>.lock" in the user's runtime folder; a request to raise
// the window is a file "<name>.raise" beside it that the running copy consumes.
struct SingleInstanceGuard::Impl {
    std::string lockPath;
    std::string raisePath;
    int descriptor = -1;
    bool first = false;
};

namespace {

std::string RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return runtime;
    return "/tmp/relaydesk-" + std::to_string(getuid());
}

} // namespace

SingleInstanceGuard::SingleInstanceGuard(const std::wstring& name) : m_impl(std::make_unique<Impl>()) {
    std::string folder = RuntimeFolder();
    mkdir(folder.c_str(), 0700);
    m_impl->lockPath = folder + "/" + WideToUtf8(name) + ".lock";
    m_impl->raisePath = folder + "/" + WideToUtf8(name) + ".raise";
    m_impl->descriptor = open(m_impl->lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    m_impl->first = m_impl->descriptor >= 0 && flock(m_impl->descriptor, LOCK_EX | LOCK_NB) == 0;
    if (m_impl->first)
        unlink(m_impl->raisePath.c_str());
}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (m_impl->descriptor >= 0)
        close(m_impl->descriptor);
}

bool SingleInstanceGuard::IsFirstInstance() const {
    return m_impl->first;
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
