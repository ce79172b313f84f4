#pragma once

#include <QString>

class QWidget;

namespace kelvra::ui {

// The one way the client shows a message box. Automated runs can log and answer the boxes (see
// Automation.h).

// What a question decides: an update question's Yes starts or completes an update of the program.
enum class Question { Ordinary, Update };

// Modal information box with one OK button; returns when it is acknowledged. A log file that
// cannot be written is skipped silently.
void ShowInformation(QWidget* parent, const QString& caption, const QString& text);

// Modal question with Yes and No; true for Yes. Automatic acceptance answers Yes, an update
// question only when the automation asks for updates too (No otherwise).
bool AskYesNo(QWidget* parent, const QString& caption, const QString& text,
              Question question = Question::Ordinary);

// The general error report for an exception that escaped a handler: an information box with
// the application title as caption and the error text.
void ShowError(QWidget* parent, const QString& text);

} // namespace kelvra::ui
