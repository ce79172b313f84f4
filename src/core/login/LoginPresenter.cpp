#include "login/LoginPresenter.h"

#include <exception>
#include <utility>
#include <vector>

#include "service/SessionUrls.h"
#include "settings/LanguageFile.h"
#include "settings/LanguageTables.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFile.h"
#include "window/MainPage.h"

namespace kelvra {
namespace {

constexpr char kEnter = 13;

// The control texts of section Login, in the order they are put on the window.
struct ControlText {
    const char* control;
    const char* key;
};
constexpr ControlText kControlTexts[] = {
    {"Label1", "Username"}, {"Label2", "Password"},        {"CheckBox1", "Remember"},
    {"Label4", "Create"},   {"Label5", "FORGOT"},          {"RzButton1", "Login"},
    {"Button1", "Cancel"},  {"Label3", "change_password"},
};

// Widths of the link labels at rest; Label1 and Label2 get 55 at each show.
constexpr int kLabel3Width = 150;
constexpr int kLabel4Width = 150;
constexpr int kLabel5Width = 120;
constexpr int kFieldTitleWidth = 55;

// A text of section Login; the built-in defaults are the English texts in every language.
std::string LoginText(const LanguageFileReader& file, const char* key) {
    return file.Text("Login", key, BuiltInText("Login", key, false));
}

} // namespace

LoginPresenter::LoginPresenter(AppState& state, LoginView& view, LoginHostView& host,
                               BusyIndicatorControl& busy, SessionClient& session,
                               std::function<void(const std::string& outcome)> afterLogin)
    : m_state(state), m_view(view), m_host(host), m_busy(busy), m_session(session),
      m_afterLogin(std::move(afterLogin)) {}

void LoginPresenter::FormCreate(int screenWidth, int screenHeight) {
    m_view.MoveWindow((screenWidth - kLoginWindowWidth) / 2,
                      (screenHeight - kLoginWindowHeight) / 2);
}

void LoginPresenter::FormShow() {
    m_busy.HideBusy();
    m_view.SetUserNameText({});
    m_view.SetPasswordText({});
    const SettingsFile settings(m_state.dataFolder);
    m_view.SetUserNameText(settings.ReadUserName());
    m_view.SetRememberChecked(settings.ReadRember());
    const LanguageFileReader file(LanguageFileFor(m_state, LanguageFileUse::LoginShown));
    for (const ControlText& c : kControlTexts) {
        m_view.SetControlText(c.control, LoginText(file, c.key));
    }
    m_view.SetControlWidth("Label1", kFieldTitleWidth);
    m_view.SetControlWidth("Label2", kFieldTitleWidth);
    m_view.SetControlWidth("Label5", kLabel5Width);
    m_view.SetControlWidth("Label4", kLabel4Width);
}

void LoginPresenter::RzButton1Click() {
    const std::string username = m_view.UserNameText();
    const bool remember = m_view.RememberChecked();
    try {
        const SettingsFile settings(m_state.dataFolder);
        settings.WriteUserName(remember ? username : std::string());
        settings.WriteRember(remember);
    } catch (const SettingsWriteError& e) {
        // Remembering the name is a convenience: say why it failed and still log in.
        m_view.ReportError(e.what());
    }

    const LanguageFileReader file(LanguageFileFor(m_state, LanguageFileUse::LoginButton));
    const std::string caption = LoginText(file, "message_tip");
    if (username.empty()) {
        m_view.ShowMessage(LoginText(file, "err_message_user"), caption);
        m_view.FocusUserName();
        return;
    }
    const std::string password = m_view.PasswordText();
    if (password.empty()) {
        m_view.ShowMessage(LoginText(file, "err_message_pass"), caption);
        m_view.FocusPassword();
        return;
    }

    // Captions set by the check are applied once it has answered, so that a refusal shows its
    // message before the main window's caption changes.
    std::vector<std::string> captions;
    auto applyCaptions = [&] {
        for (const std::string& c : captions) {
            m_host.SetMainCaption(c);
        }
        captions.clear();
    };
    SessionResult result;
    try {
        result = m_session.FullLoginCheck(
            username, password, [&captions](const std::string& c) { captions.push_back(c); });
    } catch (const std::exception&) {
        result = SessionResult{SessionOutcome::Failed, "full login check failed"};
    }
    switch (result.outcome) {
    case SessionOutcome::Failed:
        applyCaptions();
        m_host.ShowPage(kPageError);
        return;
    case SessionOutcome::Negative:
        m_outcome = kLoginNotDone;
        m_view.ShowMessage(LoginText(file, "err_message"), caption);
        applyCaptions();
        return;
    case SessionOutcome::Positive:
        applyCaptions();
        m_outcome = kLoginSucceeded;
        if (m_host.ActivePage() == kPagePurchase) {
            m_host.NavigatePurchaseBrowser(PurchasePageUrl(m_state));
        }
        m_view.CloseWindow();
        return;
    }
}

void LoginPresenter::RzEdit1KeyPress(char key) {
    if (key == kEnter) {
        RzButton1Click();
    }
}

void LoginPresenter::Button1Click() {
    m_outcome = kLoginNotDone;
    m_view.CloseWindow();
}

void LoginPresenter::Label3Click() {
    m_host.ShowPage(kPagePurchase);
    m_host.NavigatePurchaseBrowser(ChangePasswordPageUrl(m_state));
    m_outcome = kLoginNotDone;
    m_view.CloseWindow();
}

void LoginPresenter::Label4Click() {
    m_view.OpenInSystemBrowser(m_state.pageBaseUrl + "reg/reg_simple.asp");
}

void LoginPresenter::Label5Click() {
    m_view.OpenInSystemBrowser(m_state.pageBaseUrl + "forget.asp");
}

void LoginPresenter::Hover(const char* label, int width) {
    m_view.SetControlWidth(label, width);
    m_view.SetUnderlined(label, true);
    m_view.SetHandCursor(label);
}

void LoginPresenter::Label3MouseMove() {
    Hover("Label3", kLabel3Width);
}

void LoginPresenter::Label4MouseMove() {
    Hover("Label4", kLabel4Width);
}

void LoginPresenter::Label5MouseMove() {
    Hover("Label5", kLabel5Width);
}

void LoginPresenter::FormMouseMove() {
    for (const char* label : {"Label3", "Label4", "Label5"}) {
        m_view.SetUnderlined(label, false);
    }
    m_view.SetControlWidth("Label3", kLabel3Width);
    m_view.SetControlWidth("Label4", kLabel4Width);
    m_view.SetControlWidth("Label5", kLabel5Width);
}

void LoginPresenter::FormClose() {
    m_host.ShowMainWindow();
    if (m_afterLogin) {
        m_afterLogin(m_outcome);
    }
}

} // namespace kelvra
