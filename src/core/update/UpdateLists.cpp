#include "update/UpdateLists.h"

#include "text/Ascii.h"

namespace kelvra {
namespace {

bool IsHexDigest(std::string_view text) {
    if (text.size() != 64) {
        return false;
    }
    for (char c : text) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex) {
            return false;
        }
    }
    return true;
}

FileListReading Refuse(std::string why) {
    FileListReading reading;
    reading.error = std::move(why);
    return reading;
}

} // namespace

UpdateListInfo ReadUpdateList(const XmlElement& root) {
    UpdateListInfo info;
    for (const XmlElement& child : root.children) {
        if (child.name != "updatePath") {
            continue;
        }
        if (const std::string* path = child.Attribute("path")) {
            info.path = *path;
        }
        if (const std::string* ver = child.Attribute("ver")) {
            info.ver = *ver;
        }
    }
    return info;
}

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f ||
            std::string_view("/\\:*?<>|%^&\"").find(c) != std::string_view::npos) {
            return false;
        }
    }
    // Windows drops trailing dots and blanks, so "kelvra.exe." would name kelvra.exe.
    if (name.back() == '.' || name.back() == ' ') {
        return false;
    }
    return !IsWindowsDeviceName(name);
}

bool IsWindowsDeviceName(std::string_view name) {
    // "NUL.txt" and "nul .dat" name the device too: only the part before the first dot counts,
    // without its trailing blanks.
    std::string base = AsciiLower(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') {
        base.pop_back();
    }
    if (base == "con" || base == "prn" || base == "aux" || base == "nul" || base == "conin$" ||
        base == "conout$") {
        return true;
    }
    return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) &&
           base[3] >= '0' && base[3] <= '9';
}

bool SameFileName(std::string_view a, std::string_view b) {
#ifdef _WIN32
    return AsciiLower(a) == AsciiLower(b);
#else
    return a == b;
#endif
}

FileListReading ReadFileList(const XmlElement& root) {
    FileListReading reading;
    for (const XmlElement& child : root.children) {
        if (child.name != "updateFile") {
            continue;
        }
        const std::string* fileName = child.Attribute("file_name");
        const std::string* tempName = child.Attribute("temp_name");
        const std::string* mainProgram = child.Attribute("main_program");
        const std::string* sha256 = child.Attribute("sha256");
        const std::string entryNo = "entry " + std::to_string(reading.list.entries.size() + 1);
        if (fileName == nullptr || fileName->empty()) {
            return Refuse(entryNo + ": no file_name");
        }
        if (tempName == nullptr) {
            return Refuse(entryNo + ": no temp_name");
        }
        if (!IsPlainFileName(*tempName)) {
            return Refuse(entryNo + ": temp_name is not a plain file name: " + *tempName);
        }
        UpdateEntry entry{*fileName, *tempName, {}, std::nullopt};
        if (mainProgram != nullptr && !mainProgram->empty()) {
            if (!IsPlainFileName(*mainProgram)) {
                return Refuse(entryNo + ": main_program is not a plain file name: " + *mainProgram);
            }
            entry.mainProgram = *mainProgram;
            reading.list.mainProgram = *mainProgram;
        }
        if (sha256 != nullptr) {
            if (!IsHexDigest(*sha256)) {
                return Refuse(entryNo + ": sha256 is not a hex SHA-256 digest");
            }
            entry.sha256 = AsciiLower(*sha256);
        }
        reading.list.entries.push_back(std::move(entry));
    }
    reading.accepted = true;
    return reading;
}

} // namespace kelvra
