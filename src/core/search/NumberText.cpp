#include "search/NumberText.h"

#include <algorithm>

namespace kelvra {
namespace {

// One decoded character: its code point and its bytes in the text. A byte that does not start
// a valid sequence is a character of its own, with no code point (kNoCodePoint).
constexpr char32_t kNoCodePoint = 0xFFFFFFFF;
struct Character {
    char32_t code;
    std::string_view bytes;
};

Character Next(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || at + length > text.size())
        return {kNoCodePoint, text.substr(at, 1)};
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return {kNoCodePoint, text.substr(at, 1)};
        code = (code << 6) | (next & 0x3F);
    }
    return {code, text.substr(at, length)};
}

bool IsLineBreakOrTab(char32_t c) {
    return c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == 0x2028 ||
           c == 0x2029;
}

// The ASCII form of a full-width or wide blank character; 0 when it has none.
char AsciiForm(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E)
        return static_cast<char>(c - 0xFF01 + 0x21);
    if (c == 0x3000 || c == 0x00A0)
        return ' ';
    return 0;
}

bool IsWhiteSpace(char32_t c) {
    return c == ' ' || IsLineBreakOrTab(c) || AsciiForm(c) == ' ';
}

} // namespace

std::string CleanNumber(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Character c = Next(text, at);
        at += c.bytes.size();
        if (IsLineBreakOrTab(c.code))
            continue;
        if (const char ascii = AsciiForm(c.code))
            folded += ascii;
        else
            folded += c.bytes;
    }
    // Line breaks and tabs are gone already; what is left at the ends is blanks.
    const std::size_t first = folded.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return folded.substr(first, folded.find_last_not_of(' ') - first + 1);
}

bool OnlyWhiteSpace(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const Character c = Next(text, at);
        at += c.bytes.size();
        if (!IsWhiteSpace(c.code))
            return false;
    }
    return true;
}

bool HasEanLength(std::string_view number) {
    const std::size_t n = number.size();
    return (n == 8 || n == 12 || n == 13) &&
           std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

EanCheck CheckEan(std::string_view number) {
    if (!HasEanLength(number))
        return EanCheck::NotACode;
    // From the digit left of the check digit leftwards, the weights are 3, 1, 3, 1, ...; the
    // check digit brings the sum up to a multiple of ten.
    int sum = 0;
    int weight = 3;
    for (std::size_t i = number.size() - 1; i-- > 0;) {
        sum += (number[i] - '0') * weight;
        weight = 4 - weight;
    }
    const int check = (10 - sum % 10) % 10;
    return number.back() - '0' == check ? EanCheck::Valid : EanCheck::WrongCheckDigit;
}

} // namespace kelvra
