#include "ui/widgets/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "app/MainPresenter.h"

namespace kelvra::ui {

void CentreOnScreen(QWidget& window) {
    const QScreen* display = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!display)
        return;
    const QRect area = display->geometry();
    const QSize outer = window.frameGeometry().size();
    window.move(area.x() + CentredOffset(area.width(), outer.width()),
                area.y() + CentredOffset(area.height(), outer.height()));
}

} // namespace kelvra::ui
