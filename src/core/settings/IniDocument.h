#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelvra {

// What happens to blanks (spaces, tabs) around a value. The language files keep them: their
// texts are significant to the blank. The settings file trims them, as the profile functions do
// for files that installers and other programs write ("Language = Chinese").
enum class IniBlanks {
    Kept,    // the value is everything after the first "=", exactly
    Trimmed, // read without blanks around it; written as "key=value" without them
};

// One key of one section, as written by a batch.
struct IniEntry {
    std::string section;
    std::string key;
    std::string value; // UTF-8
};

// A profile (INI) file held in memory as its lines, in the GB18030 code page. Section and key
// names compare without regard to ASCII case; a value is the text after the first "=" of its
// line, exactly (leading blanks kept). Lines that are not ours (comments, unknown sections and
// keys, stray text) keep their bytes and order. Either line end is read; CRLF is written.
class IniDocument {
public:
    // Splits file bytes into lines; never fails (bytes that form no character read as U+FFFD).
    static IniDocument Parse(std::string_view bytes);

    // The UTF-8 value of the first matching key in the first matching section; nullopt when the
    // section or key is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key,
                                   IniBlanks blanks = IniBlanks::Kept) const;

    // Sets a key: an existing key keeps its line and name and gets the new value; a new key is
    // appended after the last non-blank line of its section; a new section is appended at the end
    // of the file. CR and LF in the value are dropped, so a value can never add lines or keys.
    // Trimmed: the value loses its outer blanks and an existing line becomes "name=value" (the
    // name as the file spelled it, without blanks).
    void Set(std::string_view section, std::string_view key, std::string_view value,
             IniBlanks blanks = IniBlanks::Kept);

    // The file bytes, every line ended by CRLF.
    std::string Serialize() const;

private:
    struct Line {
        std::string raw;    // file bytes without the line end
        std::string key;    // folded key name; empty when the line holds no key
        size_t valueAt = 0; // offset of the value in `raw` (just after the first "=")
    };
    struct Section {
        bool hasHeader = false; // false only for the lines before the first header
        std::string header;     // raw header line
        std::vector<Line> lines;
        std::unordered_map<std::string, size_t> keys; // folded key -> first line holding it
    };

    Section& SectionFor(std::string_view section);
    static Line MakeLine(std::string raw);

    std::vector<Section> m_sections;
    std::unordered_map<std::string, size_t> m_sectionIndex; // folded name -> first section
};

} // namespace kelvra
