#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvra::sim {

// The query of a raw request target, split at "&" and "=" and percent-decoded ("+" is kept as
// a plus sign: the client encodes a blank as "%20"). Keys compare case-insensitively, as the
// service's pages always did; with a repeated key the first one counts.
class Query {
public:
    // Parses the part of target after the first "?"; values are decoded from GB18030 to UTF-8
    // when gb18030 is set, else kept as the decoded bytes. Never fails.
    static Query FromTarget(std::string_view target, bool gb18030);

    // The value of key, or nullopt when the key is absent.
    std::optional<std::string> Find(std::string_view key) const;
    // The value of key, or fallback when absent.
    std::string Get(std::string_view key, std::string_view fallback = "") const;
    // The value of key as a 32-bit integer; nullopt when absent or not a plain decimal integer.
    std::optional<int> Int(std::string_view key) const;
    bool Has(std::string_view key) const { return Find(key).has_value(); }
    const std::vector<std::pair<std::string, std::string>>& Items() const { return m_items; }

private:
    std::vector<std::pair<std::string, std::string>> m_items;
};

// The path part of a raw request target (before "?"), undecoded.
std::string_view TargetPath(std::string_view target);

// Parses a plain decimal 32-bit integer (optional leading "-"); nullopt for anything else.
std::optional<int> ParseInt32(std::string_view text);

} // namespace kelvra::sim
