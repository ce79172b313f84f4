#include "service/DecimalInt.h"

#include <charconv>

namespace kelvra {

std::optional<std::int32_t> ParseDecimalInt32(std::string_view text) {
    // from_chars reads a "-" but no "+": a "+" is taken off first, and must not lead to a "-".
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') {
            return std::nullopt;
        }
    }
    std::int32_t value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace kelvra
