#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra {

// Folder beside the executable where an update's files wait until every one of them has arrived
// and passed its checks; only the update script moves them into the program folder.
inline constexpr const char* kStagingFolderName = ".kelvra-update";
// Suffix of the old files an update moved aside; they go at the next successful start.
inline constexpr const char* kUpdateBackupSuffix = ".kelvra-old";
// The argument that makes the program check itself and end: its libraries and the web engine
// module load, no window opens, exit status 0.
inline constexpr const char* kSelfTestFlag = "--self-test";
// How long a staged main program may take for its self-test.
inline constexpr int kStartTestSeconds = 20;

// A path of the program's narrow strings (the ANSI code page on Windows, UTF-8 elsewhere) as
// the standard library's file system functions need it.
std::filesystem::path FileSystemPath(const std::string& path);

// The staging folder of a program folder.
std::string StagingFolder(const std::string& programFolder);
// The file in the staging folder that keeps the version installed before an update's own was
// written to the settings.
std::string InstalledVersionPath(const std::string& stagingFolder);
// Beside it: the name the script gives the staging folder when it went back, gave up or did not
// begin the swap, so that the next start finds the installed version in it.
std::string NotInstalledMarkPath(const std::string& stagingFolder);

// Keeps the settings' version in the staging folder, then writes the update's version to the
// settings, so that a start finding the update not installed can put the old one back. Throws
// SettingsWriteError when either cannot be written (the settings then keep their version).
void WriteVersionOfStagedUpdate(const std::string& dataFolder, const std::string& programFolder,
                                const std::string& version);

// One file of a staged update: where it waits and what it replaces (or creates).
struct SwapItem {
    std::string staged;
    std::string target;
};

// True for the files that must be executables or libraries of this build: the main program and
// names ending in .so (or .so.N), .exe or .dll (any case).
bool IsBinaryFileName(std::string_view name, bool isMainProgram);

// Why the bytes are not an executable or library of the running build's binary format (ELF or
// PE), word size and machine; empty when they are.
std::string BinaryMismatch(std::string_view bytes);

// Why a downloaded file may not be installed; empty when it may. Every file must have content;
// an executable or library must have arrived with a declared end (a length or a chunked end:
// a transfer cut without one looks whole) and be of this build's binary format.
std::string ContentProblem(std::string_view tempName, bool isMainProgram, std::string_view bytes,
                           bool endDeclared);

// Runs `program --self-test <programFolder>` without a window and waits at most `seconds`; empty
// when it ended with status 0, else why not (it is killed when the time is up).
std::string RunStartTest(const std::string& program, const std::string& programFolder,
                         int seconds = kStartTestSeconds);

// Removes the staging folder and everything in it; false when something stayed.
bool RemoveStagingFolder(const std::string& programFolder);

// At the start of the program: an update whose script was cut short (killed, a power cut) is
// completed by running its script again at once; a staging folder no script will use (a cut
// download) is removed. A script still running is left alone. When the update's version was
// written but its files are not in place (the program ended before its script ran, or the
// script went back or gave up), the settings get the installed version back and the answer is
// true. Errors are ignored (a version that cannot be written back is tried again next time).
bool ResumeOrDiscardInterruptedUpdate(const std::string& dataFolder,
                                      const std::string& programFolder);

// After a successful start: removes the old files that an update moved aside, unless an update
// is still pending. Errors are ignored.
void RemoveUpdateBackups(const std::string& dataFolder, const std::string& programFolder);

} // namespace kelvra
