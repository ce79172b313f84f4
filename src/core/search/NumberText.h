#pragma once

#include <string>
#include <string_view>

namespace kelvra {

// A number as people paste, type and scan it, made into the number that is searched (UTF-8):
// white space and line breaks at both ends removed, line breaks and tabs inside removed, and the
// full-width forms of ASCII (U+FF01..U+FF5E: "０"-"９", "Ａ"-"Ｚ", "ａ"-"ｚ", "－", ...), the
// ideographic blank U+3000 and the no-break blank U+00A0 folded to their ASCII forms. Blanks
// inside stay. Bytes that are not valid UTF-8 are kept as they are. Never fails.
std::string CleanNumber(std::string_view text);

// True when the text holds nothing but white space and line breaks (or nothing at all), counting
// the full-width and no-break blanks.
bool OnlyWhiteSpace(std::string_view text);

// The check of an EAN field's number: 8, 12 or 13 ASCII digits are an EAN-8, UPC-A or EAN-13
// whose last digit is checked; anything else is no such code.
enum class EanCheck { NotACode, Valid, WrongCheckDigit };
EanCheck CheckEan(std::string_view number);

// True for 8, 12 or 13 ASCII digits (an EAN-8, UPC-A or EAN-13, check digit not looked at).
bool HasEanLength(std::string_view number);

} // namespace kelvra
