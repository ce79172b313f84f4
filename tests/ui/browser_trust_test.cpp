// The browser host trusts only the user: against the stand-in's hostile pages, with the real
// client and the real engine, page scripts and frames of other sites reach nothing of the
// client, cancelled and plain script links leave no trace, new-window links are watched like
// any other (and only those the user opened load), frames of other sites never hold the
// windows, script dialogs block only their page, and the keyboard focus comes back after a
// page load.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

#include "client_harness.h"
#include "search/SearchUrls.h"
#include "ui_support.h"

using kelvra::test::Account;
using kelvra::test::Client;

namespace {

int RequestsContaining(const std::vector<std::string>& targets, const std::string& part) {
    return int(std::count_if(targets.begin(), targets.end(), [&](const std::string& t) {
        return t.find(part) != std::string::npos;
    }));
}

// Counts the times a widget is shown: a show between two looks of a poll is not missed.
class ShowCounter : public QObject {
public:
    explicit ShowCounter(QWidget* widget) { widget->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        shows += event->type() == QEvent::Show ? 1 : 0;
        return false;
    }
};

} // namespace

class BrowserTrustTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;

    // A client, logged in as "demo" unless `user` is empty, showing the hostile page in the
    // browser `number`.
    std::unique_ptr<Client> OnHostilePage(int number = 1, const QString& user = "demo",
                                          const QString& query = {}) {
        auto c = m_ui->StartClient();
        if (!c) {
            qWarning("the client did not start");
            return nullptr;
        }
        if (!user.isEmpty() && !c->LogInFromSideMenu(user, user + "123")) {
            qWarning("the login from the side menu did not end");
            return nullptr;
        }
        c->main->ShowPage(number == 1 ? 0 : 4);
        c->Browser(number)->Navigate(QString::fromStdString(c->state.pageBaseUrl) +
                                     "test/hostile.asp" + query);
        if (!c->WaitLoaded(number, QStringLiteral("hostile.asp"))) {
            qWarning("the hostile page did not load: %s, %d navigations pending",
                     qPrintable(c->Browser(number)->LocationURL()),
                     c->Browser(number)->PendingNavigations());
            return nullptr;
        }
        m_ui->Sim().ClearRequests();
        QFile::remove(m_ui->Log());
        return c;
    }

    // A script dialog of a page, shown; nullptr when there is none.
    static QMessageBox* VisibleDialog() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
                return box;
        }
        return nullptr;
    }

    // Types a number into the OE field as a person does and searches with Enter; the result
    // page loads in the main browser (waited for unless `wait` is false).
    void SearchOe(Client& c, bool wait = true) {
        auto* field =
            c.main->findChild<QLineEdit*>(kelvra::NumberSearchOf(kelvra::kSearchOe)->field);
        QVERIFY(field);
        QVERIFY(field->isEnabled() && c.main->isEnabled());
        field->clear();
        QTest::keyClicks(field, QStringLiteral("0986452041"));
        QCOMPARE(field->text(), QStringLiteral("0986452041"));
        QTest::keyClick(field, Qt::Key_Return);
        if (wait)
            QVERIFY(c.WaitLoaded(1, QStringLiteral("so_list.asp")));
    }

    // Nothing reached the service, no box, no login window, and every window takes input.
    void ExpectNoTrace(Client& c) {
        const auto requests = m_ui->Sim().Requests();
        QCOMPARE(RequestsContaining(requests, "get_login_status.asp"), 0);
        QCOMPARE(RequestsContaining(requests, "set_search_num"), 0);
        QCOMPARE(RequestsContaining(requests, "err"), 0);
        QCOMPARE(m_ui->Messages(), QStringList{});
        QVERIFY(!c.login->isVisible());
        QVERIFY(c.main->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!c.version->isVisible() && c.main->isEnabled(), 5000);
    }

private slots:
    void initTestCase() {
        m_ui = std::make_unique<kelvra::test::UiFixture>();
        QVERIFY(m_ui->Valid());
    }

    void init() { m_ui->Reset(); }

    // The page looks for the client's channel and forges its reports, at load and on a real
    // click; a frame of another site does the same and holds a VIP link the user clicks.
    void pageScriptsAndOtherSitesReachNothing_data() {
        QTest::addColumn<QString>("user");
        QTest::newRow("logged in") << "demo";
        QTest::newRow("logged out") << "";
    }
    void pageScriptsAndOtherSitesReachNothing() {
        QFETCH(QString, user);
        auto c = OnHostilePage(1, user);
        QVERIFY(c);
        QCOMPARE(c->Script(1, "document.getElementById('probe').textContent").toString(),
                 QStringLiteral("undefined undefined undefined undefined"));
        QVERIFY(c->Click(1, "#forge"));
        QVERIFY(c->Click(1, "#frameNotice", "#foreign"));
        // The frame got the click (it says so by message to its top document).
        QTRY_COMPARE_WITH_TIMEOUT(
            c->Script(1, "document.getElementById('frameClicks').textContent").toString(),
            QStringLiteral("1"), 5000);
        QTest::qWait(1500); // forged reports would have arrived by now
        ExpectNoTrace(*c);
        QCOMPARE(Account(m_ui->Sim(), "demo")["search_num"], std::string("0"));
    }

    // Script links that the page cancels do nothing; a plain one runs its script and gives
    // every window back at once, in the main browser and in the supplier browser.
    void cancelledAndPlainScriptLinks_data() {
        QTest::addColumn<int>("browser");
        QTest::addColumn<QString>("user");
        QTest::newRow("main browser, logged in") << 1 << "demo";
        QTest::newRow("main browser, logged out") << 1 << "";
        QTest::newRow("supplier browser") << 3 << "";
    }
    void cancelledAndPlainScriptLinks() {
        QFETCH(int, browser);
        QFETCH(QString, user);
        auto c = OnHostilePage(browser, user);
        QVERIFY(c);
        QVERIFY(c->Click(browser, "#cancelled"));
        QVERIFY(c->Click(browser, "#cancelledByListener"));
        QVERIFY(c->Click(browser, "#plain"));
        QTRY_COMPARE_WITH_TIMEOUT(
            c->Script(browser, "document.getElementById('plainRan').textContent").toString(),
            QStringLiteral("ran 3"), 5000);
        ExpectNoTrace(*c);
        QVERIFY(c->Browser(browser)->LocationURL().contains("hostile.asp"));
    }

    // A product link with target=_blank, and window.open after a click, load in the main
    // browser through the read-only check and the count, like an ordinary product link.
    void newWindowProductLinksAreWatched() {
        auto c = OnHostilePage();
        QVERIFY(c);
        QVERIFY(c->Click(1, "#blank"));
        QVERIFY(c->WaitLoaded(1, QStringLiteral("pro_show.asp")));
        QCOMPARE(Account(m_ui->Sim(), "demo")["search_num"], std::string("1"));
        c->Browser(1)->Navigate(QString::fromStdString(c->state.pageBaseUrl) + "test/hostile.asp");
        QVERIFY(c->WaitLoaded(1, QStringLiteral("hostile.asp")));
        QVERIFY(c->Click(1, "#opener"));
        QVERIFY(c->WaitLoaded(1, QStringLiteral("pro_show.asp")));
        const auto requests = m_ui->Sim().Requests();
        QCOMPARE(RequestsContaining(requests, "get_login_status.asp"), 2);
        QCOMPARE(RequestsContaining(requests, "searchnum=1"), 1);
        QCOMPARE(RequestsContaining(requests, "searchnum=2"), 1);
        QCOMPARE(Account(m_ui->Sim(), "demo")["search_num"], std::string("2"));
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 5000);
    }

    // A frame whose server never answers does not keep the windows locked: the page's own
    // document is there, so the indicator comes down long before its watchdog would; and a
    // frame sent there later holds them only for the frame's short time limit.
    void aFrameThatNeverFinishesLocksNothing() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        const std::string base = c->state.pageBaseUrl;
        m_ui->Sim().InjectFault(base.substr(base.find("/kelvra_cd/")) + "test/hang_frame.asp",
                                "hang");
        c->main->ShowPage(0);
        c->Browser(1)->Navigate(QString::fromStdString(base) + "test/hostile.asp?hang=1");
        QTRY_VERIFY_WITH_TIMEOUT(c->version->isVisible(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 10000);
        // Once the page is there, the page's script sends that frame to the silent address
        // again: the frame holds the windows a few seconds at most, not until the watchdog.
        c->version->Busy().SetWatchdogMs(120000);
        m_ui->Sim().InjectFault(base.substr(base.find("/kelvra_cd/")) + "test/hang_frame.asp",
                                "hang");
        c->Script(1, "document.getElementById('hanging').src = 'hang_frame.asp?again=1'; 1");
        QTRY_VERIFY_WITH_TIMEOUT(c->version->isVisible(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 15000);
    }

    // Two frames of another site move themselves on every 0.5 s through addresses with the
    // service's markers and raise script dialogs: for 10 s nothing reaches the service, no box
    // or dialog shows, the busy indicator never comes up, and a search still works.
    void otherSitesFramesRotating_data() {
        QTest::addColumn<QString>("user");
        QTest::newRow("logged in") << "demo";
        QTest::newRow("logged out") << "";
    }
    void otherSitesFramesRotating() {
        QFETCH(QString, user);
        auto c = OnHostilePage(1, user, QStringLiteral("?rotate=1&advert_alerts=1"));
        QVERIFY(c);
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 5000);
        bool busySeen = false, dialogSeen = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            busySeen = busySeen || c->version->isVisible() || !c->main->isEnabled();
            dialogSeen = dialogSeen || VisibleDialog() != nullptr;
        });
        watch.start(20);
        QTest::qWait(10000);
        watch.stop();
        QVERIFY(!busySeen);
        QVERIFY(!dialogSeen);
        QVERIFY(RequestsContaining(m_ui->Sim().Requests(), "rotating_frame.asp?step=8") > 0);
        ExpectNoTrace(*c);
        QCOMPARE(Account(m_ui->Sim(), "demo")["search_num"], std::string("0"));
        QCOMPARE(Account(m_ui->Sim(), "demo")["search_num_vip"], std::string("0"));
        SearchOe(*c);
    }

    // Windows the page opens without a click, and data: and qrc: addresses for its top
    // document: none of them loads, in the main browser or elsewhere.
    void windowsWithoutAClickAndOtherSchemesLoadNothing() {
        auto c = OnHostilePage(1, "demo", QStringLiteral("?popups=1"));
        QVERIFY(c);
        QTRY_COMPARE_WITH_TIMEOUT(
            c->Script(1, "document.getElementById('popupsDone').textContent").toString(),
            QStringLiteral("done"), 10000);
        QTest::qWait(1500); // a window's navigation would have started by now
        QVERIFY2(c->Browser(1)->LocationURL().endsWith("hostile.asp?popups=1"),
                 qPrintable(c->Browser(1)->LocationURL()));
        ExpectNoTrace(*c);
        QCOMPARE(RequestsContaining(m_ui->Sim().Requests(), "pro_show.asp"), 0);
        QCOMPARE(RequestsContaining(m_ui->Sim().Requests(), "login.asp"), 0);
        QCOMPARE(Account(m_ui->Sim(), "demo")["search_num"], std::string("0"));
    }

    // A page in the supplier browser raises dialogs in a loop: another site's never show; the
    // service's own show three in quick succession, then no more. A search in the main window
    // works meanwhile, typed while a dialog is open.
    void scriptDialogsBlockOnlyTheirPage_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("shown");
        QTest::newRow("another site") << "localhost" << 0;
        QTest::newRow("the service") << "" << 3;
    }
    void scriptDialogsBlockOnlyTheirPage() {
        QFETCH(QString, host);
        QFETCH(int, shown);
        auto c = m_ui->StartClient();
        QVERIFY(c);
        auto* field =
            c->main->findChild<QLineEdit*>(kelvra::NumberSearchOf(kelvra::kSearchOe)->field);
        QVERIFY(field);
        // A dialog waits in an event loop of its own, so a timer answers it from inside that
        // loop: at the first, a number is typed and searched with Enter before the answer.
        int seen = 0;
        QString typed;
        QPointer<QMessageBox> answered;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            QMessageBox* box = VisibleDialog();
            if (!box || box == answered)
                return;
            answered = box;
            if (++seen == 1) {
                field->clear();
                QTest::keyClicks(field, QStringLiteral("0986452041"));
                typed = field->text();
                QTest::keyClick(field, Qt::Key_Return);
            }
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        answer.start(50);
        c->main->ShowPage(4);
        QUrl page(QString::fromStdString(c->state.pageBaseUrl) +
                  "test/hostile_supplier.asp?alerts=1");
        if (!host.isEmpty())
            page.setHost(host);
        c->Browser(3)->Navigate(page.toString());
        // The page's loop goes on, each further dialog answered at once without a box.
        QTRY_VERIFY_WITH_TIMEOUT(
            c->Script(3, "document.getElementById('alerts').textContent").toInt() > 10, 20000);
        QCOMPARE(seen, shown);
        if (shown == 0)
            SearchOe(*c, false);
        else
            QCOMPARE(typed, QStringLiteral("0986452041"));
        QVERIFY(c->WaitLoaded(1, QStringLiteral("so_list.asp")));
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 5000);
        QCOMPARE(seen, shown);
    }

    // Enter in the OE field: the page loads behind the busy indicator, then the field has the
    // keyboard focus again, so the next number can be typed at once.
    void focusComesBackAfterAPageLoad() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        c->main->activateWindow();
        auto* field =
            c->main->findChild<QLineEdit*>(kelvra::NumberSearchOf(kelvra::kSearchOe)->field);
        QVERIFY(field);
        field->setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(field->hasFocus(), 5000);
        field->setText(QStringLiteral("0986452041"));
        const ShowCounter indicator(c->version);
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY(c->WaitLoaded(1, QStringLiteral("so_list.asp")));
        QVERIFY(indicator.shows > 0);
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(field->hasFocus(), 5000);
    }
};

QTEST_MAIN(BrowserTrustTest)
#include "browser_trust_test.moc"
