#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvra {

// One key of a language file with the text each language writes; nullptr: that language does not
// write the key (it is still read, with its built-in default).
struct LanguageText {
    const char* section;
    const char* key;
    const char* english;
    const char* chinese;
};

// The language file names in the language folder.
inline constexpr const char* kEnglishLanguageFile = "enu.ini";
inline constexpr const char* kChineseLanguageFile = "chs.ini";

// The "Function" keys of the items of the side panel's last group ("Other"), in their order.
inline constexpr const char* kOtherItemKeys[] = {
    "G5_about",    "G5_understand",      "G5_apply",      "G5_info",
    "G5_location", "G5_Switch_Accounts", "G5_buy_online", "G5_change_language"};

// Every key of the language files, sections Login, Function, Status, Update and Title in this
// order, each section's keys in the order they are written. Texts are UTF-8.
const std::vector<LanguageText>& LanguageTable();

// The built-in text of a key, used when the file lacks it: the text the language writes, or the
// differing default where one is defined. Empty for a key that is not in the table.
std::string BuiltInText(std::string_view section, std::string_view key, bool chinese);

} // namespace kelvra
