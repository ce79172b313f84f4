#pragma once

#include <string>
#include <string_view>

#include "settings/IniDocument.h"
#include "state/AppState.h"

namespace kelvra {

// "chs.ini" for Chinese, "enu.ini" otherwise.
std::string LanguageFileName(bool chinese);

// Writes every key of the language's table in table order over the file at `path` (keys already
// in the file and not written stay). The folder is not created. Throws SettingsWriteError when the
// file cannot be written; the old file is then unchanged.
void WriteLanguageFile(const std::string& path, bool chinese);

// The texts of one language file, read once. A missing file reads as empty: every text is then
// the caller's default.
class LanguageFileReader {
public:
    explicit LanguageFileReader(const std::string& path);
    // The text of a key, or `fallback` when the section or key is missing.
    std::string Text(std::string_view section, std::string_view key,
                     std::string_view fallback) const;

private:
    IniDocument m_doc;
};

// Who asks for a language file; each caller has its own rule of choice.
enum class LanguageFileUse {
    LoginShown,   // login window shown: Language of the settings file (default "English")
    LoginButton,  // login button: the current language
    UpdateWindow, // update window shown or update finished: the current language
};

// The language file a window reads. Login: "Chinese" gives chs.ini, anything else enu.ini, and
// enu.ini when the chosen file does not exist. Update window: "Chinese" gives chs.ini, anything
// else enu.ini, with no fallback. Never fails; a missing file simply yields the defaults.
std::string LanguageFileFor(const AppState& state, LanguageFileUse use);

// One text of a language file, or `fallback` when the file, section or key is missing.
std::string ReadLanguageText(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view fallback);

} // namespace kelvra
