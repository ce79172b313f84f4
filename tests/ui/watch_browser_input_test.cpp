// The input filter of the four browsers: right-button messages and F5 inside any
// of the four browsers never reach their target (nor the page in the engine); on the side panel
// they keep their meaning.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

#include "client_harness.h"
#include "ui/app/BrowserInputFilter.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserView.h"
#include "ui/widgets/SideChannel.h"
#include "ui_support.h"

using kelvra::AppState;
using kelvra::ui::TFormMain;

// Records the mouse, key and context-menu events that reach it.
class Recorder : public QWidget {
public:
    explicit Recorder(QWidget* parent) : QWidget(parent) {
        setFocusPolicy(Qt::StrongFocus);
        setGeometry(0, 0, 60, 60);
        show();
        raise();
    }
    QStringList seen;

protected:
    void mousePressEvent(QMouseEvent* e) override { seen << Name("press", e->button()); }
    void mouseReleaseEvent(QMouseEvent* e) override { seen << Name("release", e->button()); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { seen << Name("double", e->button()); }
    void keyPressEvent(QKeyEvent* e) override { seen << QStringLiteral("key %1").arg(e->key()); }
    void contextMenuEvent(QContextMenuEvent*) override { seen << "menu"; }

private:
    static QString Name(const char* what, Qt::MouseButton button) {
        return QStringLiteral("%1 %2").arg(what).arg(button == Qt::RightButton ? "right" : "left");
    }
};

class WatchBrowserInputTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;

    kelvra::test::MainWindow ShownWindow(AppState& state) {
        auto window = m_ui->ShownMainWindow(state);
        if (!window || !QTest::qWaitForWindowExposed(window.get()))
            return nullptr;
        return window;
    }

    static void RightClicks(QWidget* target) {
        QTest::mouseClick(target, Qt::RightButton, {}, QPoint(10, 10));
        QTest::mouseDClick(target, Qt::RightButton, {}, QPoint(10, 10));
        QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(10, 10),
                               target->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(target, &menu);
        QTest::keyClick(target, Qt::Key_F5);
    }

    // Evaluates a script in the page and waits for its text result (empty on time-out).
    static QString Evaluate(QWebEnginePage* page, const QString& script) {
        QString result;
        bool done = false;
        page->runJavaScript(script, [&](const QVariant& value) {
            result = value.toString();
            done = true;
        });
        QDeadlineTimer deadline(10000);
        while (!done && !deadline.hasExpired())
            QTest::qWait(20);
        return result;
    }

private slots:
    void initTestCase() {
        m_ui = std::make_unique<kelvra::test::UiFixture>();
        QVERIFY(m_ui->Valid());
    }

    void swallowedInsideEveryBrowserOnly() {
        AppState state;
        auto window = ShownWindow(state);
        QVERIFY(window);
        const int pageOf[] = {0, 0, 5, 4, 7};
        for (int number = 1; number <= 4; ++number) {
            window->ShowPage(pageOf[number]);
            Recorder inside(window->Browser(number));
            QVERIFY(inside.isVisible());
            RightClicks(&inside);
            QCOMPARE(inside.seen, QStringList{});
            // Everything else still arrives.
            QTest::mouseClick(&inside, Qt::LeftButton, {}, QPoint(10, 10));
            QTest::keyClick(&inside, Qt::Key_F6);
            QCOMPARE(inside.seen, (QStringList{"press left", "release left",
                                               QStringLiteral("key %1").arg(Qt::Key_F6)}));
        }

        Recorder side(window->Side());
        RightClicks(&side);
        // (Qt Test delivers a double click as the double-click event alone.)
        QCOMPARE(side.seen, (QStringList{"press right", "release right", "double right", "menu",
                                         QStringLiteral("key %1").arg(Qt::Key_F5)}));
    }

    void thePageInTheEngineNeverSeesThem() {
        kelvra::test::LocalPages pages(
            {{"/page.html", "<html><body style='height:2000px'><script>"
                            "window.hits=[];"
                            "document.addEventListener('mousedown',e=>hits.push('down'+e.button));"
                            "document.addEventListener('contextmenu',e=>hits.push('menu'));"
                            "document.addEventListener('keydown',e=>hits.push(e.key));"
                            "</script>page <input id='field'></body></html>"}});
        AppState state;
        auto window = ShownWindow(state);
        QVERIFY(window);
        kelvra::ui::BrowserView* browser = window->Browser(1);
        window->ShowPage(0);
        QSignalSpy loaded(browser, &kelvra::ui::BrowserView::documentComplete);
        browser->Navigate(pages.Url("/page.html"));
        QVERIFY(loaded.wait(20000));
        QWebEngineView* engine = kelvra::test::Engine(browser);
        QVERIFY(engine);
        QWidget* target = engine->focusProxy();
        QVERIFY(target);
        QTRY_VERIFY_WITH_TIMEOUT(target->isVisible(), 10000);
        target->setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(target->hasFocus(), 5000);
        // The engine drops input that comes before the page's first frame (a busy machine makes
        // that late): press the left button until the page has seen one, then start afresh.
        QTRY_VERIFY_WITH_TIMEOUT(
            (QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(20, 20)),
             Evaluate(engine->page(), "String(hits.length > 0)") == QLatin1String("true")),
            20000);
        QCOMPARE(Evaluate(engine->page(), "hits = []; String(hits.length)"), QStringLiteral("0"));

        RightClicks(target);
        // A left press and F6 that do reach the page show that the page listens.
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::keyClick(target, Qt::Key_F6);
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate(engine->page(), "hits.join(',')"),
                                  QStringLiteral("down0,F6"), 10000);
        QCOMPARE(pages.Served().count("/page.html"), 1); // F5 reloaded nothing
        QCOMPARE(engine->findChildren<QMenu*>().size(), 0);

        // The window's keys act from a text field of the page too, unseen by the page (which sees
        // the Ctrl key alone): Ctrl+F opens the find bar, Esc closes it; with nothing to stop or
        // close, Esc is the page's.
        Evaluate(engine->page(), "document.getElementById('field').focus(); hits = []; ''");
        QTest::keyClick(target, Qt::Key_F, Qt::ControlModifier);
        auto* find = window->findChild<QLineEdit*>("FindText");
        QVERIFY(find->isVisible());
        QTest::keyClick(find, Qt::Key_Escape);
        QVERIFY(!find->isVisible());
        QTest::keyClick(target, Qt::Key_Escape);
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate(engine->page(), "hits.join(',')"),
                                  QStringLiteral("Control,Escape"), 10000);
    }
};

QTEST_MAIN(WatchBrowserInputTest)
#include "watch_browser_input_test.moc"
