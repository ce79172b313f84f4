#pragma once

#include <string_view>

namespace kelvra {

// Compares two dotted version texts field by field: the leading digits of each field compare as
// a number of any length (leading zeros ignored), the rest of the field after them compares by
// its bytes; a missing field counts as "0". An empty text is lower than any non-empty one.
// Returns a negative value, 0 or a positive value as `a` is lower, equal or higher. Never fails.
int CompareVersions(std::string_view a, std::string_view b);

} // namespace kelvra
