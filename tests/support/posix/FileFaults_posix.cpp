#include "FileFaults.h"

#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The capabilities by which the super-user reads, lists, changes and deletes what its
// permission bits refuse.
constexpr int kPermissionPassingCapabilities[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH,
                                                  CAP_FOWNER};

// Takes the capabilities above out of, or back into, the calling thread's effective set
// (they stay permitted). There is no C library wrapper for these calls without libcap.
bool SetPermissionPassing(bool effective) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    for (const int capability : kPermissionPassingCapabilities) {
        const auto bit = 1u << (capability % 32);
        auto& set = data[capability / 32].effective;
        set = effective ? (set | bit) : (set & ~bit);
    }
    return syscall(SYS_capset, &header, data) == 0;
}

} // namespace

bool RunningAsRoot() {
    return geteuid() == 0;
}

PermissionsApply::PermissionsApply() {
    if (!RunningAsRoot()) {
        m_bActive = true;
        return;
    }
    m_bCapabilitiesSetAside = SetPermissionPassing(false);
    m_bActive = m_bCapabilitiesSetAside;
}

PermissionsApply::~PermissionsApply() {
    if (m_bCapabilitiesSetAside)
        SetPermissionPassing(true);
}

bool FileModeBitsKept() {
    return true;
}

bool FileSizeLimit::Available() {
    return true;
}

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    // Without this the process would be killed instead of the write failing.
    m_pPreviousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_nPreviousSoft = limit.rlim_cur;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_nPreviousSoft;
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, m_pPreviousHandler);
}
