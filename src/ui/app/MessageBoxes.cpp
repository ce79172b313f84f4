#include "ui/app/MessageBoxes.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace kelvra::ui {
namespace {

void LogForAutomation(const QString& caption, const QString& text) {
    const QString path = qEnvironmentVariable("KELVRA_AUTOMATION_LOG");
    if (path.isEmpty())
        return;
    QFile log(path);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    log.write((caption + QLatin1Char('\t') + text + QLatin1Char('\n')).toUtf8());
    log.flush();
}

// Runs the box modally; under automation, presses its default button after a short delay.
int RunBox(QMessageBox& box) {
    LogForAutomation(box.windowTitle(), box.text());
    if (qEnvironmentVariable("KELVRA_AUTOMATION_ACCEPT") == QLatin1String("1")) {
        QTimer::singleShot(300, &box, [&box] {
            if (QAbstractButton* button = box.defaultButton())
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

bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::Yes);
    return RunBox(box) == QMessageBox::Yes;
}

void ShowError(QWidget* parent, const QString& text) {
    ShowInformation(parent, QApplication::applicationName(), text);
}

} // namespace kelvra::ui
