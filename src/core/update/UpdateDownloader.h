#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "service/HttpTransport.h"
#include "update/UpdateLists.h"
#include "update/UpdateStaging.h"

namespace kelvra {

// How a download run ended.
enum class DownloadEnd {
    FileListFailed, // no usable file list (unreachable, unreadable, refused entry): silent end
    DownloadError,  // a file could not be fetched whole, failed its checks or could not be
                    // staged, or the list would have saved over the executable: "Download Error!"
    Stopped,        // the stop flag was set: the running transfer was cut, nothing more fetched
    Completed,      // every file of the list is staged and verified, nothing installed yet
};

struct DownloadResult {
    // A result says how the run ended from the start: there is no outcome by default.
    explicit DownloadResult(DownloadEnd how) : end(how) {}

    DownloadEnd end;
    std::string ver;               // the version the update list announced
    std::string mainProgram;       // the list's main program (plain name), or empty
    bool mainProgramSaved = false; // this run staged the main program and it passed its checks
    std::vector<SwapItem> staged;  // every staged file and what it replaces, in list order
    std::string error;             // what went wrong, for logs
};

// Called on the downloading thread: the start of each file's transfer (the announced byte
// total, 0 when unknown) and each progress notification (bytes so far, total).
struct DownloadNotifications {
    std::function<void(std::uint64_t total)> transferStarted;
    std::function<void(std::uint64_t received, std::uint64_t total)> progress;
};

// Time and size limits of the updater's requests. The defaults are the program's; a test passes
// shorter ones so that a silent service is given up on quickly.
struct DownloadLimits {
    long connectTimeoutMs = 10000;
    long listTimeoutMs = 30000; // the update list and the file list, each
    // A big executable over a slow line may take long; the user can always stop it.
    long fileTimeoutMs = 60L * 60L * 1000L;
    // A transfer (list or file) that moves less than one byte a second for this long is given
    // up on, so a stalled connection ends in "Download Error!" instead of a frozen bar.
    long stallSeconds = 30;
    std::size_t maxFileBytes = 512u * 1024u * 1024u; // a larger reply is refused, never kept
};

struct DownloadRequest {
    std::string updateListUrl; // the fixed update list location
    std::string targetFolder;  // the executable's folder, where the files are saved; empty when
                               // unknown, which fails the first file
    DownloadLimits limits = {};
    std::string exeName = {}; // the running executable's file name: no entry may be saved under it
    // Runs the staged main program's self-test: empty when it passed, else why not. Unset: the
    // real one (RunStartTest with the target folder).
    std::function<std::string(const std::string& stagedMainProgram)> startTest = {};
};

// The user agent the updater's requests carry.
inline constexpr const char* kUpdaterUserAgent = "Mozilla/3.0 (compatible; Indy Library)";

// One file fetched into memory. `complete` only when the transfer completed with status 200,
// the byte count matches an announced length and a given sha256 matches the bytes.
struct FetchedFile {
    bool complete = false;
    bool stopped = false;     // the stop flag cut the transfer
    bool endDeclared = false; // the reply had a length or a chunked end
    std::string bytes;
    std::string error;

    bool failed() const { return !complete; }
};

// GETs one entry's file_name. The stop flag is checked at every progress notification and
// cuts the transfer. Never throws.
FetchedFile FetchUpdateFile(HttpTransport& transport, const UpdateEntry& entry,
                            const std::atomic<bool>& stopRequested,
                            const DownloadNotifications& notifications,
                            const DownloadLimits& limits = {});

// Mark in the names of the files that a save writes beside its target before renaming it into
// place ("<name>.kelvra-part-<pid>"); only the updater writes such names.
inline constexpr const char* kUpdatePartMark = ".kelvra-part-";

// The whole download, on the calling thread: the update list (failures ignored, the last
// updatePath counting), the file list, then every file in order into the staging folder beside
// the executable, each checked (ContentProblem), then the staged main program's start test.
// Nothing in the program folder changes: the update script moves the staged files in. A list
// with an entry saved under the executable's own name (or naming it as the main program), or
// naming a main program none of its entries saves, is refused (DownloadError). The stop flag
// also cuts the two list loads (Stopped). The first failed file ends the run. Any end but
// Completed removes the staging folder. Never throws.
DownloadResult RunUpdateDownload(HttpTransport& transport, const DownloadRequest& request,
                                 const std::atomic<bool>& stopRequested,
                                 const DownloadNotifications& notifications);

// Removes the leftovers of saves that a crash or a kill cut short ("<name>.kelvra-part-<pid>" of
// another process) from the folder; nothing else. Errors are ignored.
void RemoveInterruptedSaves(const std::string& folder);

} // namespace kelvra
