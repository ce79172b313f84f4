#pragma once

#include <functional>

#include <QObject>
#include <QPointer>

class QEvent;
class QWidget;

namespace kelvra::ui {

// An event filter on one widget and on every widget inside it, those made later included (a
// browser's engine view and the engine's input widget appear only when the engine is made). The
// handler sees each event before its target does; true swallows the event. Events of a widget
// moved out of the tree are no longer handled.
class WidgetTreeFilter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(QEvent* event)>;

    // Installs itself on root and the widgets inside it; nothing happens once root is gone.
    WidgetTreeFilter(QWidget& root, Handler handler, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch(QWidget& widget);

    QPointer<QWidget> m_root;
    Handler m_handler;
};

} // namespace kelvra::ui
