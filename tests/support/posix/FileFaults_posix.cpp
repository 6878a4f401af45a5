#include "FileFaults.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

bool RunningAsRoot() {
    return geteuid() == 0;
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
