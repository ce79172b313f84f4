#include "settings/LanguageFile.h"

#include <vector>

#include "settings/DataPaths.h"
#include "settings/IniFile.h"
#include "settings/LanguageTables.h"
#include "settings/SettingsFile.h"

namespace kelvra {

std::string LanguageFileName(bool chinese) {
    return chinese ? kChineseLanguageFile : kEnglishLanguageFile;
}

void WriteLanguageFile(const std::string& path, bool chinese) {
    std::vector<IniEntry> entries;
    entries.reserve(LanguageTable().size());
    for (const LanguageText& text : LanguageTable()) {
        const char* value = chinese ? text.chinese : text.english;
        if (value != nullptr) {
            entries.push_back({text.section, text.key, value});
        }
    }
    IniFile(path).WriteStrings(entries);
}

LanguageFileReader::LanguageFileReader(const std::string& path) : m_doc(IniFile(path).Load()) {}

std::string LanguageFileReader::Text(std::string_view section, std::string_view key,
                                     std::string_view fallback) const {
    auto value = m_doc.Get(section, key);
    return value ? *value : std::string(fallback);
}

std::string LanguageFileFor(const AppState& state, LanguageFileUse use) {
    const std::string english = LanguageFilePath(state.dataFolder, kEnglishLanguageFile);
    switch (use) {
    case LanguageFileUse::UpdateWindow:
        return LanguageFilePath(state.dataFolder, LanguageFileName(state.IsChinese()));
    case LanguageFileUse::LoginShown:
    case LanguageFileUse::LoginButton: {
        const std::string language = use == LanguageFileUse::LoginShown
                                         ? SettingsFile(state.dataFolder).ReadLanguage()
                                         : state.language;
        const std::string chosen =
            LanguageFilePath(state.dataFolder, LanguageFileName(language == "Chinese"));
        return IsExistingFile(chosen) ? chosen : english;
    }
    }
    return english;
}

std::string ReadLanguageText(const std::string& path, std::string_view section,
                             std::string_view key, std::string_view fallback) {
    return IniFile(path).ReadString(section, key, fallback);
}

} // namespace kelvra
