#pragma once

#include <QObject>
#include <QWebEnginePage>

namespace kelvra::ui {

class BrowserView;

// The engine page of a BrowserView: hands every navigation request to its view.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    BrowserPage(QWebEngineProfile* profile, BrowserView& owner);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    BrowserView& m_owner;
};

// The object the in-page script reaches over the web channel.
class BrowserHost : public QObject {
    Q_OBJECT
public:
    explicit BrowserHost(BrowserView& owner);

public slots:
    // A "javascript:" link was clicked; other texts are ignored.
    void reportScriptLink(const QString& url);
    // A sub-frame finished loading its document.
    void reportFrameLoaded();

private:
    BrowserView& m_owner;
};

} // namespace kelvra::ui
