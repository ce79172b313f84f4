#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/IniDocument.h"

namespace kelvra {

// A profile (INI) file on disk, opened for each access and released straight after. Reads never
// fail: a missing file, section or key gives the caller's default. Every write replaces the file
// atomically (see WriteFileAtomically) and keeps everything else in it.
class IniFile {
public:
    explicit IniFile(std::string path, IniBlanks blanks = IniBlanks::Kept)
        : m_path(std::move(path)), m_blanks(blanks) {}

    const std::string& Path() const { return m_path; }

    // The file as it is now; an empty document when it is missing or unreadable.
    IniDocument Load() const;

    // The value of a key, or `fallback` when the file, section or key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // The value as a signed 32-bit integer (decimal, or hex after "$" or "0x"); `fallback` when it
    // is missing, not a number or out of range.
    int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
    // Read as an integer: non-zero is true; a missing key or a value that is not a number gives
    // `fallback`.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // Writes one key, creating file and section as needed. Throws SettingsWriteError on failure.
    void WriteString(std::string_view section, std::string_view key, std::string_view value) const;
    // Writes "1" or "0". Throws SettingsWriteError on failure.
    void WriteBool(std::string_view section, std::string_view key, bool value) const;
    // Applies the keys in order and writes the file once: the same bytes as writing them one by
    // one; an empty list writes nothing. Throws SettingsWriteError on failure (then none of them
    // is written).
    void WriteStrings(const std::vector<IniEntry>& entries) const;

private:
    std::string m_path;
    IniBlanks m_blanks;
};

// Parses an integer the way the profile readers do: blanks in front allowed, then an optional
// sign and decimal digits, or "$"/"0x" and hex digits, and nothing after. False when it is not
// such a number or does not fit 32 bits.
bool ParseProfileInteger(std::string_view text, int& value);

} // namespace kelvra
