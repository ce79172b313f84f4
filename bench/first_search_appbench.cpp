// The first search against the later ones: the client wired as the program wires it (this
// program, like the real one, does not link the web engine: its module is loaded at run time),
// started against the stand-in; a few seconds later four OE searches, each typed into the OE
// field and sent with Enter as key events. Each is timed from Enter to WebBrowser1's document
// complete. Prints one line: the four times in milliseconds, the number of engine helper
// processes at the end, the longest time the interface thread was held while the user waited
// before the first search (the warm-up's cost to the window's responsiveness), the four times
// from Enter to the navigation's announcement (the part spent before the engine starts the
// request), and 1 if the main window's native window was replaced during the searches, else 0.
//
// Usage: first_search_appbench warm|cold [wait ms]   (headless: source scripts/headless-env)
//   warm: the engine is warmed after the first show, as the program does; cold: it is not.
// first_search_appbench launch: a user who searches at once: as soon as the first show is done,
//   the engine warming up as in the program, a click into the OE field, one OE number and Enter.
//   Prints "<first show done> <result page complete> <result URL>", both moments in milliseconds
//   since 1970 (the caller knows when it launched the process).
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include "bench_support.h"
#include "search/SearchKinds.h"
#include "state/AppState.h"
#include "support/EventLoopWait.h"
#include "support/SimProcess.h"
#include "ui/app/Application.h"
#include "ui/app/TFormMain.h"
#include "ui/browser/BrowserProfile.h"
#include "ui/browser/BrowserView.h"

namespace {

constexpr int kWaitMs = 30000;

int Fail(const char* what) {
    std::fprintf(stderr, "first_search_appbench: %s\n", what);
    return 1;
}

// Whether the engine's libraries are in this process yet.
bool EngineMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6WebEngineCore");
}

void RunFor(int ms) {
    kelvra::test::WaitUntil([] { return false; }, ms, 2);
}

long long EpochMs() {
    return QDateTime::currentMSecsSinceEpoch();
}

// The "launch" mode: see the top of this file.
int SearchAtOnce(kelvra::ui::ClientParts& client, const kelvra::AppState& state) {
    kelvra::ui::TFormMain& formMain = client.Window();
    long long shownAt = 0;
    QObject::connect(&formMain, &kelvra::ui::TFormMain::firstShowDone, &formMain, [&] {
        shownAt = EpochMs();
        client.Main().Profile().WarmUp(QUrl(QString::fromStdString(state.pageBaseUrl)));
    });
    formMain.show();
    if (!kelvra::test::WaitUntil([&] { return shownAt > 0; }, kWaitMs, 1))
        return Fail("the window did not finish its first show");
    auto* field = formMain.findChild<QLineEdit*>(kelvra::NumberSearchOf(kelvra::kSearchOe)->field);
    kelvra::ui::BrowserView* browser = formMain.Browser(1);
    long long completedAt = 0;
    QString resultUrl;
    QObject::connect(browser, &kelvra::ui::BrowserView::documentComplete, browser,
                     [&](const QString& url) {
                         if (completedAt == 0 && browser->PendingNavigations() == 0) {
                             completedAt = EpochMs();
                             resultUrl = url;
                         }
                     });
    // In an X server the click that activates the window is the one that gives the field focus.
    formMain.activateWindow();
    kelvra::test::WaitUntil([&] { return formMain.isActiveWindow(); }, kWaitMs, 1);
    QTest::mouseClick(field, Qt::LeftButton);
    if (!kelvra::test::WaitUntil([&] { return field->hasFocus(); }, kWaitMs, 1))
        return Fail("the OE field did not take the focus");
    field->selectAll(); // whatever the field showed is replaced, as the user's typing would
    QTest::keyClicks(field, QStringLiteral("06A115561B"));
    QTest::keyClick(field, Qt::Key_Return);
    if (!kelvra::test::WaitUntil([&] { return completedAt > 0; }, kWaitMs, 1))
        return Fail("the search did not complete");
    std::printf("%lld %lld %s\n", shownAt, completedAt, qPrintable(resultUrl));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); // as the program does
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvra"));
    const bool warm = argc > 1 && std::strcmp(argv[1], "warm") == 0;
    const int waitMs = argc > 2 ? std::max(0, atoi(argv[2])) : 3000;

    kelvra::test::SimProcess sim;
    QTemporaryDir temp;
    qputenv("KELVRA_DATA_DIR", temp.filePath(QStringLiteral("data")).toUtf8());
    qputenv("KELVRA_VERSION_CHECK_MS", "3600000"); // no version check during the run
    kelvra::AppState state;
    state.serviceRoot = sim.Root();
    kelvra::ui::ClientParts client(state);
    kelvra::ui::TFormMain& formMain = client.Window();
    if (argc > 1 && std::strcmp(argv[1], "launch") == 0)
        return SearchAtOnce(client, state);

    QSignalSpy shown(&formMain, &kelvra::ui::TFormMain::firstShowDone);
    formMain.show();
    if (!shown.wait(kWaitMs))
        return Fail("the window did not finish its first show");
    if (warm) // as the program's entry does at its first show
        client.Main().Profile().WarmUp(QUrl(QString::fromStdString(state.pageBaseUrl)));
    // The user reads the window before typing. Meanwhile: the longest time this thread was
    // held (between the turns of a 5 ms timer), i.e. how long the window could not answer.
    double lastTurn = kelvra::bench::NowMs(), longestHold = 0;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const double now = kelvra::bench::NowMs();
        longestHold = std::max(longestHold, now - lastTurn);
        lastTurn = now;
    });
    turns.start(5);
    RunFor(waitMs);
    turns.stop();
    if (EngineMapped() != warm || client.Main().Profile().WarmedUp() != warm)
        return Fail(warm ? "the warm-up did not finish before the first search"
                         : "the engine was loaded before any search");

    auto* field = formMain.findChild<QLineEdit*>(kelvra::NumberSearchOf(kelvra::kSearchOe)->field);
    kelvra::ui::BrowserView* browser = formMain.Browser(1);
    const char* numbers[] = {"06A115561B", "1K0129620D", "03L115562", "059198405B"};
    std::vector<double> times, announced;
    const WId windowBefore = formMain.winId();
    for (const char* number : numbers) {
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(number));
        double completed = 0, announcement = 0;
        auto announceWatch = QObject::connect(browser, &kelvra::ui::BrowserView::beforeNavigate,
                                              browser, [&](const QString&) {
                                                  if (announcement == 0)
                                                      announcement = kelvra::bench::NowMs();
                                              });
        auto connection = QObject::connect(
            browser, &kelvra::ui::BrowserView::documentComplete, browser, [&](const QString& url) {
                if (completed == 0 && browser->PendingNavigations() == 0 &&
                    url.contains(QLatin1String(number)))
                    completed = kelvra::bench::NowMs();
            });
        const double t0 = kelvra::bench::NowMs();
        QTest::keyClick(field, Qt::Key_Return);
        const bool done = kelvra::test::WaitUntil([&] { return completed > 0; }, kWaitMs, 2);
        QObject::disconnect(connection);
        QObject::disconnect(announceWatch);
        if (!done)
            return Fail("a search did not complete");
        times.push_back(completed - t0);
        announced.push_back(announcement - t0);
        RunFor(500); // the user reads the results before the next search
    }
    for (double ms : times)
        std::printf("%.1f ", ms);
    std::printf("%d %.1f ", kelvra::bench::TreeMemory(int(getpid()), "kelvra-service").children,
                longestHold);
    for (double ms : announced)
        std::printf("%.1f ", ms);
    std::printf("%d\n", formMain.winId() != windowBefore ? 1 : 0);
    return 0;
}
