#pragma once
/// How the process's heap treats large blocks.

namespace platform {

/// Makes large blocks (image buffers) go back to the system as soon as they are freed, so
/// that a long run of large, short-lived buffers does not leave the heap at its high-water
/// mark. Affects the whole process; harmless to call more than once.
void ReturnLargeBlocksPromptly();

} // namespace platform
