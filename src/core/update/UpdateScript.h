#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "update/UpdateStaging.h"

namespace kelvra {

// How long the Windows script waits for the program to end before it gives up, restoring
// everything, in tries about a second apart.
inline constexpr int kScriptWaitTries = 600;

// What the script of an update needs.
struct UpdateScriptRequest {
    std::string scriptPath;      // UpdateScriptPath(data folder)
    std::string exePath;         // the running executable, waited for
    std::string stagingFolder;   // StagingFolder(program folder), removed at the end
    std::vector<SwapItem> items; // every staged file and the file it replaces or creates
    long waitPid = 0;            // the process to wait for (this program)
    int waitTries = kScriptWaitTries;
};

// The file that the program holds open (deleted when its handle closes) from the start of the
// Windows script until the program ends: the script waits until it is gone.
std::string RunningMarkPath(const std::string& stagingFolder);

// The file that the Windows script keeps open, unshared for deleting and writing by others,
// while it runs: a start that can open it alone knows the script is not running.
std::string ScriptRunningMarkPath(const std::string& scriptPath);

// True while the script is at work: on POSIX it holds a lock on itself, on Windows it keeps its
// running mark open. A script whose state cannot be told counts as running (it is never run a
// second time beside itself); a missing script is not running.
bool ScriptIsRunning(const std::string& scriptPath);

// True when the path can be written between double quotes in a batch script and mean itself:
// not empty, no control characters and none of % ^ & " | < > ! ? *.
bool IsBatchSafePath(std::string_view path);

// The lines of "$$update.bat", without line ends: a loop that waits (a second between tries)
// until the program's running mark is gone, that is until the program has ended, and gives
// up after `waitTries` tries; then backups left by an earlier update removed (it gives up when
// one stays), every old file moved aside (".kelvra-old") and every staged file moved in, each
// by rename, and every old file moved back when one step fails; when it gave up or went back,
// the staging folder is renamed to the not-installed mark, else removed; then the script
// removes itself. All of it runs with the script's running mark held open.
// Started with the argument "now" it skips the wait (a swap cut short is finished). No lines
// at all when a path is not batch-safe.
std::vector<std::string> WindowsUpdateScriptLines(const UpdateScriptRequest& request);
// The same lines, each ended by CR LF, in the code page cmd reads batch files in (the OEM code
// page on Windows); empty when there are no lines or a path cannot be written in it.
std::string BuildWindowsUpdateScript(const UpdateScriptRequest& request);
// True when the script of this platform can name these paths (on Windows: batch-safe and
// representable in the OEM code page); checked before any download.
bool ScriptCanNamePaths(const std::vector<std::string>& paths);

// Quotes a text for the POSIX shell: enclosed in single quotes, each ' written as '\''.
std::string ShellQuote(std::string_view text);

// "$$update.sh": holds a lock on itself (so that the next start can tell a running script from
// a killed one), waits until process `waitPid` has ended (a zombie counts as ended; the argument
// "now" skips the wait), then removes backups left by an earlier update (when one stays, it does
// not swap), moves every old file aside (".kelvra-old") and every staged file in, each by
// rename, and every old file back when a step fails; run again after a kill it goes on where it
// stopped (forward, or back once a step failed). When it did not swap or went back, the staging
// folder becomes the not-installed mark, else it is removed; the script removes itself at the
// end and never starts the program.
std::string BuildPosixUpdateScript(const UpdateScriptRequest& request);

// Writes the platform's script (replacing an old one atomically) and starts it detached from
// this program, hidden, with no inherited terminal; on Windows this process first takes its
// running mark and holds it until it ends, and waits (a few seconds at most) until the script
// holds its own. False when it could not be written or started; a script that was written but
// not started is removed again.
bool WriteAndStartUpdateScript(const UpdateScriptRequest& request);

// Lets go of the running mark before the end of the process (Windows; nothing elsewhere): for a
// process that starts the script on behalf of another program, and for tests.
void ReleaseRunningMark();

} // namespace kelvra
