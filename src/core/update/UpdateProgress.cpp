#include "update/UpdateProgress.h"

#include <cmath>
#include <limits>

namespace kelvra {

ProgressPosition ProgressFor(std::uint64_t received, std::uint64_t total) {
    if (total == 0) {
        return {true, 0};
    }
    if (received >= total) {
        return {false, 100};
    }
    // Exact integer rounding up while received * 100 fits; beyond that (totals above 10^17
    // bytes) floating point is close enough.
    if (received <= std::numeric_limits<std::uint64_t>::max() / 100) {
        const std::uint64_t scaled = received * 100;
        return {false, static_cast<int>(scaled / total + (scaled % total != 0 ? 1 : 0))};
    }
    const long double ratio = static_cast<long double>(received) * 100 / total;
    return {false, static_cast<int>(std::ceil(ratio))};
}

} // namespace kelvra
