#include "update/UpdatePresenter.h"

#include <utility>

#include "platform/Platform.h"
#include "settings/DataPaths.h"
#include "settings/LanguageFile.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFile.h"
#include "update/UpdateProgress.h"
#include "update/UpdateStaging.h"
#include "url/Endpoints.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace kelvra {

UpdateServices UpdateServices::Defaults(const AppState& state) {
    UpdateServices services;
    services.makeTransport = [] { return MakeCurlTransport(); };
    const Endpoints endpoints(state.serviceRoot.empty() ? ServiceRoot() : state.serviceRoot);
    services.updateListUrl = endpoints.UpdateDescriptor();
    services.downloadPageUrl = endpoints.DownloadPage();
    services.exePath = ExePath();
#ifdef _WIN32
    services.processId = _getpid();
#else
    services.processId = static_cast<long>(::getpid());
#endif
    services.startUpdateScript = [](const UpdateScriptRequest& request) {
        return WriteAndStartUpdateScript(request);
    };
    return services;
}

UpdatePresenter::UpdatePresenter(AppState& state, UpdateView& view, UpdateServices services)
    : m_state(state), m_view(view), m_services(std::move(services)) {}

UpdatePresenter::~UpdatePresenter() {
    m_stop->store(true);
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

std::string UpdatePresenter::UpdateText(const char* key, const char* fallback) const {
    return ReadLanguageText(LanguageFileFor(m_state, LanguageFileUse::UpdateWindow), "Update", key,
                            fallback);
}

void UpdatePresenter::FormShow() {
    m_stop->store(false);
    m_finished = false;
    m_view.StartDownloadTimer(kUpdateTimerMs);
    m_view.CentreOnScreen();
    m_view.SetControlText("Label1", UpdateText("progress", "  progress"));
    m_view.SetControlText("Label3", UpdateText("Download", "  Download"));
    m_stopQuestion = UpdateText("sab", "  Stop and back?");
}

void UpdatePresenter::Timer1Timer() {
    m_view.StopDownloadTimer();
    UpdateBtnClick();
}

void UpdatePresenter::UpdateBtnClick() {
    if (m_worker.joinable()) {
        return;
    }
    const std::string& exe = m_services.exePath;
    if (!exe.empty() &&
        !ScriptCanNamePaths({exe + kUpdateBackupSuffix, UpdateScriptPath(m_state.dataFolder),
                             StagingFolder(FolderOfPath(exe)) + ".gone"})) {
        // Refused before any download: the script could not name the program's files.
        m_view.StopDownloadTimer();
        m_view.ReportUpdateProblem(UpdateProblem::PathNotScriptable);
        EndWithoutUpdate();
        return;
    }
    DownloadRequest request{m_services.updateListUrl, exe.empty() ? exe : FolderOfPath(exe)};
    request.limits = m_services.downloadLimits;
    request.exeName = exe.substr(exe.find_last_of("/\\") + 1); // the whole path without a separator
    std::unique_ptr<HttpTransport> transport = m_services.makeTransport();
    std::weak_ptr<int> alive = m_alive;
    UpdateView* view = &m_view;
    // Runs a member on the window's thread unless the presenter is gone by then.
    auto post = [alive, view, this](std::function<void(UpdatePresenter&)> task) {
        view->RunOnUiThread([alive, this, task = std::move(task)] {
            if (alive.lock()) {
                task(*this);
            }
        });
    };
    m_worker = std::thread([post, request, stop = m_stop, transport = std::move(transport)] {
        // Only changes of the bar are passed on, so a fast transfer does not flood the window.
        ProgressPosition shown{false, -1};
        DownloadNotifications notifications;
        notifications.transferStarted = [&](std::uint64_t total) {
            shown = total == 0 ? ProgressPosition{true, 0} : ProgressPosition{false, 0};
            post([total](UpdatePresenter& self) { self.OnTransferStarted(total); });
        };
        notifications.progress = [&](std::uint64_t received, std::uint64_t total) {
            const ProgressPosition position = ProgressFor(received, total);
            if (position == shown) {
                return;
            }
            shown = position;
            post([received, total](UpdatePresenter& self) { self.OnProgress(received, total); });
        };
        DownloadResult result = RunUpdateDownload(*transport, request, *stop, notifications);
        post([result = std::move(result)](UpdatePresenter& self) { self.OnDownloadEnded(result); });
    });
}

void UpdatePresenter::OnTransferStarted(std::uint64_t total) {
    m_total = total;
    m_view.SetProgress(0);
    if (total == 0) {
        m_view.SetBusy();
    }
}

void UpdatePresenter::OnProgress(std::uint64_t received, std::uint64_t total) {
    if (total != 0) {
        m_total = total;
    }
    const ProgressPosition position = ProgressFor(received, m_total);
    if (position.busy) {
        m_view.SetBusy();
    } else {
        m_view.SetProgress(position.percent);
    }
}

void UpdatePresenter::OnDownloadEnded(const DownloadResult& result) {
    if (m_worker.joinable()) {
        m_worker.join();
    }
    if (m_questionOpen) {
        // The stop question is open: its answer decides what becomes of this result.
        m_pendingResult = std::make_unique<DownloadResult>(result);
        return;
    }
    switch (result.end) {
    case DownloadEnd::FileListFailed:
        break;
    case DownloadEnd::DownloadError:
        m_view.ShowMessage(kDownloadErrorText, "TIP");
        break;
    case DownloadEnd::Stopped:
        m_view.CloseWindow();
        m_view.ShowMainWindow();
        break;
    case DownloadEnd::Completed:
        if (m_stop->load()) {
            // Stopped after the last byte arrived: the staged files are dropped all the same.
            DiscardStaged();
            m_view.CloseWindow();
            m_view.ShowMainWindow();
        } else {
            FinishUpdate(result);
        }
        break;
    }
    m_view.StopDownloadTimer();
}

void UpdatePresenter::DiscardStaged() {
    if (!m_services.exePath.empty()) {
        RemoveStagingFolder(FolderOfPath(m_services.exePath));
    }
}

bool UpdatePresenter::StartScript(const DownloadResult& result) {
    if (m_services.exePath.empty() || result.staged.empty()) {
        return false;
    }
    UpdateScriptRequest request;
    request.scriptPath = UpdateScriptPath(m_state.dataFolder);
    request.exePath = m_services.exePath;
    request.stagingFolder = StagingFolder(FolderOfPath(m_services.exePath));
    request.items = result.staged;
    request.waitPid = m_services.processId;
    return m_services.startUpdateScript(request);
}

void UpdatePresenter::FinishUpdate(const DownloadResult& result) {
    // The version goes first: once the script runs, the files will be replaced, so the update
    // must then go on to its final question. A failed write starts no script. The installed
    // version stays in the staging folder until the files are in place.
    SettingsFile settings(m_state.dataFolder);
    const std::string installed = settings.ReadVersion();
    try {
        WriteVersionOfStagedUpdate(m_state.dataFolder,
                                   m_services.exePath.empty() ? std::string()
                                                              : FolderOfPath(m_services.exePath),
                                   result.ver);
    } catch (const SettingsWriteError& error) {
        DiscardStaged();
        m_view.ReportError(error.what());
        EndWithoutUpdate();
        return;
    }
    if (!StartScript(result)) {
        // Nothing will be replaced: the settings say so again and the user is told.
        try {
            settings.WriteVersion(installed);
        } catch (const SettingsWriteError&) {
        }
        DiscardStaged();
        m_view.ReportUpdateProblem(UpdateProblem::ScriptNotStarted);
        EndWithoutUpdate();
        return;
    }
    const std::string prompt = UpdateText("update_Prompt", "  Download complete.Updating now?");
    m_stop->store(true);
    m_finished = true;
    if (m_view.AskToUpdate(prompt, " ")) {
        m_view.CloseWindow();
        m_view.QuitProgram();
    } else {
        m_view.CloseWindow();
        m_view.ShowMainWindow();
    }
}

void UpdatePresenter::EndWithoutUpdate() {
    m_stop->store(true);
    m_finished = true;
    m_view.CloseWindow();
    m_view.ShowMainWindow();
}

bool UpdatePresenter::CloseQuery() {
    if (m_stop->load() && m_finished) {
        return true;
    }
    m_questionOpen = true;
    const bool stop = m_view.AskYesNo(m_stopQuestion, " ");
    m_questionOpen = false;
    std::unique_ptr<DownloadResult> ended = std::move(m_pendingResult);
    if (!stop) {
        if (ended) {
            OnDownloadEnded(*ended); // the download ended meanwhile: it goes on as it would have
        }
        return false;
    }
    m_stop->store(true);
    m_finished = true;
    if (ended && ended->end == DownloadEnd::Completed) {
        DiscardStaged(); // Yes means stop, however far the transfer got
    }
    if (ended) {
        m_view.StopDownloadTimer();
    }
    m_view.ShowMainWindow();
    return true;
}

void UpdatePresenter::Label3Click() {
    m_stop->store(true);
    m_view.OpenUrl(m_services.downloadPageUrl);
    m_view.CloseWindow();
    m_view.ShowMainWindow();
}

void UpdatePresenter::LinkMouseEnter() {
    m_view.SetLinkLook(kLinkHoverWidth, true, true);
}

void UpdatePresenter::PanelMouseMove() {
    m_view.SetLinkLook(kLinkHoverWidth, false, true);
}

} // namespace kelvra
