// Product links, script links and the account rules in the real client: the main browser's
// before-navigate watch with the real web engine against the stand-in service.
#include <QComboBox>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

#include "client_harness.h"
#include "ui/widgets/PageControl.h"
#include "ui_support.h"

using kelvra::test::Account;
using kelvra::test::Client;

namespace {

const char* kOrdinaryLink = "a[href*='pro_show.asp']";
const char* kVipLink = "a[href*='pro_show_vip.asp']";

bool AnyRequestContains(const std::vector<std::string>& targets, const std::string& part) {
    return std::any_of(targets.begin(), targets.end(),
                       [&](const std::string& t) { return t.find(part) != std::string::npos; });
}

} // namespace

class InPageProductTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::UiFixture> m_ui;

    // Logs in from the side menu and shows the result page of an any-number search.
    bool LoggedInWithResults(Client& c, const QString& user, const QString& password) {
        return c.LogInFromSideMenu(user, password) && c.ShowResults();
    }

private slots:
    void initTestCase() {
        m_ui = std::make_unique<kelvra::test::UiFixture>();
        QVERIFY(m_ui->Valid());
    }

    void init() { m_ui->Reset(); }

    // Logged out: the product link leads to the login window without asking the service;
    // logging in replays the last search with the new session; the next product link counts.
    void loggedOutLinkThenLoginReplaysAndCounts() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(c->ShowResults());
        m_ui->Sim().ClearRequests();

        QVERIFY(c->Click(1, kOrdinaryLink));
        QTRY_VERIFY_WITH_TIMEOUT(c->login->isVisible(), 10000);
        QVERIFY(!c->main->isVisible());
        QVERIFY(c->WaitLoaded(1, QStringLiteral("err_en.asp")));
        QVERIFY(!AnyRequestContains(m_ui->Sim().Requests(), "get_login_status.asp"));
        QVERIFY(m_ui->Messages().isEmpty());
        QVERIFY(!c->version->isVisible());

        c->LogIn(QStringLiteral("demo"), QStringLiteral("demo123"));
        QTRY_VERIFY_WITH_TIMEOUT(!c->login->isVisible() && c->main->isVisible(), 10000);
        QVERIFY(c->WaitLoaded(1, QStringLiteral("so_list.asp")));
        QVERIFY2(c->Browser(1)->LocationURL().contains(QStringLiteral("Gid=101")),
                 qPrintable(c->Browser(1)->LocationURL()));
        QCOMPARE(Account(m_ui->Sim(), "demo")["search_num"], std::string("0"));
        // As a person does: the next click once the replayed search has finished loading.
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 10000);

        QVERIFY(c->Click(1, kOrdinaryLink));
        QVERIFY(c->WaitLoaded(1, QStringLiteral("pro_show.asp")));
        QCOMPARE(Account(m_ui->Sim(), "demo")["search_num"], std::string("1"));
        QCOMPARE(c->state.session.search_num, 1);
        QVERIFY(c->PageText(1).contains(QStringLiteral("W 712")));
        QVERIFY(m_ui->Messages().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 10000);
    }

    // Ordinary accounts at and over their limit, VIP over its limit: which page stays, which
    // message shows, what the stand-in stored.
    void quotaOutcomes_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("vip");
        QTest::addColumn<QString>("firstPage");  // page after the first product link
        QTest::addColumn<QString>("secondPage"); // after a second one; empty: not clicked
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("messages");
        const QString refused =
            "TIP\tNo permission until tomorrow.For more limits, please contact us to be VIP "
            "member.";
        QTest::newRow("last page counted, next refused") << "limit"
                                                         << "limit123" << false << "pro_show.asp"
                                                         << "maxquery.asp?"
                                                         << "search_num"
                                                         << "6" << QStringList{refused};
        QTest::newRow("differing dates lift the limit") << "dates"
                                                        << "dates123" << false << "pro_show.asp"
                                                        << ""
                                                        << "search_num"
                                                        << "31" << QStringList{};
        QTest::newRow("VIP over its limit: VIP max-query page, no message")
            << "viplimit"
            << "viplimit123" << true << "maxquery_vip.asp"
            << ""
            << "search_num_vip"
            << "3" << QStringList{};
    }

    void quotaOutcomes() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, vip);
        QFETCH(QString, firstPage);
        QFETCH(QString, secondPage);
        QFETCH(QString, counter);
        QFETCH(QString, stored);
        QFETCH(QStringList, messages);
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(c->LogInFromSideMenu(user, password));
        if (vip) {
            c->main->ShowPage(0); // as the list searches do: the result page in view
            c->Browser(1)->Navigate(QString::fromStdString(c->state.pageBaseUrl) +
                                    "search/brand_list_kelvra_vip.asp?t_search_brand=16");
            QVERIFY(c->WaitLoaded(1, QStringLiteral("brand_list_kelvra_vip.asp")));
        } else {
            QVERIFY(c->ShowResults());
        }

        QVERIFY(c->Click(1, vip ? kVipLink : kOrdinaryLink));
        QVERIFY2(c->WaitLoaded(1, firstPage), qPrintable(c->Browser(1)->LocationURL()));
        if (!secondPage.isEmpty()) {
            QVERIFY(c->ShowResults());
            QVERIFY(c->Click(1, kOrdinaryLink));
            QVERIFY2(c->WaitLoaded(1, secondPage), qPrintable(c->Browser(1)->LocationURL()));
            // The max-query page carries the unchanged count.
            QVERIFY(c->Browser(1)->LocationURL().contains("searchnum=" + stored));
        }
        QCOMPARE(
            QString::fromStdString(Account(m_ui->Sim(), user.toStdString())[counter.toStdString()]),
            stored);
        QCOMPARE(m_ui->Messages(), messages);
        QVERIFY(c->main->isVisible());
        QVERIFY(!c->login->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 10000);
    }

    // Navigations the engine starts by itself (a meta refresh, location.replace while the page
    // parses) pass the watch once, before the product page is asked for, as a clicked link does.
    void engineStartedNavigationsPassTheWatchOnce_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("to");      // product or vip
        QTest::addColumn<QString>("page");    // page the browser ends on
        QTest::addColumn<QString>("count");   // the count report that goes out
        QTest::addColumn<QString>("counter"); // and what the stand-in stored
        QTest::addColumn<QString>("stored");
        QTest::newRow("meta refresh") << "demo"
                                      << "meta"
                                      << "product"
                                      << "pro_show.asp"
                                      << "set_search_num.asp"
                                      << "search_num"
                                      << "1";
        QTest::newRow("location.replace") << "demo"
                                          << "replace"
                                          << "product"
                                          << "pro_show.asp"
                                          << "set_search_num.asp"
                                          << "search_num"
                                          << "1";
        QTest::newRow("VIP page over the VIP quota") << "viplimit"
                                                     << "replace"
                                                     << "vip"
                                                     << "maxquery_vip.asp"
                                                     << ""
                                                     << "search_num_vip"
                                                     << "3";
    }
    void engineStartedNavigationsPassTheWatchOnce() {
        QFETCH(QString, user);
        QFETCH(QString, how);
        QFETCH(QString, to);
        QFETCH(QString, page);
        QFETCH(QString, count);
        QFETCH(QString, counter);
        QFETCH(QString, stored);
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(c->LogInFromSideMenu(user, user + "123"));
        c->main->ShowPage(0);
        m_ui->Sim().ClearRequests();
        c->Browser(1)->Navigate(QString::fromStdString(c->state.pageBaseUrl) +
                                "test/redirect.asp?how=" + how + "&to=" + to);
        QVERIFY2(c->WaitLoaded(1, page), qPrintable(c->Browser(1)->LocationURL()));
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 10000);
        const auto requests = m_ui->Sim().Requests();
        const auto first = [&](const std::string& part) {
            return std::find_if(requests.begin(), requests.end(), [&](const std::string& t) {
                return t.find(part) != std::string::npos;
            });
        };
        const auto several = [&](const std::string& part) {
            return std::count_if(requests.begin(), requests.end(), [&](const std::string& t) {
                return t.find(part) != std::string::npos;
            });
        };
        const std::string product = to == "vip" ? "search/pro_show_vip.asp" : "search/pro_show.asp";
        QCOMPARE(several("read_only=1"), 1);
        QVERIFY(first("read_only=1") < first(product));
        if (!count.isEmpty()) {
            QCOMPARE(several(count.toStdString()), 1);
            QVERIFY(first(count.toStdString()) < first(product));
        }
        QCOMPARE(
            QString::fromStdString(Account(m_ui->Sim(), user.toStdString())[counter.toStdString()]),
            stored);
    }

    // The same account logged in from another machine: relogin message, service error page,
    // session dropped, login window.
    void loggedOnElsewhere() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(LoggedInWithResults(*c, "demo", "demo123"));
        Account(m_ui->Sim(), "demo", "&s_mac=0A-0B-0C-0D-0E-0F&s_ip=10.200.30.40");

        QVERIFY(c->Click(1, kOrdinaryLink));
        QTRY_VERIFY_WITH_TIMEOUT(c->login->isVisible(), 10000);
        QVERIFY(!c->main->isVisible());
        QCOMPARE(m_ui->Messages(),
                 QStringList{"TIP\tThe account has been logged on in other computer. "});
        QVERIFY(c->WaitLoaded(1, QStringLiteral("err_en.asp")));
        QVERIFY(c->state.session.username.empty());
        QCOMPARE(Account(m_ui->Sim(), "demo")["search_num"], std::string("0"));
        QVERIFY(!c->version->isVisible());
        QVERIFY(c->main->isEnabled());
    }

    // On an ordinary desktop: the service redirects its lists and its login check (302 on the
    // same host), and the machine's network changes while the client runs. The lists fill, the
    // login works, and the next check carries the machine's new address.
    void redirectsAndANetworkChangeDuringTheRun() {
        const QString adapters = m_ui->Path("adapters");
        const auto useAdapter = [&](const char* mac) {
            QFile file(adapters);
            return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                   file.write(QByteArray("eth0 index=2 up carrier ip mac=") + mac + " origin=0\n") >
                       0;
        };
        QVERIFY(useAdapter("02:00:00:00:0a:0a"));
        qputenv("KELVRA_NETWORK_ADAPTERS_FILE", adapters.toUtf8());
        const std::string xml = "/kelvra_cd/xml/";
        for (const char* service : {"get_brand.asp", "get_brand_kelvra.asp",
                                    "get_engine_brand_yorx.asp", "get_engine_brand_kelvra.asp"})
            m_ui->Sim().InjectFault(xml + service, "redirect");
        m_ui->Sim().InjectFault(xml + "get_login_status.asp", "redirect", 3);
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(c->main->findChild<QComboBox*>("cb_group1_brand")->count() > 1);
        QVERIFY(c->main->findChild<QComboBox*>("cb_group2_eg_all")->count() > 1);
        QVERIFY(LoggedInWithResults(*c, "demo", "demo123"));
        QVERIFY(AnyRequestContains(m_ui->Sim().Requests(), "mac=02-00-00-00-0A-0A"));

        QVERIFY(useAdapter("02:00:00:00:0b:0b")); // another network, same run
        m_ui->Sim().ClearRequests();
        QVERIFY(c->Click(1, kOrdinaryLink));
        // The read-only check goes out with the new address (what the service then makes of a
        // machine whose address changed is its own rule), through the redirect.
        QTRY_VERIFY_WITH_TIMEOUT(
            AnyRequestContains(m_ui->Sim().Requests(),
                               "/__moved/kelvra_cd/xml/get_login_status.asp?mac=02-00-00-00-0B-0B"),
            10000);
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible(), 10000);
        qunsetenv("KELVRA_NETWORK_ADAPTERS_FILE");
    }

    // Script links: the VIP notice while logged in, and links that never show the indicator.
    void vipNoticeLoggedIn() {
        auto c = m_ui->StartClient();
        QVERIFY(c);
        QVERIFY(LoggedInWithResults(*c, "demo", "demo123"));
        m_ui->Sim().ClearRequests();
        // The box comes while the indicator is up and the main window disabled, and takes
        // input. It runs its own event loop, so a timer looks at it from inside that loop.
        bool boxSeen = false, boxEnabled = false, mainDisabled = false, busyShown = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] {
            if (QWidget* box = QApplication::activeModalWidget(); box && !boxSeen) {
                boxSeen = true;
                boxEnabled = box->isEnabled();
                mainDisabled = !c->main->Pages()->isEnabled(); // the page area
                busyShown = c->version->isVisible();
            }
        });
        watch.start(20);
        QVERIFY(c->Click(1, "a[href^='javascript:notice(']"));
        QTRY_COMPARE_WITH_TIMEOUT(
            m_ui->Messages(),
            QStringList{"TIPS\tOnly for VIP member! Please contact us for more information."},
            10000);
        QVERIFY(boxSeen && boxEnabled && mainDisabled && busyShown);
        QTRY_VERIFY_WITH_TIMEOUT(!c->version->isVisible() && c->main->isEnabled(), 10000);
        QVERIFY(c->main->isVisible());
        QVERIFY(!AnyRequestContains(m_ui->Sim().Requests(), "get_login_status.asp"));
    }
};

QTEST_MAIN(InPageProductTest)
#include "inpage_product_test.moc"
