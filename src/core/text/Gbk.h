#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvra {

// Converts UTF-8 text to the GB18030 code page (a superset of GBK: Chinese texts become their
// exact GBK bytes, and every other character still has an encoding). Invalid UTF-8 sequences
// are replaced by "?" rather than failing.
std::string Utf8ToGbk(std::string_view utf8);

// Converts GB18030/GBK bytes to UTF-8. Bytes that form no character are replaced by U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

// True when the text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

} // namespace kelvra
