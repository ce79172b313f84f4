// Minimising the real main window to the tray and restoring it. Headless there is no
// notification area, so the small restore window stands in for the icon.
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "support/SimProcess.h"
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
    std::unique_ptr<kelvra::test::SimProcess> m_sim;
    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_log;
    int m_runs = 0;

    int Count(const std::string& part) const {
        int n = 0;
        for (const std::string& target : m_sim->Requests())
            n += target.find(part) != std::string::npos;
        return n;
    }

    std::unique_ptr<TFormMain> ShownWindow(AppState& state) {
        qputenv("KELVRA_DATA_DIR",
                m_temp->filePath(QStringLiteral("data%1").arg(++m_runs)).toUtf8());
        state.serviceRoot = m_sim->Root();
        auto window = std::make_unique<TFormMain>(state);
        // The service watch would add a probe of its own every 20 seconds.
        window->findChild<QTimer*>("conn_kelvra")->stop();
        QSignalSpy shown(window.get(), &TFormMain::firstShowDone);
        window->show();
        if (!shown.wait(10000))
            return nullptr;
        return window;
    }

private slots:
    void initTestCase() {
        QApplication::setApplicationName("Kelvra");
        m_sim = std::make_unique<kelvra::test::SimProcess>();
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
        m_log = m_temp->filePath("boxes.log");
        kelvra::test::UseHeadlessMessageBoxes(m_log);
    }

    void init() { m_sim->Reset(); }

    void minimiseHidesToOneIconAndALeftPressRestores() {
        AppState state;
        auto window = ShownWindow(state);
        QVERIFY(window);
        auto* field = window->findChild<QLineEdit*>("suiEdit_group0_3");
        field->setText("06J 001 113");
        window->ShowPage(6);
        QVERIFY(!state.startupDone);
        m_sim->ClearRequests();

        window->showMinimized(); // the minimise command of the window
        QTRY_VERIFY(!window->isVisible());
        QVERIFY(window->Tray().InTray());
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
        window->Tray().MinimiseToTray();
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
        QVERIFY(!window->Tray().InTray());
        QVERIFY(VisibleIcons().isEmpty());
        // One probe, no start-up part (no list loads), page and fields as they were.
        QCOMPARE(Count("/cn/"), 1);
        QCOMPARE(Count("/xml/"), 0);
        QCOMPARE(window->Pages()->ActiveIndex(), 6);
        QCOMPARE(field->text(), QStringLiteral("06J 001 113"));
        QVERIFY(window->Tray().RestoreWindow() == nullptr);
        QVERIFY(kelvra::test::ReadLogLines(m_log).isEmpty());

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

    void hidingForOtherReasonsAddsNoIcon() {
        AppState state;
        auto window = ShownWindow(state);
        QVERIFY(window);
        window->hide(); // as for the login or the update window
        QVERIFY(VisibleIcons().isEmpty());
        QVERIFY(!window->Tray().InTray());
        window->Tray().RestoreFromTray(); // not in the tray: nothing to restore
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(TrayRestoreTest)
#include "tray_restore_test.moc"
