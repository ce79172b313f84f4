#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QUrl>
#include <QWidget>

#include "ui/browser/BrowserEngine.h"

class QPrinter;

namespace kelvra::ui {

class BrowserProfile;

// One embedded browser (WebBrowser1..4). The engine view is created at the first Navigate;
// until then a plain placeholder fills the control. When the engine cannot be loaded the
// placeholder stays and says so, and navigations do nothing.
//
// Events: beforeNavigate(url, ofService) before every navigation of the page (links, forms,
// scripts, Navigate, reloads, history, and client and server redirects to the trusted origin),
// of its frames of the trusted origin, and of "javascript:" links that the user clicked in a page
// of the trusted origin, which the client's own script reports. Frames of other sites are not
// announced: the client cannot see them finish. documentComplete(url) exactly once for each
// announced navigation, when its document has loaded or failed. A script link loads no
// document: it is completed as soon as it has been announced. A request for a new window loads
// its address in this view, as a navigation of its own, when the user made it and the address is
// http or https. Only http, https and about:blank become the top document: other schemes (data:,
// qrc:, file:, ...) are refused without an announcement. A frame's announcement completes after
// kFrameHoldMs at the latest. Script dialogs are shown only for documents of the trusted origin,
// and completing every pending navigation first (the page waits for the user's answer).
// When the page's process ends, every pending navigation completes and a message with a reload
// button takes the page's place until the next load. The view cancels no other navigation by
// itself; a policy may.
class BrowserView : public QWidget, private BrowserEngineClient {
    Q_OBJECT
public:
    // The longest a frame's navigation may hold its announcement open (and so the busy
    // indicator) before it counts as complete.
    static constexpr int kFrameHoldMs = 3000;
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
    // Script links are reported only from documents of this origin (scheme, host and port, e.g.
    // "http://127.0.0.1:8780"); while none is set, none are reported.
    void SetTrustedOrigin(const QString& origin);
    // The engine's widget (a QWebEngineView), or nullptr until the first navigation.
    QWidget* EngineWidget() const;
    // Makes the engine ahead of the first navigation, out of sight behind the empty page shown
    // until then, its page set up for the trusted origin's site when one is set: nothing is
    // loaded, requested or announced, LocationURL stays empty, EngineWidget() null.
    // Does nothing when the engine cannot be loaded (the first navigation then says so).
    void PrepareEngine();
    // Announced navigations still waiting for their documentComplete.
    int PendingNavigations() const { return m_pendingMain + m_pendingFrames; }

    // Tools of the page area (defined in BrowserViewTools.cpp). None of them does anything
    // before the first navigation, except the zoom, which is kept and applied to the engine.
    // History: the navigations are announced like any other.
    // Title of the page held; empty before the first navigation.
    QString Title() const;
    void GoBack();
    void GoForward();
    bool CanGoBack() const;
    bool CanGoForward() const;
    // A main-document load is in progress.
    bool IsLoading() const { return m_engine && m_pendingMain > 0; }
    // Stops the load in progress: its documentComplete follows; false when nothing was loading.
    bool StopLoading();
    int ZoomPercent() const { return m_zoomPercent; }
    // Sets the zoom without telling anyone (a stored zoom at start).
    void SetZoomPercent(int percent);
    // A step up (direction > 0), down (< 0) or back to 100 (0), as the user asks: zoomChanged.
    void ZoomStep(int direction);
    // Highlights the next or previous match; done(active, total) (0, 0 without a page).
    void Find(const QString& text, bool backward, std::function<void(int, int)> done);
    // Writes the page as PDF; done(false, reason) when there is no page, a job runs already or
    // the engine failed.
    void PrintToPdf(const QString& filePath, std::function<void(bool, QString)> done);
    void Print(QPrinter* printer, std::function<void(bool, QString)> done);

signals:
    // ofService: the address is of the trusted origin (or a script link reported from one of its
    // documents); only then may it be read for the service's markers.
    void beforeNavigate(const QString& url, bool ofService);
    void documentComplete(const QString& url);
    // The user changed the zoom of this browser.
    void zoomChanged(int percent);

private:
    // Creates the engine at the first use; false when it cannot be loaded.
    bool EnsureEngine();
    // Makes the engine and names its widget; false when the engine cannot be loaded.
    bool CreateEngine();
    // Fills the placeholder with the reason why there is no engine.
    void ShowEngineError();
    bool OnNavigationRequest(const QUrl& url, bool isMainFrame, bool isRedirect) override;
    void OnLoadFinished(bool ok) override;
    void OnScriptLink(const QString& documentUrl, const QString& url) override;
    void OnFrameLoaded() override;
    void OnNewWindowRequest(const QUrl& url, bool userInitiated) override;
    bool MayShowScriptDialog(const QUrl& securityOrigin) override;
    void OnPageProcessGone() override;
    // Completes every announced navigation still pending.
    void CloseAllPending();
    // The message shown in place of a page whose process ended, with a button that reloads it.
    void ShowProcessGone();
    void HideProcessGone();
    void Announce(const QString& url, bool ofService);

    BrowserProfile& m_profile;
    QWidget* m_placeholder = nullptr;
    bool m_covered = false; // the engine is made, its view still behind the placeholder
    QWidget* m_processGone = nullptr;
    std::unique_ptr<BrowserEngine> m_engine;
    NavigationPolicy m_policy;
    QUrl m_trustedOrigin;
    QString m_requested;
    int m_announcing = 0;
    int m_pendingMain = 0;
    int m_pendingFrames = 0;
    // Main documents finished so far: a frame's time limit applies to the document it began in.
    int m_documents = 0;
    int m_zoomPercent = 100;
    bool m_printing = false;
};

} // namespace kelvra::ui
