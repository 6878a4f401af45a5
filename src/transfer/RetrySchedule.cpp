#include "transfer/RetrySchedule.h"

#include "fileutil/NameCase.h"

#include <algorithm>

bool RetrySchedule::IsDue(const std::wstring& order, Clock::time_point now) const {
    const auto waiting = m_waiting.find(UpperCaseName(order));
    return waiting == m_waiting.end() || now >= waiting->second.nextTry;
}

std::chrono::seconds RetrySchedule::Postpone(const std::wstring& order, Clock::time_point now) {
    Waiting& waiting = m_waiting[UpperCaseName(order)];
    // Doubling stops at the longest pause long before the shift could overflow.
    const int doublings = std::min(waiting.failures, 16);
    ++waiting.failures;
    const std::chrono::seconds pause =
        std::min<std::chrono::seconds>(kFirstPause * (1LL << doublings), kLongestPause);
    waiting.nextTry = now + pause;
    return pause;
}

void RetrySchedule::Forget(const std::wstring& order) {
    m_waiting.erase(UpperCaseName(order));
}
