#pragma once

#include <exception>
#include <string>

#include "settings/LanguageView.h"
#include "state/AppState.h"

namespace kelvra {

// Start-up steps of the main window's creation that touch the data folder files: the English
// language file when missing, the settings file (created with its four keys, or its Version key
// rewritten and the language read from it), hidden attributes. Throws SettingsWriteError when a
// file cannot be written (the remaining steps are then skipped).
void PrepareSettingsFiles(AppState& state);

// Makes a language current: settings written, language file written when needed, texts read back
// onto the view and into the held texts, caption rule, lists refilled, base URLs set, home page
// shown, language item image set. "Chinese" applies Chinese, anything else English. A file that
// cannot be written is skipped (texts then come from the file as it is, or the built-in ones)
// and everything else still runs; then the first such SettingsWriteError is thrown.
void ApplyLanguage(AppState& state, LanguageView& view, const std::string& language);

// Whether an error is to be reported: always, except a write failure of a file whose failure
// was already reported in this run (a read-only file is named once, not at every write).
bool FirstReportOf(AppState& state, const std::exception& error);

} // namespace kelvra
