#pragma once

#include <QString>

class QWidget;

namespace kelvra::ui {

// The one way the client shows a message box. For automated runs, two environment variables:
//   KELVRA_AUTOMATION_LOG=path   every box appends "caption<TAB>text\n" to the file (flushed)
//                                before it is shown;
//   KELVRA_AUTOMATION_ACCEPT=1   every box is accepted (OK / Yes) about 300 ms after it shows.

// Modal information box with one OK button; returns when it is acknowledged. A log file that
// cannot be written is skipped silently.
void ShowInformation(QWidget* parent, const QString& caption, const QString& text);

// Modal question with Yes and No; true for Yes. Automatic acceptance answers Yes.
bool AskYesNo(QWidget* parent, const QString& caption, const QString& text);

// The general error report for an exception that escaped a handler: an information box with
// the application title as caption and the error text.
void ShowError(QWidget* parent, const QString& text);

} // namespace kelvra::ui
