#pragma once

#include <string>

#include "app/AppState.h"
#include "settings/LanguageView.h"

namespace kelvra {

// Start-up steps of the main window's creation that touch the data folder files: the English
// language file when missing, the settings file (created with its four keys, or its Version key
// rewritten and the language read from it), hidden attributes. Throws SettingsWriteError when a
// file cannot be written (the remaining steps are then skipped).
void PrepareSettingsFiles(AppState& state);

// Makes a language current: settings written, language file written when needed, texts read back
// onto the view and into the held texts, caption rule, lists refilled, base URLs set, home page
// shown, language item image set. "Chinese" applies Chinese, anything else English. Throws
// SettingsWriteError when a file cannot be written (the steps after it do not run).
void ApplyLanguage(AppState& state, LanguageView& view, const std::string& language);

// Window caption by the caption rule: base caption + four blanks + welcome text + "," + user
// name while someone is logged in, else base caption + four blanks + not-logged-in text.
std::string CaptionFor(const AppState& state);

} // namespace kelvra
