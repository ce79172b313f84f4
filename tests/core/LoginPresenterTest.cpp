// The login presenter with a fake window and main window, real settings and language files in a
// scratch folder, and the stand-in service for the full login check.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "SettingsTestSupport.h"
#include "login/LoginPresenter.h"
#include "service/HttpTransport.h"
#include "service/SessionClient.h"
#include "settings/DataPaths.h"
#include "settings/LanguageFile.h"
#include "settings/SettingsFile.h"
#include "support/SimProcess.h"

namespace kelvra {
namespace {

using Log = std::vector<std::string>;
const MachineIdentity kHere{"0A-1B-2C-3D-4E-5F", "192.168.7.20"};

class FakeLoginWindow : public LoginView, public LoginHostView, public BusyIndicatorControl {
public:
    // LoginView
    std::string UserNameText() const override { return userName; }
    void SetUserNameText(const std::string& text) override { userName = text; }
    std::string PasswordText() const override { return password; }
    void SetPasswordText(const std::string& text) override { password = text; }
    bool RememberChecked() const override { return remember; }
    void SetRememberChecked(bool checked) override { remember = checked; }
    void FocusUserName() override { log.push_back("focus user name"); }
    void FocusPassword() override { log.push_back("focus password"); }
    void SetControlText(const std::string& name, const std::string& text) override {
        texts.push_back(name + "=" + text);
    }
    void SetControlWidth(const std::string& name, int width) override {
        looks.push_back(name + " width " + std::to_string(width));
    }
    void SetUnderlined(const std::string& name, bool on) override {
        looks.push_back(name + (on ? " underlined" : " plain"));
    }
    void SetHandCursor(const std::string& name) override { looks.push_back(name + " hand"); }
    void MoveWindow(int left, int top) override {
        log.push_back("move " + std::to_string(left) + "," + std::to_string(top));
    }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        log.push_back("message " + caption + ": " + text);
    }
    void ReportError(const std::string& text) override { log.push_back("error " + text); }
    void OpenInSystemBrowser(const std::string& url) override { log.push_back("open " + url); }
    void CloseWindow() override {
        log.push_back("close");
        if (presenter != nullptr) {
            presenter->FormClose(); // as the toolkit's close event does
        }
    }
    // LoginHostView
    int ActivePage() const override { return activePage; }
    void ShowPage(int index) override {
        activePage = index;
        log.push_back("page " + std::to_string(index));
    }
    void NavigatePurchaseBrowser(const std::string& url) override {
        log.push_back("WebBrowser4 " + url);
    }
    void SetMainCaption(const std::string& caption) override {
        log.push_back("caption " + caption);
    }
    void ShowMainWindow() override { log.push_back("main window"); }
    // BusyIndicatorControl
    void ShowBusy() override { log.push_back("busy on"); }
    void HideBusy() override { log.push_back("busy off"); }

    std::string userName, password;
    bool remember = false;
    int activePage = 0;
    Log log, texts, looks;
    LoginPresenter* presenter = nullptr;
};

class LoginPresenterTest : public ::testing::Test {
protected:
    LoginPresenterTest() {
        state.dataFolder = folder.Path();
        state.language = "English";
        state.xmlBaseUrl = sim.Root() + "/kelvra_cd/xml/";
        state.pageBaseUrl = sim.Root() + "/kelvra_cd/en/";
        state.heldTexts = {{"login", "  Welcome"}, {"no_login", "  Not Logged in"}};
        options.connectTimeoutMs = 2000;
        options.totalTimeoutMs = 3000;
        std::filesystem::create_directories(LanguageFolderPath(folder.Path()));
        WriteLanguageFile(LanguageFilePath(folder.Path(), "enu.ini"), false);
        WriteLanguageFile(LanguageFilePath(folder.Path(), "chs.ini"), true);
        SettingsFile(folder.Path()).CreateWithDefaults();
        window.presenter = &presenter;
    }
    SettingsFile Settings() const { return SettingsFile(folder.Path()); }
    void Type(const std::string& user, const std::string& password, bool remember) {
        window.userName = user;
        window.password = password;
        window.remember = remember;
        window.log.clear();
        sim.ClearRequests();
    }

    test::ScratchFolder folder;
    test::SimProcess sim;
    std::unique_ptr<HttpTransport> transport = MakeCurlTransport();
    HttpRequestOptions options;
    AppState state;
    SessionClient session{state, *transport, kHere, options};
    FakeLoginWindow window;
    std::vector<std::string> afterLogin;
    LoginPresenter presenter{
        state,  window,  window,
        window, session, [this](const std::string& outcome) {
                                 afterLogin.push_back(outcome); }};
};

TEST_F(LoginPresenterTest, ShowTakesTextsFromTheSettingsLanguageWithFallbacks) {
    const Log english = {"Label1=Username",  "Label2=Password",       "CheckBox1=Remember",
                         "Label4=JOIN FREE", "Label5=FORGOT",         "RzButton1=Login",
                         "Button1=Cancel",   "Label3=CHANGE PASSWORD"};
    const Log chinese = {"Label1=用户名",   "Label2=密码",     "CheckBox1=保存用户",
                         "Label4=创建帐号", "Label5=忘记密码", "RzButton1=登陆",
                         "Button1=取消",    "Label3=修改密码"};
    struct Case {
        const char* name;
        const char* settingsLanguage;
        bool removeChinese;
        bool removeEnglish;
        Log expected;
    };
    const Case cases[] = {
        {"English", "English", false, false, english},
        {"Chinese from the settings, whatever the current language", "Chinese", false, false,
         chinese},
        {"Chinese file missing", "Chinese", true, false, english},
        {"other language name", "French", false, false, english},
        {"no language file at all: built-in texts", "Chinese", true, true, english},
    };
    for (const Case& c : cases) {
        Settings().WriteLanguage(c.settingsLanguage);
        if (c.removeChinese) {
            std::filesystem::remove(LanguageFilePath(folder.Path(), "chs.ini"));
        }
        if (c.removeEnglish) {
            std::filesystem::remove(LanguageFilePath(folder.Path(), "enu.ini"));
        }
        window.texts.clear();
        presenter.FormShow();
        EXPECT_EQ(window.texts, c.expected) << c.name;
    }
}

TEST_F(LoginPresenterTest, ShowHidesTheBusyIndicatorAndFillsTheFieldsFromTheSettings) {
    test::WriteBytes(LanguageFilePath(folder.Path(), "enu.ini"),
                     "[Login]\r\nUsername=  Account\r\n"); // leading blanks kept, rest built in
    Settings().WriteUserName("张伟");
    Settings().WriteRember(true);
    window.password = "left over";
    presenter.FormShow();
    EXPECT_EQ(window.log.front(), "busy off");
    EXPECT_EQ(window.userName, "张伟");
    EXPECT_EQ(window.password, "");
    EXPECT_TRUE(window.remember);
    EXPECT_EQ(window.texts.front(), "Label1=  Account");
    EXPECT_EQ(window.texts.back(), "Label3=CHANGE PASSWORD");
    EXPECT_EQ(window.looks,
              (Log{"Label1 width 55", "Label2 width 55", "Label5 width 120", "Label4 width 150"}));

    Settings().WriteRember(false);
    Settings().WriteUserName("");
    presenter.FormShow();
    EXPECT_EQ(window.userName, "");
    EXPECT_FALSE(window.remember);
}

TEST_F(LoginPresenterTest, EmptyFieldsAreRefusedAfterTheSettingsAreWritten) {
    struct Case {
        const char* language;
        std::string user, password;
        bool remember;
        Log expected;
        std::string storedUser;
    };
    const Case cases[] = {
        {"English",
         "alice",
         "",
         true,
         {"message Tip: Please Input Password", "focus password"},
         "alice"},
        {"English",
         "",
         "secret",
         true,
         {"message Tip: Please Input UserName", "focus user name"},
         ""},
        {"Chinese", "", "", false, {"message 提示: 请输入用户名", "focus user name"}, ""},
        {"Chinese", "bob", "", false, {"message 提示: 请输入密码", "focus password"}, ""},
    };
    for (const Case& c : cases) {
        state.language = c.language;
        Settings().WriteUserName("previous");
        Type(c.user, c.password, c.remember);
        presenter.RzButton1Click();
        EXPECT_EQ(window.log, c.expected) << c.user;
        EXPECT_EQ(Settings().ReadUserName(), c.storedUser) << c.user;
        EXPECT_EQ(Settings().ReadRember(), c.remember) << c.user;
        EXPECT_TRUE(sim.Requests().empty()) << c.user;
        EXPECT_EQ(presenter.Outcome(), "") << c.user;
    }
}

TEST_F(LoginPresenterTest, SuccessfulLoginClosesAndReplaysWithOutcomeZero) {
    Type("demo", "demo123", true);
    presenter.RzButton1Click();
    EXPECT_EQ(presenter.Outcome(), "0");
    EXPECT_EQ(window.log,
              (Log{"caption Kelvra(Ver 1.0.0.3)      Welcome,demo", "close", "main window"}));
    EXPECT_EQ(afterLogin, (Log{"0"}));
    EXPECT_EQ(state.session.gid, "101");
    EXPECT_EQ(
        sim.Requests(),
        (Log{"/kelvra_cd/xml/get_login_status.asp?mac=0A-1B-2C-3D-4E-5F&IP=192.168.7.20"
             "&username=demo&password=demo123",
             "/kelvra_cd/xml/set_search_num.asp?username=demo&password=demo123&searchnum=0"}));
    EXPECT_EQ(Settings().ReadUserName(), "demo");
    EXPECT_TRUE(Settings().ReadRember());

    // The outcome survives: shown again and closed with the close box, the search is replayed.
    presenter.FormShow();
    presenter.FormClose();
    EXPECT_EQ(afterLogin, (Log{"0", "0"}));
}

TEST_F(LoginPresenterTest, LoginWhileThePurchasePageIsActiveLoadsItWithTheNewGid) {
    window.activePage = 7;
    Type("vip", "vip123", false);
    presenter.RzButton1Click();
    EXPECT_EQ(window.log,
              (Log{"caption Kelvra(Ver 1.0.0.3)      Welcome,vip",
                   "WebBrowser4 " + state.pageBaseUrl + "reg/go_to_buy.asp?uid=102&lan=English",
                   "close", "main window"}));
}

TEST_F(LoginPresenterTest, RefusedLoginShowsTheMessageThenClearsAndStaysOpen) {
    state.session.username = "earlier";
    state.session.gid = "55";
    Type("demo", "wrong", false);
    presenter.RzButton1Click();
    EXPECT_EQ(presenter.Outcome(), "1");
    EXPECT_EQ(window.log, (Log{"message Tip: Incorrect username/password",
                               "caption Kelvra(Ver 1.0.0.3)      Not Logged in"}));
    EXPECT_EQ(window.userName, "demo");
    EXPECT_EQ(window.password, "wrong");
    EXPECT_EQ(state.session.username, "");
    EXPECT_EQ(state.session.gid, "0");
    EXPECT_TRUE(afterLogin.empty());

    // A name of blanks is not trimmed: it goes to the service as typed.
    state.language = "Chinese";
    Type(" ", " ", false);
    presenter.RzButton1Click();
    EXPECT_EQ(window.log.front(), "message 提示: 输入的用户名或密码错误");
    ASSERT_EQ(sim.Requests().size(), 1u);
    EXPECT_NE(sim.Requests()[0].find("&username=%20&password=%20"), std::string::npos);
}

TEST_F(LoginPresenterTest, ServiceFailureShowsTheErrorPageAndKeepsTheOutcome) {
    presenter.Button1Click(); // outcome "1" from an earlier showing
    afterLogin.clear();
    for (const char* kind : {"refuse", "malformed", "500"}) {
        sim.InjectFault("/kelvra_cd/xml/get_login_status.asp", kind, 2);
        Type("demo", "demo123", false);
        presenter.RzButton1Click();
        EXPECT_EQ(window.log, (Log{"page 8"})) << kind;
        EXPECT_EQ(presenter.Outcome(), "1") << kind;
        EXPECT_TRUE(afterLogin.empty()) << kind;
        sim.Reset();
    }
}

TEST_F(LoginPresenterTest, EnterInThePasswordFieldLogsIn) {
    Type("demo", "demo123", false);
    presenter.RzEdit1KeyPress('a');
    presenter.RzEdit1KeyPress('\n');
    EXPECT_TRUE(sim.Requests().empty());
    presenter.RzEdit1KeyPress(13);
    EXPECT_EQ(presenter.Outcome(), "0");
    EXPECT_EQ(afterLogin, (Log{"0"}));
}

TEST_F(LoginPresenterTest, CancelLinksAndTheCloseBox) {
    // First showing closed with the close box: empty outcome.
    presenter.FormClose();
    EXPECT_EQ(afterLogin, (Log{""}));

    window.log.clear();
    presenter.Label4Click();
    presenter.Label5Click();
    EXPECT_EQ(window.log, (Log{"open " + state.pageBaseUrl + "reg/reg_simple.asp",
                               "open " + state.pageBaseUrl + "forget.asp"}));

    window.log.clear();
    presenter.Label3Click();
    EXPECT_EQ(
        window.log,
        (Log{"page 7", "WebBrowser4 " + state.pageBaseUrl + "setPassword.asp?uid=0&lan=English",
             "close", "main window"}));
    EXPECT_EQ(afterLogin, (Log{"", "1"}));

    presenter.Button1Click();
    EXPECT_EQ(afterLogin, (Log{"", "1", "1"}));
    EXPECT_TRUE(sim.Requests().empty());
}

TEST_F(LoginPresenterTest, CreationCentresOnTheScreen) {
    presenter.FormCreate(1920, 1080);
    presenter.FormCreate(1025, 769);
    presenter.FormCreate(300, 200); // smaller than the window: negative, truncated toward zero
    EXPECT_EQ(window.log, (Log{"move 748,418", "move 300,262", "move -62,-22"}));
}

TEST_F(LoginPresenterTest, ThePasswordIsNeverWrittenToAnyFile) {
    Type("demo", "demo123", true);
    presenter.RzButton1Click();
    Type("demo", "pw-Wrong-7", true);
    presenter.RzButton1Click();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path())) {
        if (entry.is_regular_file()) {
            const std::string bytes = test::ReadBytes(entry.path().string());
            EXPECT_EQ(bytes.find("demo123"), std::string::npos) << entry.path();
            EXPECT_EQ(bytes.find("pw-Wrong-7"), std::string::npos) << entry.path();
        }
    }
    for (const std::string& line : window.log) {
        EXPECT_EQ(line.find("pw-Wrong-7"), std::string::npos) << line;
    }
}

TEST_F(LoginPresenterTest, AnUnwritableSettingsFileIsReportedAndTheLoginGoesOn) {
    const std::string path = SettingsFilePath(folder.Path());
    std::filesystem::remove(path);
    std::filesystem::create_directory(path); // a folder in its place: every write fails
    Type("demo", "demo123", true);
    presenter.RzButton1Click();
    ASSERT_FALSE(window.log.empty());
    EXPECT_EQ(window.log.front(), "error Unable to write to " + path);
    EXPECT_EQ(presenter.Outcome(), "0");
    EXPECT_EQ(afterLogin, (Log{"0"}));
}

} // namespace
} // namespace kelvra
