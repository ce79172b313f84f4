#include "app/QuotaSummary.h"

namespace kelvra {

QuotaSummary SummariseQuota(const Session& session) {
    QuotaSummary summary;
    if (!session.LoggedIn())
        return summary;
    summary.shown = true;
    summary.used = session.search_num;
    summary.limit = session.search_count;
    // The same test as the ordinary quota rule: different dates lift the limit.
    summary.unlimited = session.s_ndate != session.s_hdate;
    summary.vip = session.IsVip();
    summary.usedVip = session.search_num_vip;
    summary.limitVip = session.search_count_vip;
    return summary;
}

} // namespace kelvra
