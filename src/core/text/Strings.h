#pragma once

#include <string>

namespace kelvra {

// Replaces every occurrence of `searched` by `replacement`, restarting from the start after each
// replacement. An empty `searched`, or a replacement that contains `searched` (which would never
// end), returns the text unchanged.
std::string ReplaceAll(std::string text, const std::string& searched,
                       const std::string& replacement);

// Account-info code: 5 random digits + s + random digits padded to (9 - n) + n, n = length of s.
// For n from 1 to 8 the result has 15 characters. For an empty s or n >= 9 there is no room for
// the random middle part: the result is then the 5 digits + s + the decimal n (no middle part).
std::string MakeRandomCode(const std::string& s);

} // namespace kelvra
