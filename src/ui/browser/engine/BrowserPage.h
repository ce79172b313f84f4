#pragma once

#include <QObject>
#include <QWebEnginePage>

namespace kelvra::ui {

class BrowserEngineClient;

// The engine page of a browser view: hands every navigation request and every request for a
// new window to the view.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    BrowserPage(QWebEngineProfile* profile, BrowserEngineClient& client);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    BrowserEngineClient& m_client;
};

// The object that the client's link reporter reaches over the web channel. The channel lives in
// the client's own script world, so page scripts cannot call it.
class BrowserHost : public QObject {
    Q_OBJECT
public:
    BrowserHost(BrowserEngineClient& client, QObject* parent);

public slots:
    // The user clicked a "javascript:" link in the document at documentUrl; the view checks both.
    void reportScriptLink(const QString& documentUrl, const QString& url);
    // A frame finished loading its document.
    void reportFrameLoaded();

private:
    BrowserEngineClient& m_client;
};

} // namespace kelvra::ui
