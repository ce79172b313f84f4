#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "service/HttpTransport.h"
#include "state/AppState.h"
#include "update/UpdateDownloader.h"
#include "update/UpdateScript.h"
#include "update/UpdateView.h"

namespace kelvra {

inline constexpr int kUpdateTimerMs = 5000;
inline constexpr int kLinkHoverWidth = 150;
inline constexpr const char* kDownloadErrorText = "Download Error!";

// The outside world of the update window; Defaults() gives the real one.
struct UpdateServices {
    // A transport for the downloading thread (one per download run).
    std::function<std::unique_ptr<HttpTransport>()> makeTransport;
    std::string updateListUrl;   // root + "/kelvra_cd/kelvra_update/update.xml"
    std::string downloadPageUrl; // root + "/kelvra_cd/download.asp"
    std::string exePath;         // the running executable
    long processId = 0;          // this program, for the script to wait on
    // Writes and starts the update script; false when that failed.
    std::function<bool(const UpdateScriptRequest&)> startUpdateScript;
    DownloadLimits downloadLimits; // the program's limits unless a test shortens them

    // libcurl, the service root of the state (or ServiceRoot()), ExePath(), this process and
    // WriteAndStartUpdateScript.
    static UpdateServices Defaults(const AppState& state);
};

// The update window TUpdateForm without any toolkit: the five-second wait, the download on a
// worker thread, the progress bar, the stop and close questions, the direct-download link and
// the final question. The view must outlive the presenter.
class UpdatePresenter {
public:
    UpdatePresenter(AppState& state, UpdateView& view, UpdateServices services);
    // Sets the stop flag and waits for a running download to end (at its next progress
    // notification).
    ~UpdatePresenter();
    UpdatePresenter(const UpdatePresenter&) = delete;
    UpdatePresenter& operator=(const UpdatePresenter&) = delete;

    // Window shown: flags cleared, Timer1 on, centred, texts of section Update read.
    void FormShow();
    // Timer1 tick: disables the timer and runs the download.
    void Timer1Timer();
    // Starts the download on a worker thread; ignored while one runs.
    void UpdateBtnClick();
    // Close box or a close from the code: true when the window may close. Asks the stop
    // question unless the update is finished.
    bool CloseQuery();
    // The direct-download link: stop, open the download page, close, show the main window.
    void Label3Click();
    // Mouse over the link, and over the panel around it.
    void LinkMouseEnter();
    void PanelMouseMove();

    bool StopRequested() const { return m_stop->load(); }
    bool Finished() const { return m_finished; }
    bool Downloading() const { return m_worker.joinable(); }
    // The announced byte total of the running transfer (0 when unknown).
    std::uint64_t Total() const { return m_total; }

private:
    void OnTransferStarted(std::uint64_t total);
    void OnProgress(std::uint64_t received, std::uint64_t total);
    void OnDownloadEnded(const DownloadResult& result);
    void FinishUpdate(const DownloadResult& result);
    // Writes and starts the update script for the staged files; false when it was not started.
    bool StartScript(const DownloadResult& result);
    // Removes the staged files (an update that will not be installed).
    void DiscardStaged();
    // Closes the window as a finished update, without installing anything.
    void EndWithoutUpdate();
    std::string UpdateText(const char* key, const char* fallback) const;

    AppState& m_state;
    UpdateView& m_view;
    UpdateServices m_services;
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
    bool m_finished = false;
    std::uint64_t m_total = 0;
    std::string m_stopQuestion = "  Stop and back?";
    std::thread m_worker;
    bool m_questionOpen = false;                     // the stop question is being asked
    std::unique_ptr<DownloadResult> m_pendingResult; // a download that ended meanwhile
    // Tasks posted by the worker check this token, so none runs on a destroyed presenter.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace kelvra
