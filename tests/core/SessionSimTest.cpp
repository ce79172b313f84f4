// The session protocol against the stand-in service on loopback: outcomes, the record, the
// stored account state and the exact request targets the service received.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "service/HttpTransport.h"
#include "service/SessionClient.h"
#include "service/SessionNotices.h"
#include "service/SessionRules.h"
#include "support/SimProcess.h"

namespace kelvra {
namespace {

using test::SimProcess;

const MachineIdentity kHere{"0A-1B-2C-3D-4E-5F", "192.168.7.20"};
const std::string kLogin = "/kelvra_cd/xml/get_login_status.asp?mac=0A-1B-2C-3D-4E-5F"
                           "&IP=192.168.7.20&username=";

class SessionSimTest : public ::testing::Test {
protected:
    SessionSimTest() {
        state.xmlBaseUrl = sim.Root() + "/kelvra_cd/xml/";
        state.pageBaseUrl = sim.Root() + "/kelvra_cd/en/";
        state.language = "English";
        state.heldTexts = {{"login", "Welcome"}, {"no_login", "Not logged in"}};
        options.connectTimeoutMs = 2000;
        options.totalTimeoutMs = 2000;
    }
    SessionClient Client() { return SessionClient(state, *transport, kHere, options); }
    SessionResult Login(const std::string& user, const std::string& password) {
        SessionResult r = Client().FullLoginCheck(
            user, password, [this](const std::string& c) { captions.push_back(c); });
        return r;
    }
    // The stored account as name=value lines.
    std::map<std::string, std::string> Account(const std::string& user,
                                               const std::string& set = "") {
        std::istringstream lines(
            sim.Control("/__sim/account?username=" + SimProcess::Encode(user) + set));
        std::map<std::string, std::string> fields;
        for (std::string line; std::getline(lines, line);) {
            auto eq = line.find('=');
            if (eq != std::string::npos) {
                fields[line.substr(0, eq)] = line.substr(eq + 1);
            }
        }
        return fields;
    }
    void CannedLoginReply(const std::string& xml) {
        sim.Control("/__sim/list?path=get_login_status.asp&body=" + SimProcess::Encode(xml));
    }

    SimProcess sim;
    std::unique_ptr<HttpTransport> transport = MakeCurlTransport();
    AppState state;
    HttpRequestOptions options;
    std::vector<std::string> captions;
};

TEST_F(SessionSimTest, FullCheckFillsTheRecordAndSyncsTheCount) {
    ASSERT_EQ(Login("demo", "demo123").outcome, SessionOutcome::Positive);
    const Session& s = state.session;
    EXPECT_EQ(s.username, "demo");
    EXPECT_EQ(s.gid, "101");
    EXPECT_EQ(s.admin, "1");
    EXPECT_EQ(s.s_mac, kHere.mac);
    EXPECT_EQ(s.s_ip, kHere.ip);
    EXPECT_EQ(s.s_login, "True");
    EXPECT_EQ(s.search_count, 20);
    EXPECT_EQ(captions, (std::vector<std::string>{"Kelvra(Ver 1.0.0.3)    Welcome,demo"}));
    EXPECT_TRUE(OnThisMachine(s, kHere));
    EXPECT_EQ(sim.Requests(),
              (std::vector<std::string>{
                  kLogin + "demo&password=demo123",
                  "/kelvra_cd/xml/set_search_num.asp?username=demo&password=demo123&searchnum=0"}));
}

TEST_F(SessionSimTest, CountSyncCases) {
    struct Case {
        const char* user;
        const char* password;
        std::vector<std::string> reports;
    };
    const Case cases[] = {
        {"limit", "limit123", {}}, // 5 of 5, equal dates
        {"dates",
         "dates123",
         {"/kelvra_cd/xml/set_search_num.asp?username=dates&password=dates123&searchnum=30"}},
    };
    for (const Case& c : cases) {
        sim.ClearRequests();
        ASSERT_TRUE(Login(c.user, c.password).positive()) << c.user;
        std::vector<std::string> expected{kLogin + c.user + "&password=" + c.password};
        expected.insert(expected.end(), c.reports.begin(), c.reports.end());
        EXPECT_EQ(sim.Requests(), expected) << c.user;
    }
}

TEST_F(SessionSimTest, OddCharactersArriveAsOneValue) {
    struct Case {
        std::string user, password, wireUser, wirePassword;
    };
    const Case cases[] = {
        {"a&b c", "p#1+%", "a%26b%20c", "p%231%2B%25"},
        {"张伟", "zhang123", "%D5%C5%CE%B0", "zhang123"},
    };
    for (const Case& c : cases) {
        sim.ClearRequests();
        captions.clear();
        ASSERT_EQ(Login(c.user, c.password).outcome, SessionOutcome::Positive) << c.user;
        EXPECT_EQ(captions.back(), "Kelvra(Ver 1.0.0.3)    Welcome," + c.user);
        EXPECT_EQ(Account(c.user)["s_login"], "True");
        EXPECT_EQ(sim.Requests().front(), kLogin + c.wireUser + "&password=" + c.wirePassword);
        // The count report is read by the service as well.
        EXPECT_EQ(sim.Requests().back(),
                  "/kelvra_cd/xml/set_search_num.asp?username=" + c.wireUser + "&password=" +
                      c.wirePassword + "&searchnum=" + std::to_string(state.session.search_num));
        EXPECT_FALSE(SendLogoutOnClose(state, *transport, true, options));
        EXPECT_EQ(Account(c.user)["s_login"], "False");
    }
}

TEST_F(SessionSimTest, WrongPasswordIsNegative) {
    EXPECT_EQ(Login("demo", "demo12").outcome, SessionOutcome::Negative);
    EXPECT_EQ(state.session.username, "");
    EXPECT_EQ(captions, (std::vector<std::string>{"Kelvra(Ver 1.0.0.3)    Not logged in"}));
    EXPECT_EQ(sim.Requests(), (std::vector<std::string>{kLogin + "demo&password=demo12"}));
}

TEST_F(SessionSimTest, QuotaBoundariesAgainstTheStoredCount) {
    ASSERT_TRUE(Login("limit", "limit123").positive());
    sim.ClearRequests();
    SessionClient client = Client();
    // 5 of 5: counted, 6 reported and stored.
    ASSERT_TRUE(client.ReadOnlyLoginCheck().positive());
    EXPECT_EQ(client.ApplyOrdinaryQuota(), QuotaOutcome::Counted);
    EXPECT_EQ(Account("limit")["search_num"], "6");
    // The next check brings back 6: refused, nothing sent.
    ASSERT_TRUE(client.ReadOnlyLoginCheck().positive());
    EXPECT_EQ(state.session.search_num, 6);
    EXPECT_EQ(client.ApplyOrdinaryQuota(), QuotaOutcome::Refused);
    // Different dates lift the limit.
    Account("limit", "&s_hdate=2030-01-01");
    ASSERT_TRUE(client.ReadOnlyLoginCheck().positive());
    EXPECT_EQ(client.ApplyOrdinaryQuota(), QuotaOutcome::Counted);
    EXPECT_EQ(Account("limit")["search_num"], "7");

    const std::string check = kLogin + "limit&password=limit123&read_only=1";
    EXPECT_EQ(
        sim.Requests(),
        (std::vector<std::string>{
            check, "/kelvra_cd/xml/set_search_num.asp?username=limit&password=limit123&searchnum=6",
            check, check,
            "/kelvra_cd/xml/set_search_num.asp?username=limit&password=limit123&searchnum=7"}));
}

TEST_F(SessionSimTest, VipQuotaIgnoresTheDates) {
    ASSERT_TRUE(Login("viplimit", "viplimit123").positive());
    EXPECT_TRUE(state.session.IsVip());
    Account("viplimit", "&search_num_vip=2&s_hdate=2030-01-01");
    SessionClient client = Client();
    ASSERT_TRUE(client.ReadOnlyLoginCheck().positive());
    sim.ClearRequests();
    EXPECT_EQ(client.ApplyVipQuota(), QuotaOutcome::Counted);
    EXPECT_EQ(Account("viplimit")["search_num_vip"], "3");
    ASSERT_TRUE(client.ReadOnlyLoginCheck().positive());
    EXPECT_EQ(client.ApplyVipQuota(), QuotaOutcome::Refused);
    EXPECT_EQ(sim.Requests(),
              (std::vector<std::string>{"/kelvra_cd/xml/set_search_num_vip.asp?username=viplimit"
                                        "&password=viplimit123&searchnum_vip=3",
                                        kLogin + "viplimit&password=viplimit123&read_only=1"}));
}

TEST_F(SessionSimTest, SameMachineRuleFromTheReadOnlyCheck) {
    ASSERT_TRUE(Login("demo", "demo123").positive());
    SessionClient client = Client();
    struct Case {
        std::string set;
        bool elsewhere;
    };
    const Case cases[] = {
        {"", false},
        {"&s_mac=0A-1B-2C-3D-4E-60", true},
        {"&s_mac=0A-1B-2C-3D-4E-5F&s_ip=192.168.7.21", true},
        {"&s_login=False", false},
        {"&s_ip=192.168.7.20&s_login=True", false},
    };
    for (const Case& c : cases) {
        Account("demo", c.set);
        ASSERT_TRUE(client.ReadOnlyLoginCheck().positive()) << c.set;
        EXPECT_EQ(LoggedOnElsewhere(state.session, kHere), c.elsewhere) << c.set;
    }
}

TEST_F(SessionSimTest, RepliesWithMissingAttributeOrTwoUserinfo) {
    CannedLoginReply(
        "<r><returnValue>true</returnValue><userinfo gid='9' admin='1' s_mac='m' s_ip='i' "
        "search_num='4' search_count='8' s_ndate='n' search_num_vip='0' "
        "search_count_vip='0'/></r>");
    EXPECT_TRUE(Login("demo", "demo123").failed());
    EXPECT_EQ(state.session.username, "demo");
    EXPECT_EQ(state.session.gid, "9");
    EXPECT_EQ(state.session.s_ndate, "n");
    EXPECT_EQ(state.session.search_count, 8);
    EXPECT_EQ(state.session.s_login, "True");
    EXPECT_TRUE(captions.empty());
    EXPECT_EQ(sim.Requests(), (std::vector<std::string>{kLogin + "demo&password=demo123"}));

    CannedLoginReply("<r><returnValue>true</returnValue>"
                     "<userinfo gid='1' admin='1' s_mac='a' s_ip='b' search_num='1' "
                     "search_count='1' s_ndate='d' s_hdate='d' search_num_vip='0' "
                     "search_count_vip='0'/>"
                     "<userinfo gid='2' admin='5' s_mac='c' s_ip='e' search_num='3' "
                     "search_count='3' s_ndate='d' s_hdate='d' search_num_vip='1' "
                     "search_count_vip='4'/></r>");
    sim.ClearRequests();
    EXPECT_TRUE(Login("demo", "demo123").positive());
    EXPECT_EQ(state.session.gid, "2");
    EXPECT_EQ(state.session.admin, "5");
    EXPECT_EQ(state.session.search_count_vip, 4);
    EXPECT_EQ(captions.size(), 2u);
    EXPECT_EQ(sim.Requests().size(), 1u); // 3 of 3 with equal dates: no count report
}

TEST_F(SessionSimTest, LogoutNoticesInBothForms) {
    ASSERT_TRUE(Login("demo", "demo123").positive());
    sim.ClearRequests();
    EXPECT_FALSE(SendLogoutOnClose(state, *transport, true, options));
    EXPECT_EQ(Account("demo")["s_login"], "False");
    EXPECT_EQ(state.session.username, "demo");

    ASSERT_TRUE(Login("demo", "demo123").positive());
    sim.ClearRequests();
    captions.clear();
    EXPECT_FALSE(SwitchAccountsLogout(
        state, *transport, true, [this](const std::string& c) { captions.push_back(c); }, options));
    EXPECT_EQ(Account("demo")["s_login"], "False");
    EXPECT_EQ(state.session.username, "");
    EXPECT_EQ(captions, (std::vector<std::string>{"Kelvra(Ver 1.0.0.3)    Not logged in"}));
    EXPECT_EQ(sim.Requests(),
              (std::vector<std::string>{
                  "/kelvra_cd/en//search/xml/set_login_out.asp?username=demo&password=demo123"}));
}

// The identity is read at each login check, so a change of network during the run reaches the
// next check; both checks also follow a redirect on the same host.
TEST_F(SessionSimTest, IdentityIsReadAtEachCheckAndRedirectsAreFollowed) {
    MachineIdentity now{"0A-1B-2C-3D-4E-5F", "192.168.7.20"};
    SessionClient client(
        state, *transport, [&now] { return now; }, options);
    sim.InjectFault("/kelvra_cd/xml/get_login_status.asp", "redirect", 2);
    ASSERT_EQ(client.FullLoginCheck("demo", "demo123", nullptr).outcome, SessionOutcome::Positive);
    now = MachineIdentity{"02-00-00-00-00-02", "10.1.2.3"};
    ASSERT_EQ(client.ReadOnlyLoginCheck().outcome, SessionOutcome::Positive);
    EXPECT_EQ(client.Machine().mac, now.mac) << "the identity the last check sent";
    const std::vector<std::string> requests = sim.Requests();
    ASSERT_EQ(requests.size(), 5u); // the login, its count sync, the read-only check
    EXPECT_EQ(requests[1], "/__moved" + kLogin + "demo&password=demo123");
    EXPECT_EQ(requests[2].rfind("/kelvra_cd/xml/set_search_num.asp?", 0), 0u) << requests[2];
    EXPECT_EQ(requests[4], "/__moved/kelvra_cd/xml/get_login_status.asp?mac=02-00-00-00-00-02"
                           "&IP=10.1.2.3&username=demo&password=demo123&read_only=1");
    EXPECT_FALSE(OnThisMachine(state.session, client.Machine())) << "recorded at the login";

    // As the client runs: this machine's address, and the address it reaches the service from.
    sim.ClearRequests();
    SessionClient real(state, *transport, &ReadThisMachine, options);
    ASSERT_EQ(real.FullLoginCheck("demo", "demo123", nullptr).outcome, SessionOutcome::Positive);
    EXPECT_EQ(sim.Requests().at(0), "/kelvra_cd/xml/get_login_status.asp?mac=" + GetMacAddress() +
                                        "&IP=127.0.0.1&username=demo&password=demo123");
}

TEST_F(SessionSimTest, EveryFaultEndsInTimeAsAFailure) {
    for (const char* kind : {"refuse", "hang", "500", "malformed", "truncated", "slow"}) {
        sim.Reset();
        state.session = Session{};
        captions.clear();
        sim.InjectFault("/kelvra_cd/xml/get_login_status.asp", kind, 2);
        sim.InjectFault("/kelvra_cd/xml/set_login_out.asp", kind, 2);
        auto start = std::chrono::steady_clock::now();
        SessionResult login = Login("demo", "demo123");
        state.session.username = "demo";
        state.session.password = "demo123";
        bool closeError = SendLogoutOnClose(state, *transport, true, options);
        auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_TRUE(login.failed()) << kind;
        EXPECT_EQ(login.error.find("demo123"), std::string::npos) << kind;
        EXPECT_TRUE(closeError) << kind;
        EXPECT_TRUE(captions.empty()) << kind;
        EXPECT_LT(elapsed, std::chrono::seconds(10)) << kind;
    }
}

} // namespace
} // namespace kelvra
