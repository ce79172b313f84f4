#include "ui/app/MessageBoxes.h"
#include "ui/app/Automation.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace kelvra::ui {
namespace {

void LogForAutomation(const QString& path, const QString& caption, const QString& text) {
    if (path.isEmpty())
        return;
    QFile log(path);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    log.write((caption + QLatin1Char('\t') + text + QLatin1Char('\n')).toUtf8());
    log.flush();
}

// Runs the box modally; under automation, presses its default button after a short delay (or
// the No button of a question that automation may not answer Yes).
int RunBox(QMessageBox& box, bool mayAccept = true) {
    const Automation automation = Automation::FromEnvironment();
    LogForAutomation(automation.messageLog, box.windowTitle(), box.text());
    if (automation.acceptMessages) {
        QTimer::singleShot(300, &box, [&box, mayAccept] {
            QAbstractButton* button = mayAccept ? box.defaultButton() : box.button(QMessageBox::No);
            if (button != nullptr)
                button->click();
            else
                box.accept();
        });
    }
    return box.exec();
}

} // namespace

void ShowInformation(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::Ok);
    RunBox(box);
}

bool AskYesNo(QWidget* parent, const QString& caption, const QString& text, Question question) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::Yes);
    const bool mayAccept =
        question == Question::Ordinary || Automation::FromEnvironment().acceptUpdate;
    return RunBox(box, mayAccept) == QMessageBox::Yes;
}

void ShowError(QWidget* parent, const QString& text) {
    ShowInformation(parent, QApplication::applicationName(), text);
}

} // namespace kelvra::ui
