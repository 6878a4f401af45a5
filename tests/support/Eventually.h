#pragma once
/// Waiting, bounded, for what another thread or process does: `holds` is asked every
/// `interval` until it is true or `limit` has passed.

#include <chrono>
#include <thread>

/// Whether `holds` became true within `limit`; asked once more at the end.
template <typename Condition>
bool Eventually(const Condition& holds, std::chrono::milliseconds limit,
                std::chrono::milliseconds interval = std::chrono::milliseconds(10)) {
    for (const auto end = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < end;) {
        if (holds())
            return true;
        std::this_thread::sleep_for(interval);
    }
    return static_cast<bool>(holds());
}
