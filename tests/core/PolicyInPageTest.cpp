// The in-page command policy of WebBrowser1: the marker steps with a transport that records
// (and refuses) every request, and the product-page outcomes for ordinary and VIP pages against
// the stand-in service, with the exact order of actions and the exact request targets.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "browser/InPageCommands.h"
#include "service/HttpTransport.h"
#include "service/SessionClient.h"
#include "support/SimProcess.h"

namespace kelvra {
namespace {

using test::SimProcess;
using Log = std::vector<std::string>;

const MachineIdentity kHere{"0A-1B-2C-3D-4E-5F", "192.168.7.20"};

// Main window and busy indicator in one log, so the order across both is visible. Page
// addresses are logged relative to the page base ("page:...").
class Recorder : public InPageView, public BusyIndicatorControl {
public:
    explicit Recorder(const AppState& state) : m_state(state) {}
    void ShowMessage(const std::string& text, const std::string& caption) override {
        log.push_back("message " + caption + ": " + text);
    }
    void NavigateMain(const std::string& url) override {
        const std::string& base = m_state.pageBaseUrl;
        log.push_back("navigate " +
                      (url.rfind(base, 0) == 0 ? "page:" + url.substr(base.size()) : url));
    }
    void ShowPage(int index) override { log.push_back("page " + std::to_string(index)); }
    void HideMainWindow() override { log.push_back("hide main"); }
    void ShowLoginWindow() override {
        log.push_back(m_state.startupDone ? "login window" : "login window before start-up flag");
    }
    void ShowBusy() override { log.push_back("busy on"); }
    void HideBusy() override { log.push_back("busy off"); }

    Log log;

private:
    const AppState& m_state;
};

// Every request is recorded and refused.
class RecordingTransport : public HttpTransport {
public:
    using HttpTransport::Get;
    HttpResponse Get(const std::string& url, const HttpRequestOptions&) override {
        urls.push_back(url);
        HttpResponse r;
        r.outcome = HttpOutcome::Refused;
        return r;
    }
    std::vector<std::string> urls;
};

const Log kLoginHandOver = {"busy off", "hide main", "login window"};

Log Join(Log head, const Log& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(PolicyInPageTest, MarkerSteps) {
    const std::string err = "navigate page:err_en.asp";
    struct Case {
        const char* name;
        std::string url;
        bool loggedIn;
        bool online;
        Log expected;
    };
    const Case cases[] = {
        {"void link", "javascript:void(0);", true, true, {"busy off"}},
        {"sure_content", "javascript:sure_content(12)", true, true, {"busy off"}},
        {"error page", "http://h/kelvra_cd/en/err_en.asp", false, true, {"busy off"}},
        {"Chinese error page", "http://h/kelvra_cd/cn/err.asp", false, true, {"busy off"}},
        {"void without semicolon", "javascript:void(0)", true, true, {"busy off", "busy on"}},
        {"plain page",
         "http://h/kelvra_cd/en/search/so_list.asp?OEM=1",
         true,
         true,
         {"busy off", "busy on"}},
        {"fan", "javascript:fan(3)", true, true, {"busy off", "busy on", "busy off"}},
        {"Fan is case-sensitive", "javascript:Fan(3)", true, true, {"busy off", "busy on"}},
        {"notice logged in, offline",
         "javascript:notice(7)",
         true,
         false,
         {"busy off", "busy on",
          "message TIPS: Only for VIP member! Please contact us for more information.",
          "busy off"}},
        {"notice on a void link",
         "javascript:void(0);notice(7)",
         true,
         true,
         {"busy off", "message TIPS: Only for VIP member! Please contact us for more information.",
          "busy off"}},
        {"notice logged out", "javascript:notice(7)", false, true,
         Join({"busy off", "busy on", err}, kLoginHandOver)},
        {"product offline",
         "http://h/kelvra_cd/en/pro_show.asp?id=1",
         true,
         false,
         {"busy off", "busy on"}},
        {"product marker is case-sensitive",
         "http://h/kelvra_cd/en/PRO_SHOW.ASP?id=1",
         true,
         true,
         {"busy off", "busy on"}},
        {"product logged out", "http://h/kelvra_cd/en/pro_show.asp?id=1", false, true,
         Join({"busy off", "busy on", err}, kLoginHandOver)},
        {"VIP product logged out", "http://h/kelvra_cd/en/pro_show_vip.asp?id=1", false, true,
         Join({"busy off", "busy on", err}, kLoginHandOver)},
        {"both product markers logged out",
         "http://h/kelvra_cd/en/pro_show_vip.asp?back=pro_show.asp", false, true,
         Join(Join({"busy off", "busy on", err}, kLoginHandOver), Join({err}, kLoginHandOver))},
    };
    for (const Case& c : cases) {
        AppState state;
        state.language = "English";
        state.pageBaseUrl = "http://h/kelvra_cd/en/";
        state.xmlBaseUrl = "http://h/kelvra_cd/xml/";
        state.heldTexts.clear();
        if (c.loggedIn) {
            state.session.username = "demo";
            state.session.password = "demo123";
        }
        Recorder recorder(state);
        RecordingTransport transport;
        SessionClient client(state, transport, kHere);
        InPageCommands commands(state, recorder, recorder, client, [&] { return c.online; });

        commands.WebBrowser1BeforeNavigate2(c.url, true);
        EXPECT_EQ(recorder.log, c.expected) << c.name;
        EXPECT_TRUE(transport.urls.empty()) << c.name;
        EXPECT_EQ(state.startupDone, !c.loggedIn && c.expected.back() == "login window") << c.name;

        // The same address on another site is an ordinary navigation: its markers mean nothing.
        state.startupDone = false;
        recorder.log.clear();
        commands.WebBrowser1BeforeNavigate2(c.url, false);
        EXPECT_EQ(recorder.log, (Log{"busy off", "busy on"})) << c.name << " (other site)";
        EXPECT_FALSE(state.startupDone) << c.name << " (other site)";
    }
}

TEST(PolicyInPageTest, MessagesUseHeldTextsAndTheLanguagesBuiltInText) {
    struct Case {
        const char* language;
        std::map<std::string, std::string> held;
        std::string message;
    };
    const Case cases[] = {
        {"Chinese", {}, "message TIPS: 本功能只对VIP开放,请联系我们升级!"},
        {"English",
         {{"err_vip", "VIP only (from the file)"}},
         "message TIPS: VIP only (from the file)"},
    };
    for (const Case& c : cases) {
        AppState state;
        state.language = c.language;
        state.heldTexts = c.held;
        state.session.username = "vip";
        state.session.admin = "0"; // the notice does not look at the account kind
        Recorder recorder(state);
        RecordingTransport transport;
        SessionClient client(state, transport, kHere);
        InPageCommands commands(state, recorder, recorder, client, [] { return true; });
        commands.WebBrowser1BeforeNavigate2("javascript:notice(1)", true);
        EXPECT_EQ(recorder.log, (Log{"busy off", "busy on", c.message, "busy off"})) << c.language;
    }
}

// Product pages against the stand-in: the account is logged in through a real full check, then
// its stored state is changed through the control interface before the link is followed.
class PolicyProductTest : public ::testing::Test {
protected:
    PolicyProductTest() : recorder(state) {
        state.xmlBaseUrl = sim.Root() + "/kelvra_cd/xml/";
        state.pageBaseUrl = sim.Root() + "/kelvra_cd/en/";
        state.language = "English";
        options.connectTimeoutMs = 2000;
        options.totalTimeoutMs = 3000;
    }

    void LogIn(const std::string& user, const std::string& password, const std::string& set) {
        SessionClient client(state, *transport, kHere, options);
        ASSERT_TRUE(client.FullLoginCheck(user, password, {}).positive()) << user;
        if (!set.empty()) {
            sim.Control("/__sim/account?username=" + user + set);
        }
        sim.ClearRequests();
        recorder.log.clear();
    }
    void Follow(const std::string& page) {
        SessionClient client(state, *transport, kHere, options);
        InPageCommands commands(state, recorder, recorder, client, [] { return true; });
        commands.WebBrowser1BeforeNavigate2(state.pageBaseUrl + page, true);
    }
    static std::string ReadOnly(const std::string& user, const std::string& password) {
        return "/kelvra_cd/xml/get_login_status.asp?mac=0A-1B-2C-3D-4E-5F&IP=192.168.7.20"
               "&username=" +
               user + "&password=" + password + "&read_only=1";
    }

    SimProcess sim;
    std::unique_ptr<HttpTransport> transport = MakeCurlTransport();
    HttpRequestOptions options;
    AppState state;
    Recorder recorder;
};

const char* const kRelogin = "message TIP: The account has been logged on in other computer. ";
const char* const kNoSearch = "message TIP: No permission until tomorrow.For more limits, please "
                              "contact us to be VIP member.";

TEST_F(PolicyProductTest, OutcomeTable) {
    const std::string ordinary = "pro_show.asp?id=3";
    const std::string vip = "pro_show_vip.asp?id=3";
    const Log handOver = {"navigate page:err_en.asp", "busy off", "hide main", "login window"};
    struct Case {
        const char* name;
        const char* user;
        const char* password;
        std::string set; // stored account changes after the login
        std::string page;
        Log expected; // after "busy off", "busy on"
        std::vector<std::string> reports;
        bool loggedInAfter;
        const char* adminAfter;
    };
    const Case cases[] = {
        {"ordinary counted",
         "demo",
         "demo123",
         "&search_num=10&search_count=10",
         ordinary,
         {},
         {"/kelvra_cd/xml/set_search_num.asp?username=demo&password=demo123&searchnum=11"},
         true,
         "1"},
        {"ordinary refused",
         "demo",
         "demo123",
         "&search_num=11&search_count=10",
         ordinary,
         {kNoSearch,
          "navigate page:search/maxquery.asp?username=demo&lan=English&searchnum=11&Gid=101"},
         {},
         true,
         "1"},
        {"ordinary over the limit with differing dates",
         "demo",
         "demo123",
         "&search_num=11&search_count=10&s_hdate=2030-01-01",
         ordinary,
         {},
         {"/kelvra_cd/xml/set_search_num.asp?username=demo&password=demo123&searchnum=12"},
         true,
         "1"},
        {"ordinary negative reply keeps the VIP flag",
         "vip",
         "vip123",
         "&password=changed",
         ordinary,
         handOver,
         {},
         false,
         "0"},
        {"ordinary service says logged out",
         "vip",
         "vip123",
         "&s_login=False",
         ordinary,
         {"busy off", "hide main", "login window"},
         {},
         false,
         "1"},
        {"ordinary logged on elsewhere keeps the VIP flag",
         "vip",
         "vip123",
         "&s_ip=10.9.9.9",
         ordinary,
         Join({kRelogin}, handOver),
         {},
         false,
         "0"},
        {"VIP counted",
         "vip",
         "vip123",
         "",
         vip,
         {},
         {"/kelvra_cd/xml/set_search_num_vip.asp?username=vip&password=vip123&searchnum_vip=1"},
         true,
         "0"},
        {"VIP refused without a message",
         "viplimit",
         "viplimit123",
         "",
         vip,
         {"navigate page:search/maxquery_vip.asp?username=viplimit&lan=English&searchnum=3"
          "&Gid=106"},
         {},
         true,
         "0"},
        {"VIP negative reply drops the VIP flag",
         "vip",
         "vip123",
         "&password=changed",
         vip,
         handOver,
         {},
         false,
         "1"},
        {"VIP service says logged out",
         "vip",
         "vip123",
         "&s_login=False",
         vip,
         {"busy off", "hide main", "login window"},
         {},
         false,
         "1"},
        {"VIP logged on elsewhere drops the VIP flag",
         "vip",
         "vip123",
         "&s_mac=00-00-00-00-00-01",
         vip,
         Join({kRelogin}, handOver),
         {},
         false,
         "1"},
        {"machine differs but the service says logged out",
         "demo",
         "demo123",
         "&s_ip=10.9.9.9&s_login=False",
         ordinary,
         {"busy off", "hide main", "login window"},
         {},
         false,
         "1"},
    };
    for (const Case& c : cases) {
        sim.Reset();
        state.session = Session{};
        state.startupDone = false;
        LogIn(c.user, c.password, c.set);
        Follow(c.page);

        EXPECT_EQ(recorder.log, Join({"busy off", "busy on"}, c.expected)) << c.name;
        std::vector<std::string> requests{ReadOnly(c.user, c.password)};
        requests.insert(requests.end(), c.reports.begin(), c.reports.end());
        EXPECT_EQ(sim.Requests(), requests) << c.name;
        EXPECT_EQ(state.session.LoggedIn(), c.loggedInAfter) << c.name;
        EXPECT_EQ(state.session.admin, c.adminAfter) << c.name;
        if (!c.loggedInAfter) {
            EXPECT_EQ(state.session.password, "") << c.name;
            EXPECT_EQ(state.session.gid, "0") << c.name;
            EXPECT_TRUE(state.startupDone) << c.name;
        }
    }
}

TEST_F(PolicyProductTest, BothProductMarkersRunBothStepsOrdinaryFirst) {
    LogIn("vip", "vip123", "");
    Follow("pro_show_vip.asp?from=pro_show.asp");
    EXPECT_EQ(recorder.log, (Log{"busy off", "busy on"}));
    EXPECT_EQ(sim.Requests(),
              (std::vector<std::string>{
                  ReadOnly("vip", "vip123"),
                  "/kelvra_cd/xml/set_search_num.asp?username=vip&password=vip123&searchnum=1",
                  ReadOnly("vip", "vip123"),
                  "/kelvra_cd/xml/set_search_num_vip.asp?username=vip&password=vip123"
                  "&searchnum_vip=1"}));
}

TEST_F(PolicyProductTest, ServiceFailuresShowTheErrorPageAndKeepTheSession) {
    struct Case {
        const char* path;
        const char* kind;
        std::string page;
        std::int32_t searchNumAfter; // a failed report keeps the incremented counter
    };
    const Case cases[] = {
        {"/kelvra_cd/xml/get_login_status.asp", "refuse", "pro_show.asp?id=1", 0},
        {"/kelvra_cd/xml/get_login_status.asp", "500", "pro_show_vip.asp?id=1", 0},
        {"/kelvra_cd/xml/get_login_status.asp", "malformed", "pro_show.asp?id=1", 0},
        {"/kelvra_cd/xml/set_search_num.asp", "truncated", "pro_show.asp?id=1", 1},
    };
    for (const Case& c : cases) {
        sim.Reset();
        state.session = Session{};
        LogIn("demo", "demo123", "");
        // Two: a connection closed without an answer is retried once by the transport.
        sim.InjectFault(c.path, c.kind, 2);
        Follow(c.page);
        // No login window, no message; the busy indicator stays for the pending page.
        EXPECT_EQ(recorder.log, (Log{"busy off", "busy on", "page 8"})) << c.kind;
        EXPECT_EQ(state.session.username, "demo") << c.kind;
        EXPECT_EQ(state.session.search_num, c.searchNumAfter) << c.kind;
    }
}

} // namespace
} // namespace kelvra
