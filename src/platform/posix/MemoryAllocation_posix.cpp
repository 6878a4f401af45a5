#include "platform/MemoryAllocation.h"

#include <malloc.h>

namespace platform {

void ReturnLargeBlocksPromptly() {
    // A fixed threshold stops glibc from raising it after each freed large block, which
    // would otherwise move later image buffers into the heap, where they fragment it.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

} // namespace platform
