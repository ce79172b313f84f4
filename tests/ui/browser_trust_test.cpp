// The browser host trusts only the user: against the stand-in's hostile pages, with the real
// client and the real engine, page scripts and frames of other sites reach nothing of the
// client, cancelled and plain script links leave no trace, new-window links are watched like
// any other, and the keyboard focus comes back after a page load.
#include <QLineEdit>
#include <QTest>

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
        if (!c || (!user.isEmpty() && !c->LogInFromSideMenu(user, user + "123")))
            return nullptr;
        c->main->ShowPage(number == 1 ? 0 : 4);
        c->Browser(number)->Navigate(QString::fromStdString(c->state.pageBaseUrl) +
                                     "test/hostile.asp" + query);
        if (!c->WaitLoaded(number, QStringLiteral("hostile.asp")))
            return nullptr;
        m_ui->Sim().ClearRequests();
        QFile::remove(m_ui->Log());
        return c;
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
    // document is there, so the indicator comes down long before its watchdog would.
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
        QTest::keyClick(field, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(c->version->isVisible(), 5000);
        QVERIFY(c->WaitLoaded(1, QStringLiteral("so_list.asp")));
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(field->hasFocus(), 5000);
    }
};

QTEST_MAIN(BrowserTrustTest)
#include "browser_trust_test.moc"
