#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>
#include <QVariant>
#include <QWebEngineView>

#include "log_lines.h"
#include "support/EventLoopWait.h"
#include "ui/browser/BrowserView.h"

namespace kelvra::test {

// A tiny HTTP/1.0 server on loopback for browser tests: serves fixed HTML pages by path (any
// query ignored), 404 otherwise, and records the paths asked for.
class LocalPages : public QObject {
    Q_OBJECT
public:
    explicit LocalPages(QMap<QString, QByteArray> pages, QObject* parent = nullptr);
    QString Url(const QString& path) const;
    const QStringList& Served() const { return m_served; }

private:
    void OnConnection();
    QTcpServer m_server;
    QMap<QString, QByteArray> m_pages;
    QStringList m_served;
};

// Receives the URLs handed to the system browser (install it with
// QDesktopServices::setUrlHandler(scheme, &catcher, "open")).
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

// Where a test saves a screenshot of a window: the file of that name in the folder named by
// KELVRA_SCREENSHOT_DIR, or empty when no screenshots are asked for (the normal test run).
QString ScreenshotPath(const QString& fileName);

// A loopback port with nothing listening on it.
int UnusedPort();

// The engine view of a browser, or nullptr before its first navigation.
inline QWebEngineView* Engine(const kelvra::ui::BrowserView* browser) {
    return qobject_cast<QWebEngineView*>(browser->EngineWidget());
}
inline QWebEngineView* Engine(const kelvra::ui::BrowserView& browser) {
    return Engine(&browser);
}

// Runs a script in the page's own world and waits for its result (empty on time-out).
QVariant Evaluate(QWebEngineView* view, const QString& script, int ms = 20000);

// Clicks with the left button, as the user does: a mouse press and release on the engine's
// input widget at the centre of the first shown element that matches `selector` (scrolled into
// view).
// With `frame`, the element is looked for in that frame's document (a frame of the same site);
// a frame whose document cannot be read (another site) is clicked at its own centre. Waits
// first until the page takes input. False when there is no such element or no input is taken.
bool UserClick(QWebEngineView* view, const QString& selector, const QString& frame = {});

// Sets the environment the windows and message boxes read in a headless test run.
void UseHeadlessMessageBoxes(const QString& logPath);

} // namespace kelvra::test
