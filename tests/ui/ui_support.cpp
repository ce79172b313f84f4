#include "ui_support.h"

#include <QDir>
#include <QTcpSocket>
#include <QTest>
#include <QWebEnginePage>

namespace kelvra::test {

LocalPages::LocalPages(QMap<QString, QByteArray> pages, QObject* parent)
    : QObject(parent), m_pages(std::move(pages)) {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &LocalPages::OnConnection);
}

QString LocalPages::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void LocalPages::OnConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            const QByteArray request = socket->peek(8192);
            if (!request.contains("\r\n\r\n"))
                return;
            socket->readAll();
            const QList<QByteArray> words = request.left(request.indexOf('\r')).split(' ');
            QString path = words.size() > 1 ? QString::fromLatin1(words[1]) : QString();
            path = path.left(path.indexOf('?') < 0 ? path.size() : path.indexOf('?'));
            m_served.append(path);
            const bool known = m_pages.contains(path);
            const QByteArray body = known ? m_pages.value(path) : QByteArray("<h1>Not found</h1>");
            socket->write((known ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n") +
                          QByteArray("Content-Type: text/html; charset=utf-8\r\n") +
                          "Content-Length: " + QByteArray::number(body.size()) +
                          "\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

int UnusedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

QVariant Evaluate(QWebEngineView* view, const QString& script, int ms) {
    QVariant result;
    bool done = false;
    view->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    (void)WaitUntil([&] { return done; }, ms);
    return result;
}

namespace {

// Where the element's centre is in the view, in CSS pixels, as "x,y"; empty when not found.
// Keeps what the mouse must come over in window.__testTarget: the element, or the frame itself
// when its document cannot be read.
const char* const kCentreScript = R"JS((function (selector, frameSelector) {
  var doc = document, frame = null;
  if (frameSelector) {
    frame = document.querySelector(frameSelector);
    if (!frame) return '';
    frame.scrollIntoView({block: 'center'});
    var inner = null;
    try { inner = frame.contentDocument; } catch (e) {}
    if (!inner) {
      var whole = frame.getBoundingClientRect();
      window.__testTarget = frame;
      window.__testDowns = -1; // the press shows as the frame taking the focus
      if (document.activeElement) document.activeElement.blur();
      return (whole.left + whole.width / 2) + ',' + (whole.top + whole.height / 2);
    }
    doc = inner;
  }
  // The first one that is shown: a person cannot click a hidden one.
  var element = Array.prototype.find.call(doc.querySelectorAll(selector), function (e) {
    return e.getClientRects().length > 0;
  });
  if (!element) return '';
  element.scrollIntoView({block: 'center'});
  var left = 0, top = 0;
  if (frame) {
    var box = frame.getBoundingClientRect();
    left = box.left + frame.clientLeft;
    top = box.top + frame.clientTop;
  }
  window.__testTarget = element;
  window.__testDowns = 0;
  doc.addEventListener('mousedown', function () { window.__testDowns++; }, true);
  var rect = element.getClientRects()[0] || element.getBoundingClientRect();
  return (left + rect.left + rect.width / 2) + ',' + (top + rect.top + rect.height / 2);
}))JS";

// Moves the mouse to `point` until the page has it over the target: the engine drops input
// that comes before the page's first frame, and finds what is under the mouse (in frames too)
// only after the move has been handled.
bool MoveOverTarget(QWebEngineView* view, QWidget* target, QPoint point) {
    int step = 0;
    return WaitUntil(
        [&] {
            QTest::mouseMove(target, point + QPoint(step++ % 2, 0));
            return Evaluate(
                       view,
                       QStringLiteral(
                           "(__testTarget.closest('a, area') || __testTarget).matches(':hover')"),
                       2000)
                .toBool();
        },
        20000);
}

} // namespace

bool UserClick(QWebEngineView* view, const QString& selector, const QString& frame) {
    QWidget* target = view ? view->focusProxy() : nullptr;
    if (!target || !WaitUntil([&] { return target->isVisible(); }, 10000))
        return false;
    const auto quoted = [](const QString& text) {
        return QLatin1Char('\'') +
               QString(text).replace(QLatin1Char('\\'), "\\\\").replace(QLatin1Char('\''), "\\'") +
               QLatin1Char('\'');
    };
    const QStringList at = Evaluate(view, QString::fromLatin1(kCentreScript) + "(" +
                                              quoted(selector) + "," + quoted(frame) + ")")
                               .toString()
                               .split(QLatin1Char(','));
    if (at.size() != 2)
        return false;
    const double zoom = view->zoomFactor();
    const QPoint point(int(at[0].toDouble() * zoom), int(at[1].toDouble() * zoom));
    if (!MoveOverTarget(view, target, point))
        return false;
    // A press that the page did not see is pressed again (its release alone clicks nothing).
    const QString pressed = QStringLiteral(
        "__testDowns < 0 ? document.activeElement === __testTarget : __testDowns > 0");
    for (int attempt = 0; attempt < 20; ++attempt) {
        QTest::mousePress(target, Qt::LeftButton, {}, point);
        const bool seen = WaitUntil([&] { return Evaluate(view, pressed, 2000).toBool(); }, 1000);
        QTest::mouseRelease(target, Qt::LeftButton, {}, point, 20);
        if (seen)
            return true;
    }
    return false;
}

void UseHeadlessMessageBoxes(const QString& logPath) {
    qputenv("KELVRA_AUTOMATION_LOG", logPath.toUtf8());
    qputenv("KELVRA_AUTOMATION_ACCEPT", "1");
}

QString ScreenshotPath(const QString& fileName) {
    const QString folder = qEnvironmentVariable("KELVRA_SCREENSHOT_DIR");
    return folder.isEmpty() ? QString() : QDir(folder).filePath(fileName);
}

} // namespace kelvra::test
