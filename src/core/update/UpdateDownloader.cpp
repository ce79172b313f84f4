#include "update/UpdateDownloader.h"

#include <filesystem>
#include <system_error>

#include "service/XmlDocument.h"
#include "settings/AtomicFile.h"
#include "settings/DataPaths.h"
#include "settings/SettingsError.h"
#include "update/Sha256.h"

namespace kelvra {
namespace {

HttpRequestOptions ListOptions(const DownloadLimits& limits, const std::atomic<bool>& stop) {
    HttpRequestOptions options;
    options.connectTimeoutMs = limits.connectTimeoutMs;
    options.totalTimeoutMs = limits.listTimeoutMs;
    options.stallSeconds = limits.stallSeconds;
    options.userAgent = kUpdaterUserAgent;
    options.progress = [&stop](std::uint64_t, std::uint64_t) { return !stop.load(); };
    return options;
}

// Why the list may not be downloaded into the executable's folder; empty when it may.
std::string CollisionWithExecutable(const FileList& list, const std::string& exeName) {
    if (exeName.empty()) {
        return {};
    }
    if (!list.mainProgram.empty() && SameFileName(list.mainProgram, exeName)) {
        return "the main program would be saved over the executable: " + list.mainProgram;
    }
    for (const UpdateEntry& entry : list.entries) {
        if (SameFileName(entry.tempName, exeName)) {
            return "an entry would be saved over the executable: " + entry.tempName;
        }
    }
    return {};
}

// Gives the staged main program the executable's permissions (POSIX); errors are ignored (the
// start test then fails).
void CopyPermissions(const std::string& from, const std::string& to) {
    std::error_code error;
    const auto permissions = std::filesystem::status(from, error).permissions();
    std::filesystem::permissions(
        to, error ? std::filesystem::perms(0755) : permissions | std::filesystem::perms::owner_exec,
        error);
}

// Fetches, checks and stages every entry, then runs the main program's start test; the end of
// the run. The staging folder is made anew.
DownloadEnd StageFiles(HttpTransport& transport, const DownloadRequest& request,
                       const FileList& list, const std::atomic<bool>& stopRequested,
                       const DownloadNotifications& notifications, DownloadResult& result) {
    const std::string staging = StagingFolder(request.targetFolder);
    std::error_code error;
    if (!RemoveStagingFolder(request.targetFolder) ||
        !std::filesystem::create_directory(FileSystemPath(staging), error)) {
        result.error = "the staging folder cannot be made: " + staging;
        return DownloadEnd::DownloadError;
    }
    const std::string exe = PathInFolder(request.targetFolder, request.exeName);
    std::string stagedMain;
    for (const UpdateEntry& entry : list.entries) {
        if (stopRequested.load()) {
            return DownloadEnd::Stopped;
        }
        FetchedFile fetched =
            FetchUpdateFile(transport, entry, stopRequested, notifications, request.limits);
        if (fetched.stopped) {
            return DownloadEnd::Stopped;
        }
        const bool isMain =
            !list.mainProgram.empty() && SameFileName(entry.tempName, list.mainProgram);
        if (!fetched.failed()) {
            fetched.error =
                ContentProblem(entry.tempName, isMain, fetched.bytes, fetched.endDeclared);
        }
        if (fetched.failed() || !fetched.error.empty()) {
            result.error = entry.fileName + ": " + fetched.error;
            return DownloadEnd::DownloadError;
        }
        const std::string staged = PathInFolder(staging, entry.tempName);
        try {
            WriteFileAtomically(staged, fetched.bytes, kUpdatePartMark);
        } catch (const SettingsWriteError& failure) {
            result.error = failure.what();
            return DownloadEnd::DownloadError;
        }
        const std::string target =
            isMain ? exe : PathInFolder(request.targetFolder, entry.tempName);
        std::erase_if(result.staged, [&](const SwapItem& item) { return item.staged == staged; });
        result.staged.push_back({staged, target});
        if (isMain) {
            stagedMain = staged;
            CopyPermissions(exe, staged);
        }
    }
    if (!list.mainProgram.empty() && stagedMain.empty()) {
        result.error = "the main program " + list.mainProgram + " is not in the list";
        return DownloadEnd::DownloadError;
    }
    if (!stagedMain.empty()) {
        const std::string failed = request.startTest
                                       ? request.startTest(stagedMain)
                                       : RunStartTest(stagedMain, request.targetFolder);
        if (!failed.empty()) {
            result.error = failed;
            return DownloadEnd::DownloadError;
        }
        result.mainProgramSaved = true;
    }
    return DownloadEnd::Completed;
}

} // namespace

void RemoveInterruptedSaves(const std::string& folder) {
    RemoveStaleTemporaries(folder, kUpdatePartMark);
}

FetchedFile FetchUpdateFile(HttpTransport& transport, const UpdateEntry& entry,
                            const std::atomic<bool>& stopRequested,
                            const DownloadNotifications& notifications,
                            const DownloadLimits& limits) {
    FetchedFile fetched;
    bool started = false;
    std::uint64_t announced = 0;
    std::uint64_t lastReceived = 0;
    std::uint64_t lastTotal = 0;
    HttpRequestOptions options;
    options.connectTimeoutMs = limits.connectTimeoutMs;
    options.totalTimeoutMs = limits.fileTimeoutMs;
    options.stallSeconds = limits.stallSeconds;
    options.maxBodyBytes = limits.maxFileBytes;
    options.userAgent = kUpdaterUserAgent;
    options.progress = [&](std::uint64_t received, std::uint64_t total) {
        if (!started && (total > 0 || received > 0)) {
            started = true;
            announced = total;
            if (notifications.transferStarted) {
                notifications.transferStarted(total);
            }
        }
        if (started && (received != lastReceived || total != lastTotal)) {
            lastReceived = received;
            lastTotal = total;
            if (total > 0) {
                announced = total;
            }
            if (notifications.progress) {
                notifications.progress(received, total);
            }
        }
        return !stopRequested.load();
    };
    HttpResponse response = transport.Get(entry.fileName, options);
    if (stopRequested.load()) {
        fetched.stopped = true;
        fetched.error = "stopped";
        return fetched;
    }
    if (!response.ok()) {
        fetched.error = std::string(HttpOutcomeName(response.outcome)) + ": " + response.error;
        return fetched;
    }
    if (response.status != 200) {
        fetched.error = "HTTP status " + std::to_string(response.status);
        return fetched;
    }
    if (announced > 0 && response.body.size() != announced) {
        fetched.error = "received " + std::to_string(response.body.size()) + " of " +
                        std::to_string(announced) + " bytes";
        return fetched;
    }
    if (entry.sha256 && Sha256Hex(response.body) != *entry.sha256) {
        fetched.error = "sha256 does not match";
        return fetched;
    }
    if (!started && notifications.transferStarted) {
        notifications.transferStarted(0); // an empty file: no notification came
    }
    fetched.complete = true;
    fetched.endDeclared = response.endDeclared;
    fetched.bytes = std::move(response.body);
    return fetched;
}

DownloadResult RunUpdateDownload(HttpTransport& transport, const DownloadRequest& request,
                                 const std::atomic<bool>& stopRequested,
                                 const DownloadNotifications& notifications) {
    // Until a file list is read and usable, the run ends as a failed list.
    DownloadResult result(DownloadEnd::FileListFailed);
    const HttpRequestOptions listOptions = ListOptions(request.limits, stopRequested);
    UpdateListInfo info;
    if (const XmlLoadResult updateList = LoadXml(transport, request.updateListUrl, listOptions);
        !updateList.failed()) {
        info = ReadUpdateList(updateList.root);
    }
    result.ver = info.ver;
    if (stopRequested.load()) {
        result.end = DownloadEnd::Stopped;
        return result;
    }
    if (info.path.empty()) {
        result.error = "the update list names no file list";
        return result;
    }
    const XmlLoadResult fileListDocument = LoadXml(transport, info.path, listOptions);
    if (stopRequested.load()) {
        result.end = DownloadEnd::Stopped;
        return result;
    }
    if (fileListDocument.failed()) {
        result.error = "file list: " + fileListDocument.error;
        return result;
    }
    const FileListReading reading = ReadFileList(fileListDocument.root);
    if (reading.failed()) {
        result.error = "file list: " + reading.error;
        return result;
    }
    result.mainProgram = reading.list.mainProgram;
    if (std::string collision = CollisionWithExecutable(reading.list, request.exeName);
        !collision.empty()) {
        result.end = DownloadEnd::DownloadError;
        result.error = std::move(collision);
        return result;
    }
    if (request.targetFolder.empty() && !reading.list.entries.empty()) {
        result.end = DownloadEnd::DownloadError;
        result.error = "the executable's folder is not known";
        return result;
    }
    result.end = StageFiles(transport, request, reading.list, stopRequested, notifications, result);
    if (result.end == DownloadEnd::Completed && stopRequested.load()) {
        result.end = DownloadEnd::Stopped;
    }
    if (result.end != DownloadEnd::Completed) {
        RemoveStagingFolder(request.targetFolder);
        result.staged.clear();
        result.mainProgramSaved = false;
    }
    return result;
}

} // namespace kelvra
