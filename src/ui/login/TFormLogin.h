#pragma once

#include <QDialog>

namespace kelvra::ui {

// The login window "KELVRA LOGIN". Created hidden at start; its controls and behaviour come
// with the account dialog.
class TFormLogin : public QDialog {
    Q_OBJECT
public:
    explicit TFormLogin(QWidget* parent = nullptr);
};

} // namespace kelvra::ui
