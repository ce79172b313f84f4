#include "ui/widgets/EnterPressesButton.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

namespace kelvra::ui {
namespace {

class EnterPressesButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            modifiers != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void MakeEnterPressButtons(QWidget* root) {
    auto* filter = new EnterPressesButton(root);
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (button->focusPolicy() != Qt::NoFocus)
            button->installEventFilter(filter);
    }
}

} // namespace kelvra::ui
