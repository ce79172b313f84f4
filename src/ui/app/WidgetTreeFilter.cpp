#include "ui/app/WidgetTreeFilter.h"

#include <QChildEvent>
#include <QWidget>

namespace kelvra::ui {

WidgetTreeFilter::WidgetTreeFilter(QWidget& root, Handler handler, QObject* parent)
    : QObject(parent), m_root(&root), m_handler(std::move(handler)) {
    Watch(root);
}

void WidgetTreeFilter::Watch(QWidget& widget) {
    widget.installEventFilter(this); // once: installing again moves it to the front
    for (QWidget* child : widget.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        Watch(*child);
}

bool WidgetTreeFilter::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType() || !m_root)
        return false;
    auto& target = *static_cast<QWidget*>(watched);
    if (&target != m_root && !m_root->isAncestorOf(&target))
        return false;
    // A widget still in its constructor has no children yet: those it makes are added later,
    // each with an event of its own.
    if (event->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType())
            Watch(*static_cast<QWidget*>(child));
    }
    return m_handler(event);
}

} // namespace kelvra::ui
