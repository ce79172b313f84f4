#include "ui/browser/engine/BrowserPage.h"

#include <QWebEngineNewWindowRequest>

#include "ui/browser/BrowserEngine.h"

namespace kelvra::ui {

BrowserPage::BrowserPage(QWebEngineProfile* profile, BrowserEngineClient& client)
    : QWebEnginePage(profile), m_client(client) {
    // No window is ever opened for the page: the view loads the address itself, so that the
    // navigation passes its watch like any other.
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                m_client.OnNewWindowRequest(request.requestedUrl());
            });
}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    return m_client.OnNavigationRequest(url, isMainFrame, type == NavigationTypeRedirect);
}

BrowserHost::BrowserHost(BrowserEngineClient& client, QObject* parent)
    : QObject(parent), m_client(client) {}

void BrowserHost::reportScriptLink(const QString& documentUrl, const QString& url) {
    m_client.OnScriptLink(documentUrl, url);
}

void BrowserHost::reportFrameLoaded() {
    m_client.OnFrameLoaded();
}

} // namespace kelvra::ui
