#pragma once
/// Composes the spreads of a book on several threads so that they overlap (one spread's
/// pictures decode while another is encoded) and hands their results back in book order.
/// Spreads are taken in book order, at most one per thread at a time, so at most `threads`
/// spreads' pictures are held at once.
///
/// Thread contract: made, waited on and destroyed by one thread (the composing thread).
/// The work runs on the queue's own threads, which start at the lowest normal priority;
/// the destructor stops what is still in flight and joins them.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "EngineResult.h"

namespace zori {

class SpreadQueue {
public:
    /// Composes spread `index`; stops soon (kResultCancelled) once `stop` is set.
    using Work = std::function<EngineResult(std::size_t index, const std::atomic<bool>& stop)>;

    SpreadQueue(std::size_t spreads, int threads, Work work);
    ~SpreadQueue();
    SpreadQueue(const SpreadQueue&) = delete;
    SpreadQueue& operator=(const SpreadQueue&) = delete;

    /// Waits for the result of spread `index`, or for `cancel`, which gives kResultCancelled.
    EngineResult WaitFor(std::size_t index, const std::atomic<bool>& cancel);

    /// Stops spread `index` and every one after it, waits until the threads have ended, and
    /// gives those of them that were completed all the same (their files are to be removed).
    std::vector<std::size_t> AbandonFrom(std::size_t index);

private:
    void Run();
    /// Claims no spread from `index` on and stops those in flight. Caller holds m_mutex.
    void StopFromLocked(std::size_t index);
    void Join();

    Work m_work;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_next = 0;  ///< the next spread to be claimed
    std::size_t m_limit = 0; ///< spreads from here on are not claimed
    std::vector<std::optional<EngineResult>> m_results;
    std::unique_ptr<std::atomic<bool>[]> m_stop; ///< per spread
    std::vector<std::thread> m_threads;
};

} // namespace zori
