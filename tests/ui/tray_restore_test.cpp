// Minimising the real main window to the tray and restoring it. Headless there is no
// notification area, so the small restore window stands in for the icon.
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <future>
#include <memory>

#include "client_harness.h"
#include "ui/app/InstanceBeacon.h"
#include "ui/app/TFormMain.h"
#include "ui/app/TrayController.h"
#include "ui/widgets/PageControl.h"
#include "ui_support.h"

using kelvra::AppState;
using kelvra::ui::TFormMain;

namespace {

// The restore icons on screen (the stand-in window of the notification area icon).
QList<QWidget*> VisibleIcons() {
    QList<QWidget*> icons;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "TrayRestoreIcon" && widget->isVisible())
            icons.append(widget);
    }
    return icons;
}

} // namespace

class TrayRestoreTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;

    int Count(const std::string& part) const {
        int n = 0;
        for (const std::string& target : m_ui->Sim().Requests())
            n += target.find(part) != std::string::npos;
        return n;
    }

    kelvra::test::MainWindow ShownWindow(AppState& state) {
        return m_ui->ShownMainWindow(state, [](TFormMain& window) {
            // The service watch would add a probe of its own every 20 seconds.
            window.findChild<QTimer*>("conn_kelvra")->stop();
        });
    }

private slots:
    void initTestCase() {
        m_ui = std::make_unique<kelvra::test::UiFixture>();
        QVERIFY(m_ui->Valid());
    }

    void init() { m_ui->Reset(); }

    void minimiseHidesToOneIconAndALeftPressRestores() {
        AppState state;
        auto window = ShownWindow(state);
        QVERIFY(window);
        auto* field = window->findChild<QLineEdit*>("suiEdit_group0_3");
        field->setText("06J 001 113");
        field->setFocus(Qt::OtherFocusReason);
        window->ShowPage(6);
        QVERIFY(!state.startupDone);
        m_ui->Sim().ClearRequests();

        window->showMinimized(); // the minimise command of the window
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(window.Parts().Tray().InTray());
        QVERIFY(state.startupDone);
        QVERIFY(!(window->windowState() & Qt::WindowMinimized)); // hidden, not minimised
        QCOMPARE(VisibleIcons().size(), 1);
        QWidget* icon = VisibleIcons().front();
        QCOMPARE(icon->toolTip(), QStringLiteral("Kelvra"));
        QVERIFY(icon->windowFlags() & Qt::WindowStaysOnTopHint);
        if (const QString shot = kelvra::test::ScreenshotPath("screenshot-tray-restore.png");
            !shot.isEmpty())
            QVERIFY(icon->grab().save(shot));

        // A second minimise adds no icon; other mouse events on the icon do nothing.
        window.Parts().Tray().MinimiseToTray();
        QCOMPARE(VisibleIcons().size(), 1);
        QTest::mousePress(icon, Qt::RightButton);
        QTest::mouseRelease(icon, Qt::RightButton);
        QTest::mouseDClick(icon, Qt::RightButton);
        QTest::mouseMove(icon, QPoint(5, 5));
        QTest::mouseRelease(icon, Qt::LeftButton);
        QTest::mousePress(icon, Qt::MiddleButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(VisibleIcons().size(), 1);
        QCOMPARE(Count("/cn/"), 0);

        QTest::mousePress(icon, Qt::LeftButton);
        QVERIFY(window->isVisible()); // on the press, not on the release
        QTest::mouseRelease(icon, Qt::LeftButton);
        QVERIFY(!window.Parts().Tray().InTray());
        QVERIFY(VisibleIcons().isEmpty());
        // One probe, no start-up part (no list loads), page and fields as they were.
        QCOMPARE(Count("/cn/"), 1);
        QCOMPARE(Count("/xml/"), 0);
        QCOMPARE(window->Pages()->ActiveIndex(), 6);
        QCOMPARE(field->text(), QStringLiteral("06J 001 113"));
        QCOMPARE(window->focusWidget(), field); // where the user left off, not the side panel
        QVERIFY(window.Parts().Tray().RestoreWindow() == nullptr);
        QVERIFY(m_ui->Messages().isEmpty());

        // The whole round again: still one icon at a time.
        window->showMinimized();
        QTRY_COMPARE(VisibleIcons().size(), 1);
        // A left double click, as the window system delivers it: restores on its first press.
        icon = VisibleIcons().front();
        QTest::mousePress(icon, Qt::LeftButton);
        QTest::mouseRelease(icon, Qt::LeftButton);
        QTest::mouseDClick(icon, Qt::LeftButton);
        QTest::mouseRelease(icon, Qt::LeftButton);
        QVERIFY(window->isVisible());
        QVERIFY(VisibleIcons().isEmpty());
        QCOMPARE(Count("/cn/"), 2);
    }

    // On X11 (run under a virtual display): hidden means unmapped for the X server too, and the
    // restore maps the window again.
    void windowSystemUnmapsWhileInTray() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs the X11 platform (the _x11 variant of this test runs it)");
        AppState state;
        auto window = ShownWindow(state);
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const auto mapState = [&window] { return kelvra::test::X11MapState(window->winId()); };
        QCOMPARE(mapState(), QStringLiteral("IsViewable"));
        window->showMinimized();
        QTRY_VERIFY(window.Parts().Tray().InTray());
        QTRY_COMPARE(mapState(), QStringLiteral("IsUnMapped"));
        QTest::qWait(0); // nothing queued after the hide may map it again
        QCOMPARE(mapState(), QStringLiteral("IsUnMapped"));
        window.Parts().Tray().RestoreFromTray();
        QTRY_COMPARE(mapState(), QStringLiteral("IsViewable"));
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(!(window->windowState() & Qt::WindowMinimized));
    }

    // A second copy of the program asks through the instance channel: the window comes back from
    // the tray (probed as at any show); asked again while shown, it stays as it is.
    void secondStartBringsTheWindowBackFromTheTray() {
        AppState state;
        auto window = ShownWindow(state);
        QVERIFY(window);
        QTemporaryDir folder;
        const QString channel = folder.filePath(QStringLiteral("Kelvra.channel"));
        kelvra::ui::InstanceBeacon beacon(channel, [&window] { window.Parts().BringToFront(); });
        QVERIFY(beacon.Listening());
        auto* oe = window->findChild<QLineEdit*>("suiEdit_group0_1");
        oe->setFocus(Qt::OtherFocusReason);
        window->showMinimized();
        QTRY_VERIFY(window.Parts().Tray().InTray());
        m_ui->Sim().ClearRequests();

        auto ask = [&channel] {
            return std::async(std::launch::async, [channel] {
                return kelvra::ui::InstanceBeacon::AskRunningCopyToShow(channel, 5000);
            });
        };
        auto answer = ask();
        QTRY_VERIFY(window->isVisible());
        QVERIFY(answer.get());
        QVERIFY(!window.Parts().Tray().InTray());
        QVERIFY(VisibleIcons().isEmpty());
        QCOMPARE(Count("/cn/"), 1);
        QCOMPARE(window->focusWidget(), oe);
        answer = ask();
        QTRY_VERIFY(answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QVERIFY(answer.get());
        QVERIFY(window->isVisible());
        QCOMPARE(Count("/cn/"), 1);
        QVERIFY(!kelvra::ui::InstanceBeacon::AskRunningCopyToShow(
            folder.filePath(QStringLiteral("none")), 500));
    }

    void hidingForOtherReasonsAddsNoIcon() {
        AppState state;
        auto window = ShownWindow(state);
        QVERIFY(window);
        window->hide(); // as for the login or the update window
        QVERIFY(VisibleIcons().isEmpty());
        QVERIFY(!window.Parts().Tray().InTray());
        window.Parts().Tray().RestoreFromTray(); // not in the tray: nothing to restore
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(TrayRestoreTest)
#include "tray_restore_test.moc"
