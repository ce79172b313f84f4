#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kelvra {

// Reads a signed 32-bit decimal integer: an optional "+" or "-" followed by at least one digit
// and nothing else. Blanks, letters, hex prefixes, an empty text or a value out of range give
// no value.
std::optional<std::int32_t> ParseDecimalInt32(std::string_view text);

} // namespace kelvra
