// Start-up baseline: a bare Qt window that is shown, prints "shown <milliseconds since 1970>" and
// ends at once. The start-up benchmark compares the client's start against this program's time and
// memory. With --stay it keeps running (until killed), for the memory benchmark.
#include <QApplication>
#include <QDateTime>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.resize(944, 680);
    window.show();
    if (!app.arguments().contains(QStringLiteral("--stay"))) {
        // Like the client's timing seam: the moment the window is shown, then the end.
        QTimer::singleShot(0, &app, [] {
            std::printf("shown %lld\n",
                        static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
            std::fflush(stdout);
            QApplication::quit();
        });
    }
    return app.exec();
}
