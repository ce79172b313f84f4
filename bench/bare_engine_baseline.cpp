// Launch-to-result baseline: a bare Qt window holding a bare QWebEngineView that loads one page
// (the URL given) as soon as the window is shown. Prints "<shown> <page loaded>", both moments in
// milliseconds since 1970, and ends. Nothing of the client: the engine with its defaults.
#include <QApplication>
#include <QDateTime>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); // wanted by the web engine
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bare_engine_baseline <url>\n");
        return 2;
    }
    const QUrl url(QString::fromLocal8Bit(argv[1]));
    QWidget window;
    window.resize(944, 680);
    auto* view = new QWebEngineView(&window);
    (new QVBoxLayout(&window))->addWidget(view);
    long long shownAt = 0;
    QObject::connect(view, &QWebEngineView::loadFinished, &app, [&shownAt](bool ok) {
        std::printf("%lld %lld\n", shownAt,
                    static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
        std::fflush(stdout);
        QApplication::exit(ok ? 0 : 1);
    });
    window.show();
    QTimer::singleShot(0, &app, [&shownAt, view, url] {
        shownAt = QDateTime::currentMSecsSinceEpoch();
        view->load(url);
    });
    return app.exec();
}
