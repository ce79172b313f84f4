// Start-up baseline: a bare Qt window that is shown and the program ends at once. The start-up
// benchmark compares the client's start against this program's time and memory.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.resize(944, 680);
    window.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
