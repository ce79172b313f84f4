#pragma once

#include <cstdint>

namespace kelvra {

// What the progress bar shows for a transfer.
struct ProgressPosition {
    bool busy = false; // the total is unknown or zero: a busy bar instead of a percentage
    int percent = 0;   // 0..100 when not busy
    bool operator==(const ProgressPosition&) const = default;
};

// received / total x 100, rounded up to the next whole number and held within 0..100; a total of
// 0 (the server announced no length) gives busy. Never fails.
ProgressPosition ProgressFor(std::uint64_t received, std::uint64_t total);

} // namespace kelvra
