#pragma once

#include <chrono>

namespace kelvra::test {

// Whole milliseconds from `start` to now on the steady clock (never fails).
inline long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

} // namespace kelvra::test
