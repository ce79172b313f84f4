#include "update/UpdateLists.h"

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

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
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
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return false;
        }
    }
    // "C:name" is relative to the current folder of drive C on Windows.
    return name.find(':') == std::string_view::npos;
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
            entry.sha256 = LowerAscii(*sha256);
        }
        reading.list.entries.push_back(std::move(entry));
    }
    reading.ok = true;
    return reading;
}

} // namespace kelvra
