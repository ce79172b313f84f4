#pragma once

#include <string>
#include <string_view>

namespace kelvra {

// The text with ASCII capitals A-Z made small; every other byte (UTF-8 or GBK sequences
// included) is kept as it is, whatever the C locale says.
inline std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

} // namespace kelvra
