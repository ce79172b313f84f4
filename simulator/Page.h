#pragma once

#include "Query.h"

#include <string>

namespace kelvra::sim {

enum class Lang { Chinese, English };

// The language of a page: the "lan" value when given ("Chinese" is Chinese, any other value
// English), else the page base of the path ("/kelvra_cd/cn/" Chinese, everything else English).
Lang PageLanguage(const std::string& path, const Query& query);

// Picks the text of the language.
inline const char* Pick(Lang lang, const char* chinese, const char* english) {
    return lang == Lang::Chinese ? chinese : english;
}

// A whole HTML page in the service's look: one style sheet, the Kelvra header, the body given
// (already escaped HTML) and an optional script block.
std::string RenderPage(Lang lang, const std::string& title, const std::string& body,
                       const std::string& script = "");

// Escapes text for HTML.
std::string Html(const std::string& text);

} // namespace kelvra::sim
