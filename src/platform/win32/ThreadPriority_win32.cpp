#include "platform/ThreadPriority.h"

#include "WindowsHeaders.h"

namespace platform {

void LowerCurrentThreadPriority() {
    (void)SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST); // best effort
}

} // namespace platform
