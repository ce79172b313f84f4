#include "ui/app/PageKeyActions.h"

#include <QAction>
#include <QWidget>

namespace kelvra::ui {
namespace {

struct KeyBinding {
    PageCommand command;
    const char* name;
    QList<QKeySequence> keys;
};

// One row per command. Standard sequences where they are the same
// keys on every platform. The zoom keys come in the forms a keyboard sends them: Ctrl+Shift+=
// arrives as Ctrl++ (a shortcut must not be listed in two forms of one key press: Qt would take
// it as ambiguous and do nothing), and tests send Ctrl+Shift++ as it is.
QList<KeyBinding> Bindings() {
    return {
        {PageCommand::Back, "PageBack", {QKeySequence(Qt::ALT | Qt::Key_Left)}},
        {PageCommand::Forward, "PageForward", {QKeySequence(Qt::ALT | Qt::Key_Right)}},
        {PageCommand::ZoomOut,
         "PageZoomOut",
         {QKeySequence(QKeySequence::ZoomOut), QKeySequence(Qt::CTRL | Qt::Key_Underscore),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Underscore)}},
        {PageCommand::ZoomReset, "PageZoomReset", {QKeySequence(Qt::CTRL | Qt::Key_0)}},
        {PageCommand::ZoomIn,
         "PageZoomIn",
         {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Plus)}},
        {PageCommand::Find, "PageFind", {QKeySequence(QKeySequence::Find)}},
        {PageCommand::FindNext, "PageFindNext", {QKeySequence(Qt::Key_F3)}},
        {PageCommand::FindPrevious, "PageFindPrevious", {QKeySequence(Qt::SHIFT | Qt::Key_F3)}},
        {PageCommand::Print, "PagePrint", {QKeySequence(QKeySequence::Print)}},
        {PageCommand::SavePdf, "PageSavePdf", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}},
        {PageCommand::StopOrCloseFind, "PageStopOrCloseFind", {QKeySequence(QKeySequence::Cancel)}},
    };
}

} // namespace

PageKeyActions::PageKeyActions(QWidget& window, std::function<void(PageCommand)> run)
    : QObject(&window) {
    for (const KeyBinding& binding : Bindings()) {
        auto* action = new QAction(&window);
        action->setObjectName(QLatin1String(binding.name));
        action->setShortcuts(binding.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
        connect(action, &QAction::triggered, this,
                [run, command = binding.command] { run(command); });
        window.addAction(action);
        m_actions[binding.command] = action;
    }
}

QAction* PageKeyActions::Action(PageCommand command) const {
    const auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

void PageKeyActions::SetBrowserShown(bool shown) {
    for (const auto& [command, action] : m_actions) {
        if (command != PageCommand::StopOrCloseFind)
            action->setEnabled(shown);
    }
}

void PageKeyActions::SetEscapeWanted(bool wanted) {
    Action(PageCommand::StopOrCloseFind)->setEnabled(wanted);
}

} // namespace kelvra::ui
