// Start-up baseline: a bare Qt window that is shown and the program ends at once. The start-up
// benchmark compares the client's start against this program's time and memory. With --stay it
// keeps running (until killed), for the memory benchmark.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.resize(944, 680);
    window.show();
    if (!app.arguments().contains(QStringLiteral("--stay")))
        QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
