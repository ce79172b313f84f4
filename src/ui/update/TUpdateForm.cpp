#include "ui/update/TUpdateForm.h"

namespace kelvra::ui {

TUpdateForm::TUpdateForm(QWidget* parent) : QDialog(parent) {
    setObjectName("UpdateForm");
    setWindowTitle(QStringLiteral("Update"));
}

} // namespace kelvra::ui
