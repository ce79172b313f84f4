#include "ui/app/SideMenuBinder.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QUrl>

#include "app/MainPresenter.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserView.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/SideItemList.h"

namespace kelvra::ui {
SideMenuBinder::SideMenuBinder(TFormMain& window, AppState& state, HttpTransport& transport,
                               SideMenuServices services, std::function<void()> showLoginWindow)
    : m_window(window), m_presenter(std::make_unique<SideMenuPresenter>(
                            state, *this, window, transport, std::move(services))),
      m_showLogin(std::move(showLoginWindow)) {
    if (SideItemList* group4 = m_window.SideItems(4)) {
        connect(group4, &SideItemList::itemClicked, this, [this](int index) {
            if (index == 0)
                m_presenter->RzGroup4Items0Click();
        });
    }
    if (SideItemList* group5 = m_window.SideItems(5)) {
        connect(group5, &SideItemList::itemClicked, this,
                [this](int index) { m_presenter->RzGroup5ItemClick(index); });
    }
    m_countryPage = m_window.Pages()->Page(kPageCountry);
    if (m_countryPage)
        m_countryPage->installEventFilter(this);
}

SideMenuBinder::~SideMenuBinder() = default;

void SideMenuBinder::HideMainWindow() {
    m_window.hide();
}

void SideMenuBinder::ShowLoginWindow() {
    if (m_showLogin)
        m_showLogin();
}

void SideMenuBinder::ShowPage(int index) {
    m_window.ShowPage(index);
}

void SideMenuBinder::SetWindowCaption(const std::string& caption) {
    m_window.SetWindowCaption(caption);
}

void SideMenuBinder::NavigateBrowser(int number, const std::string& url) {
    if (BrowserView* browser = m_window.Browser(number))
        browser->Navigate(QString::fromStdString(url));
}

void SideMenuBinder::OpenInDefaultBrowser(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

void SideMenuBinder::ShowAboutPicture(bool chinese) {
    if (auto* cn = m_window.findChild<QLabel*>("img_about_cn"))
        cn->setVisible(chinese);
    if (auto* en = m_window.findChild<QLabel*>("img_about_en"))
        en->setVisible(!chinese);
}

void SideMenuBinder::SetItemSelected(int group, int index, bool selected) {
    m_window.SetSideItemSelected(group, index, selected);
}

int SideMenuBinder::ActivePage() const {
    return m_window.Pages()->ActiveIndex();
}

std::string SideMenuBinder::BrowserLocation(int number) const {
    const BrowserView* browser = m_window.Browser(number);
    return browser ? browser->LocationURL().toStdString() : std::string();
}

void SideMenuBinder::RefreshBrowser(int number) {
    if (BrowserView* browser = m_window.Browser(number))
        browser->Refresh();
}

void SideMenuBinder::ReportError(const std::string& text) {
    m_window.ReportError(text);
}

bool SideMenuBinder::eventFilter(QObject* watched, QEvent* event) {
    // A page resized while hidden gets its resize event when it is next shown: that is no
    // resize of the shown country page, so only a visible page counts.
    // The page is held from the start: the filter also sees the events of the window being
    // taken down, when the page control may be half destroyed.
    if (event->type() == QEvent::Resize && m_countryPage && watched == m_countryPage &&
        m_countryPage->isVisible())
        m_presenter->CountryPageResized();
    return QObject::eventFilter(watched, event);
}

} // namespace kelvra::ui
