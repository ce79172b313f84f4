// The main window against the stand-in service: layout and named controls, the probe at each
// show, the minimum size, the maintenance message when the service does not answer, the wait
// cursor while a request blocks, and the engine's warm-up.
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "client_harness.h"
#include "text/Gbk.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserProfile.h"
#include "ui/browser/BrowserView.h"
#include "ui/service/WaitCursor.h"
#include "ui/widgets/GroupBar.h"
#include "ui/widgets/PageControl.h"
#include "ui/widgets/SideChannel.h"
#include "ui_support.h"

using kelvra::AppState;
using kelvra::HttpResponse;
using kelvra::ui::TFormMain;

namespace {

// The application's override cursor, or -1 when there is none.
int OverrideShape() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? int(cursor->shape()) : -1;
}

// Notes the override cursor that each request meets, then runs the request's action.
class CursorAtRequest : public kelvra::HttpTransport {
public:
    std::function<HttpResponse(const std::string& url)> act;
    QList<int> seen;
    HttpResponse Get(const std::string& url, const kelvra::HttpRequestOptions&) override {
        seen.append(OverrideShape());
        return act(url);
    }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;

    int ProbeCount() const {
        int probes = 0;
        for (const std::string& target : m_ui->Sim().Requests())
            probes += target == "/cn/";
        return probes;
    }

private slots:
    void initTestCase() {
        m_ui = std::make_unique<kelvra::test::UiFixture>();
        QVERIFY(m_ui->Valid());
    }

    void init() { m_ui->Reset(); }

    void namedControls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QSize>("size"); // an invalid size: not checked
        const QSize any;
        const QStringList edits = {"suiEdit_group0_1", "suiEdit_group0_2", "suiEdit_group0_3",
                                   "suiEdit_group0_4", "suiEdit_group0_5"};
        for (const QString& edit : edits)
            QTest::newRow(qPrintable(edit)) << edit << "QLineEdit" << QSize(150, 23);
        for (int i = 1; i <= 9; ++i) {
            const QString button = QStringLiteral("Button%1").arg(i);
            QTest::newRow(qPrintable(button)) << button << "QPushButton" << QSize(75, 25);
        }
        for (const char* list :
             {"cb_group1_brand", "cb_group1_category", "cb_group1_type", "cb_group1_brand_all",
              "cb_group2_eg", "engine_code", "cb_group2_eg_all"})
            QTest::newRow(list) << list << "QComboBox" << any;
        for (int i = 1; i <= 6; ++i) {
            const QString label = QStringLiteral("Label%1").arg(i);
            QTest::newRow(qPrintable(label)) << label << "QLabel" << any;
        }
        for (int i = 1; i <= 5; ++i) {
            const QString group = QStringLiteral("RzGroup%1").arg(i);
            QTest::newRow(qPrintable(group)) << group << "kelvra::ui::SideGroup" << any;
        }
        QTest::newRow("RzGroup4Items0") << "RzGroup4Items0"
                                        << "QToolButton" << any;
        for (int i = 0; i < 8; ++i) {
            const QString item = QStringLiteral("RzGroup5Items%1").arg(i);
            QTest::newRow(qPrintable(item)) << item << "QToolButton" << any;
        }
        for (int i = 1; i <= 9; ++i) {
            const QString sheet = QStringLiteral("TabSheet%1").arg(i);
            QTest::newRow(qPrintable(sheet)) << sheet << "QWidget" << any;
        }
        for (int i = 1; i <= 4; ++i) {
            const QString browser = QStringLiteral("WebBrowser%1").arg(i);
            QTest::newRow(qPrintable(browser)) << browser << "kelvra::ui::BrowserView" << any;
        }
        QTest::newRow("suiSideChannel1") << "suiSideChannel1"
                                         << "kelvra::ui::SideChannel" << any;
        QTest::newRow("RzGroupBar1") << "RzGroupBar1"
                                     << "kelvra::ui::GroupBar" << any;
        QTest::newRow("RzPageControl1") << "RzPageControl1"
                                        << "kelvra::ui::PageControl" << any;
        QTest::newRow("img_bg") << "img_bg"
                                << "QLabel" << any;
        QTest::newRow("Image1") << "Image1"
                                << "QLabel" << any;
        QTest::newRow("Image2") << "Image2"
                                << "QLabel" << QSize(700, 250);
        QTest::newRow("img_about_en") << "img_about_en"
                                      << "QLabel" << any;
        QTest::newRow("img_about_cn") << "img_about_cn"
                                      << "QLabel" << any;
        QTest::newRow("RzPanel1") << "RzPanel1"
                                  << "QFrame" << QSize(393, 57);
        QTest::newRow("Image3") << "Image3"
                                << "QLabel" << any;
        QTest::newRow("RzStatusBar1") << "RzStatusBar1"
                                      << "QWidget" << any;
        QTest::newRow("RzStatusPane1") << "RzStatusPane1"
                                       << "QFrame" << QSize(329, 19);
        QTest::newRow("RzStatusPane2") << "RzStatusPane2"
                                       << "QFrame" << QSize(481, 19);
        QTest::newRow("RzPanel3") << "RzPanel3"
                                  << "QFrame" << QSize(285, 19);
        QTest::newRow("suiURLLabel1") << "suiURLLabel1"
                                      << "kelvra::ui::UrlLabel" << QSize(260, 19);
        QTest::newRow("RzClockStatus1") << "RzClockStatus1"
                                        << "kelvra::ui::ClockStatus" << QSize(122, 19);
    }

    void namedControls() {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QSize, size);
        AppState state;
        auto window = m_ui->NewMainWindow(state);
        window->show();
        QWidget* control = window->findChild<QWidget*>(name);
        QVERIFY2(control, qPrintable(name));
        QVERIFY(control->inherits(qPrintable(className)));
        QVERIFY2(!control->accessibleName().isEmpty() || qobject_cast<QLabel*>(control) ||
                     name.startsWith("TabSheet"),
                 "controls carry a human accessible name");
        if (size.isValid())
            QCOMPARE(control->size(), size);
    }

    void layoutAtStart() {
        AppState state;
        auto window = m_ui->NewMainWindow(state);
        QCOMPARE(window->windowTitle(), QStringLiteral("Kelvra(Ver 1.0.0.3)"));
        QVERIFY(!window->isVisible()); // created hidden
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        // First run: the English language file was missing, so the English home page shows.
        auto* pages = window->Pages();
        QCOMPARE(pages->Count(), 9);
        for (int i = 0; i < 9; ++i)
            QCOMPARE(pages->Page(i)->objectName(), QStringLiteral("TabSheet%1").arg(i + 1));
        QCOMPARE(pages->ActiveIndex(), 2);
        QVERIFY(!pages->TabsVisible());
        auto* home = window->findChild<QLabel*>("Image1");
        QVERIFY(home->isVisible());
        QVERIFY(!home->pixmap().isNull());
        QVERIFY(home->width() <= pages->width() && home->height() <= pages->height());
        QCOMPARE(home->x(), (pages->Page(2)->width() - home->width()) / 2);
        QCOMPARE(window->windowTitle(), QStringLiteral("Kelvra(Ver 1.0.0.3)      Not Logged in"));

        // The side channel: 185 wide, group 1 open and only it.
        auto* side = window->Side();
        QCOMPARE(side->width(), 185);
        QCOMPARE(pages->x(), 185);
        auto* bar = window->findChild<kelvra::ui::GroupBar*>("RzGroupBar1");
        QCOMPARE(bar->OpenIndex(), 0);
        QVERIFY(window->findChild<QLineEdit*>("suiEdit_group0_1")->isVisible());
        QVERIFY(!window->findChild<QComboBox*>("cb_group1_brand")->isVisible());

        // The status bar: 19 high at the bottom; the clock keeps the right edge.
        auto* status = window->findChild<QWidget*>("RzStatusBar1");
        QCOMPARE(status->height(), 19);
        QCOMPARE(status->geometry().bottom(), window->height() - 1);
        QCOMPARE(pages->height(), window->height() - 19);
        auto* clock = window->findChild<QLabel*>("RzClockStatus1");
        QCOMPARE(clock->geometry().right(), status->width() - 1);
        QVERIFY(!clock->text().isEmpty());
        auto* link = window->findChild<QLabel*>("suiURLLabel1");
        QCOMPARE(link->text(), QStringLiteral("  Available to Iphone or Android System"));
        QVERIFY(link->font().underline());
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);

        // The three timers exist with their intervals (their handlers come with the watches).
        QCOMPARE(window->findChild<QTimer*>("Timer1")->interval(), 1000);
        QCOMPARE(window->findChild<QTimer*>("Timer_update")->interval(), 10000);
        QVERIFY(window->findChild<QTimer*>("Timer_update")->isSingleShot());
        QCOMPARE(window->findChild<QTimer*>("conn_kelvra")->interval(), 20000);

        // No browser has loaded anything, nor even started its engine.
        for (int i = 1; i <= 4; ++i) {
            QVERIFY(kelvra::test::Engine(window->Browser(i)) == nullptr);
            QVERIFY(window->Browser(i)->LocationURL().isEmpty());
        }
        // Each browser fills its page.
        const int pageOf[] = {0, 0, 5, 4, 7};
        for (int i = 1; i <= 4; ++i)
            QVERIFY(pages->Page(pageOf[i])->isAncestorOf(window->Browser(i)));
    }

    void pagesOutsideTheRangeLeaveNoneSelected() {
        AppState state;
        auto window = m_ui->NewMainWindow(state);
        window->show();
        auto* pages = window->Pages();
        for (int index : {0, 8, 3}) {
            window->ShowPage(index);
            QCOMPARE(pages->ActiveIndex(), index);
            for (int i = 0; i < 9; ++i)
                QCOMPARE(pages->Page(i)->isVisible(), i == index);
        }
        for (int index : {-1, 9, 100}) {
            window->ShowPage(index);
            QCOMPARE(pages->ActiveIndex(), -1);
            for (int i = 0; i < 9; ++i)
                QVERIFY(!pages->Page(i)->isVisible());
        }
    }

    void oneGroupOpenAtATime() {
        AppState state;
        auto window = m_ui->NewMainWindow(state);
        window->show();
        auto* bar = window->findChild<kelvra::ui::GroupBar*>("RzGroupBar1");
        for (int group : {2, 4, 0, 1}) {
            QTest::mouseClick(
                window->findChild<QPushButton*>(QStringLiteral("RzGroup%1Caption").arg(group + 1)),
                Qt::LeftButton);
            QCOMPARE(bar->OpenIndex(), group);
            for (int i = 0; i < 5; ++i)
                QCOMPARE(bar->Groups()[i]->Body()->isVisible(), i == group);
        }
    }

    void unpinnedSideChannelCollapsesToABar() {
        AppState state;
        auto window = m_ui->NewMainWindow(state);
        window->show();
        auto* side = window->Side();
        side->SetPinned(false);
        QTRY_COMPARE(side->width(), kelvra::ui::SideChannel::kCollapsedWidth);
        QCOMPARE(window->Pages()->x(), kelvra::ui::SideChannel::kCollapsedWidth);
        QEnterEvent enter(QPointF(2, 100), QPointF(2, 100), QPointF(2, 100));
        QCoreApplication::sendEvent(side, &enter);
        QTRY_COMPARE(side->width(), kelvra::ui::SideChannel::kFullWidth);         // slides out
        QCOMPARE(window->Pages()->x(), kelvra::ui::SideChannel::kCollapsedWidth); // over the pages
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(side, &leave);
        QTRY_COMPARE(side->width(), kelvra::ui::SideChannel::kCollapsedWidth);
        side->SetPinned(true);
        QCOMPARE(side->width(), kelvra::ui::SideChannel::kFullWidth);
        QCOMPARE(window->Pages()->x(), kelvra::ui::SideChannel::kFullWidth);
    }

    void linkOpensTheInfoPageInTheSystemBrowser() {
        kelvra::test::UrlCatcher catcher;
        QDesktopServices::setUrlHandler("http", &catcher, "open");
        AppState state;
        auto window = m_ui->NewMainWindow(state);
        window->show();
        QTest::mouseClick(window->findChild<QLabel*>("suiURLLabel1"), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler("http");
        QCOMPARE(catcher.urls,
                 QList<QUrl>{QUrl(QString::fromStdString(m_ui->Sim().Root()) + "/info")});
    }

    void exactlyOneProbePerShow() {
        AppState state;
        state.serviceRoot = m_ui->Sim().Root();
        m_ui->FreshDataFolder();
        auto services = kelvra::MainServices::Defaults();
        QList<int> cursors; // the cursor each probe met
        services.probe = [&cursors, probe = services.probe](const std::string& url) {
            cursors.append(OverrideShape());
            return probe(url);
        };
        kelvra::test::MainWindow window(state, services);
        m_ui->Sim().ClearRequests();
        window->show();
        QCOMPARE(ProbeCount(), 1);
        window->hide();
        state.startupDone = true; // as the tray or the login window leave it
        window->show();
        QCOMPARE(ProbeCount(), 2);
        QCOMPARE(cursors, (QList<int>{Qt::WaitCursor, Qt::WaitCursor}));
        QCOMPARE(OverrideShape(), -1);
        QVERIFY(window->isVisible());
        QVERIFY(m_ui->Messages().isEmpty());
    }

    // Each request shows the wait cursor while it runs and gives back the cursor that was there
    // before, however it ends; a request made while another one runs nests inside it.
    void requestsShowTheWaitCursor_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("outcome");
        QTest::newRow("answered") << "" << int(kelvra::HttpOutcome::Ok);
        QTest::newRow("nothing listening") << "port" << int(kelvra::HttpOutcome::Refused);
        QTest::newRow("time limit") << "hang" << int(kelvra::HttpOutcome::TimedOut);
        QTest::newRow("nested") << "nested" << int(kelvra::HttpOutcome::Ok);
        QTest::newRow("thrown") << "throw" << -1;
    }

    void requestsShowTheWaitCursor() {
        QFETCH(QString, fault);
        QFETCH(int, outcome);
        const std::string path = "/kelvra_cd/xml/get_brand.asp";
        std::string url = m_ui->Sim().Root() + path;
        if (fault == "port")
            url = "http://127.0.0.1:" + std::to_string(kelvra::test::UnusedPort()) + path;
        else if (fault == "hang")
            m_ui->Sim().InjectFault(path, "hang");
        auto recorder = std::make_unique<CursorAtRequest>();
        CursorAtRequest& requests = *recorder;
        kelvra::ui::WaitCursorTransport transport(std::move(recorder));
        const auto curl = kelvra::MakeCurlTransport();
        kelvra::HttpRequestOptions options;
        options.totalTimeoutMs = 500;
        requests.act = [&](const std::string& target) -> HttpResponse {
            if (fault == "throw")
                throw std::runtime_error("no request");
            if (fault == "nested" && requests.seen.size() == 1) {
                transport.Get(target, options);
                requests.seen.append(OverrideShape()); // the inner request gave it back
            }
            return curl->Get(target, options);
        };

        QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
        if (outcome < 0) {
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, transport.Get(url, options));
        } else {
            QCOMPARE(int(transport.Get(url, options).outcome), outcome);
        }
        const QList<int> waits(fault == "nested" ? 3 : 1, Qt::WaitCursor);
        QCOMPARE(requests.seen, waits);
        QCOMPARE(OverrideShape(), int(Qt::PointingHandCursor));
        QGuiApplication::restoreOverrideCursor();
        QCOMPARE(OverrideShape(), -1);
    }

    void resizeSnapsBackToTheMinimum_data() {
        QTest::addColumn<QSize>("asked");
        QTest::addColumn<QSize>("outer");
        QTest::newRow("both small") << QSize(500, 400) << QSize(952, 707);
        QTest::newRow("narrow") << QSize(600, 900) << QSize(952, 900);
        QTest::newRow("low") << QSize(1200, 300) << QSize(1200, 707);
        QTest::newRow("large") << QSize(1100, 800) << QSize(1100, 800);
    }

    void resizeSnapsBackToTheMinimum() {
        QFETCH(QSize, asked);
        QFETCH(QSize, outer);
        AppState state;
        auto window = m_ui->NewMainWindow(state);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QSize frame = window->frameGeometry().size() - window->size();
        window->resize(asked - frame);
        QTRY_COMPARE(window->frameGeometry().size(), outer);
    }

    void failedProbeShowsMaintenanceAndCloses_data() {
        QTest::addColumn<int>("status"); // 0: nothing listening
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        const QString english = "The server is undergoing maintenance.Please try again later.";
        const QString chinese = QStringLiteral("服务器维护或升级,请稍候再试....");
        QTest::newRow("404 English") << 404 << "English" << english;
        QTest::newRow("500 English") << 500 << "English" << english;
        QTest::newRow("refused English") << 0 << "English" << english;
        QTest::newRow("500 Chinese") << 500 << "Chinese" << chinese;
        QTest::newRow("refused Chinese") << 0 << "Chinese" << chinese;
    }

    void failedProbeShowsMaintenanceAndCloses() {
        QFETCH(int, status);
        QFETCH(QString, language);
        QFETCH(QString, text);
        const QString root =
            status == 0 ? QStringLiteral("http://127.0.0.1:%1").arg(kelvra::test::UnusedPort())
                        : QString::fromStdString(m_ui->Sim().Root());
        if (status != 0)
            m_ui->Sim().SetProbeStatus(status);
        const QString folder = m_ui->FreshDataFolder();
        if (language == "Chinese")
            QVERIFY(kelvra::test::SeedLanguage(folder, language));
        AppState state;
        state.serviceRoot = root.toStdString();
        kelvra::ui::MainWindowParts parts(state);
        TFormMain& window = parts.Window();
        QSignalSpy closed(&window, &TFormMain::closed);
        window.show(); // the box is accepted by the automation seam
        QTRY_COMPARE(closed.count(), 1);
        QVERIFY(!window.isVisible());
        QCOMPARE(m_ui->Messages(), QStringList{"Error\t" + text});
        // Nothing of the start-up part ran: no language was applied, no list was asked for.
        QCOMPARE(window.Pages()->ActiveIndex(), -1);
        for (const std::string& target : m_ui->Sim().Requests())
            QVERIFY2(target.find("/xml/") == std::string::npos, target.c_str());
    }

    void unwritableDataFolderIsReportedAndTheWindowStillOpens() {
        // A data folder below a plain file can be neither created nor written (even by root).
        const QString blocker = m_ui->Path("plain-file");
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        qputenv("KELVRA_DATA_DIR", (blocker + "/kelvra").toUtf8());
        AppState state;
        state.serviceRoot = m_ui->Sim().Root();
        kelvra::ui::MainWindowParts parts(state); // the creation error is shown and accepted
        TFormMain& window = parts.Window();
        const QStringList created = m_ui->Messages();
        QCOMPARE(created.size(), 1);
        QVERIFY2(created[0].startsWith("Kelvra\tUnable to write to " + blocker),
                 qPrintable(created[0]));
        QSignalSpy shown(&window, &TFormMain::firstShowDone);
        window.show(); // the language file cannot be written either: reported, no crash
        QVERIFY(shown.wait(10000));
        QVERIFY(window.isVisible());
        const QStringList all = m_ui->Messages();
        QCOMPARE(all.size(), 2);
        QVERIFY2(all[1].startsWith("Kelvra\tUnable to write to " + blocker), qPrintable(all[1]));
    }

    // A read-only settings file: one message naming it, then a fully usable client (lists filled,
    // a search loads its page).
    void readOnlySettingsFileLeavesTheClientUsable() {
        QString settings;
        auto client = m_ui->StartClient([&settings](const QString& folder) {
            settings = folder + "/kelvra_config.ini";
            QDir().mkpath(folder);
            QFile file(settings);
            if (!file.open(QIODevice::WriteOnly) ||
                file.write("[INFO]\r\nLanguage=English\r\nVersion=1.0.0.2\r\n") < 0)
                return false;
            file.close();
            return file.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        });
        QVERIFY(client);
        QCOMPARE(m_ui->Messages(), QStringList{"Kelvra\tUnable to write to " + settings});
        QVERIFY(client->main->findChild<QComboBox*>("cb_group1_brand")->count() > 1);
        QVERIFY(client->main->findChild<QComboBox*>("cb_group2_eg_all")->count() > 1);
        client->SearchAnyNumber(QStringLiteral("06J115403Q"));
        QVERIFY(client->WaitLoaded(1, QStringLiteral("so_list.asp")));
        QCOMPARE(m_ui->Messages().size(), 1);
    }

    // A settings file written by another program, with blanks around "=": read as the profile
    // functions read it; reset_language 1 keeps the Chinese language file as it is.
    void settingsWithBlanksAroundValues() {
        const QByteArray chinese =
            QByteArray::fromStdString(kelvra::Utf8ToGbk("[Title]\r\nno_login=  本机未登录\r\n"));
        QString chs;
        AppState state;
        auto window = m_ui->ShownMainWindow(state, {}, [&](const QString& folder) {
            chs = folder + "/Language/chs.ini";
            QFile settings(folder + "/kelvra_config.ini");
            QFile language(chs);
            return QDir().mkpath(folder + "/Language") && settings.open(QIODevice::WriteOnly) &&
                   settings.write("[INFO]\r\nLanguage = Chinese\r\nreset_language = 1\r\n") > 0 &&
                   language.open(QIODevice::WriteOnly) && language.write(chinese) > 0;
        });
        QVERIFY(window);
        QCOMPARE(state.language, std::string("Chinese"));
        QVERIFY2(window->windowTitle().endsWith(QStringLiteral("    本机未登录")),
                 qPrintable(window->windowTitle()));
        QCOMPARE(window->Pages()->ActiveIndex(), 1);
        QFile language(chs);
        QVERIFY(language.open(QIODevice::ReadOnly));
        QCOMPARE(language.readAll(), chinese);
        QVERIFY(m_ui->Messages().isEmpty());
    }

    // The engine warms up after the first show without a request of its own and without
    // touching a browser or the page shown; a search typed at any point of it loads its page.
    void engineWarmUpLeavesServiceAndBrowsersAlone_data() {
        QTest::addColumn<int>("searchAt"); // -1: no search; else the warm-up stage reached
        QTest::newRow("no search") << -1;
        QTest::newRow("search before the warm-up starts") << 0;
        QTest::newRow("search once the engine is loaded") << 1;
        QTest::newRow("search after the warm-up") << 2;
    }

    void engineWarmUpLeavesServiceAndBrowsersAlone() {
        QFETCH(int, searchAt);
        auto c = m_ui->StartClient();
        QVERIFY(c);
        kelvra::ui::BrowserProfile& profile = c->parts.Main().Profile();
        QSignalSpy warmed(&profile, &kelvra::ui::BrowserProfile::warmedUp);
        // The first browser's page, set up for the service ahead, announces and completes nothing.
        QSignalSpy announced(c->Browser(1), &kelvra::ui::BrowserView::beforeNavigate);
        QSignalSpy completed(c->Browser(1), &kelvra::ui::BrowserView::documentComplete);
        int loadsEnded = -1; // of its page, once made
        connect(&profile, &kelvra::ui::BrowserProfile::warmedUp, this, [&] {
            auto* view = c->Browser(1)->findChild<QWebEngineView*>("WebBrowser1Engine");
            if (!view)
                return;
            loadsEnded = 0;
            connect(view->page(), &QWebEnginePage::loadingChanged, this,
                    [&](const QWebEngineLoadingInfo& load) {
                        loadsEnded += load.status() != QWebEngineLoadingInfo::LoadStartedStatus;
                    });
        });
        const int page = c->main->Pages()->ActiveIndex();
        const WId nativeWindow = c->main->winId(); // a first page shown must not replace it
        const QWidget* focus = c->main->focusWidget();
        const QWidget* active = QApplication::activeWindow();
        if (searchAt == 1)
            QTRY_VERIFY_WITH_TIMEOUT(profile.Created(), kelvra::test::kPageWaitMs);
        else if (searchAt == 2)
            QVERIFY(warmed.wait(kelvra::test::kPageWaitMs));
        if (searchAt >= 0)
            QVERIFY(c->ShowResults(QStringLiteral("06J115403Q")));
        QTRY_VERIFY_WITH_TIMEOUT(profile.WarmedUp(), kelvra::test::kPageWaitMs);
        QCOMPARE(warmed.count(), 1);

        const std::string xml = "/kelvra_cd/xml/";
        const std::vector<std::string> startUp = {
            "/cn/", xml + "get_brand.asp", xml + "get_brand_kelvra.asp",
            xml + "get_engine_brand_yorx.asp", xml + "get_engine_brand_kelvra.asp"};
        const std::vector<std::string> all = m_ui->Sim().Requests();
        QVERIFY(all.size() >= startUp.size());
        QVERIFY(std::equal(startUp.begin(), startUp.end(), all.begin()));
        for (size_t i = startUp.size(); i < all.size(); ++i) // the search's page and its icon
            QVERIFY2(all[i].find("so_list.asp") != std::string::npos || all[i] == "/favicon.ico",
                     all[i].c_str());
        QCOMPARE(all.size() > startUp.size(), searchAt >= 0);
        QCOMPARE(c->main->winId(), nativeWindow);
        for (int number = searchAt >= 0 ? 2 : 1; number <= 4; ++number) {
            QVERIFY(c->Browser(number)->LocationURL().isEmpty());
            QVERIFY(c->Browser(number)->EngineWidget() == nullptr);
        }
        if (searchAt < 0) { // nothing the user sees changed, and the focus stayed
            // The first browser's engine, made ahead, stays behind the empty page.
            QVERIFY(c->Browser(1)->findChild<QWidget*>("WebBrowser1Engine"));
            QVERIFY(!c->Browser(1)->findChild<QWidget*>("WebBrowser1Placeholder")->isHidden());
            QTRY_VERIFY_WITH_TIMEOUT(loadsEnded > 0, kelvra::test::kPageWaitMs);
            QCOMPARE(announced.count(), 0);
            QCOMPARE(completed.count(), 0);
            QCOMPARE(c->main->Pages()->ActiveIndex(), page);
            QCOMPARE(c->main->focusWidget(), focus);
            QCOMPARE(QApplication::activeWindow(), active);
        }
    }

    void redirectCountsAsAvailable() {
        m_ui->Sim().SetProbeStatus(302);
        AppState state;
        auto window = m_ui->NewMainWindow(state);
        QSignalSpy closed(window.get(), &TFormMain::closed);
        window->show();
        QSignalSpy shown(window.get(), &TFormMain::firstShowDone);
        QVERIFY(shown.wait(5000));
        QCOMPARE(closed.count(), 0);
        QVERIFY(window->isVisible());
        QCOMPARE(window->Pages()->ActiveIndex(), 2);
        QVERIFY(m_ui->Messages().isEmpty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
