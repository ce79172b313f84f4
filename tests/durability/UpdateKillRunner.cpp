// Helper of the update kill test: one update run as the client does it after the user's Yes to
// the version question, without the window: the download from the service into the
// executable's folder, the version in the settings, the update script started, then the end of
// the program (which lets the script replace the executable).
//
//   kelvra_update_kill_runner <update list URL> <executable> <data folder>
//
// Progress goes to standard output, unbuffered: "R" at the start, "D" once every file is staged and
// checked, "S" once the script runs. Exit code 2 on bad arguments, 1 when the run does not get as
// far as the script.
#include <atomic>
#include <string>

#include <unistd.h>

#include "service/HttpTransport.h"
#include "settings/DataPaths.h"
#include "update/UpdateDownloader.h"
#include "update/UpdateScript.h"
#include "update/UpdateStaging.h"

namespace {

void Report(char mark) {
    while (::write(STDOUT_FILENO, &mark, 1) < 0) {
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    const std::string exePath = argv[2];
    const std::string dataFolder = argv[3];
    Report('R');
    const std::unique_ptr<kelvra::HttpTransport> transport = kelvra::MakeCurlTransport();
    kelvra::DownloadRequest request{argv[1], kelvra::FolderOfPath(exePath)};
    request.exeName = exePath.substr(exePath.find_last_of('/') + 1);
    const std::atomic<bool> stop{false};
    const kelvra::DownloadResult result = kelvra::RunUpdateDownload(*transport, request, stop, {});
    if (result.end != kelvra::DownloadEnd::Completed || !result.mainProgramSaved) {
        return 1;
    }
    Report('D');
    kelvra::WriteVersionOfStagedUpdate(dataFolder, kelvra::FolderOfPath(exePath), result.ver);
    kelvra::UpdateScriptRequest script;
    script.scriptPath = kelvra::UpdateScriptPath(dataFolder);
    script.exePath = exePath;
    script.stagingFolder = kelvra::StagingFolder(kelvra::FolderOfPath(exePath));
    script.items = result.staged;
    script.waitPid = static_cast<long>(::getpid());
    if (!kelvra::WriteAndStartUpdateScript(script)) {
        return 1;
    }
    Report('S');
    return 0;
}
