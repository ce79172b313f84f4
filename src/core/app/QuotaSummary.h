#pragma once

#include <cstdint>

#include "state/Session.h"

namespace kelvra {

// What the status bar shows of the day's counted product pages.
struct QuotaSummary {
    bool shown = false;     // false while nobody is logged in: nothing is shown
    std::int32_t used = 0;  // search_num
    std::int32_t limit = 0; // search_count
    bool unlimited = false; // the two account dates differ: the ordinary limit does not apply
    bool vip = false;       // a VIP account: its own pages are shown as well
    std::int32_t usedVip = 0;
    std::int32_t limitVip = 0;

    bool operator==(const QuotaSummary&) const = default;
};

// The summary of the session as the service last described it. Never fails.
QuotaSummary SummariseQuota(const Session& session);

} // namespace kelvra
