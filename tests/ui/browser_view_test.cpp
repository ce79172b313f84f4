// The browser view against pages served on loopback: the announce/complete pairing for pages,
// frames, links, script links, navigations started from inside the announcement, addresses that
// never become the top document and a refusing policy.
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

#include "ui/browser/BrowserProfile.h"
#include "ui/browser/BrowserView.h"
#include "ui_support.h"

using kelvra::ui::BrowserProfile;
using kelvra::ui::BrowserView;

namespace {

QMap<QString, QByteArray> Pages() {
    return {
        {"/a", "<html><head><title>A</title></head><body><p>page a</p></body></html>"},
        {"/c", "<html><head><title>C</title></head><body><p>page c</p></body></html>"},
        {"/frames", "<html><head><title>F</title></head><body>"
                    "<iframe id='f1' src='/inner'></iframe><iframe id='f2' src='/a'></iframe>"
                    "</body></html>"},
        {"/inner", "<html><body><a id='fjs' href=\"javascript:fan(7);\">x</a>"
                   "<a id='flink' href='/c'>c</a></body></html>"},
        {"/links",
         "<html><head><title>L</title></head><body>"
         "<a id='js' href=\"javascript:notice('price');\">vip</a>"
         "<a id='void' href='javascript:void(0);'>v</a>"
         "<a id='real' href='/a'>a</a>"
         "<a id='span' href=\"javascript:sure_content('9');\"><span id='inside'>s</span></a>"
         "</body></html>"},
    };
}

QString Title(BrowserView& view) {
    return kelvra::test::Engine(view)->page()->title();
}

// A real left click on the element (inside the frame, when given).
bool Click(BrowserView& view, const QString& selector, const QString& frame = {}) {
    return kelvra::test::UserClick(kelvra::test::Engine(view), selector, frame);
}

} // namespace

class BrowserViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<kelvra::test::LocalPages> m_pages;
    std::unique_ptr<BrowserProfile> m_profile;
    std::unique_ptr<BrowserView> m_view;

private slots:
    void initTestCase() {
        m_pages = std::make_unique<kelvra::test::LocalPages>(Pages());
        m_profile = std::make_unique<BrowserProfile>();
    }

    void init() {
        m_view = std::make_unique<BrowserView>("WebBrowser1", *m_profile);
        m_view->SetTrustedOrigin(m_pages->Url(""));
        m_view->resize(640, 480);
        m_view->show();
    }

    void cleanup() { m_view.reset(); }

    void cleanupTestCase() { m_profile.reset(); }

    void engineIsCreatedAtTheFirstNavigation() {
        QVERIFY(kelvra::test::Engine(m_view.get()) == nullptr);
        QVERIFY(m_view->LocationURL().isEmpty());
        m_view->Refresh(); // nothing to reload yet
        QVERIFY(kelvra::test::Engine(m_view.get()) == nullptr);
        QSignalSpy complete(m_view.get(), &BrowserView::documentComplete);
        m_view->Navigate(m_pages->Url("/a"));
        QVERIFY(kelvra::test::Engine(m_view.get()) != nullptr);
        QVERIFY(complete.wait(15000));
        QCOMPARE(m_view->LocationURL(), m_pages->Url("/a"));
        QCOMPARE(Title(*m_view), QStringLiteral("A"));
    }

    void missingEngineModuleLeavesAMessageAndNoEngine() {
        BrowserProfile noModule(QStringList{QStringLiteral("/nonexistent/kelvra")}, nullptr);
        BrowserView view("WebBrowser2", noModule);
        view.show();
        QSignalSpy announced(&view, &BrowserView::beforeNavigate);
        QSignalSpy complete(&view, &BrowserView::documentComplete);
        view.Navigate(m_pages->Url("/a"));
        view.Navigate(m_pages->Url("/b")); // a second try neither crashes nor stacks messages
        view.Refresh();
        QVERIFY(view.EngineWidget() == nullptr);
        QVERIFY(!noModule.Created());
        QVERIFY(noModule.LoadError().contains("/nonexistent/kelvra/"));
        const auto messages = view.findChildren<QLabel*>("WebBrowser2EngineError");
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first()->isVisible());
        QVERIFY(messages.first()->text().contains("could not be loaded"));
        const auto details = view.findChildren<QLabel*>("WebBrowser2EngineErrorDetail");
        QCOMPARE(details.size(), 1);
        QVERIFY(details.first()->isVisible());
        QCOMPARE(details.first()->text(), noModule.LoadError());
        QCOMPARE(announced.count(), 0);
        QCOMPARE(complete.count(), 0);
        QCOMPARE(view.PendingNavigations(), 0);
        QVERIFY(view.LocationURL().isEmpty());
    }

    void everyAnnouncedNavigationCompletesOnce() {
        QStringList announced;
        connect(m_view.get(), &BrowserView::beforeNavigate, this,
                [&](const QString& url) { announced << url; });
        QSignalSpy complete(m_view.get(), &BrowserView::documentComplete);

        m_view->Navigate(m_pages->Url("/frames"));
        QTRY_VERIFY_WITH_TIMEOUT(complete.count() == 3 && m_view->PendingNavigations() == 0, 15000);
        QCOMPARE(announced.size(), 3); // the page and its two frames
        QCOMPARE(announced.first(), m_pages->Url("/frames"));
        QVERIFY(announced.contains(m_pages->Url("/inner")));

        // A link followed inside a frame, after the page is complete.
        QVERIFY(Click(*m_view, "#flink", "#f1"));
        QTRY_VERIFY_WITH_TIMEOUT(announced.size() == 4 && complete.count() == 4, 15000);
        QCOMPARE(announced.last(), m_pages->Url("/c"));

        // A link of the main page.
        m_view->Navigate(m_pages->Url("/links"));
        QTRY_VERIFY_WITH_TIMEOUT(complete.count() == 5, 15000);
        QVERIFY(Click(*m_view, "#real"));
        QTRY_VERIFY_WITH_TIMEOUT(complete.count() == 6 && Title(*m_view) == "A", 15000);
        QCOMPARE(announced.last(), m_pages->Url("/a"));
        QCOMPARE(announced.size(), complete.count());
        QCOMPARE(m_view->PendingNavigations(), 0);
    }

    void scriptLinksAreAnnouncedWithTheirText_data() {
        QTest::addColumn<QString>("click");
        QTest::addColumn<QString>("url");
        QTest::newRow("notice") << "#js"
                                << "javascript:notice('price');";
        QTest::newRow("void") << "#void"
                              << "javascript:void(0);";
        QTest::newRow("element inside the link") << "#inside"
                                                 << "javascript:sure_content('9');";
    }

    void scriptLinksAreAnnouncedWithTheirText() {
        QFETCH(QString, click);
        QFETCH(QString, url);
        QSignalSpy complete(m_view.get(), &BrowserView::documentComplete);
        m_view->Navigate(m_pages->Url("/links"));
        QVERIFY(complete.wait(15000));
        QSignalSpy announced(m_view.get(), &BrowserView::beforeNavigate);
        QSignalSpy completed(m_view.get(), &BrowserView::documentComplete);
        QVERIFY(Click(*m_view, click));
        QTRY_COMPARE_WITH_TIMEOUT(announced.count(), 1, 10000);
        QCOMPARE(announced.first().first().toString(), url);
        // A script link has no document to wait for: it is complete as soon as announced.
        QCOMPARE(completed.count(), 1);
        QCOMPARE(m_view->PendingNavigations(), 0);
    }

    void scriptLinksInsideFramesAreAnnounced() {
        QSignalSpy complete(m_view.get(), &BrowserView::documentComplete);
        m_view->Navigate(m_pages->Url("/frames"));
        QTRY_VERIFY_WITH_TIMEOUT(complete.count() == 3, 15000);
        QSignalSpy announced(m_view.get(), &BrowserView::beforeNavigate);
        QVERIFY(Click(*m_view, "#fjs", "#f1"));
        QTRY_COMPARE_WITH_TIMEOUT(announced.count(), 1, 10000);
        QCOMPARE(announced.first().first().toString(), QStringLiteral("javascript:fan(7);"));
    }

    void scriptClicksAndOtherSitesAreNotAnnounced() {
        QSignalSpy complete(m_view.get(), &BrowserView::documentComplete);
        m_view->Navigate(m_pages->Url("/links"));
        QVERIFY(complete.wait(15000));
        QSignalSpy announced(m_view.get(), &BrowserView::beforeNavigate);
        // A real click in a page of a site the view does not trust is not announced (a page
        // script's own clicks are in the browser trust test's hostile page).
        m_view->SetTrustedOrigin(QStringLiteral("http://127.0.0.1:1"));
        QVERIFY(Click(*m_view, "#void"));
        QVERIFY(!announced.wait(1500));
        // The page's scripts see nothing of the client.
        QCOMPARE(kelvra::test::Evaluate(kelvra::test::Engine(*m_view),
                                        "typeof qt + ' ' + typeof QWebChannel")
                     .toString(),
                 QStringLiteral("undefined undefined"));
    }

    void hostAcceptsOnlyScriptLinks() {
        QSignalSpy complete(m_view.get(), &BrowserView::documentComplete);
        m_view->Navigate(m_pages->Url("/links"));
        QVERIFY(complete.wait(15000));
        // What any page script can send over the channel: only script links are announced.
        QWebChannel* channel = kelvra::test::Engine(m_view.get())->page()->webChannel();
        QVERIFY(channel);
        QObject* host = channel->registeredObjects().value(QStringLiteral("kelvraHost"));
        QVERIFY(host);
        const QString here = m_pages->Url("/links");
        const auto reportLink = [host](const QString& where, const QString& url) {
            QVERIFY(QMetaObject::invokeMethod(host, "reportScriptLink", Q_ARG(QString, where),
                                              Q_ARG(QString, url)));
        };
        QSignalSpy announced(m_view.get(), &BrowserView::beforeNavigate);
        reportLink(here, "http://elsewhere/pro_show.asp?id=1");
        reportLink(here, "");
        reportLink("http://elsewhere/a", "javascript:notice('x');");
        reportLink(QStringLiteral("http://localhost:%1/links").arg(QUrl(here).port()),
                   "javascript:notice('x');");
        // no frame navigation is pending: nothing completes
        QVERIFY(QMetaObject::invokeMethod(host, "reportFrameLoaded"));
        QCOMPARE(announced.count(), 0);
        QCOMPARE(complete.count(), 1);
        reportLink(here, "JavaScript:fan(2);");
        QCOMPARE(announced.count(), 1);
        QCOMPARE(announced.first().first().toString(), QStringLiteral("JavaScript:fan(2);"));
    }

    void navigationFromInsideTheAnnouncementReplacesThePage() {
        bool replaced = false;
        connect(m_view.get(), &BrowserView::beforeNavigate, this, [&](const QString& url) {
            if (!replaced && url.endsWith("/a")) {
                replaced = true;
                m_view->Navigate(m_pages->Url("/c"));
            }
        });
        QSignalSpy announced(m_view.get(), &BrowserView::beforeNavigate);
        QSignalSpy complete(m_view.get(), &BrowserView::documentComplete);
        m_view->Navigate(m_pages->Url("/a"));
        QTRY_VERIFY_WITH_TIMEOUT(Title(*m_view) == "C" && m_view->PendingNavigations() == 0, 15000);
        QCOMPARE(m_view->LocationURL(), m_pages->Url("/c"));
        QCOMPARE(announced.count(), 2);
        QCOMPARE(complete.count(), 2);
    }

    void onlyWebDocumentsBecomeTheTopDocument() {
        QSignalSpy complete(m_view.get(), &BrowserView::documentComplete);
        m_view->Navigate(m_pages->Url("/a"));
        QVERIFY(complete.wait(15000));
        QSignalSpy announced(m_view.get(), &BrowserView::beforeNavigate);
        // A document given as text (a data: URL holding it) and the engine's own resources.
        kelvra::test::Engine(m_view.get())
            ->page()
            ->setHtml("<p>javascript:notice( pro_show.asp</p>");
        QVERIFY(!announced.wait(1500));
        m_view->Navigate(QStringLiteral("qrc:///qtwebchannel/qwebchannel.js"));
        QVERIFY(!announced.wait(1500));
        QCOMPARE(Title(*m_view), QStringLiteral("A"));
        QCOMPARE(m_view->LocationURL(), m_pages->Url("/a"));
        QCOMPARE(m_view->PendingNavigations(), 0);
        QCOMPARE(complete.count(), 1);
    }

    void refusedNavigationCompletesAndKeepsThePage() {
        m_view->SetNavigationPolicy([](const QString& url, bool) { return !url.endsWith("/c"); });
        QSignalSpy complete(m_view.get(), &BrowserView::documentComplete);
        m_view->Navigate(m_pages->Url("/a"));
        QVERIFY(complete.wait(15000));
        m_view->Navigate(m_pages->Url("/c"));
        QTRY_COMPARE_WITH_TIMEOUT(complete.count(), 2, 10000);
        QCOMPARE(Title(*m_view), QStringLiteral("A"));
        QCOMPARE(m_view->PendingNavigations(), 0);
    }

    void failedLoadStillCompletes() {
        QSignalSpy announced(m_view.get(), &BrowserView::beforeNavigate);
        QSignalSpy complete(m_view.get(), &BrowserView::documentComplete);
        m_view->Navigate(
            QStringLiteral("http://127.0.0.1:%1/gone").arg(kelvra::test::UnusedPort()));
        QVERIFY(complete.wait(15000));
        // The engine's error page must not count as a further document: after one more page
        // the two counts still match.
        m_view->Navigate(m_pages->Url("/a"));
        QTRY_VERIFY_WITH_TIMEOUT(Title(*m_view) == "A" && m_view->PendingNavigations() == 0, 15000);
        QCOMPARE(complete.count(), announced.count());
        QCOMPARE(complete.count(), 2);
    }
};

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    BrowserViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "browser_view_test.moc"
