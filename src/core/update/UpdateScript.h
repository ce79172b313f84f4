#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvra {

// Suffix of the copy of the old executable that the Windows script keeps beside it until the
// new one is in place.
inline constexpr const char* kOldExecutableSuffix = ".kelvra-old";

// True when the path can be written between double quotes in a batch script and mean itself:
// not empty, no control characters and none of % ^ & " | < >.
bool IsBatchSafePath(std::string_view path);

// The lines of "$$update.bat", without line ends: a copy of the executable kept beside it, a
// loop that deletes the executable until the program has ended, the copy of the new main program
// in its place (the old copy put back when that copy fails), then the removal of the downloaded
// copy, the old copy and the script. `exeFolder` has no trailing backslash. No lines at all when
// a path is not batch-safe or the main program is not a plain file name.
std::vector<std::string> WindowsUpdateScriptLines(const std::string& exePath,
                                                  const std::string& exeFolder,
                                                  const std::string& mainProgram,
                                                  const std::string& scriptPath);
// The same lines, each ended by CR LF; empty when there are none.
std::string BuildWindowsUpdateScript(const std::string& exePath, const std::string& exeFolder,
                                     const std::string& mainProgram, const std::string& scriptPath);

// Quotes a text for the POSIX shell: enclosed in single quotes, each ' written as '\''.
std::string ShellQuote(std::string_view text);

// "$$update.sh": waits until process `waitPid` has ended (a zombie counts as ended), then puts
// `newFilePath` in place of `exePath` (copied beside the executable with its permissions, then
// renamed over it), removes the downloaded copy and the script itself. When the replacement
// fails the executable and the downloaded copy stay as they are. It never starts the program.
std::string BuildPosixUpdateScript(long waitPid, const std::string& exePath,
                                   const std::string& newFilePath, const std::string& scriptPath);

// What the script of this platform needs.
struct UpdateScriptRequest {
    std::string scriptPath;  // UpdateScriptPath(data folder)
    std::string exePath;     // the running executable
    std::string mainProgram; // plain name of the saved new executable in the executable's folder
    long waitPid = 0;        // the process to wait for (this program)
};

// Writes the platform's script (replacing an old one atomically) and starts it detached from
// this program, hidden, with no inherited terminal. False when it could not be written or
// started; a script that was written but not started is removed again.
bool WriteAndStartUpdateScript(const UpdateScriptRequest& request);

} // namespace kelvra
