#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QObject>

#include "browser/InPageCommands.h"
#include "state/AppState.h"

namespace kelvra::ui {

class TFormMain;

// The watch on the main browser (WebBrowser1): every navigation it announces goes through the
// in-page commands (markers, login checks, the account's quota), which act on the main window
// through this adapter; the quota shown is refreshed after each.
class MainBrowserWatch : public QObject, public InPageView {
    Q_OBJECT
public:
    // The window, state, busy indicator and session client must outlive the watch;
    // networkOnline is the main window's network-online flag; showLoginWindow opens the login
    // window. Cannot fail.
    MainBrowserWatch(TFormMain& window, AppState& state, BusyIndicatorControl& busy,
                     SessionClient& session, std::function<bool()> networkOnline,
                     std::function<void()> showLoginWindow, QObject* parent = nullptr);
    ~MainBrowserWatch() override;

    InPageCommands& Commands() { return *m_commands; }

    // InPageView
    void ShowMessage(const std::string& text, const std::string& caption) override;
    void NavigateMain(const std::string& url) override;
    void ShowPage(int index) override;
    void HideMainWindow() override;
    void ShowLoginWindow() override;

private:
    TFormMain& m_window;
    std::function<void()> m_showLoginWindow;
    std::unique_ptr<InPageCommands> m_commands;
};

} // namespace kelvra::ui
