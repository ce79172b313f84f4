#include "settings/IniFile.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "settings/AtomicFile.h"
#include "settings/DataPaths.h"
#include "settings/SettingsError.h"

namespace kelvra {
namespace {

// The current content before a write. A file that exists but cannot be read fails the write:
// replacing it would lose everything it holds.
IniDocument LoadForWrite(const std::string& path) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes && IsExistingFile(path)) {
        throw SettingsWriteError(path);
    }
    return IniDocument::Parse(bytes ? *bytes : std::string{});
}

} // namespace

bool ParseProfileInteger(std::string_view text, int& value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    // The magnitude alone, unsigned: from_chars then takes no sign or blank of its own.
    std::uint64_t magnitude = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, magnitude, base);
    if (error != std::errc() || stop != end) {
        return false;
    }
    const std::uint64_t limit = std::uint64_t{std::numeric_limits<int>::max()} + (negative ? 1 : 0);
    if (magnitude > limit) {
        return false;
    }
    value = static_cast<int>(negative ? -static_cast<std::int64_t>(magnitude)
                                      : static_cast<std::int64_t>(magnitude));
    return true;
}

IniDocument IniFile::Load() const {
    const auto bytes = ReadWholeFile(m_path);
    return IniDocument::Parse(bytes ? *bytes : std::string{});
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    auto value = Load().Get(section, key, m_blanks);
    return value ? *value : std::string(fallback);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
    auto text = Load().Get(section, key, m_blanks);
    int value = 0;
    if (!text || !ParseProfileInteger(*text, value)) {
        return fallback;
    }
    return value;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key,
                          std::string_view value) const {
    IniDocument doc = LoadForWrite(m_path);
    doc.Set(section, key, value, m_blanks);
    WriteFileAtomically(m_path, doc.Serialize());
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) const {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteStrings(const std::vector<IniEntry>& entries) const {
    if (entries.empty()) {
        return;
    }
    IniDocument doc = LoadForWrite(m_path);
    for (const IniEntry& entry : entries) {
        doc.Set(entry.section, entry.key, entry.value, m_blanks);
    }
    WriteFileAtomically(m_path, doc.Serialize());
}

} // namespace kelvra
