#include "ui/browser/engine/BrowserPage.h"

#include <QEventLoop>
#include <QInputDialog>
#include <QMessageBox>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineView>

#include "ui/browser/BrowserEngine.h"

namespace kelvra::ui {
namespace {

// More dialogs than this, each raised within kQuickDialogMs of the previous one closing, stop
// the page's dialogs (as browsers offer to).
constexpr int kQuickDialogLimit = 3;
constexpr qint64 kQuickDialogMs = 1500;

} // namespace

BrowserPage::BrowserPage(QWebEngineProfile* profile, BrowserEngineClient& client)
    : QWebEnginePage(profile), m_client(client) {
    // No window is ever opened for the page: the view loads the address itself, so that the
    // navigation passes its watch like any other.
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                m_client.OnNewWindowRequest(request.requestedUrl(), request.isUserInitiated());
            });
    connect(this, &QWebEnginePage::renderProcessTerminated, this,
            [this](RenderProcessTerminationStatus, int) { m_client.OnPageProcessGone(); });
    // A new document starts with its dialogs allowed again.
    connect(this, &QWebEnginePage::loadStarted, this, [this] {
        m_dialogsStopped = false;
        m_quickDialogs = 0;
    });
}

bool BrowserPage::PrepareFor(const QUrl& site) {
    if (m_prepared || !url().isEmpty() || !site.isValid())
        return false;
    m_prepared = true;
    // An address of the site that no page of it links to: the preparation's refusal and end
    // cannot be taken for those of a navigation that the client asked for or must see.
    m_preparation = site.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment |
                                  QUrl::RemoveUserInfo);
    m_preparation.setPath(QStringLiteral("/"));
    m_preparation.setQuery(QStringLiteral("kelvra-engine-prepared"));
    load(m_preparation);
    return true;
}

bool BrowserPage::EndsPreparation(const QUrl& url) {
    if (m_preparation.isEmpty() || url != m_preparation)
        return false;
    m_preparation.clear();
    return true;
}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (isMainFrame && !m_preparation.isEmpty() && url == m_preparation)
        return false; // the preparation: never requested, nothing to announce
    return m_client.OnNavigationRequest(url, isMainFrame, type == NavigationTypeRedirect);
}

bool BrowserPage::MayShowDialog(const QUrl& securityOrigin) {
    if (m_dialogsStopped || !m_client.MayShowScriptDialog(securityOrigin))
        return false;
    const bool quick =
        m_lastDialogClosed.isValid() && m_lastDialogClosed.elapsed() < kQuickDialogMs;
    m_quickDialogs = quick ? m_quickDialogs + 1 : 1;
    if (m_quickDialogs > kQuickDialogLimit) {
        m_dialogsStopped = true;
        triggerAction(Stop);
        return false;
    }
    return true;
}

int BrowserPage::RunDialog(QDialog& dialog) {
    dialog.setWindowModality(Qt::NonModal);
    QEventLoop loop;
    connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    connect(this, &QWebEnginePage::loadStarted, &dialog, &QDialog::reject);
    connect(this, &QWebEnginePage::renderProcessTerminated, &dialog, &QDialog::reject);
    dialog.show();
    loop.exec();
    m_lastDialogClosed.start();
    return dialog.result();
}

void BrowserPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg) {
    if (!MayShowDialog(securityOrigin))
        return;
    QMessageBox box(QMessageBox::Information, title(), msg, QMessageBox::Ok,
                    QWebEngineView::forPage(this));
    RunDialog(box);
}

bool BrowserPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) {
    if (!MayShowDialog(securityOrigin))
        return false;
    QMessageBox box(QMessageBox::Question, title(), msg, QMessageBox::Ok | QMessageBox::Cancel,
                    QWebEngineView::forPage(this));
    return RunDialog(box) == QMessageBox::Ok;
}

bool BrowserPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                                   const QString& defaultValue, QString* result) {
    if (!MayShowDialog(securityOrigin))
        return false;
    QInputDialog dialog(QWebEngineView::forPage(this));
    dialog.setWindowTitle(title());
    dialog.setLabelText(msg);
    dialog.setTextValue(defaultValue);
    if (RunDialog(dialog) != QDialog::Accepted)
        return false;
    *result = dialog.textValue();
    return true;
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
