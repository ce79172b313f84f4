#include "service/SessionRules.h"

#include <limits>

namespace kelvra {
namespace {
constexpr std::int32_t kMaxCount = std::numeric_limits<std::int32_t>::max();
} // namespace

void ApplyNegativeLogin(Session& session) {
    session.username.clear();
    session.s_mac.clear();
    session.s_ip.clear();
    session.admin = "1";
    session.gid = "0";
}

void ClearForSwitchAccounts(Session& session) {
    ApplyNegativeLogin(session);
    session.s_login = "False";
}

void SetSessionStartValues(Session& session) {
    // The start is logged out exactly as a switch of accounts leaves the record.
    ClearForSwitchAccounts(session);
}

void DropSession(Session& session) {
    session.username.clear();
    session.password.clear();
    session.gid = "0";
}

void DropSessionAndVipFlag(Session& session) {
    DropSession(session);
    session.admin = "1";
}

bool OnThisMachine(const Session& session, const MachineIdentity& machine) {
    return session.s_ip == machine.ip && session.s_mac == machine.mac;
}

bool LoggedOnElsewhere(const Session& session, const MachineIdentity& machine) {
    return !OnThisMachine(session, machine) && session.s_login == "True";
}

bool MayCountOrdinary(const Session& session) {
    if (session.search_num == kMaxCount) {
        return false;
    }
    return session.search_num <= session.search_count || session.s_ndate != session.s_hdate;
}

bool MayCountVip(const Session& session) {
    if (session.search_num_vip == kMaxCount) {
        return false;
    }
    return session.search_num_vip <= session.search_count_vip;
}

bool NeedsCountSync(const Session& session) {
    return session.search_num < session.search_count || session.s_hdate != session.s_ndate;
}

} // namespace kelvra
