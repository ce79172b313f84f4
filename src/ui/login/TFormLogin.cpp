#include "ui/login/TFormLogin.h"

namespace kelvra::ui {

TFormLogin::TFormLogin(QWidget* parent) : QDialog(parent) {
    setObjectName("FormLogin");
    setWindowTitle(QStringLiteral("KELVRA LOGIN"));
}

} // namespace kelvra::ui
