#include "ui/app/BrowserInputFilter.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace kelvra::ui {

BrowserInputFilter::BrowserInputFilter(const QList<QWidget*>& browsers, QObject* parent)
    : QObject(parent) {
    for (QWidget* browser : browsers)
        m_browsers.append(browser);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

BrowserInputFilter::~BrowserInputFilter() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
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

bool BrowserInputFilter::InsideBrowser(const QObject* target) const {
    if (!target || !target->isWidgetType())
        return false;
    const auto* widget = static_cast<const QWidget*>(target);
    for (const QPointer<QWidget>& browser : m_browsers) {
        if (browser && browser->isAncestorOf(widget))
            return true;
    }
    return false;
}

bool BrowserInputFilter::eventFilter(QObject* watched, QEvent* event) {
    if (!IsCandidate(event) || !InsideBrowser(watched))
        return false;
    // Accepted, so that no shortcut claims F5 and the press is not passed to a parent widget.
    event->accept();
    return true;
}

} // namespace kelvra::ui
