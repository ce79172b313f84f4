#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QWidget>

#include "login/LoginPresenter.h"
#include "login/LoginView.h"
#include "state/AppState.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvra {
class BusyIndicatorControl;
class SessionClient;
} // namespace kelvra

namespace kelvra::ui {

// The login window "KELVRA LOGIN" (FormLogin): user name, password, Remember, Login, Cancel and
// the three links. Created hidden at start, centred on the screen. It shows texts and carries
// clicks, keys and mouse moves to its LoginPresenter; closing it in any way hands back to the
// main window.
class TFormLogin : public QWidget, public LoginView {
    Q_OBJECT
public:
    // Acts on the main window through `host`; afterLogin runs after each login. Every argument
    // must outlive the window. Cannot fail.
    TFormLogin(AppState& state, LoginHostView& host, BusyIndicatorControl& busy,
               SessionClient& session, std::function<void(const std::string& outcome)> afterLogin,
               QWidget* parent = nullptr);
    ~TFormLogin() override;

    // Shows the window in front.
    void ShowInFront();
    LoginPresenter* Presenter() { return m_presenter.get(); }

    // LoginView
    std::string UserNameText() const override;
    void SetUserNameText(const std::string& text) override;
    std::string PasswordText() const override;
    void SetPasswordText(const std::string& text) override;
    bool RememberChecked() const override;
    void SetRememberChecked(bool checked) override;
    void FocusUserName() override;
    void FocusPassword() override;
    void SetControlText(const std::string& controlName, const std::string& text) override;
    void SetControlWidth(const std::string& controlName, int width) override;
    void SetUnderlined(const std::string& controlName, bool underlined) override;
    void SetHandCursor(const std::string& controlName) override;
    void MoveWindow(int left, int top) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void ReportError(const std::string& text) override;
    void OpenInSystemBrowser(const std::string& url) override;
    void CloseWindow() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    QLabel* NewLabel(const char* name, int left, int top);
    QLabel* NewLink(const char* name, int left, int top);
    bool LinkEvent(QLabel* link, QEvent* event);

    QLabel* m_image = nullptr;       // Image1
    QLabel* m_userTitle = nullptr;   // Label1
    QLabel* m_passTitle = nullptr;   // Label2
    QLineEdit* m_user = nullptr;     // RzEdit2
    QLineEdit* m_pass = nullptr;     // RzEdit1
    QCheckBox* m_remember = nullptr; // CheckBox1
    QPushButton* m_login = nullptr;  // RzButton1
    QPushButton* m_cancel = nullptr; // Button1
    QLabel* m_create = nullptr;      // Label4
    QLabel* m_change = nullptr;      // Label3
    QLabel* m_forgot = nullptr;      // Label5
    std::unique_ptr<LoginPresenter> m_presenter;
};

} // namespace kelvra::ui
