#include "ui/app/KeyboardShortcuts.h"

#include <QAction>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include "ui/widgets/GroupBar.h"
#include "ui/widgets/SideChannel.h"

namespace kelvra::ui {
namespace {

// The first control of `body` that Tab would reach, nullptr when there is none.
QWidget* FirstControlIn(QWidget& window, QWidget* body) {
    QWidget* widget = &window;
    do {
        widget = widget->nextInFocusChain();
        if (body->isAncestorOf(widget) && widget->isVisibleTo(&window) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus))
            return widget;
    } while (widget != &window);
    return nullptr;
}

QString KeyText(const QAction* action) {
    return action->shortcut().toString(QKeySequence::NativeText);
}

} // namespace

KeyboardShortcuts::KeyboardShortcuts(QWidget& window, SideChannel& channel, GroupBar& groups,
                                     QLineEdit* anyNumber)
    : QObject(&window), m_window(window), m_channel(channel), m_groups(groups),
      m_anyNumber(anyNumber) {
    m_focusAnyNumber = new QAction(&window);
    m_focusAnyNumber->setObjectName(QStringLiteral("FocusAnyNumber"));
    m_focusAnyNumber->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    m_focusAnyNumber->setShortcutContext(Qt::WindowShortcut);
    connect(m_focusAnyNumber, &QAction::triggered, this, [this] {
        if (m_anyNumber == nullptr)
            return;
        m_channel.ShowContent();
        m_groups.OpenGroup(0);
        m_anyNumber->setFocus(Qt::ShortcutFocusReason);
        m_anyNumber->selectAll();
    });
    window.addAction(m_focusAnyNumber);
    const Qt::Key digits[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5};
    for (int i = 0; i < int(m_groups.Groups().size()) && i < 5; ++i) {
        auto* open = new QAction(&window);
        open->setObjectName(QStringLiteral("OpenGroup%1").arg(i + 1));
        open->setShortcut(QKeySequence(Qt::ALT | digits[i]));
        open->setShortcutContext(Qt::WindowShortcut);
        connect(open, &QAction::triggered, this, [this, i] { Open(i); });
        window.addAction(open);
        m_openGroup.append(open);
    }
    PutTexts();
    window.installEventFilter(this);
}

QAction* KeyboardShortcuts::OpenGroup(int index) const {
    return index >= 0 && index < m_openGroup.size() ? m_openGroup[index] : nullptr;
}

void KeyboardShortcuts::Open(int index) {
    m_channel.ShowContent();
    m_groups.OpenGroup(index);
    SideGroup* group = m_groups.Groups()[index];
    QWidget* first = group->Body() ? FirstControlIn(m_window, group->Body()) : nullptr;
    (first ? first : group->CaptionBar())->setFocus(Qt::ShortcutFocusReason);
}

void KeyboardShortcuts::PutTexts() {
    m_focusAnyNumber->setText(tr("Go to the any-number field"));
    for (int i = 0; i < m_openGroup.size(); ++i) {
        m_openGroup[i]->setText(tr("Open group %1").arg(i + 1));
        QString tip = tr("Opens with %1").arg(KeyText(m_openGroup[i]));
        if (i == 0)
            tip +=
                QLatin1Char('\n') + tr("%1: the any-number field").arg(KeyText(m_focusAnyNumber));
        m_groups.Groups()[i]->CaptionBar()->setToolTip(tip);
    }
}

bool KeyboardShortcuts::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && event->type() == QEvent::LanguageChange)
        PutTexts();
    return QObject::eventFilter(watched, event);
}

} // namespace kelvra::ui
