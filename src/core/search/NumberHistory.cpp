#include "search/NumberHistory.h"

#include <algorithm>
#include <utility>

#include "settings/AtomicFile.h"
#include "settings/DataPaths.h"
#include "settings/SettingsError.h"

namespace kelvra {
namespace {

constexpr const char* kFileName = "search_history.txt";

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The number of an escaped field; false on an escape that Escape never writes.
bool Unescape(const std::string& field, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size())
            return false;
        switch (field[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return false;
        }
    }
    return true;
}

bool BlankOnly(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

} // namespace

NumberHistory::NumberHistory(std::string path) : m_path(std::move(path)) {}

std::string NumberHistory::PathIn(const std::string& dataFolder) {
    return PathInFolder(dataFolder, kFileName);
}

void NumberHistory::Load() {
    for (auto& numbers : m_numbers)
        numbers.clear();
    const std::optional<std::string> bytes = ReadWholeFile(m_path);
    if (!bytes)
        return;
    std::size_t start = 0;
    while (start < bytes->size()) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos)
            end = bytes->size();
        const std::string line = bytes->substr(start, end - start);
        start = end + 1;
        std::string number;
        if (line.size() < 3 || line[0] < '1' || line[0] > '5' || line[1] != '\t' ||
            !Unescape(line.substr(2), number) || BlankOnly(number))
            continue;
        auto& numbers = m_numbers[static_cast<std::size_t>(line[0] - '1')];
        if (numbers.size() < kMaxPerField &&
            std::find(numbers.begin(), numbers.end(), number) == numbers.end())
            numbers.push_back(number);
    }
}

bool NumberHistory::Add(int kind, const std::string& number) {
    if (kind < 1 || kind > 5 || BlankOnly(number))
        return true;
    auto& numbers = m_numbers[static_cast<std::size_t>(kind - 1)];
    const auto found = std::find(numbers.begin(), numbers.end(), number);
    if (found == numbers.begin() && found != numbers.end())
        return true; // already the newest: the file stays as it is
    if (found != numbers.end())
        numbers.erase(found);
    numbers.insert(numbers.begin(), number);
    if (numbers.size() > kMaxPerField)
        numbers.resize(kMaxPerField);
    return Save();
}

bool NumberHistory::Clear() {
    for (auto& numbers : m_numbers)
        numbers.clear();
    return Save();
}

const std::vector<std::string>& NumberHistory::Numbers(int kind) const {
    static const std::vector<std::string> none;
    return kind >= 1 && kind <= 5 ? m_numbers[static_cast<std::size_t>(kind - 1)] : none;
}

bool NumberHistory::Save() const {
    std::string bytes;
    for (int kind = 1; kind <= 5; ++kind)
        for (const std::string& number : Numbers(kind))
            bytes += std::to_string(kind) + '\t' + Escape(number) + '\n';
    try {
        WriteFileAtomically(m_path, bytes);
        return true;
    } catch (const SettingsWriteError&) {
        return false;
    }
}

} // namespace kelvra
