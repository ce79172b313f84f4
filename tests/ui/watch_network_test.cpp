// The network and service watches of the real main window against the stand-in: pulling the
// network with the state file while the window runs, restoring it, and the service watch ending
// the program with one maintenance message.
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

#include "client_harness.h"
#include "support/Elapsed.h"
#include "ui/app/TFormMain.h"
#include "ui/widgets/PageControl.h"
#include "ui_support.h"

using kelvra::AppState;
using kelvra::ui::TFormMain;

namespace {

const QString kConnected = QStringLiteral("  The network is connected.");
const QString kDisconnected = QStringLiteral("  The network is disconnected,please check.");
const QString kMaintenance =
    QStringLiteral("Error\tThe server is undergoing maintenance.Please try again later.");
constexpr int kTickDeadlineMs = 3000; // one tick of Timer1 plus slack for a busy machine

} // namespace

class WatchNetworkTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;

private slots:
    void initTestCase() {
        m_ui = std::make_unique<kelvra::test::UiFixture>();
        QVERIFY(m_ui->Valid());
        m_ui->UseNetworkStateFile();
    }

    void init() {
        m_ui->Reset();
        QVERIFY(m_ui->SetNetwork("up"));
    }

    void timersRunFromCreation() {
        AppState state;
        auto created = m_ui->NewMainWindow(state);
        TFormMain& window = *created;
        kelvra::ui::MainWindowParts& parts = created.Parts();
        QVERIFY(!window.isVisible());
        auto* timer1 = window.findChild<QTimer*>("Timer1");
        auto* service = window.findChild<QTimer*>("conn_kelvra");
        QVERIFY(timer1->isActive());
        QVERIFY(service->isActive());
        QCOMPARE(timer1->interval(), 1000);
        QCOMPARE(service->interval(), 20000);
        // Empty until the first tick, then the connected text (the start values of the texts).
        auto* label = window.findChild<QLabel*>("Label6");
        QVERIFY(label->text().isEmpty());
        QSignalSpy ticks(timer1, &QTimer::timeout);
        QVERIFY(ticks.wait(kTickDeadlineMs));
        QVERIFY(parts.Presenter().NetworkOnline());
    }

    void pullingTheNetworkShowsTheNetworkPage() {
        AppState state;
        auto window = m_ui->ShownMainWindow(state);
        QVERIFY(window);
        auto* label = window->findChild<QLabel*>("Label6");
        auto* pages = window->Pages();
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), kConnected, kTickDeadlineMs);
        QCOMPARE(pages->ActiveIndex(), 2); // the English home page of a first run
        const int probesBefore = int(m_ui->Sim().Requests().size());

        QVERIFY(m_ui->SetNetwork("down"));
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), kDisconnected, kTickDeadlineMs);
        QCOMPARE(pages->ActiveIndex(), 3);
        QVERIFY(!window.Parts().Presenter().NetworkOnline());
        if (const QString shot = kelvra::test::ScreenshotPath("screenshot-network-down.png");
            !shot.isEmpty())
            QVERIFY(window->grab().save(shot));
        // Another page is taken back to the network page at the next tick.
        window->ShowPage(0);
        QCOMPARE(pages->ActiveIndex(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(pages->ActiveIndex(), 3, kTickDeadlineMs);

        // Back up: the connected text; the network page stays until someone shows another.
        QVERIFY(m_ui->SetNetwork("up"));
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), kConnected, kTickDeadlineMs);
        QVERIFY(window.Parts().Presenter().NetworkOnline());
        QSignalSpy ticks(window->findChild<QTimer*>("Timer1"), &QTimer::timeout);
        QVERIFY(ticks.wait(kTickDeadlineMs));
        QCOMPARE(pages->ActiveIndex(), 3);
        window->ShowPage(6);
        QVERIFY(ticks.wait(kTickDeadlineMs));
        QCOMPARE(pages->ActiveIndex(), 6);
        // The network test sends nothing; no box was shown.
        QCOMPARE(int(m_ui->Sim().Requests().size()), probesBefore);
        QVERIFY(m_ui->Messages().isEmpty());
    }

    // Started without a network, the lists hold only their prompts; the tick that sees the
    // network return loads the four top lists once, as the first show would have.
    void listsLeftEmptyRefillWhenTheNetworkReturns() {
        QVERIFY(m_ui->SetNetwork("down"));
        AppState state;
        auto window = m_ui->ShownMainWindow(state);
        QVERIFY(window);
        const char* lists[] = {"cb_group1_brand", "cb_group1_brand_all", "cb_group2_eg",
                               "cb_group2_eg_all"};
        auto count = [&window](const char* name) {
            return window->findChild<QComboBox*>(name)->count();
        };
        auto listRequests = [this] {
            int n = 0;
            for (const std::string& target : m_ui->Sim().Requests())
                n += target.find("/xml/") != std::string::npos;
            return n;
        };
        QTRY_VERIFY_WITH_TIMEOUT(!window.Parts().Presenter().NetworkOnline(), kTickDeadlineMs);
        for (const char* name : lists)
            QCOMPARE(count(name), 1);
        QCOMPARE(listRequests(), 0);

        QVERIFY(m_ui->SetNetwork("up"));
        for (const char* name : lists)
            QTRY_VERIFY_WITH_TIMEOUT(count(name) > 1, kTickDeadlineMs);
        QCOMPARE(listRequests(), 4);
        QSignalSpy ticks(window->findChild<QTimer*>("Timer1"), &QTimer::timeout);
        QVERIFY(ticks.wait(kTickDeadlineMs));
        QCOMPARE(listRequests(), 4); // once: nothing more while the lists hold entries
        QCOMPARE(count("cb_group1_category"), 1);
        QVERIFY(m_ui->Messages().isEmpty());
    }

    void failingServiceWatchEndsTheProgramWithOneMessage_data() {
        QTest::addColumn<QByteArray>("network");
        QTest::addColumn<int>("status");
        QTest::newRow("network down, service 500") << QByteArray("down") << 500;
        QTest::newRow("network up, service 404") << QByteArray("up") << 404;
    }

    // The watch's timeline a hundred times faster: a check every 200 ms, 100 ms after a first
    // failure, 500 ms after the second; the maintenance message at the third failure in a row.
    void failingServiceWatchEndsTheProgramWithOneMessage() {
        QFETCH(QByteArray, network);
        QFETCH(int, status);
        AppState state;
        auto window = CompressedWatchWindow(state);
        QVERIFY(window);
        auto* service = window->findChild<QTimer*>("conn_kelvra");
        auto* label = window->findChild<QLabel*>("Label6");
        auto* note = window->findChild<QLabel*>("ServiceState");
        QVERIFY(m_ui->SetNetwork(network.constData()));
        QTRY_COMPARE_WITH_TIMEOUT(label->text(), network == "up" ? kConnected : kDisconnected,
                                  kTickDeadlineMs);

        // A probe that answers keeps everything as it is.
        m_ui->Sim().ClearRequests();
        QSignalSpy serviceTicks(service, &QTimer::timeout);
        QVERIFY(serviceTicks.wait(kTickDeadlineMs));
        QTRY_VERIFY(!m_ui->Sim().Requests().empty());
        QCOMPARE(m_ui->Sim().Requests().front(), std::string("/cn/"));
        QVERIFY(window->isVisible());
        QVERIFY(note->isHidden());

        // A failing service: notes in the status bar, then, at the third failure, the
        // maintenance message, which stays open for about 300 ms while the watch keeps ticking,
        // then the end.
        QSignalSpy closed(window.get(), &TFormMain::closed);
        m_ui->Sim().ClearRequests();
        m_ui->Sim().SetProbeStatus(status);
        const auto downAt = std::chrono::steady_clock::now();
        QTRY_VERIFY_WITH_TIMEOUT(note->isVisible() || !closed.isEmpty(), 10000);
        QVERIFY(closed.isEmpty());
        QCOMPARE(note->text(), QStringLiteral("Service not answering, retrying"));
        QVERIFY(closed.wait(10000));
        // Not before the two retries had passed (a lower bound: a slow machine only adds).
        QVERIFY(kelvra::test::MillisecondsSince(downAt) >= 100 + 500);
        QCOMPARE(m_ui->Messages(), QStringList{kMaintenance});
        QCOMPARE(int(m_ui->Sim().Requests().size()), 3);
        QVERIFY(!window->isVisible());
        QVERIFY(!service->isActive());
        QVERIFY(!window->findChild<QTimer*>("Timer1")->isActive());
    }

    // A service that fails one check and answers the next: a note in the status bar meanwhile,
    // no message, the window and its page stay.
    void aBlipIsNotMaintenance() {
        AppState state;
        auto window = CompressedWatchWindow(state);
        QVERIFY(window);
        auto* note = window->findChild<QLabel*>("ServiceState");
        window->ShowPage(6);
        m_ui->Sim().SetProbeStatus(500);
        QTRY_VERIFY_WITH_TIMEOUT(note->isVisible(), 10000);
        if (const QString shot = kelvra::test::ScreenshotPath("screenshot-service-note.png");
            !shot.isEmpty())
            QVERIFY(window->grab().save(shot));
        m_ui->Sim().SetProbeStatus(200); // before the retry: the event loop has not run since
        QTRY_VERIFY_WITH_TIMEOUT(note->isHidden(), 10000);
        QSignalSpy serviceTicks(window->findChild<QTimer*>("conn_kelvra"), &QTimer::timeout);
        QVERIFY(serviceTicks.wait(kTickDeadlineMs));
        QVERIFY(window->isVisible());
        QCOMPARE(window->Pages()->ActiveIndex(), 6);
        QVERIFY(m_ui->Messages().isEmpty());
    }

private:
    kelvra::test::MainWindow CompressedWatchWindow(AppState& state) {
        m_ui->FreshDataFolder();
        state.serviceRoot = m_ui->Sim().Root();
        kelvra::MainServices services = kelvra::MainServices::Defaults();
        services.serviceWatch = {200, 100, 500, 3};
        kelvra::test::MainWindow window(state, std::move(services));
        if (!kelvra::test::ShowAndWaitFirstShow(*window))
            return nullptr;
        return window;
    }
};

QTEST_MAIN(WatchNetworkTest)
#include "watch_network_test.moc"
