// The busy indicator in the real client: it covers a slow page load over the page area with the
// main window disabled but for its search panels, and comes down when the page completes; when a
// page never completes, the watchdog brings the windows back; when the page's process dies, the
// indicator comes down and the page says so.
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QWebEngineView>

#include <memory>

#include <signal.h>

#include "client_harness.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/SideChannel.h"
#include "ui/widgets/SideItemList.h"
#include "ui_support.h"
#include "window/BusyIndicator.h"

using kelvra::test::Client;

class BusyIndicatorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;

    // The main window as the indicator leaves it: pages, side menu and status bar disabled, the
    // number fields, lists and search buttons taking input; or all of it enabled again.
    static bool MainWindowBusy(const Client& c) {
        return !c.main->Pages()->isEnabled() && !c.main->SideItems(5)->isEnabled() &&
               c.main->findChild<QWidget*>("suiEdit_group0_5")->isEnabled() &&
               c.main->findChild<QWidget*>("cb_group2_eg")->isEnabled() &&
               c.main->findChild<QWidget*>("Button7")->isEnabled();
    }
    static bool MainWindowIdle(const Client& c) {
        return c.main->isEnabled() && c.main->Pages()->isEnabled() &&
               c.main->SideItems(5)->isEnabled();
    }

    static kelvra::IndicatorPosition ExpectedPosition(const Client& c) {
        const QRect outer = c.main->frameGeometry();
        return kelvra::BusyIndicatorPosition(
            {outer.x(), outer.y(), outer.width(), outer.height(), c.main->Side()->width()});
    }

    // The main window with the indicator painted where it stands on the screen.
    static void SaveScreenshot(const Client& c, const QString& path) {
        QPixmap shot = c.main->grab();
        QPainter painter(&shot);
        painter.drawPixmap(c.version->pos() - c.main->geometry().topLeft(), c.version->grab());
        painter.end();
        QVERIFY(shot.save(path, "PNG"));
    }

private slots:
    void initTestCase() {
        m_ui = std::make_unique<kelvra::test::UiFixture>();
        QVERIFY(m_ui->Valid());
    }

    void init() { m_ui->Reset(); }

    void coversSlowPageUntilComplete() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        c->main->move(40, 30);
        c->SearchAnyNumber(QStringLiteral("W712"));
        QVERIFY(c->WaitLoaded(1, QStringLiteral("so_list.asp")));
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && MainWindowIdle(*c), 10000);

        // The next result page drips in over about three seconds.
        m_ui->Sim().InjectFault("/kelvra_cd/en/search/so_list.asp", "slow");
        QElapsedTimer clock;
        clock.start();
        c->SearchAnyNumber(QStringLiteral("LX 0012"));
        QTRY_VERIFY_WITH_TIMEOUT(c->version->isVisible(), 5000);
        QVERIFY(MainWindowBusy(*c));
        QCOMPARE(c->version->size(), QSize(208, 13));
        const kelvra::IndicatorPosition at = ExpectedPosition(*c);
        QCOMPARE(c->version->pos(), QPoint(at.left, at.top));
        QCOMPARE(at.left, 40 + (c->main->frameGeometry().width() - 208) / 2 + 92);

        // The bar moves while the page loads.
        auto* bar = c->version->findChild<kelvra::ui::BusyBar*>("fcImager1");
        QVERIFY(bar);
        const int phase = bar->Phase();
        QTRY_VERIFY_WITH_TIMEOUT(bar->Phase() != phase, 2000);
        QVERIFY(MainWindowBusy(*c));
        if (const QString shot = kelvra::test::ScreenshotPath("screenshot-busy.png");
            !shot.isEmpty())
            SaveScreenshot(*c, shot);

        QVERIFY(c->WaitLoaded(1, QStringLiteral("LX%200012")));
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && MainWindowIdle(*c), 5000);
        QVERIFY2(clock.elapsed() >= 1500, "the indicator stayed while the page dripped in");
        QVERIFY(c->version->Busy().DisabledWindows().empty());
    }

    // The page process dies while a page is coming in: the indicator comes down, a message
    // with a reload button takes the page's place, and the button brings the page back.
    void pageProcessGoneTakesTheIndicatorDown() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        m_ui->Sim().InjectFault("/kelvra_cd/en/search/so_list.asp", "slow");
        c->SearchAnyNumber(QStringLiteral("LX 0012"));
        QTRY_VERIFY_WITH_TIMEOUT(c->version->isVisible(), 5000);
        QWebEngineView* engine = kelvra::test::Engine(c->Browser(1));
        QVERIFY(engine);
        QTRY_VERIFY_WITH_TIMEOUT(engine->page()->renderProcessPid() > 0 &&
                                     engine->url().toString().contains("so_list.asp"),
                                 10000);
        QVERIFY(c->version->isVisible());
        QCOMPARE(::kill(pid_t(engine->page()->renderProcessPid()), SIGKILL), 0);
        QPushButton* reload = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(
            (reload = c->Browser(1)->findChild<QPushButton*>("WebBrowser1Reload")) &&
                reload->isVisible(),
            10000);
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 5000);
        QVERIFY(!engine->isVisible());
        if (const QString shot = kelvra::test::ScreenshotPath("screenshot-page-gone.png");
            !shot.isEmpty())
            QVERIFY(c->main->grab().save(shot, "PNG"));
        QTest::mouseClick(reload, Qt::LeftButton);
        QVERIFY(c->WaitLoaded(1, QStringLiteral("LX%200012")));
        QVERIFY(engine->isVisible() && !reload->isVisible());
        QVERIFY(c->PageText(1).contains(QStringLiteral("LX")));
    }

    void watchdogEndsNeverCompletingPage() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        c->version->Busy().SetWatchdogMs(1500);
        m_ui->Sim().Control("/__sim/fault?path=/kelvra_cd/en/suppliers.asp&kind=hang&ms=60000");
        QElapsedTimer clock;
        clock.start();
        c->Browser(3)->Navigate(QString::fromStdString(c->state.pageBaseUrl) + "suppliers.asp");
        QTRY_VERIFY_WITH_TIMEOUT(c->version->isVisible(), 5000);
        QVERIFY(MainWindowBusy(*c));

        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible(), 10000);
        QVERIFY(MainWindowIdle(*c));
        QVERIFY(clock.elapsed() >= 1400);
        QVERIFY2(c->Browser(3)->PendingNavigations() > 0, "no document had completed");
        QVERIFY(c->version->Busy().DisabledWindows().empty());
    }
};

QTEST_MAIN(BusyIndicatorTest)
#include "busy_indicator_test.moc"
