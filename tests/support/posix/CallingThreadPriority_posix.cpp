#include "ThreadStat.h"

bool CallingThreadRunsAtLowestNormalPriority() {
    const std::optional<ThreadStat> stat = ReadThreadStat("/proc/thread-self/stat");
    return stat && stat->nice == LowestNormalNice();
}
