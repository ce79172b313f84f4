#include "ui/app/BrowserInputFilter.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "ui/app/WidgetTreeFilter.h"

namespace kelvra::ui {

BrowserInputFilter::BrowserInputFilter(const QList<QWidget*>& browsers, QObject* parent)
    : QObject(parent) {
    for (QWidget* browser : browsers) {
        new WidgetTreeFilter(
            *browser,
            [](QEvent* event) {
                if (!IsCandidate(event))
                    return false;
                // Accepted, so that no shortcut claims F5 and the press is not passed to a
                // parent widget.
                event->accept();
                return true;
            },
            this);
    }
}

bool BrowserInputFilter::IsCandidate(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton;
    case QEvent::ContextMenu:
        return static_cast<const QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return static_cast<const QKeyEvent*>(event)->key() == Qt::Key_F5;
    default:
        return false;
    }
}

} // namespace kelvra::ui
