#include "ui/browser/BrowserView.h"

#include <QTimer>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "ui/browser/BrowserPage.h"
#include "ui/browser/BrowserProfile.h"

namespace kelvra::ui {

BrowserPage::BrowserPage(QWebEngineProfile* profile, BrowserView& owner)
    : QWebEnginePage(profile, &owner), m_owner(owner) {}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    return m_owner.OnNavigationRequest(url, isMainFrame, type == NavigationTypeRedirect);
}

BrowserHost::BrowserHost(BrowserView& owner) : QObject(&owner), m_owner(owner) {}

void BrowserHost::reportScriptLink(const QString& url) {
    m_owner.OnScriptLink(url);
}

void BrowserHost::reportFrameLoaded() {
    m_owner.OnFrameLoaded();
}

BrowserView::BrowserView(const QString& objectName, BrowserProfile& profile, QWidget* parent)
    : QWidget(parent), m_profile(profile) {
    setObjectName(objectName);
    setAccessibleName(tr("Web page"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_placeholder = new QWidget(this);
    m_placeholder->setObjectName(objectName + "Placeholder");
    m_placeholder->setAttribute(Qt::WA_StyledBackground, true);
    m_placeholder->setStyleSheet(QStringLiteral("background: white;"));
    layout->addWidget(m_placeholder);
}

BrowserView::~BrowserView() {
    // The page must go before the profile it was created with; the profile outlives every view.
    delete m_view;
    delete m_page;
}

void BrowserView::EnsureEngine() {
    if (m_view)
        return;
    m_page = new BrowserPage(m_profile.Profile(), *this);
    m_channel = new QWebChannel(m_page);
    m_channel->registerObject(BrowserProfile::HostObjectName(), new BrowserHost(*this));
    m_page->setWebChannel(m_channel, QWebEngineScript::MainWorld);
    connect(m_page, &QWebEnginePage::loadFinished, this, &BrowserView::OnLoadFinished);
    m_view = new QWebEngineView(this);
    m_view->setObjectName(objectName() + "Engine");
    m_view->setPage(m_page);
    layout()->replaceWidget(m_placeholder, m_view);
    m_placeholder->hide();
    m_view->show();
}

void BrowserView::Navigate(const QString& url) {
    m_requested = url;
    if (m_announcing > 0) {
        // The engine must not start a new load from inside its own navigation request.
        QTimer::singleShot(0, this, [this, url] { Navigate(url); });
        return;
    }
    EnsureEngine();
    m_page->load(QUrl(url, QUrl::TolerantMode));
}

void BrowserView::Refresh() {
    if (m_page)
        m_page->triggerAction(QWebEnginePage::Reload);
}

QString BrowserView::LocationURL() const {
    if (!m_page)
        return {};
    const QString shown = m_page->url().toString();
    return shown.isEmpty() ? m_requested : shown;
}

void BrowserView::SetNavigationPolicy(NavigationPolicy policy) {
    m_policy = std::move(policy);
}

bool BrowserView::OnNavigationRequest(const QUrl& url, bool isMainFrame, bool isRedirect) {
    if (isRedirect)
        return true; // a server redirect continues the navigation already announced
    // A document given as text travels as a data: URL holding the whole page: never let its
    // contents reach the handlers as if it were an address.
    const QString announced =
        url.scheme() == QLatin1String("data") ? QStringLiteral("about:blank") : url.toString();
    if (isMainFrame)
        ++m_pendingMain;
    else
        ++m_pendingFrames;
    Announce(announced);
    const bool go = !m_policy || m_policy(announced, isMainFrame);
    if (!go) {
        // A refused navigation never loads: it is complete now.
        isMainFrame ? --m_pendingMain : --m_pendingFrames;
        emit documentComplete(announced);
    }
    return go;
}

void BrowserView::Announce(const QString& url) {
    ++m_announcing;
    emit beforeNavigate(url);
    --m_announcing;
}

void BrowserView::OnScriptLink(const QString& url) {
    if (!url.startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive))
        return;
    Announce(url); // the script has run already: there is nothing to hold back
}

void BrowserView::OnFrameLoaded() {
    if (m_pendingFrames <= 0)
        return;
    --m_pendingFrames;
    emit documentComplete(LocationURL());
}

void BrowserView::OnLoadFinished(bool) {
    // The main document has loaded or failed: it closes every navigation announced for it and
    // its frames that has not been closed yet.
    const int pending = m_pendingMain + m_pendingFrames;
    m_pendingMain = 0;
    m_pendingFrames = 0;
    const QString url = LocationURL();
    for (int i = 0; i < pending; ++i)
        emit documentComplete(url);
}

} // namespace kelvra::ui
