#include "ui/browser/engine/BrowserPage.h"

#include "ui/browser/BrowserEngine.h"

namespace kelvra::ui {

BrowserPage::BrowserPage(QWebEngineProfile* profile, BrowserEngineClient& client)
    : QWebEnginePage(profile), m_client(client) {}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    return m_client.OnNavigationRequest(url, isMainFrame, type == NavigationTypeRedirect);
}

BrowserHost::BrowserHost(BrowserEngineClient& client, QObject* parent)
    : QObject(parent), m_client(client) {}

void BrowserHost::reportScriptLink(const QString& url) {
    m_client.OnScriptLink(url);
}

void BrowserHost::reportFrameLoaded() {
    m_client.OnFrameLoaded();
}

} // namespace kelvra::ui
