#include "ThreadStat.h"

#include "platform/win32/WindowsHeaders.h"

bool CallingThreadRunsAtLowestNormalPriority() {
    return GetThreadPriority(GetCurrentThread()) == THREAD_PRIORITY_LOWEST;
}
