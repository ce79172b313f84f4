// The pure session rules: machine, quotas, count sync and what each event clears.
#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/QuotaSummary.h"
#include "service/SessionRules.h"

namespace kelvra {
namespace {

Session Filled() {
    Session s;
    s.username = "alice";
    s.password = "pw";
    s.gid = "17";
    s.admin = "2";
    s.s_mac = "00-11-22-33-44-55";
    s.s_ip = "10.0.0.5";
    s.s_login = "True";
    s.s_ndate = "2024-01-01";
    s.s_hdate = "2024-01-01";
    s.search_num = 3;
    s.search_count = 20;
    s.search_num_vip = 1;
    s.search_count_vip = 9;
    return s;
}

TEST(SessionRules, SameMachine) {
    struct Case {
        const char* mac;
        const char* ip;
        const char* login;
        MachineIdentity local;
        bool here;
        bool elsewhere;
    };
    const Case cases[] = {
        {"00-11-22-33-44-55", "10.0.0.5", "True", {"00-11-22-33-44-55", "10.0.0.5"}, true, false},
        {"00-11-22-33-44-66", "10.0.0.5", "True", {"00-11-22-33-44-55", "10.0.0.5"}, false, true},
        {"00-11-22-33-44-55", "10.0.0.6", "True", {"00-11-22-33-44-55", "10.0.0.5"}, false, true},
        {"00-11-22-33-44-66", "10.0.0.5", "False", {"00-11-22-33-44-55", "10.0.0.5"}, false, false},
        {"00-11-22-33-44-66", "10.0.0.5", "true", {"00-11-22-33-44-55", "10.0.0.5"}, false, false},
        {"00-11-22-33-44-55", "10.0.0.5", "True", {"00-11-22-33-44-55", "10.0.0.5 "}, false, true},
        {"00-11-22-33-44-aa", "10.0.0.5", "True", {"00-11-22-33-44-AA", "10.0.0.5"}, false, true},
        {"", "10.0.0.5", "True", {"", "10.0.0.5"}, true, false},
    };
    for (const Case& c : cases) {
        Session s = Filled();
        s.s_mac = c.mac;
        s.s_ip = c.ip;
        s.s_login = c.login;
        EXPECT_EQ(OnThisMachine(s, c.local), c.here) << c.mac << " " << c.ip << " " << c.login;
        EXPECT_EQ(LoggedOnElsewhere(s, c.local), c.elsewhere) << c.mac << " " << c.ip;
    }
}

TEST(SessionRules, QuotaTestsComeBeforeTheIncrement) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    struct Case {
        std::int32_t count;
        std::int32_t limit;
        const char* ndate;
        const char* hdate;
        bool ordinary;
        bool vip;
    };
    const Case cases[] = {
        {5, 5, "d1", "d1", true, true},         {6, 5, "d1", "d1", false, false},
        {6, 5, "d1", "d2", true, false},        {4, 5, "d1", "d1", true, true},
        {-1, -2, "d1", "d1", false, false},     {0, 0, "", "", true, true},
        {6, 5, "D1", "d1", true, false},        {kMax, kMax, "d1", "d1", false, false},
        {kMax, kMax, "d1", "d2", false, false},
    };
    for (const Case& c : cases) {
        Session s;
        s.search_num = c.count;
        s.search_count = c.limit;
        s.search_num_vip = c.count;
        s.search_count_vip = c.limit;
        s.s_ndate = c.ndate;
        s.s_hdate = c.hdate;
        EXPECT_EQ(MayCountOrdinary(s), c.ordinary) << c.count << "/" << c.limit << " " << c.ndate;
        EXPECT_EQ(MayCountVip(s), c.vip) << c.count << "/" << c.limit << " " << c.ndate;
    }
}

// What the status bar shows of the quota: nothing logged out, the ordinary pages, the VIP pages
// for a VIP account, the limit lifted by differing dates.
TEST(SessionRules, QuotaSummaryForTheStatusBar) {
    Session loggedOut = Filled();
    DropSession(loggedOut);
    EXPECT_EQ(SummariseQuota(loggedOut), QuotaSummary{});

    Session ordinary = Filled();
    ordinary.admin = "1";
    EXPECT_EQ(SummariseQuota(ordinary), (QuotaSummary{true, 3, 20, false, false, 1, 9}));
    Session vip = Filled();
    EXPECT_EQ(SummariseQuota(vip), (QuotaSummary{true, 3, 20, false, true, 1, 9}));
    vip.s_hdate = "2025-01-01";
    EXPECT_EQ(SummariseQuota(vip), (QuotaSummary{true, 3, 20, true, true, 1, 9}));
}

TEST(SessionRules, CountSyncWhenBelowLimitOrDatesDiffer) {
    struct Case {
        std::int32_t count, limit;
        const char* ndate;
        const char* hdate;
        bool sync;
    };
    const Case cases[] = {
        {3, 20, "a", "a", true},   {20, 20, "a", "a", false}, {25, 20, "a", "b", true},
        {25, 20, "a", "a", false}, {20, 20, "", "x", true},
    };
    for (const Case& c : cases) {
        Session s;
        s.search_num = c.count;
        s.search_count = c.limit;
        s.s_ndate = c.ndate;
        s.s_hdate = c.hdate;
        EXPECT_EQ(NeedsCountSync(s), c.sync) << c.count << "/" << c.limit;
    }
}

// A session field as text, by its name, so that expected values can be table data.
std::string FieldText(const Session& s, const std::string& field) {
    const std::map<std::string, std::string> fields = {
        {"username", s.username},
        {"password", s.password},
        {"gid", s.gid},
        {"admin", s.admin},
        {"s_mac", s.s_mac},
        {"s_ip", s.s_ip},
        {"s_login", s.s_login},
        {"s_ndate", s.s_ndate},
        {"s_hdate", s.s_hdate},
        {"search_num", std::to_string(s.search_num)},
        {"search_count", std::to_string(s.search_count)},
        {"search_num_vip", std::to_string(s.search_num_vip)},
        {"search_count_vip", std::to_string(s.search_count_vip)},
    };
    const auto it = fields.find(field);
    return it == fields.end() ? "<no field " + field + ">" : it->second;
}

TEST(SessionRules, EventsClearTheirFields) {
    struct Case {
        const char* name;
        void (*event)(Session&);
        std::vector<std::pair<std::string, std::string>> expected; // field, value after
    };
    const Case cases[] = {
        {"start values",
         SetSessionStartValues,
         {{"username", ""},
          {"s_mac", ""},
          {"s_ip", ""},
          {"gid", "0"},
          {"admin", "1"},
          {"s_login", "False"},
          {"password", "pw"},
          {"search_num", "3"},
          {"s_hdate", "2024-01-01"}}},
        {"negative login",
         ApplyNegativeLogin,
         {{"username", ""},
          {"s_mac", ""},
          {"s_ip", ""},
          {"admin", "1"},
          {"gid", "0"},
          {"password", "pw"},
          {"s_login", "True"},
          {"search_num", "3"},
          {"s_hdate", "2024-01-01"}}},
        {"switch accounts",
         ClearForSwitchAccounts,
         {{"username", ""},
          {"s_login", "False"},
          {"password", "pw"},
          {"gid", "0"},
          {"admin", "1"},
          {"search_count", "20"}}},
        {"drop session",
         DropSession,
         {{"username", ""},
          {"password", ""},
          {"gid", "0"},
          {"admin", "2"},
          {"s_mac", "00-11-22-33-44-55"},
          {"s_login", "True"}}},
        {"drop session and VIP flag",
         DropSessionAndVipFlag,
         {{"password", ""}, {"admin", "1"}, {"s_ip", "10.0.0.5"}, {"search_num_vip", "1"}}},
    };
    for (const Case& c : cases) {
        Session s = Filled();
        c.event(s);
        for (const auto& [field, value] : c.expected)
            EXPECT_EQ(FieldText(s, field), value) << c.name << ": " << field;
    }
}

} // namespace
} // namespace kelvra
