#include "platform/ThreadPriority.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kHighestNice = 19;

} // namespace

void LowerCurrentThreadPriority() {
    // Linux keeps a nice value per thread; PRIO_PROCESS with a thread id addresses one
    // thread, and with the process id the main thread.
    errno = 0;
    const int processNice = getpriority(PRIO_PROCESS, static_cast<id_t>(getpid()));
    if (errno != 0)
        return;
    const id_t thread = static_cast<id_t>(gettid());
    errno = 0;
    const int threadNice = getpriority(PRIO_PROCESS, thread);
    if (errno != 0)
        return;
    const int lowest = std::min(kHighestNice, processNice + kLowestNormalNiceRaise);
    if (threadNice < lowest)
        (void)setpriority(PRIO_PROCESS, thread, lowest); // best effort, as documented
}

} // namespace platform
