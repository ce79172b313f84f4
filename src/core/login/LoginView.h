#pragma once

#include <string>

namespace kelvra {

// The login window TFormLogin as its presenter sees it. Controls are addressed by object name
// ("Label1", "CheckBox1", "RzButton1", ...). The password field masks every character with "*";
// its text is only ever read to be handed to the login check.
class LoginView {
public:
    virtual ~LoginView() = default;
    virtual std::string UserNameText() const = 0; // RzEdit2
    virtual void SetUserNameText(const std::string& text) = 0;
    virtual std::string PasswordText() const = 0; // RzEdit1
    virtual void SetPasswordText(const std::string& text) = 0;
    virtual bool RememberChecked() const = 0; // CheckBox1
    virtual void SetRememberChecked(bool checked) = 0;
    virtual void FocusUserName() = 0;
    virtual void FocusPassword() = 0;

    // Caption of a label, check box or button; an unknown name is ignored.
    virtual void SetControlText(const std::string& controlName, const std::string& text) = 0;
    virtual void SetControlWidth(const std::string& controlName, int width) = 0;
    // Hover look of a link label: underlined or not; the hand cursor once set stays.
    virtual void SetUnderlined(const std::string& controlName, bool underlined) = 0;
    virtual void SetHandCursor(const std::string& controlName) = 0;

    // Moves the window's top-left corner.
    virtual void MoveWindow(int left, int top) = 0;
    // A modal information box with one OK button; returns when it is acknowledged.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // Shows an error that escaped a handler, as the application's general error handler does.
    virtual void ReportError(const std::string& text) = 0;
    // Opens a URL in the system's web browser; a failure to start it is the system's to show.
    virtual void OpenInSystemBrowser(const std::string& url) = 0;
    // Hides the window; the toolkit then runs LoginPresenter::FormClose, as for the close box.
    virtual void CloseWindow() = 0;
};

// What the login window needs of the main window.
class LoginHostView {
public:
    virtual ~LoginHostView() = default;
    // The index of the active page of RzPageControl1.
    virtual int ActivePage() const = 0;
    virtual void ShowPage(int index) = 0;
    // Navigates WebBrowser4, the browser of the purchase page.
    virtual void NavigatePurchaseBrowser(const std::string& url) = 0;
    virtual void SetMainCaption(const std::string& caption) = 0;
    // Shows the main window again (its start-up part is skipped).
    virtual void ShowMainWindow() = 0;
};

} // namespace kelvra
