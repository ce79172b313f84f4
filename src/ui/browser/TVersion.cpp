#include "ui/browser/TVersion.h"

#include <QLabel>

namespace kelvra::ui {

TVersion::TVersion(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName("Version");
    setWindowTitle(QStringLiteral("Version"));
    setAccessibleName(tr("Loading"));
    setFixedSize(kWidth, kHeight);
    auto* picture = new QLabel(this);
    picture->setObjectName("fcImager1");
    picture->setGeometry(0, 0, kWidth, kHeight);
}

} // namespace kelvra::ui
