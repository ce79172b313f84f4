#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace kelvra {

// The numbers searched in each of the five number fields (kinds 1 to 5), newest first, at most
// kMaxPerField distinct ones each. Kept in a UTF-8 file of its own in the data folder, one line
// per number ("<kind><TAB><number>", with "\\", "\t", "\n" and "\r" escaped), replaced atomically
// at each change. Nothing here touches the settings file.
class NumberHistory {
public:
    static constexpr std::size_t kMaxPerField = 50;

    // The history kept in the file at `path` (not read yet).
    explicit NumberHistory(std::string path);

    // The file name in the data folder.
    static std::string PathIn(const std::string& dataFolder);

    // Reads the file. A missing or unreadable file is an empty history; malformed lines and
    // numbers beyond the limit are skipped. Never throws.
    void Load();
    // Puts the number first in its field's list (moved up when it is there already; blank-only
    // text and kinds outside 1..5 are ignored) and writes the file. Returns false when the file
    // cannot be written: the history in memory is kept, the file on disk stays as it was.
    bool Add(int kind, const std::string& number);
    // Empties every field's list and writes the file; false when it cannot be written.
    bool Clear();
    // The numbers of a kind, newest first; empty for kinds outside 1..5.
    const std::vector<std::string>& Numbers(int kind) const;

private:
    bool Save() const;

    std::string m_path;
    std::array<std::vector<std::string>, 5> m_numbers;
};

} // namespace kelvra
