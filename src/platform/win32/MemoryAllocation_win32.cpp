#include "platform/MemoryAllocation.h"

namespace platform {

// The Windows heap allocates large blocks from the system directly and returns them on free.
void ReturnLargeBlocksPromptly() {}

} // namespace platform
