#pragma once
/// When an order whose transfer met a passing fault (a full or vanished share, a refused
/// rename) may be tried again: after a pause that doubles with every failure, so that a fault
/// that lasts costs a try every few minutes instead of a tight loop. Held in memory only: a
/// fresh start tries every order at once.

#include <chrono>
#include <map>
#include <string>

class RetrySchedule {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::seconds kFirstPause{5};
    static constexpr std::chrono::seconds kLongestPause{300};

    /// False while the order (named in any case) waits for its next try.
    bool IsDue(const std::wstring& order, Clock::time_point now = Clock::now()) const;
    /// Records a failed try; the pause until the next one.
    std::chrono::seconds Postpone(const std::wstring& order, Clock::time_point now = Clock::now());
    /// The order went through or failed for good: its next fault starts a new count.
    void Forget(const std::wstring& order);

private:
    struct Waiting {
        int failures = 0;
        Clock::time_point nextTry;
    };
    std::map<std::wstring, Waiting> m_waiting;
};
