#include "ui/app/KelvraApplication.h"

#include <exception>

#include "ui/app/MessageBoxes.h"

namespace kelvra::ui {

KelvraApplication::KelvraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KelvraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowError(activeWindow(), QString::fromUtf8(e.what()));
    } catch (...) {
        ShowError(activeWindow(), QStringLiteral("Unexpected error"));
    }
    return false;
}

} // namespace kelvra::ui
