// The side-menu item "登陆" against the stand-in: the switch-accounts notice, the record, the
// caption or the error page, and the hand-over to the login window in every case.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "login/LoginHandOver.h"
#include "service/HttpTransport.h"
#include "service/SessionClient.h"
#include "support/SimProcess.h"

namespace kelvra {
namespace {

using Log = std::vector<std::string>;

class FakeMainWindow : public SwitchAccountsView {
public:
    explicit FakeMainWindow(const AppState& state) : m_state(state) {}
    void HideMainWindow() override {
        log.push_back(m_state.startupDone ? "hide main" : "hide main before start-up flag");
    }
    void ShowLoginWindow() override { log.push_back("login window"); }
    void ShowPage(int index) override { log.push_back("page " + std::to_string(index)); }
    void SetWindowCaption(const std::string& caption) override {
        log.push_back("caption " + caption);
    }
    Log log;

private:
    const AppState& m_state;
};

TEST(LoginSwitchAccountsTest, NoticeRecordAndHandOver) {
    test::SimProcess sim;
    std::unique_ptr<HttpTransport> transport = MakeCurlTransport();
    HttpRequestOptions options;
    options.connectTimeoutMs = 2000;
    options.totalTimeoutMs = 3000;
    const std::string notice =
        "/kelvra_cd/en//search/xml/set_login_out.asp?username=demo&password=demo123";
    struct Case {
        const char* name;
        bool loggedIn;
        bool online;
        const char* fault; // nullptr: none
        Log expected;
        Log requests;
        bool cleared;
    };
    const Case cases[] = {
        {"logged in, online",
         true,
         true,
         nullptr,
         {"caption Kelvra(Ver 1.0.0.3)    Not Logged in", "hide main", "login window"},
         {notice},
         true},
        {"notice fails",
         true,
         true,
         "malformed",
         {"page 8", "hide main", "login window"},
         {notice},
         true},
        {"offline", true, false, nullptr, {"hide main", "login window"}, {}, false},
        {"logged out", false, true, nullptr, {"hide main", "login window"}, {}, false},
    };
    for (const Case& c : cases) {
        sim.Reset();
        AppState state;
        state.language = "English";
        state.xmlBaseUrl = sim.Root() + "/kelvra_cd/xml/";
        state.pageBaseUrl = sim.Root() + "/kelvra_cd/en/";
        state.heldTexts = {{"login", "Welcome"}, {"no_login", "Not Logged in"}};
        if (c.loggedIn) {
            SessionClient client(state, *transport, MachineIdentity{"m", "i"}, options);
            ASSERT_TRUE(client.FullLoginCheck("demo", "demo123", {}).positive()) << c.name;
        }
        const Session before = state.session;
        sim.ClearRequests();
        if (c.fault != nullptr) {
            sim.InjectFault("/kelvra_cd/en//search/xml/set_login_out.asp", c.fault, 2);
        }
        FakeMainWindow window(state);

        SwitchAccountsClick(state, *transport, c.online, window, options);
        EXPECT_EQ(window.log, c.expected) << c.name;
        EXPECT_EQ(sim.Requests(), c.requests) << c.name;
        EXPECT_TRUE(state.startupDone) << c.name;
        if (c.cleared) {
            EXPECT_EQ(state.session.username, "") << c.name;
            EXPECT_EQ(state.session.s_login, "False") << c.name;
            EXPECT_EQ(state.session.gid, "0") << c.name;
        } else {
            EXPECT_EQ(state.session.username, before.username) << c.name;
            EXPECT_EQ(state.session.gid, before.gid) << c.name;
        }
    }
}

} // namespace
} // namespace kelvra
