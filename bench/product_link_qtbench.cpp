// A followed product link in the real client, against the same work done directly, side by side
// in one run. The client: WebBrowser1 navigates to a product link of a result page; its
// before-navigate watch makes the read-only login check and the count report, then the product
// page loads. The direct way: the same two requests (captured from the client's first run) by
// curl, then a bare web view loads the same product page. Both views stay warm (their result
// page loaded first, untimed); runs are interleaved and the medians compared.
//
// Usage: product_link_qtbench [runs]   (headless: source scripts/headless-env first)
#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <cstdio>
#include <memory>

#include "bench_support.h"
#include "client_harness.h"
#include "service/HttpTransport.h"
#include "ui_support.h"

using kelvra::bench::Median;
using kelvra::bench::NowMs;

namespace {

constexpr int kWaitMs = 20000;

// Waits until the page has finished loading a document whose address holds `part`.
bool WaitPage(QWebEnginePage* page, const QString& part, const std::function<bool()>& settled) {
    const double deadline = NowMs() + kWaitMs;
    QSignalSpy finished(page, &QWebEnginePage::loadFinished);
    while (NowMs() < deadline) {
        if (page->url().toString().contains(part) && !page->isLoading() && settled())
            return true;
        finished.wait(50);
    }
    return false;
}

std::string Find(const std::vector<std::string>& targets, const std::string& part) {
    for (const std::string& target : targets) {
        if (target.find(part) != std::string::npos)
            return target;
    }
    return {};
}

int Fail(const char* what) {
    std::fprintf(stderr, "product_link_qtbench: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvra"));
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;

    kelvra::test::SimProcess sim;
    QTemporaryDir temp;
    kelvra::test::UseHeadlessMessageBoxes(temp.filePath(QStringLiteral("boxes.log")));
    kelvra::test::Client client(sim, temp.filePath(QStringLiteral("data")));
    if (!client.Start() ||
        !client.LogInFromSideMenu(QStringLiteral("demo"), QStringLiteral("demo123")))
        return Fail("the client did not start or log in");
    client.SearchAnyNumber(QStringLiteral("W712"));
    if (!client.WaitLoaded(1, QStringLiteral("so_list.asp")))
        return Fail("no result page");
    kelvra::ui::BrowserView* browser = client.Browser(1);
    const QString results = browser->LocationURL();
    const QString product =
        client.Script(1, QStringLiteral("document.querySelector(\"a[href*='pro_show.asp']\").href"))
            .toString();
    if (product.isEmpty())
        return Fail("no product link on the result page");
    auto clientSettled = [browser] { return browser->PendingNavigations() == 0; };

    // One followed link to learn the exact requests the client makes.
    sim.ClearRequests();
    browser->Navigate(product);
    if (!WaitPage(kelvra::test::Engine(browser)->page(), QStringLiteral("pro_show.asp"),
                  clientSettled))
        return Fail("the product page did not load in the client");
    const std::vector<std::string> made = sim.Requests();
    const std::string check = Find(made, "get_login_status.asp");
    const std::string count = Find(made, "set_search_num.asp");
    if (check.find("read_only=1") == std::string::npos || count.empty())
        return Fail("the client did not make the read-only check and the count report");

    QWebEngineProfile bareProfile; // off the record, like the client's
    QWebEngineView bare;
    auto* barePage = new QWebEnginePage(&bareProfile, &bare);
    bare.setPage(barePage);
    bare.resize(759, 600);
    bare.show();
    auto none = [] { return true; };
    barePage->load(QUrl(results));
    if (!WaitPage(barePage, QStringLiteral("so_list.asp"), none))
        return Fail("the bare view did not load the result page");
    auto transport = kelvra::MakeCurlTransport();

    std::vector<double> clientMs, directMs;
    for (int run = 0; run < runs; ++run) {
        // Keep the account far from its daily limit, on the service and in the client.
        sim.Control("/__sim/account?username=demo&search_num=0");
        client.state.session.search_num = 0;
        browser->Navigate(results);
        barePage->load(QUrl(results));
        if (!client.WaitLoaded(1, QStringLiteral("so_list.asp")) ||
            !WaitPage(barePage, QStringLiteral("so_list.asp"), none))
            return Fail("a result page did not load again");

        auto timeClient = [&] {
            sim.ClearRequests();
            const double t0 = NowMs();
            browser->Navigate(product);
            if (!WaitPage(kelvra::test::Engine(browser)->page(), QStringLiteral("pro_show.asp"),
                          clientSettled))
                return false;
            clientMs.push_back(NowMs() - t0);
            const std::vector<std::string> made = sim.Requests();
            return !Find(made, "read_only=1").empty() && !Find(made, "set_search_num.asp").empty();
        };
        auto timeDirect = [&] {
            const double t0 = NowMs();
            if (!transport->Get(sim.Root() + check).ok() ||
                !transport->Get(sim.Root() + count).ok())
                return false;
            barePage->load(QUrl(product));
            if (!WaitPage(barePage, QStringLiteral("pro_show.asp"), none))
                return false;
            directMs.push_back(NowMs() - t0);
            return true;
        };
        const bool ok = run % 2 == 0 ? timeClient() && timeDirect() : timeDirect() && timeClient();
        if (!ok)
            return Fail("a timed product link failed (page, requests or count)");
    }
    const double c = Median(clientMs), d = Median(directMs);
    std::printf("runs: %d (interleaved), median wall time\n", runs);
    std::printf("client product link (check + count + page): %.1f ms\n", c);
    std::printf("direct (2 curl requests + bare view page load): %.1f ms\n", d);
    std::printf("ratio client / direct: %.2f\n", c / d);
    return 0;
}
