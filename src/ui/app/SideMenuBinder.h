#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "app/SideMenuPresenter.h"
#include "app/SideMenuView.h"

namespace kelvra {
class HttpTransport;
} // namespace kelvra

namespace kelvra::ui {

class TFormMain;

// Wires the items of RzGroup4 and RzGroup5 and the resize of TabSheet6 to the side-menu
// presenter, and carries out its requests on the main window.
class SideMenuBinder : public QObject, public SideMenuView {
    Q_OBJECT
public:
    // showLoginWindow opens the login window (the side menu's login item). Cannot fail.
    SideMenuBinder(TFormMain& window, AppState& state, HttpTransport& transport,
                   SideMenuServices services, std::function<void()> showLoginWindow);
    ~SideMenuBinder() override;

    SideMenuPresenter& Presenter() { return *m_presenter; }

    // SideMenuView
    void HideMainWindow() override;
    void ShowLoginWindow() override;
    void ShowPage(int index) override;
    void SetWindowCaption(const std::string& caption) override;
    void NavigateBrowser(int number, const std::string& url) override;
    void OpenInDefaultBrowser(const std::string& url) override;
    void ShowAboutPicture(bool chinese) override;
    void SetItemSelected(int group, int index, bool selected) override;
    int ActivePage() const override;
    std::string BrowserLocation(int number) const override;
    void RefreshBrowser(int number) override;
    void ReportError(const std::string& text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TFormMain& m_window;
    std::unique_ptr<SideMenuPresenter> m_presenter;
    std::function<void()> m_showLogin;
    QPointer<QWidget> m_countryPage;
};

} // namespace kelvra::ui
