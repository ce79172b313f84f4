#pragma once

#include <functional>
#include <string>

namespace kelvra {

// Why an update that arrived whole is not installed; the window words it in the user's language.
enum class UpdateProblem {
    ScriptNotStarted,  // the update script could not be written or started
    PathNotScriptable, // the program's or the data folder's path cannot be named in the script
    LastNotInstalled,  // found at the start: the last update did not get its files in place
};

// What the update window's presenter needs of the window (TUpdateForm). Every call but
// RunOnUiThread comes on the window's thread.
class UpdateView {
public:
    virtual ~UpdateView() = default;
    // Sets the text of a named control ("Label1" over the bar, "Label3" the link).
    virtual void SetControlText(const std::string& controlName, const std::string& text) = 0;
    // Places the window in the middle of the screen (halves truncated toward zero).
    virtual void CentreOnScreen() = 0;
    // Timer1: enables it with the interval; each tick calls UpdatePresenter::Timer1Timer.
    virtual void StartDownloadTimer(int intervalMs) = 0;
    virtual void StopDownloadTimer() = 0;
    // The bar at a percentage 0..100 (with its percentage shown), leaving the busy look.
    virtual void SetProgress(int percent) = 0;
    // The bar as a busy indicator: the transfer announced no length.
    virtual void SetBusy() = 0;
    // Modal information box with one OK button.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
    // Modal question with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // The same, for the question whose Yes completes the update (the program ends for it).
    virtual bool AskToUpdate(const std::string& text, const std::string& caption) = 0;
    // Opens the URL in the system's web browser; a failure is ignored.
    virtual void OpenUrl(const std::string& url) = 0;
    // Closes the window as its close box does: the window first asks
    // UpdatePresenter::CloseQuery() and stays open when it answers false.
    virtual void CloseWindow() = 0;
    virtual void ShowMainWindow() = 0;
    // Closes the main window, which ends the program.
    virtual void QuitProgram() = 0;
    // The link's look: its width, underline and hand cursor.
    virtual void SetLinkLook(int width, bool underlined, bool handCursor) = 0;
    // Tells the user that the update was not installed and why; the program stays as it was.
    virtual void ReportUpdateProblem(UpdateProblem problem) = 0;
    // Shows an error that escaped a handler (a settings file that cannot be written).
    virtual void ReportError(const std::string& text) = 0;
    // Runs the task later on the window's thread; may be called from any thread. Tasks posted
    // after the window is gone may be dropped.
    virtual void RunOnUiThread(std::function<void()> task) = 0;
};

} // namespace kelvra
