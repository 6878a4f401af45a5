#include "SpreadQueue.h"

#include <algorithm>
#include <chrono>

#include "platform/ThreadPriority.h"

namespace zori {

namespace {

/// How often a wait looks at the cancel flag; well within the second a cancel may take.
constexpr std::chrono::milliseconds kCancelLook{50};

} // namespace

SpreadQueue::SpreadQueue(std::size_t spreads, int threads, Work work)
    : m_work(std::move(work)), m_limit(spreads), m_results(spreads),
      m_stop(std::make_unique<std::atomic<bool>[]>(spreads)) {
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(1, threads)), spreads);
    m_threads.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        m_threads.emplace_back(&SpreadQueue::Run, this);
}

SpreadQueue::~SpreadQueue() {
    {
        std::lock_guard lock(m_mutex);
        StopFromLocked(0);
    }
    Join();
}

EngineResult SpreadQueue::WaitFor(std::size_t index, const std::atomic<bool>& cancel) {
    std::unique_lock lock(m_mutex);
    while (!m_results[index]) {
        // Spreads past a failure are never claimed; the caller stops at the failure first.
        if (cancel || index >= std::max(m_limit, m_next))
            return kResultCancelled;
        m_changed.wait_for(lock, kCancelLook);
    }
    return *m_results[index];
}

std::vector<std::size_t> SpreadQueue::AbandonFrom(std::size_t index) {
    {
        std::lock_guard lock(m_mutex);
        StopFromLocked(index);
    }
    Join();
    std::vector<std::size_t> completed;
    for (std::size_t i = index; i < m_results.size(); ++i)
        if (m_results[i] == kResultSuccess)
            completed.push_back(i);
    return completed;
}

void SpreadQueue::Run() {
    platform::LowerCurrentThreadPriority();
    for (;;) {
        std::size_t index = 0;
        {
            std::lock_guard lock(m_mutex);
            if (m_next >= m_limit)
                return;
            index = m_next++;
        }
        EngineResult result = kResultRenderingFailed;
        try {
            result = m_work(index, m_stop[index]);
        } catch (...) {
            // Out of memory or the like: the spread fails, the book reports it.
        }
        {
            std::lock_guard lock(m_mutex);
            m_results[index] = result;
            // A book stops at its first failure: the spreads after it are of no use.
            if (result != kResultSuccess)
                StopFromLocked(index + 1);
        }
        m_changed.notify_all();
    }
}

void SpreadQueue::StopFromLocked(std::size_t index) {
    m_limit = std::min(m_limit, index);
    for (std::size_t i = index; i < m_next; ++i)
        m_stop[i] = true;
}

void SpreadQueue::Join() {
    for (std::thread& thread : m_threads)
        if (thread.joinable())
            thread.join();
}

} // namespace zori
