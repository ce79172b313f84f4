#pragma once

#include <QDialog>

namespace kelvra::ui {

// The update window "Update". Created hidden at start; its download and progress come with the
// updater.
class TUpdateForm : public QDialog {
    Q_OBJECT
public:
    explicit TUpdateForm(QWidget* parent = nullptr);
};

} // namespace kelvra::ui
