#include "fileutil/ConcurrentBatch.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// The operations mostly wait (for the file system's bookkeeping, for the disk, for a share),
// so their number is not bound to the number of cores; more than this only queue up.
constexpr std::size_t kMaxThreads = 8;

std::size_t ThreadCount(std::size_t jobs) {
    return std::min(jobs, kMaxThreads);
}

} // namespace

std::size_t RunConcurrently(std::size_t jobCount, const std::function<bool(std::size_t)>& job) {
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> failed{0};
    const auto runUntilDone = [&] {
        for (std::size_t index; (index = next.fetch_add(1)) < jobCount;) {
            if (!job(index))
                failed.fetch_add(1);
        }
    };
    std::vector<std::jthread> helpers;
    for (std::size_t helper = 1; helper < ThreadCount(jobCount); ++helper)
        helpers.emplace_back(runUntilDone);
    runUntilDone();
    helpers.clear(); // joins
    return failed;
}
