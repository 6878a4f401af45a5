#include "fileutil/ConcurrentBatch.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// More file operations at once than this only queue up in the kernel or at the share.
constexpr std::size_t kMaxThreads = 4;

std::size_t ThreadCount(std::size_t jobs) {
    const std::size_t cores = std::max<std::size_t>(2, std::thread::hardware_concurrency());
    return std::min({jobs, cores, kMaxThreads});
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
