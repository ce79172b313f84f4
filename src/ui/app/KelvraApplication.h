#pragma once

#include <QApplication>

namespace kelvra::ui {

// The application object with the general error handler: a std::exception that escapes an
// event handler is shown in a message box (its what()) and the program goes on.
class KelvraApplication : public QApplication {
    Q_OBJECT
public:
    KelvraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace kelvra::ui
