#pragma once
/// Runs many small independent file operations side by side.
///
/// Copying or deleting an order's pictures one file after another leaves the machine mostly
/// waiting: on the kernel's page copying, on the file system's bookkeeping for freed blocks,
/// or on a share's round trips. A few at once finish well before the same ones in a row.

#include <cstddef>
#include <functional>

/// Calls `job(0)` ... `job(jobCount - 1)`, each exactly once, on a few threads (the calling
/// one among them), and returns once all have ended. `job` reports success; the result is
/// the number of jobs that failed. Jobs must not depend on each other's order.
std::size_t RunConcurrently(std::size_t jobCount, const std::function<bool(std::size_t)>& job);
