#pragma once

#include <string>

#include <QObject>

#include "login/LoginView.h"

namespace kelvra::ui {

class TFormMain;

// The login hand-over: the login window acts on the main window through this host.
class LoginWindowHost : public QObject, public LoginHostView {
    Q_OBJECT
public:
    // The window must outlive the host. Cannot fail.
    explicit LoginWindowHost(TFormMain& window, QObject* parent = nullptr);

    // LoginHostView
    int ActivePage() const override;
    void ShowPage(int index) override;
    void NavigatePurchaseBrowser(const std::string& url) override;
    void SetMainCaption(const std::string& caption) override;
    void ShowMainWindow() override;

private:
    TFormMain& m_window;
};

} // namespace kelvra::ui
