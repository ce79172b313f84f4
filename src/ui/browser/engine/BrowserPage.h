#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QWebEnginePage>

class QDialog;

namespace kelvra::ui {

class BrowserEngineClient;

// The engine page of a browser view: hands every navigation request, every request for a new
// window and the end of its page process to the view, and shows the page's script dialogs so
// that they block nothing but the page itself.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    BrowserPage(QWebEngineProfile* profile, BrowserEngineClient& client);
    // Sets the page up for site ahead of its first load (the engine makes its document and takes
    // the site's page process): a navigation to an address of site that the page refuses itself,
    // before any request, and of which the client hears nothing; url() stays empty. Loads may
    // follow at once. Returns false, doing nothing, once the page has loaded or prepared or
    // when site is not valid.
    bool PrepareFor(const QUrl& site);
    // Whether a load that ended at url was the preparation's (then the client is not told).
    bool EndsPreparation(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;

private:
    // Whether the dialog may be shown: the view allows dialogs of that origin, and the page has
    // not raised too many in quick succession (then its load is stopped and its dialogs are
    // answered as cancelled until its next document).
    bool MayShowDialog(const QUrl& securityOrigin);
    // Shows the dialog over the view without making it modal and waits, in an event loop of its
    // own, until it is closed or the page starts another document; returns its result.
    int RunDialog(QDialog& dialog);

    BrowserEngineClient& m_client;
    QUrl m_preparation; // the preparation's address until its end
    bool m_prepared = false;
    QElapsedTimer m_lastDialogClosed;
    int m_quickDialogs = 0;
    bool m_dialogsStopped = false;
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
