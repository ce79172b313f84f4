#pragma once

#include <functional>

#include <QString>
#include <QUrl>
#include <QWidget>

class QWebEngineView;
class QWebChannel;

namespace kelvra::ui {

class BrowserProfile;
class BrowserPage;

// One embedded browser (WebBrowser1..4). The engine view is created at the first Navigate;
// until then a plain placeholder fills the control.
//
// Events: beforeNavigate(url) before every navigation of the page and its frames (links,
// Navigate, reloads, and clicked "javascript:" links, which the page script reports);
// documentComplete(url) exactly once for each announced document navigation, when it has loaded
// or failed. Script links are announced only. A "data:" document is announced as "about:blank".
// The view never cancels a navigation by itself; a policy may.
class BrowserView : public QWidget {
    Q_OBJECT
public:
    // Decides whether an announced navigation goes on; the default accepts every one.
    using NavigationPolicy = std::function<bool(const QString& url, bool isMainFrame)>;

    BrowserView(const QString& objectName, BrowserProfile& profile, QWidget* parent = nullptr);
    ~BrowserView() override;

    // Starts loading the URL, replacing a pending navigation. Called from inside a
    // beforeNavigate handler, the navigation starts as soon as that handler has returned.
    void Navigate(const QString& url);
    // Loads the current page again; nothing happens before the first navigation.
    void Refresh();
    // URL of the page held; empty before the first navigation.
    QString LocationURL() const;
    void SetNavigationPolicy(NavigationPolicy policy);
    // The engine view, or nullptr while it has not been created.
    QWebEngineView* Engine() const { return m_view; }
    // Announced navigations still waiting for their documentComplete.
    int PendingNavigations() const { return m_pendingMain + m_pendingFrames; }

signals:
    void beforeNavigate(const QString& url);
    void documentComplete(const QString& url);

private:
    friend class BrowserPage;
    friend class BrowserHost;
    void EnsureEngine();
    // From the page: a navigation request; returns whether it goes on.
    bool OnNavigationRequest(const QUrl& url, bool isMainFrame, bool isRedirect);
    void OnLoadFinished(bool ok);
    void OnScriptLink(const QString& url);
    void OnFrameLoaded();
    void Announce(const QString& url);

    BrowserProfile& m_profile;
    QWidget* m_placeholder = nullptr;
    QWebEngineView* m_view = nullptr;
    BrowserPage* m_page = nullptr;
    QWebChannel* m_channel = nullptr;
    NavigationPolicy m_policy;
    QString m_requested;
    int m_announcing = 0;
    int m_pendingMain = 0;
    int m_pendingFrames = 0;
};

} // namespace kelvra::ui
