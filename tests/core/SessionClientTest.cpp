// The session requests and the reading of their replies, over a scripted transport.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "service/HttpTransport.h"
#include "service/SessionClient.h"
#include "service/SessionNotices.h"

namespace kelvra {
namespace {

const std::string kRoot = "http://svc.test";
const std::string kXmlBase = kRoot + "/kelvra_cd/xml/";
const std::string kPageBase = kRoot + "/kelvra_cd/en/";
const MachineIdentity kHere{"00-11-22-33-44-55", "10.0.0.9"};

// Answers by the path before "?": the next queued body for that path (the last one repeats);
// an unscripted path is refused. Records every target below the service root.
class ScriptedTransport : public HttpTransport {
public:
    using HttpTransport::Get;
    HttpResponse Get(const std::string& url, const HttpRequestOptions&) override {
        std::string target = url.substr(kRoot.size());
        targets.push_back(target);
        std::string path = target.substr(0, target.find('?'));
        HttpResponse response;
        auto it = replies.find(path);
        if (it == replies.end() || it->second.empty()) {
            response.outcome = HttpOutcome::Refused;
            response.error = "refused: " + url;
            return response;
        }
        response.outcome = HttpOutcome::Ok;
        response.status = 200;
        response.body = it->second.front();
        if (it->second.size() > 1) {
            it->second.pop_front();
        }
        return response;
    }
    void Reply(const std::string& servicePath, const std::string& body) {
        replies["/kelvra_cd/xml/" + servicePath].push_back(body);
    }
    std::map<std::string, std::deque<std::string>> replies;
    std::vector<std::string> targets;
};

std::string UserInfo(const std::map<std::string, std::string>& overrides = {},
                     const std::vector<std::string>& dropped = {}) {
    std::map<std::string, std::string> attrs = {{"gid", "17"},
                                                {"admin", "1"},
                                                {"s_mac", "00-11-22-33-44-55"},
                                                {"s_ip", "10.0.0.5"},
                                                {"search_num", "3"},
                                                {"search_count", "20"},
                                                {"s_login", "True"},
                                                {"s_ndate", "2024-05-01"},
                                                {"s_hdate", "2024-05-01"},
                                                {"search_num_vip", "0"},
                                                {"search_count_vip", "0"}};
    for (const auto& [k, v] : overrides) {
        attrs[k] = v;
    }
    for (const std::string& k : dropped) {
        attrs.erase(k);
    }
    std::string xml = "<userinfo";
    for (const auto& [k, v] : attrs) {
        xml += " " + k + "=\"" + v + "\"";
    }
    return xml + "/>";
}

std::string Reply(const std::string& status, const std::string& body = UserInfo()) {
    return "<login><returnValue>" + status + "</returnValue>" + body + "</login>";
}

const std::string kOk = "<r><returnValue>true</returnValue></r>";

class SessionClientTest : public ::testing::Test {
protected:
    SessionClientTest() {
        state.xmlBaseUrl = kXmlBase;
        state.pageBaseUrl = kPageBase;
        state.heldTexts = {{"login", "Welcome"}, {"no_login", "Not logged in"}};
        net.Reply("set_search_num.asp", kOk);
        net.Reply("set_search_num_vip.asp", kOk);
        net.Reply("set_login_out.asp", kOk);
    }
    SessionResult Login(const std::string& user = "alice", const std::string& pw = "secret") {
        return client.FullLoginCheck(user, pw,
                                     [this](const std::string& c) { captions.push_back(c); });
    }

    AppState state;
    ScriptedTransport net;
    SessionClient client{state, net, kHere};
    std::vector<std::string> captions;
    const std::string loggedIn = "Kelvra(Ver 1.0.0.3)    Welcome,alice";
    const std::string loggedOut = "Kelvra(Ver 1.0.0.3)    Not logged in";
};

TEST_F(SessionClientTest, NegativeFullCheckLogsOut) {
    for (const std::string& body :
         {Reply("True"), Reply(" true"), Reply("false"), std::string("<r>") + UserInfo() + "</r>",
          std::string("<r><x><returnValue>true</returnValue></x>") + UserInfo() + "</r>"}) {
        AppState st = state;
        st.session.username = "old";
        st.session.password = "oldpw";
        st.session.gid = "5";
        st.session.admin = "3";
        st.session.s_mac = "m";
        st.session.s_login = "True";
        st.session.search_num = 8;
        ScriptedTransport n = net;
        n.Reply("get_login_status.asp", body);
        SessionClient cl(st, n, kHere);
        std::vector<std::string> seen;
        SessionResult r =
            cl.FullLoginCheck("alice", "secret", [&](const std::string& c) { seen.push_back(c); });
        EXPECT_EQ(r.outcome, SessionOutcome::Negative) << body;
        EXPECT_EQ(st.session.username, "");
        EXPECT_EQ(st.session.password, "oldpw");
        EXPECT_EQ(st.session.gid, "0");
        EXPECT_EQ(st.session.admin, "1");
        EXPECT_EQ(st.session.s_mac, "");
        EXPECT_EQ(st.session.s_login, "True");
        EXPECT_EQ(st.session.search_num, 8);
        EXPECT_EQ(seen, (std::vector<std::string>{loggedOut}));
        EXPECT_EQ(n.targets.size(), 1u);
    }
}

TEST_F(SessionClientTest, PositiveWithoutUserinfoSetsOnlyNameAndPassword) {
    net.Reply("get_login_status.asp",
              Reply("true", "<other gid='9'/><box>" + UserInfo() + "</box>"));
    EXPECT_TRUE(Login().positive());
    EXPECT_EQ(state.session.username, "alice");
    EXPECT_EQ(state.session.gid, "0");
    EXPECT_EQ(state.session.s_login, "False");
    EXPECT_TRUE(captions.empty());
    EXPECT_EQ(net.targets.size(), 1u); // 0 < 0 is false and the dates are equal
}

TEST_F(SessionClientTest, MissingOrMalformedAttributeKeepsWhatWasRead) {
    net.Reply("get_login_status.asp",
              Reply("true", UserInfo({{"search_num", "7"}, {"s_ndate", "N"}}, {"s_hdate"})));
    SessionResult r = Login();
    EXPECT_TRUE(r.failed());
    const Session& s = state.session;
    EXPECT_EQ(s.username, "alice");
    EXPECT_EQ(s.password, "secret");
    EXPECT_EQ(s.gid, "17");
    EXPECT_EQ(s.s_ip, "10.0.0.5");
    EXPECT_EQ(s.s_login, "True");
    EXPECT_EQ(s.search_num, 7);
    EXPECT_EQ(s.search_count, 20);
    EXPECT_EQ(s.s_ndate, "N");
    EXPECT_EQ(s.s_hdate, "");
    EXPECT_TRUE(captions.empty());
    EXPECT_EQ(net.targets.size(), 1u);
    EXPECT_EQ(r.error.find("secret"), std::string::npos);

    struct Case {
        const char* attr;
        const char* value;
    };
    for (Case c : {Case{"search_count", "abc"}, Case{"search_count", "2147483648"},
                   Case{"search_count", " 5"}, Case{"search_count", ""}}) {
        AppState st = state;
        st.session = Session{};
        ScriptedTransport n = net;
        n.replies.clear();
        n.Reply("get_login_status.asp",
                Reply("true", UserInfo({{"search_num", "4"}, {c.attr, c.value}})));
        SessionClient cl(st, n, kHere);
        EXPECT_TRUE(cl.FullLoginCheck("alice", "secret", {}).failed()) << c.value;
        EXPECT_EQ(st.session.search_num, 4) << c.value;
        EXPECT_EQ(st.session.search_count, 0) << c.value;
        EXPECT_EQ(st.session.s_ndate, "") << c.value;
    }
}

TEST_F(SessionClientTest, ReadOnlyCheckReadsItsColumn) {
    state.session.username = "alice";
    state.session.password = "secret";
    state.session.gid = "17";
    net.Reply("get_login_status.asp",
              Reply("true", UserInfo({{"gid", "99"}, {"s_login", "False"}, {"admin", "2"}},
                                     {"search_num_vip"})));
    net.Reply("get_login_status.asp",
              Reply("true", UserInfo({{"gid", "99"}, {"s_login", "False"}, {"admin", "2"}})));
    EXPECT_TRUE(client.ReadOnlyLoginCheck().failed()); // search_num_vip missing
    EXPECT_EQ(state.session.s_login, "False");
    EXPECT_EQ(state.session.admin, "2");
    EXPECT_TRUE(client.ReadOnlyLoginCheck().positive());
    EXPECT_EQ(state.session.gid, "17");
    EXPECT_EQ(net.targets.back(), "/kelvra_cd/xml/get_login_status.asp?mac=00-11-22-33-44-55"
                                  "&IP=10.0.0.9&username=alice&password=secret&read_only=1");

    net.replies.clear();
    net.Reply("get_login_status.asp", Reply("false", UserInfo({{"admin", "7"}})));
    EXPECT_EQ(client.ReadOnlyLoginCheck().outcome, SessionOutcome::Negative);
    EXPECT_EQ(state.session.admin, "2");
    EXPECT_EQ(state.session.username, "alice");
}

TEST_F(SessionClientTest, QuotaRulesReportTheNewCount) {
    state.session.username = "bob";
    state.session.password = "pw";
    state.session.search_count = 5;
    state.session.search_num = 5;
    state.session.search_count_vip = 5;
    state.session.search_num_vip = 5;
    EXPECT_EQ(client.ApplyOrdinaryQuota(), QuotaOutcome::Counted);
    EXPECT_EQ(client.ApplyOrdinaryQuota(), QuotaOutcome::Refused);
    state.session.s_hdate = "later";
    EXPECT_EQ(client.ApplyOrdinaryQuota(), QuotaOutcome::Counted);
    EXPECT_EQ(client.ApplyVipQuota(), QuotaOutcome::Counted);
    EXPECT_EQ(client.ApplyVipQuota(), QuotaOutcome::Refused);
    EXPECT_EQ(state.session.search_num, 7);
    EXPECT_EQ(state.session.search_num_vip, 6);
    EXPECT_EQ(
        net.targets,
        (std::vector<std::string>{
            "/kelvra_cd/xml/set_search_num.asp?username=bob&password=pw&searchnum=6",
            "/kelvra_cd/xml/set_search_num.asp?username=bob&password=pw&searchnum=7",
            "/kelvra_cd/xml/set_search_num_vip.asp?username=bob&password=pw&searchnum_vip=6"}));

    net.replies.clear();
    net.Reply("set_search_num.asp", "<r><unclosed></r>");
    state.session.search_num = 0;
    EXPECT_EQ(client.ApplyOrdinaryQuota(), QuotaOutcome::Failed);
    EXPECT_EQ(state.session.search_num, 1);
    EXPECT_EQ(client.ApplyVipQuota(), QuotaOutcome::Refused);
}

TEST_F(SessionClientTest, ValuesArePercentEncodedAsOneValue) {
    struct Case {
        std::string typed;
        std::string wire;
    };
    const Case cases[] = {
        {"alice", "alice"},
        {"Al1ce-9._~", "Al1ce-9._~"},
        {"a&b", "a%26b"},
        {"a#b", "a%23b"},
        {"a+b", "a%2Bb"},
        {"50%", "50%25"},
        {"a b", "a%20b"},
        {"x=1?/", "x%3D1%3F%2F"},
        {"\xE5\xBC\xA0\xE4\xB8\x89", "%D5%C5%C8%FD"}, // 张三 as GB18030
    };
    for (const Case& c : cases) {
        ScriptedTransport n = net;
        n.Reply("get_login_status.asp", Reply("false"));
        AppState st = state;
        SessionClient cl(st, n, kHere);
        cl.FullLoginCheck(c.typed, c.typed, {});
        ASSERT_EQ(n.targets.size(), 1u);
        EXPECT_EQ(n.targets[0], "/kelvra_cd/xml/get_login_status.asp?mac=00-11-22-33-44-55"
                                "&IP=10.0.0.9&username=" +
                                    c.wire + "&password=" + c.wire)
            << c.typed;
    }
}

TEST_F(SessionClientTest, LogoutNotices) {
    struct Case {
        bool online;
        const char* user;
        bool serviceUp;
        std::size_t requests;
        bool errorPage;
    };
    const Case cases[] = {
        {true, "alice", true, 1, false},
        {true, "alice", false, 1, true},
        {false, "alice", true, 0, false},
        {true, "", true, 0, false},
    };
    for (const Case& c : cases) {
        ScriptedTransport n = net;
        if (!c.serviceUp) {
            n.replies.clear();
        }
        AppState st = state;
        st.session.username = c.user;
        st.session.password = "p w";
        EXPECT_EQ(SendLogoutOnClose(st, n, c.online), c.errorPage) << c.online << c.user;
        ASSERT_EQ(n.targets.size(), c.requests);
        if (c.requests) {
            EXPECT_EQ(n.targets[0],
                      "/kelvra_cd/xml/set_login_out.asp?username=alice&password=p%20w");
        }
        EXPECT_EQ(st.session.username, c.user); // never cleared on close
    }
}

TEST_F(SessionClientTest, SwitchAccountsClearsEvenWhenTheNoticeFails) {
    net.replies["/kelvra_cd/en//search/xml/set_login_out.asp"].push_back(kOk);
    for (bool serviceUp : {true, false}) {
        ScriptedTransport n = net;
        if (!serviceUp) {
            n.replies.clear();
        }
        AppState st = state;
        st.session.username = "alice";
        st.session.password = "secret";
        st.session.gid = "17";
        st.session.s_login = "True";
        st.session.search_num = 4;
        std::vector<std::string> seen;
        bool errorPage =
            SwitchAccountsLogout(st, n, true, [&](const std::string& c) { seen.push_back(c); });
        EXPECT_EQ(errorPage, !serviceUp);
        EXPECT_EQ(n.targets, (std::vector<std::string>{"/kelvra_cd/en//search/xml/set_login_out.asp"
                                                       "?username=alice&password=secret"}));
        EXPECT_EQ(st.session.username, "");
        EXPECT_EQ(st.session.s_login, "False");
        EXPECT_EQ(st.session.gid, "0");
        EXPECT_EQ(st.session.password, "secret");
        EXPECT_EQ(st.session.search_num, 4);
        EXPECT_EQ(seen.size(), serviceUp ? 1u : 0u);
        if (serviceUp) {
            EXPECT_EQ(seen[0], loggedOut);
        }
    }
}

TEST_F(SessionClientTest, SwitchAccountsOfflineChangesNothing) {
    state.session.username = "alice";
    state.session.gid = "17";
    EXPECT_FALSE(SwitchAccountsLogout(state, net, false, [](const std::string&) { FAIL(); }));
    EXPECT_TRUE(net.targets.empty());
    EXPECT_EQ(state.session.username, "alice");
    EXPECT_EQ(state.session.gid, "17");
}

TEST_F(SessionClientTest, PurchaseNoticeOnlyWithoutAccount) {
    state.session.username = "alice";
    state.session.gid = "17";
    EXPECT_FALSE(LogoutBeforePurchase(state, net, true));
    EXPECT_TRUE(net.targets.empty());
    state.session.gid = "0";
    EXPECT_FALSE(LogoutBeforePurchase(state, net, true));
    EXPECT_EQ(net.targets.size(), 1u);
    EXPECT_EQ(state.session.username, "alice");
}

TEST_F(SessionClientTest, PageAddresses) {
    state.session.username = "a b";
    state.session.gid = "17";
    state.session.search_num = 21;
    state.session.search_num_vip = -2;
    for (const char* language : {"Chinese", "English", "German"}) {
        state.language = language;
        const std::string lan = language;
        EXPECT_EQ(MaxQueryPageUrl(state), kPageBase + "search/maxquery.asp?username=a%20b&lan=" +
                                              lan + "&searchnum=21&Gid=17");
        EXPECT_EQ(VipMaxQueryPageUrl(state),
                  kPageBase + "search/maxquery_vip.asp?username=a%20b&lan=" + lan +
                      "&searchnum=-2&Gid=17");
        EXPECT_EQ(ServiceErrorPageUrl(state),
                  kPageBase + (lan == "Chinese" ? "err.asp" : "err_en.asp"));
        EXPECT_EQ(PurchasePageUrl(state), kPageBase + "reg/go_to_buy.asp?uid=17&lan=" + lan);
        EXPECT_EQ(ChangePasswordPageUrl(state), kPageBase + "setPassword.asp?uid=17&lan=" + lan);
    }
}

} // namespace
} // namespace kelvra
