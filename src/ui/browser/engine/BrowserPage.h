#pragma once

#include <QObject>
#include <QWebEnginePage>

namespace kelvra::ui {

class BrowserEngineClient;

// The engine page of a browser view: hands every navigation request to the view.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    BrowserPage(QWebEngineProfile* profile, BrowserEngineClient& client);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    BrowserEngineClient& m_client;
};

// The object the in-page script reaches over the web channel.
class BrowserHost : public QObject {
    Q_OBJECT
public:
    BrowserHost(BrowserEngineClient& client, QObject* parent);

public slots:
    // A "javascript:" link was clicked; other texts are ignored by the view.
    void reportScriptLink(const QString& url);
    // A sub-frame finished loading its document.
    void reportFrameLoaded();

private:
    BrowserEngineClient& m_client;
};

} // namespace kelvra::ui
