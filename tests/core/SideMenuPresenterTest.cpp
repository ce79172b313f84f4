// The side-menu items with a recording window and a scripted transport: every address in both
// languages, logged in and out, online and offline; the selection marks; the random code; the
// purchase item's two cases; the language switch and the country page reload rule.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/SideMenuPresenter.h"
#include "service/HttpTransport.h"
#include "settings/SettingsError.h"

namespace kelvra {
namespace {

using Log = std::vector<std::string>;
const std::string kRoot = "http://svc";
const std::string kCn = kRoot + "/kelvra_cd/cn/";
const std::string kEn = kRoot + "/kelvra_cd/en/";

class RecordingWindow : public SideMenuView, public LanguageView {
public:
    explicit RecordingWindow(const AppState& state) : m_state(state) {}
    void HideMainWindow() override {
        log.push_back(m_state.startupDone ? "hide" : "hide before start-up flag");
    }
    void ShowLoginWindow() override { log.push_back("login window"); }
    void ShowPage(int index) override {
        active = index;
        log.push_back("page " + std::to_string(index));
    }
    void SetWindowCaption(const std::string& caption) override {
        log.push_back("caption " + caption);
    }
    void NavigateBrowser(int number, const std::string& url) override {
        log.push_back("browser" + std::to_string(number) + " " + url);
    }
    void OpenInDefaultBrowser(const std::string& url) override { log.push_back("external " + url); }
    void ShowAboutPicture(bool chinese) override {
        log.push_back(chinese ? "about cn" : "about en");
    }
    void SetItemSelected(int group, int index, bool selected) override {
        log.push_back("mark " + std::to_string(group) + "." + std::to_string(index) +
                      (selected ? " on" : " off"));
    }
    int ActivePage() const override { return active; }
    std::string BrowserLocation(int number) const override {
        return number == 2 ? countryLocation : std::string();
    }
    void RefreshBrowser(int number) override { log.push_back("refresh" + std::to_string(number)); }
    void ReportError(const std::string& text) override { log.push_back("error " + text); }
    // LanguageView: only what the switch is seen by here.
    void SetControlText(const std::string&, const std::string&) override {}
    void SetControlHint(const std::string&, const std::string&) override {}
    void SetSideItemCaption(int, int, const std::string&) override {}
    void SetSideItemImage(int, int, int) override {}
    void SetSideItemSelected(int, int, bool) override {}
    void RefillLists() override {}

    Log log;
    int active = -1;
    std::string countryLocation;

private:
    const AppState& m_state;
};

// Answers every request with a small XML document, or fails it when told to.
class ScriptedTransport : public HttpTransport {
public:
    HttpResponse Get(const std::string& url, const HttpRequestOptions&) override {
        requests.push_back(url);
        HttpResponse r;
        r.outcome = fail ? HttpOutcome::Refused : HttpOutcome::Ok;
        r.status = fail ? 0 : 200;
        r.body = "<?xml version=\"1.0\"?><root><returnValue>true</returnValue></root>";
        return r;
    }
    Log requests;
    bool fail = false;
};

struct Fixture {
    explicit Fixture(const std::string& language, bool online = true)
        : window(state), online(online) {
        state.serviceRoot = kRoot;
        state.language = language;
        state.pageBaseUrl = language == "Chinese" ? kCn : kEn;
        state.xmlBaseUrl = kRoot + "/kelvra_cd/xml/";
        state.heldTexts = {{"login", "Welcome"}, {"no_login", "Not Logged in"}};
    }
    SideMenuPresenter Presenter() {
        SideMenuServices services;
        services.networkOnline = [this] { return online; };
        services.applyLanguage = [this](AppState& s, LanguageView&, const std::string& lang) {
            window.log.push_back("apply " + lang);
            if (applyFails)
                throw SettingsWriteError("/ro/kelvra_config.ini");
            s.language = lang;
            s.pageBaseUrl = lang == "Chinese" ? kCn : kEn;
        };
        return SideMenuPresenter(state, window, window, transport, services);
    }
    void LogIn(const std::string& gid) {
        state.session.username = "a&b c";
        state.session.password = "p#1";
        state.session.gid = gid;
        state.session.s_login = "True";
    }
    AppState state;
    RecordingWindow window;
    ScriptedTransport transport;
    bool online;
    bool applyFails = false;
};

TEST(SideMenuPresenterTest, ItemsOpenTheirAddresses) {
    struct Case {
        const char* name;
        const char* language;
        bool online;
        int item; // -1: RzGroup4 item 0
        Log expected;
    };
    const Case cases[] = {
        {"suppliers Chinese",
         "Chinese",
         true,
         -1,
         {"page 4", "browser3 " + kCn + "suppliers.asp?lan=Chinese"}},
        {"suppliers English", "English", true, -1, {"page 4", "browser3 " + kEn + "suppliers.asp"}},
        {"suppliers offline", "Chinese", false, -1, {}},
        {"about Chinese", "Chinese", false, 0, {"page 6", "about cn"}},
        {"about English", "English", true, 0, {"page 6", "about en"}},
        {"introduction Chinese", "Chinese", false, 1, {"page 4", "browser3 " + kCn + "pdf/cn.asp"}},
        {"introduction English", "English", true, 1, {"page 4", "browser3 " + kEn + "pdf/en.asp"}},
        {"register Chinese",
         "Chinese",
         false,
         2,
         {"external " + kCn + "reg/reg_simple.asp", "mark 5.2 off"}},
        {"register English",
         "English",
         true,
         2,
         {"external " + kEn + "reg/reg_simple.asp", "mark 5.2 off"}},
        {"account info logged out",
         "English",
         false,
         3,
         {"external " + kEn + "login.asp", "mark 5.3 off"}},
        {"country Chinese",
         "Chinese",
         true,
         4,
         {"page 5", "browser2 " + kCn + "country.asp?lan=Chinese"}},
        {"country English",
         "English",
         true,
         4,
         {"page 5", "browser2 " + kEn + "country.asp?lan=English"}},
        {"country offline", "English", false, 4, {"page 5"}},
        {"purchase offline", "English", false, 6, {}},
        {"out of range", "English", true, 8, {}},
    };
    for (const Case& c : cases) {
        Fixture f(c.language, c.online);
        SideMenuPresenter presenter = f.Presenter();
        if (c.item < 0)
            presenter.RzGroup4Items0Click();
        else
            presenter.RzGroup5ItemClick(c.item);
        EXPECT_EQ(f.window.log, c.expected) << c.name;
        EXPECT_TRUE(f.transport.requests.empty()) << c.name;
        EXPECT_EQ(f.state.startupDone, c.item == 1) << c.name; // only the introduction sets it
    }
}

TEST(SideMenuPresenterTest, AccountInfoCarriesAFreshCodeWithTheGid) {
    Fixture f("English", false); // the network is not tested
    f.LogIn("101");
    SideMenuPresenter presenter = f.Presenter();
    std::set<std::string> codes;
    const std::string prefix = "external " + kEn + "autoturn.asp?gid=";
    const std::string suffix = "&username=a%26b%20c";
    for (int click = 0; click < 3; ++click) {
        f.window.log.clear();
        presenter.RzGroup5Items3Click();
        ASSERT_EQ(f.window.log.size(), 2u);
        EXPECT_EQ(f.window.log[1], "mark 5.3 off");
        const std::string& opened = f.window.log[0];
        ASSERT_EQ(opened.rfind(prefix, 0), 0u) << opened;
        ASSERT_GE(opened.size(), prefix.size() + suffix.size());
        ASSERT_EQ(opened.substr(opened.size() - suffix.size()), suffix) << opened;
        const std::string code =
            opened.substr(prefix.size(), opened.size() - prefix.size() - suffix.size());
        ASSERT_EQ(code.size(), 15u) << code;
        EXPECT_EQ(code.find_first_not_of("0123456789"), std::string::npos) << code;
        EXPECT_EQ(code.substr(5, 3), "101") << code; // positions 6 onward
        EXPECT_EQ(code.substr(14), "3") << code;     // the length of the gid, last
        codes.insert(code);
    }
    EXPECT_GE(codes.size(), 2u); // a new random code for every click

    // Any s_login other than "False" counts as logged in; "False" opens the login page.
    f.state.session.s_login = "False";
    f.window.log.clear();
    presenter.RzGroup5Items3Click();
    EXPECT_EQ(f.window.log, (Log{"external " + kEn + "login.asp", "mark 5.3 off"}));
}

TEST(SideMenuPresenterTest, PurchaseWithAndWithoutAnAccount) {
    const std::string notice =
        kRoot + "/kelvra_cd/xml/set_login_out.asp?username=a%26b%20c&password=p%231";
    struct Case {
        const char* name;
        const char* language;
        const char* gid; // nullptr: nobody logged in
        bool noticeFails;
        Log expected;
        Log requests;
    };
    const Case cases[] = {
        {"account, Chinese",
         "Chinese",
         "101",
         false,
         {"page 7", "browser4 " + kCn + "reg/go_to_buy.asp?uid=101&lan=Chinese"},
         {}},
        {"account, English",
         "English",
         "102",
         false,
         {"page 7", "browser4 " + kEn + "reg/go_to_buy.asp?uid=102&lan=English"},
         {}},
        {"logged out", "English", nullptr, false, {"page 7", "hide", "login window"}, {}},
        {"name without account",
         "English",
         "0",
         false,
         {"page 7", "hide", "login window"},
         {notice}},
        {"notice fails",
         "Chinese",
         "0",
         true,
         {"page 7", "page 8", "hide", "login window"},
         {notice}},
    };
    for (const Case& c : cases) {
        Fixture f(c.language);
        if (c.gid)
            f.LogIn(c.gid);
        f.transport.fail = c.noticeFails;
        SideMenuPresenter presenter = f.Presenter();
        presenter.RzGroup5Items6Click();
        EXPECT_EQ(f.window.log, c.expected) << c.name;
        EXPECT_EQ(f.transport.requests, c.requests) << c.name;
        EXPECT_EQ(f.state.session.username, c.gid ? "a&b c" : "") << c.name; // record kept
    }
}

TEST(SideMenuPresenterTest, LoginItemSwitchesAccountsAndHandsOver) {
    Fixture online("English");
    online.LogIn("101");
    online.Presenter().RzGroup5Items5Click();
    EXPECT_EQ(online.transport.requests,
              Log{kEn + "/search/xml/set_login_out.asp?username=a%26b%20c&password=p%231"});
    EXPECT_EQ(online.window.log,
              (Log{"caption Kelvra(Ver 1.0.0.3)    Not Logged in", "hide", "login window"}));
    EXPECT_TRUE(online.state.session.username.empty());

    Fixture offline("English", false);
    offline.LogIn("101");
    offline.Presenter().RzGroup5Items5Click();
    EXPECT_TRUE(offline.transport.requests.empty());
    EXPECT_EQ(offline.window.log, (Log{"hide", "login window"}));
    EXPECT_EQ(offline.state.session.username, "a&b c");
}

TEST(SideMenuPresenterTest, LanguageItemAppliesTheOtherLanguageAndBack) {
    Fixture f("Chinese", false); // the network is not tested
    SideMenuPresenter presenter = f.Presenter();
    presenter.RzGroup5Items7Click();
    EXPECT_EQ(f.state.language, "English");
    presenter.RzGroup5Items7Click();
    EXPECT_EQ(f.state.language, "Chinese");
    EXPECT_EQ(f.state.pageBaseUrl, kCn);
    EXPECT_EQ(f.window.log, (Log{"apply English", "apply Chinese"}));

    // Any value but "Chinese" counts as English: the switch goes to Chinese.
    f.state.language = "Klingon";
    f.window.log.clear();
    f.applyFails = true;
    presenter.RzGroup5Items7Click();
    EXPECT_EQ(f.window.log,
              (Log{"apply Chinese", "error Unable to write to /ro/kelvra_config.ini"}));
}

TEST(SideMenuPresenterTest, CountryPageReloadsOnlyForPdfAddressesWhileActive) {
    struct Case {
        const char* name;
        int active;
        const char* location;
        bool reloads;
    };
    const Case cases[] = {
        {"pdf page active", 5, "http://svc/kelvra_cd/cn/pdf/cn.asp", true},
        {"country page active", 5, "http://svc/kelvra_cd/cn/country.asp?lan=Chinese", false},
        {"nothing loaded", 5, "", false},
        {"pdf page hidden", 4, "http://svc/kelvra_cd/cn/pdf/cn.asp", false},
        {"no page", -1, "http://svc/kelvra_cd/cn/pdf/en.asp", false},
    };
    for (const Case& c : cases) {
        Fixture f("Chinese");
        f.window.active = c.active;
        f.window.countryLocation = c.location;
        f.Presenter().CountryPageResized();
        EXPECT_EQ(f.window.log, c.reloads ? Log{"refresh2"} : Log{}) << c.name;
    }
}

} // namespace
} // namespace kelvra
