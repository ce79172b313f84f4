#include "service/DecimalInt.h"

#include <limits>

namespace kelvra {

std::optional<std::int32_t> ParseDecimalInt32(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // Accumulate as a negative number so that the minimum value fits without overflow.
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > kMax + 1) {
            return std::nullopt;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < kMin || value > kMax) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

} // namespace kelvra
