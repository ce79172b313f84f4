#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/XmlDocument.h"

namespace kelvra {

// The update list: where the file list is and which version it installs.
struct UpdateListInfo {
    std::string path; // URL of the file list; empty when the list named none
    std::string ver;  // the version written to the settings after the download
};

// Every `updatePath` child of the root, the last one winning; attributes it lacks keep the
// earlier value. Never fails: an unusable list leaves both empty.
UpdateListInfo ReadUpdateList(const XmlElement& root);

// One file of the file list, in download order.
struct UpdateEntry {
    std::string fileName;    // URL to GET
    std::string tempName;    // plain file name in the executable's folder
    std::string mainProgram; // empty, or the plain name of the file that replaces the executable
    std::optional<std::string> sha256; // lower-case hex digest the bytes must have, when given
};

struct FileList {
    std::vector<UpdateEntry> entries;
    std::string mainProgram; // the last non-empty main_program; empty when none is named
};

struct FileListReading {
    bool accepted = false;
    std::string error; // why the list was refused, for logs
    FileList list;

    bool failed() const { return !accepted; }
};

// True for a name that stays inside one folder and means the same on every file system: not
// empty, not "." or "..", no separator, drive prefix, wildcard, control character or character
// that a batch script would expand (% ^ & "), no trailing dot or blank, not a device name.
bool IsPlainFileName(std::string_view name);
// True for the Windows device names (CON, PRN, AUX, NUL, COM0-9, LPT0-9, CONIN$, CONOUT$), in
// any case and with any extension.
bool IsWindowsDeviceName(std::string_view name);
// Compares two file names as this platform's file system does: case-insensitively (ASCII) on
// Windows, byte by byte elsewhere.
bool SameFileName(std::string_view a, std::string_view b);

// Reads every `updateFile` child of the root in order. An entry without file_name or temp_name,
// an empty file_name, a temp_name or main_program that is not a plain name, or a sha256 that is
// not 64 hex digits refuses the whole list (failed(), nothing to download). A missing
// main_program counts as empty.
FileListReading ReadFileList(const XmlElement& root);

} // namespace kelvra
