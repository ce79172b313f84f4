#include "settings/IniDocument.h"

#include "text/Ascii.h"
#include "text/Gbk.h"

namespace kelvra {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The section name of a header line "[name]" (blanks around the brackets and the name allowed),
// or nullopt when the line is no header. Works on UTF-8: in GBK bytes "]" can be a trail byte.
std::optional<std::string> HeaderName(std::string_view utf8) {
    std::string_view text = Trim(utf8);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    const size_t close = text.rfind(']');
    if (close == std::string_view::npos || close == 0) {
        return std::nullopt;
    }
    return AsciiLower(Trim(text.substr(1, close - 1)));
}

bool IsBlankLine(std::string_view raw) {
    return Trim(raw).empty();
}

std::string WithoutLineBreaks(std::string_view value) {
    std::string clean;
    clean.reserve(value.size());
    for (char c : value) {
        if (c != '\r' && c != '\n') {
            clean += c;
        }
    }
    return clean;
}

} // namespace

IniDocument::Line IniDocument::MakeLine(std::string raw) {
    Line line;
    line.raw = std::move(raw);
    // "=" and ";" are single bytes in GB18030 and never part of a multi-byte character.
    const size_t equals = line.raw.find('=');
    std::string_view before = Trim(std::string_view(line.raw).substr(0, equals));
    if (equals != std::string::npos && !before.empty() && before.front() != ';') {
        // Folded as UTF-8, whose multi-byte characters hold no ASCII bytes (GBK trail bytes can).
        line.key = AsciiLower(GbkToUtf8(before));
        line.valueAt = equals + 1;
    }
    return line;
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    doc.m_sections.emplace_back(); // lines before the first header
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const bool last = end == std::string_view::npos;
        std::string_view raw = bytes.substr(start, last ? std::string_view::npos : end - start);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        start = last ? bytes.size() : end + 1;

        if (auto name = HeaderName(GbkToUtf8(raw))) {
            Section section;
            section.hasHeader = true;
            section.header = std::string(raw);
            doc.m_sectionIndex.emplace(*name, doc.m_sections.size());
            doc.m_sections.push_back(std::move(section));
            continue;
        }
        Section& current = doc.m_sections.back();
        Line line = MakeLine(std::string(raw));
        if (!line.key.empty()) {
            current.keys.emplace(line.key, current.lines.size());
        }
        current.lines.push_back(std::move(line));
    }
    return doc;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key,
                                            IniBlanks blanks) const {
    auto s = m_sectionIndex.find(AsciiLower(section));
    if (s == m_sectionIndex.end()) {
        return std::nullopt;
    }
    const Section& sec = m_sections[s->second];
    auto k = sec.keys.find(AsciiLower(key));
    if (k == sec.keys.end()) {
        return std::nullopt;
    }
    const Line& line = sec.lines[k->second];
    std::string_view value = std::string_view(line.raw).substr(line.valueAt);
    return GbkToUtf8(blanks == IniBlanks::Trimmed ? Trim(value) : value);
}

IniDocument::Section& IniDocument::SectionFor(std::string_view section) {
    const std::string folded = AsciiLower(section);
    auto s = m_sectionIndex.find(folded);
    if (s != m_sectionIndex.end()) {
        return m_sections[s->second];
    }
    Section added;
    added.hasHeader = true;
    added.header = "[" + Utf8ToGbk(section) + "]";
    m_sectionIndex.emplace(folded, m_sections.size());
    m_sections.push_back(std::move(added));
    return m_sections.back();
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value,
                      IniBlanks blanks) {
    const std::string clean = WithoutLineBreaks(value);
    const std::string encoded =
        Utf8ToGbk(blanks == IniBlanks::Trimmed ? Trim(clean) : std::string_view(clean));
    Section& sec = SectionFor(section);
    const std::string folded = AsciiLower(key);
    auto k = sec.keys.find(folded);
    if (k != sec.keys.end()) {
        Line& line = sec.lines[k->second];
        if (blanks == IniBlanks::Trimmed) {
            // The name in GB18030 bytes: blanks are single bytes there too.
            std::string name(Trim(std::string_view(line.raw).substr(0, line.valueAt - 1)));
            line.raw = name + "=";
            line.valueAt = line.raw.size();
        } else {
            line.raw.resize(line.valueAt);
        }
        line.raw += encoded;
        return;
    }
    // After the last non-blank line, so blank lines that separate sections stay where they are.
    size_t at = sec.lines.size();
    while (at > 0 && IsBlankLine(sec.lines[at - 1].raw)) {
        --at;
    }
    Line line = MakeLine(Utf8ToGbk(key) + "=" + encoded);
    line.key = folded;
    sec.lines.insert(sec.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    sec.keys.emplace(folded, at);
}

std::string IniDocument::Serialize() const {
    std::string out;
    for (const Section& sec : m_sections) {
        if (sec.hasHeader) {
            out += sec.header;
            out += "\r\n";
        }
        for (const Line& line : sec.lines) {
            out += line.raw;
            out += "\r\n";
        }
    }
    return out;
}

} // namespace kelvra
