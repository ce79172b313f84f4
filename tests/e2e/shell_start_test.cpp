// The real client binary against the stand-in: start-up with its screenshot, the second copy
// (also while the first is in the tray), and the end of the program after a failed probe.
#include <QElapsedTimer>
#include <QImage>
#include <QSet>
#include <QTest>

#include <memory>

#include "shell_support.h"
#include "support/SimProcess.h"

using kelvra::test::ClientRun;

namespace {

// Distinct colours on a grid of sample points: a blank or broken grab has only a few.
int SampledColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

// The main window's last logged state; empty before the first.
QString LastState(const ClientRun& run) {
    const QStringList states = run.WindowStates();
    return states.isEmpty() ? QString() : states.last();
}

} // namespace

class ShellStartTest : public QObject {
    Q_OBJECT
    std::unique_ptr<kelvra::test::SimProcess> m_sim;

private slots:
    void initTestCase() { m_sim = std::make_unique<kelvra::test::SimProcess>(); }
    void init() { m_sim->Reset(); }

    void startsShowsItsWindowAndRefusesASecondCopy() {
        ClientRun run(QString::fromStdString(m_sim->Root()));
        auto first = run.Start("first");
        QVERIFY(first->waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(run.Screenshot()), 60000);

        const QImage shot(run.Screenshot());
        QVERIFY2(!shot.isNull(), "the screenshot is a readable PNG");
        QVERIFY(shot.width() >= 944 && shot.height() >= 680);
        QVERIFY2(SampledColours(shot) > 60, "the screenshot shows the drawn window");

        auto second = run.Start("second");
        QVERIFY(second->waitForFinished(30000));
        const QString secondFailure = run.ExitFailure("second", *second);
        QVERIFY2(secondFailure.isEmpty(), qPrintable(secondFailure));
        QCOMPARE(kelvra::test::ReadLogLines(run.Log()),
                 QStringList{QStringLiteral("\t程序已经运行")});
        QCOMPARE(first->state(), QProcess::Running); // the first copy is untouched

        int probes = 0;
        for (const std::string& target : m_sim->Requests())
            probes += target == "/cn/";
        QCOMPARE(probes, 1); // the second copy never reached the service
        kelvra::test::Stop(*first);
    }

    // The first copy waits in the tray; a second start brings its window back (shown, not
    // minimised, active; mapped again on X11) and the show probes the service.
    void secondStartBringsTheFirstBackFromTheTray() {
        ClientRun run(QString::fromStdString(m_sim->Root()));
        run.SetEnv("KELVRA_AUTOMATION_TRAY", "1");
        auto first = run.Start("first");
        QVERIFY(first->waitForStarted(10000));
        const QString tray = "visible=0 minimised=0 active=0 window=";
        QTRY_VERIFY_WITH_TIMEOUT(LastState(run).startsWith(tray), 60000);
        const bool x11 = run.Environment().value("QT_QPA_PLATFORM") == "xcb";
        const quint64 window = LastState(run).mid(tray.size()).toULongLong();
        if (x11)
            QTRY_COMPARE(kelvra::test::X11MapState(window), QStringLiteral("IsUnMapped"));

        // The service watch probes every 20 s: just after one of its probes, the next is far off.
        const auto probes = [this] {
            int n = 0;
            for (const std::string& target : m_sim->Requests())
                n += target == "/cn/";
            return n;
        };
        m_sim->ClearRequests();
        QTRY_VERIFY_WITH_TIMEOUT(probes() == 1, 25000);
        m_sim->ClearRequests();
        QElapsedTimer sinceWatch;
        sinceWatch.start();

        auto second = run.Start("second");
        QVERIFY(second->waitForFinished(30000));
        const QString secondFailure = run.ExitFailure("second", *second);
        QVERIFY2(secondFailure.isEmpty(), qPrintable(secondFailure));
        QCOMPARE(kelvra::test::ReadLogLines(run.Log()),
                 QStringList{QStringLiteral("\t程序已经运行")});
        const QString front = "visible=1 minimised=0 active=1 window=" + QString::number(window);
        QTRY_COMPARE_WITH_TIMEOUT(LastState(run), front, 10000);
        if (x11)
            QCOMPARE(kelvra::test::X11MapState(window), QStringLiteral("IsViewable"));
        QVERIFY2(sinceWatch.elapsed() < 19000,
                 "too slow to tell the show's probe from the watch's");
        QCOMPARE(probes(), 1);
        QCOMPARE(first->state(), QProcess::Running);
        kelvra::test::Stop(*first);
    }

    void failedProbeEndsTheProgramAfterTheMessage() {
        m_sim->SetProbeStatus(500);
        ClientRun run(QString::fromStdString(m_sim->Root()));
        auto client = run.Start("client");
        QVERIFY(client->waitForStarted(10000));
        const bool ended = client->waitForFinished(60000);
        if (!ended)
            kelvra::test::Stop(*client);
        QVERIFY2(ended, qPrintable(run.Output("client")));
        const QString failure = run.ExitFailure("client", *client);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(
            kelvra::test::ReadLogLines(run.Log()),
            QStringList{"Error\tThe server is undergoing maintenance.Please try again later."});
        QVERIFY(!QFile::exists(run.Screenshot())); // the window never finished a show
    }
};

QTEST_GUILESS_MAIN(ShellStartTest)
#include "shell_start_test.moc"
