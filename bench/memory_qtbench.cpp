// Resident memory of the client (its process and every descendant, i.e. the web engine's
// helper processes) at four moments: after start with the engine warmed up but no page shown,
// after its first result page, after ten result pages, and with a page in each of the four
// browsers, and once more with a frame of another site in one of them; the difference is what the
// embedded engine costs. The engine isolates sites in page processes of their own; adding
// "--disable-site-isolation-trials" to QTWEBENGINE_CHROMIUM_FLAGS measures it without.
//
// Usage: memory_qtbench   (headless: source scripts/headless-env first)
#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstdio>

#include "bench_support.h"
#include "client_harness.h"
#include "ui/browser/BrowserProfile.h"
#include "ui_support.h"

namespace {

void Print(const char* moment, const kelvra::bench::ProcessMemory& memory) {
    std::printf("%-34s total %7.1f MiB  (client %6.1f MiB, %d helper processes %6.1f MiB)\n",
                moment, memory.TotalKiB() / 1024.0, memory.ownKiB / 1024.0, memory.children,
                memory.childrenKiB / 1024.0);
    std::printf("    proportional (shared pages counted once): %.1f MiB\n", memory.pssKiB / 1024.0);
    if (!memory.kinds.isEmpty())
        std::printf("    helpers (MiB): %s\n", qPrintable(memory.kinds.join(QStringLiteral(", "))));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvra"));
    kelvra::test::SimProcess sim;
    QTemporaryDir temp;
    kelvra::test::UseHeadlessMessageBoxes(temp.filePath(QStringLiteral("boxes.log")));
    // The stand-in is a child of this process too: leave it out of the sums.
    const auto withoutSim = [] {
        return kelvra::bench::TreeMemory(int(getpid()), "kelvra-service");
    };

    kelvra::test::Client client(sim, temp.filePath(QStringLiteral("data")));
    if (!client.Start()) {
        std::fprintf(stderr, "memory_qtbench: the client did not start\n");
        return 1;
    }
    QSignalSpy warmed(&client.parts.Main().Profile(), &kelvra::ui::BrowserProfile::warmedUp);
    if (!warmed.wait(30000)) {
        std::fprintf(stderr, "memory_qtbench: the engine did not warm up\n");
        return 1;
    }
    QTest::qWait(200); // let the warm page's process settle
    Print("after start, engine warm, no page:", withoutSim());

    const char* numbers[] = {"W712",    "OC90", "C2029", "HU719",      "LX1006",
                             "W712/75", "1234", "AB12",  "0451103316", "W920"};
    // Each search is waited for until its own page is complete (the address holds its number):
    // the result page of the search before has the same address otherwise, and a search typed
    // while the one before still loads waits in the client's queue.
    const auto searchAndWait = [&client](const QString& number) {
        kelvra::ui::BrowserView* browser = client.Browser(1);
        const QString inUrl = QLatin1Char('=') +
                              QString::fromLatin1(QUrl::toPercentEncoding(number)) +
                              QLatin1Char('&');
        bool completed = false;
        const auto watch = QObject::connect(
            browser, &kelvra::ui::BrowserView::documentComplete, browser, [&](const QString& url) {
                completed =
                    completed || (browser->PendingNavigations() == 0 && url.contains(inUrl));
            });
        client.SearchAnyNumber(number);
        const bool done =
            kelvra::test::WaitUntil([&] { return completed; }, kelvra::test::kPageWaitMs);
        QObject::disconnect(watch);
        return done && client.WaitLoaded(1, inUrl);
    };
    int shown = 0;
    for (const char* number : numbers) {
        if (!searchAndWait(QString::fromLatin1(number))) {
            std::fprintf(stderr, "memory_qtbench: result page %d did not load\n", shown + 1);
            return 1;
        }
        if (++shown == 1)
            Print("after the first result page:", withoutSim());
    }
    Print("after ten result pages:", withoutSim());

    // The other three browsers in use as well (the side menu's pages): with one engine process
    // per site, every browser showing the service shares the result page's renderer.
    const QString root = QString::fromStdString(sim.Root());
    for (int browser = 2; browser <= 4; ++browser) {
        client.Browser(browser)->Navigate(root +
                                          QStringLiteral("/kelvra_cd/en/search/so_list.asp"
                                                         "?chaxuntiaojian=renyi&renyi=W71") +
                                          QString::number(browser));
        if (!client.WaitLoaded(browser, QStringLiteral("so_list.asp"))) {
            std::fprintf(stderr, "memory_qtbench: browser %d did not load its page\n", browser);
            return 1;
        }
    }
    Print("with a page in all four browsers:", withoutSim());

    // A supplier's page holding a frame of another site (the stand-in's second origin): with
    // sites isolated, that frame gets a page process of its own.
    client.Browser(3)->Navigate(root + QStringLiteral("/kelvra_cd/en/test/hostile_supplier.asp"));
    if (!client.WaitLoaded(3, QStringLiteral("hostile_supplier.asp"))) {
        std::fprintf(stderr, "memory_qtbench: the supplier page did not load\n");
        return 1;
    }
    QTest::qWait(1000); // the frame of the other site loads after its page
    Print("and another site's frame in browser 3:", withoutSim());
    return 0;
}
