#include "update/VersionCompare.h"

#include <cstddef>

namespace kelvra {
namespace {

// One field split into its leading digits (leading zeros dropped) and the text after them.
struct VersionField {
    std::string_view digits;
    std::string_view rest;
};

VersionField SplitField(std::string_view field) {
    std::size_t end = 0;
    while (end < field.size() && field[end] >= '0' && field[end] <= '9') {
        ++end;
    }
    std::string_view digits = field.substr(0, end);
    while (!digits.empty() && digits.front() == '0') {
        digits.remove_prefix(1);
    }
    return {digits, field.substr(end)};
}

int Sign(int value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

int CompareFields(std::string_view a, std::string_view b) {
    const VersionField left = SplitField(a);
    const VersionField right = SplitField(b);
    // Without leading zeros a longer digit run is the larger number; equal lengths compare
    // digit by digit, so no number ever has to fit a machine integer.
    if (left.digits.size() != right.digits.size()) {
        return left.digits.size() < right.digits.size() ? -1 : 1;
    }
    if (int byDigits = left.digits.compare(right.digits); byDigits != 0) {
        return Sign(byDigits);
    }
    return Sign(left.rest.compare(right.rest));
}

// Takes the next field off the front of the text; an exhausted text yields "0" fields.
std::string_view NextField(std::string_view& text, bool& exhausted) {
    if (exhausted) {
        return "0";
    }
    const std::size_t dot = text.find('.');
    std::string_view field = text.substr(0, dot);
    if (dot == std::string_view::npos) {
        exhausted = true;
        text = {};
    } else {
        text.remove_prefix(dot + 1);
    }
    return field;
}

} // namespace

int CompareVersions(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty()) {
        return a.empty() == b.empty() ? 0 : (a.empty() ? -1 : 1);
    }
    bool aDone = false;
    bool bDone = false;
    while (!aDone || !bDone) {
        const std::string_view left = NextField(a, aDone);
        const std::string_view right = NextField(b, bDone);
        if (int result = CompareFields(left, right); result != 0) {
            return result;
        }
    }
    return 0;
}

} // namespace kelvra
