#include "Query.h"

#include "Encoding.h"

#include <charconv>

namespace kelvra::sim {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
        if (x != y) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string_view TargetPath(std::string_view target) {
    return target.substr(0, target.find('?'));
}

std::optional<int> ParseInt32(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

Query Query::FromTarget(std::string_view target, bool gb18030) {
    Query query;
    size_t mark = target.find('?');
    if (mark == std::string_view::npos) {
        return query;
    }
    std::string_view rest = target.substr(mark + 1);
    while (!rest.empty()) {
        size_t amp = rest.find('&');
        std::string_view pair = rest.substr(0, amp);
        rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
        if (pair.empty()) {
            continue;
        }
        size_t eq = pair.find('=');
        std::string key = PercentDecode(pair.substr(0, eq));
        std::string value =
            eq == std::string_view::npos ? std::string() : PercentDecode(pair.substr(eq + 1));
        if (gb18030) {
            key = Gb18030ToUtf8(key);
            value = Gb18030ToUtf8(value);
        }
        query.m_items.emplace_back(std::move(key), std::move(value));
    }
    return query;
}

std::optional<std::string> Query::Find(std::string_view key) const {
    for (const auto& [k, v] : m_items) {
        if (EqualsNoCase(k, key)) {
            return v;
        }
    }
    return std::nullopt;
}

std::string Query::Get(std::string_view key, std::string_view fallback) const {
    auto value = Find(key);
    return value ? *value : std::string(fallback);
}

std::optional<int> Query::Int(std::string_view key) const {
    auto value = Find(key);
    return value ? ParseInt32(*value) : std::nullopt;
}

} // namespace kelvra::sim
