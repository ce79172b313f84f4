// The update window's presenter with a recording window against the stand-in service: the
// wait, the download roads, the questions, the link, and a whole update of a copy of a real
// executable by the update script.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "SettingsTestSupport.h"
#include "UpdateTestSupport.h"
#include "settings/DataPaths.h"
#include "settings/SettingsFile.h"
#include "support/SimProcess.h"
#include "update/Sha256.h"
#include "update/UpdatePresenter.h"
#include "update/UpdateStaging.h"
#include "url/Endpoints.h"

namespace kelvra {
namespace {

using test::SimProcess;

class RecordingUpdateWindow : public UpdateView {
public:
    void SetControlText(const std::string& name, const std::string& text) override {
        texts[name] = text;
    }
    void CentreOnScreen() override { Log("centre"); }
    void StartDownloadTimer(int intervalMs) override { Log("timer " + std::to_string(intervalMs)); }
    void StopDownloadTimer() override { Log("timer off"); }
    void SetProgress(int value) override {
        percent = value;
        busy = false;
        percents.push_back(value);
    }
    void SetBusy() override { busy = true; }
    void ShowMessage(const std::string& text, const std::string& caption) override {
        Log("message " + caption + "|" + text);
    }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        Log("ask " + caption + "|" + text);
        if (duringQuestion) {
            std::exchange(duringQuestion, nullptr)(); // as a modal box runs the event loop
        }
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool AskToUpdate(const std::string& text, const std::string& caption) override {
        return AskYesNo(text, caption);
    }
    void OpenUrl(const std::string& url) override { Log("open " + url); }
    void CloseWindow() override {
        if (presenter->CloseQuery()) {
            open = false;
            Log("closed");
        }
    }
    void ShowMainWindow() override { Log("main"); }
    void QuitProgram() override { Log("quit"); }
    void SetLinkLook(int width, bool underlined, bool hand) override {
        Log("link " + std::to_string(width) + (underlined ? " underlined" : " plain") +
            (hand ? " hand" : ""));
    }
    void ReportError(const std::string& text) override { Log("error " + text); }
    void ReportUpdateProblem(UpdateProblem problem) override {
        Log(problem == UpdateProblem::ScriptNotStarted ? "problem script" : "problem path");
    }
    void RunOnUiThread(std::function<void()> task) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_tasks.push_back(std::move(task));
        m_posted.notify_all();
    }

    // Runs posted tasks on this thread until the condition holds; false when time ran out.
    bool PumpUntil(const std::function<bool()>& condition,
                   std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!condition()) {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (!m_posted.wait_until(lock, deadline, [this] { return !m_tasks.empty(); })) {
                return false;
            }
            std::function<void()> task = std::move(m_tasks.front());
            m_tasks.pop_front();
            lock.unlock();
            task();
        }
        return true;
    }
    bool Logged(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }
    void Log(const std::string& entry) { log.push_back(entry); }

    UpdatePresenter* presenter = nullptr;
    std::function<void()> duringQuestion; // runs once while the next question is open
    std::deque<bool> answers;
    std::vector<std::string> log;
    std::map<std::string, std::string> texts;
    std::vector<int> percents;
    int percent = -1;
    bool busy = false;
    bool open = true;

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_tasks;
};

const std::string kFiles = "/kelvra_cd/kelvra_update/files/";
const std::string kFinalQuestion = "ask  |  Download complete.Updating now?";
const std::string kStopQuestion = "ask  |  Stop and back?";

class UpdatePresenterTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(AppFolder());
        std::filesystem::create_directories(DataFolder());
        state.dataFolder = DataFolder();
        state.language = "English";
        state.serviceRoot = sim.Root();
        services = UpdateServices::Defaults(state);
        services.exePath = AppFolder() + "/kelvra";
        services.processId = 4242;
        services.startUpdateScript = [this](const UpdateScriptRequest& request) {
            scripts.push_back(request);
            return true;
        };
        test::WriteBytes(services.exePath, "old executable");
        sim.Control("/__sim/version?v=1.0.0.4");
    }
    std::string AppFolder() const { return folder.File("app"); }
    std::string DataFolder() const { return folder.File("data"); }
    void Publish(const std::string& name, const std::string& content,
                 const std::string& extra = "") {
        sim.Control("/__sim/update_files?name=" + SimProcess::Encode(name) +
                    "&content=" + SimProcess::Encode(content) + extra);
    }
    // A data file and a real executable (which passes the start test) as the main program.
    void PublishUpdate(const std::string& program = "/bin/true") {
        Publish("data.bin", "data");
        sim.Control("/__sim/update_files?name=kelvra&file=" + SimProcess::Encode(program) +
                    "&temp_name=kelvra.new&main_program=1");
    }
    std::string Staged(const std::string& name) const {
        return StagingFolder(AppFolder()) + "/" + name;
    }
    UpdatePresenter& Presenter() {
        if (!presenter) {
            presenter = std::make_unique<UpdatePresenter>(state, view, services);
            view.presenter = presenter.get();
        }
        return *presenter;
    }
    // Shows the window, lets Timer1 fire and waits until the download has ended.
    void RunDownload() {
        Presenter().FormShow();
        Presenter().Timer1Timer();
        ASSERT_TRUE(view.PumpUntil([this] { return !presenter->Downloading(); }));
    }
    std::string InstalledVersion() const { return SettingsFile(DataFolder()).ReadVersion(); }

    SimProcess sim;
    test::ScratchFolder folder;
    AppState state;
    UpdateServices services;
    RecordingUpdateWindow view;
    std::vector<UpdateScriptRequest> scripts;
    std::unique_ptr<UpdatePresenter> presenter;
};

TEST_F(UpdatePresenterTest, ShowClearsFlagsStartsTimerAndReadsTexts) {
    Presenter().FormShow();
    EXPECT_EQ(view.log, (std::vector<std::string>{"timer 5000", "centre"}));
    EXPECT_EQ(view.texts["Label1"], "  progress"); // no language file: the English defaults
    EXPECT_EQ(view.texts["Label3"], "  Download");
    EXPECT_FALSE(Presenter().StopRequested());
    EXPECT_FALSE(Presenter().Finished());
    EXPECT_FALSE(Presenter().Downloading());

    state.language = "Chinese";
    std::filesystem::create_directories(LanguageFolderPath(DataFolder()));
    test::WriteBytes(LanguageFilePath(DataFolder(), "chs.ini"),
                     "[Update]\r\nprogress=  P\r\nDownload=  D\r\nsab=  S?\r\n");
    Presenter().FormShow();
    EXPECT_EQ(view.texts["Label1"], "  P");
    EXPECT_EQ(view.texts["Label3"], "  D");
    view.log.clear();
    view.answers = {false};
    EXPECT_FALSE(Presenter().CloseQuery());
    EXPECT_EQ(view.log, std::vector<std::string>{"ask  |  S?"});
}

TEST_F(UpdatePresenterTest, CompletedDownloadYesEndsTheProgram) {
    PublishUpdate();
    view.answers = {true};
    RunDownload();
    ASSERT_EQ(scripts.size(), 1u);
    EXPECT_EQ(scripts[0].exePath, services.exePath);
    ASSERT_EQ(scripts[0].items.size(), 2u);
    EXPECT_EQ(scripts[0].items[1].staged, Staged("kelvra.new"));
    EXPECT_EQ(scripts[0].items[1].target, services.exePath);
    EXPECT_EQ(scripts[0].stagingFolder, StagingFolder(AppFolder()));
    EXPECT_EQ(scripts[0].waitPid, 4242);
    EXPECT_EQ(scripts[0].scriptPath, UpdateScriptPath(DataFolder()));
    EXPECT_EQ(InstalledVersion(), "1.0.0.4");
    EXPECT_TRUE(Presenter().StopRequested());
    EXPECT_TRUE(Presenter().Finished());
    // The close after Yes asks nothing more.
    const std::vector<std::string> tail(view.log.end() - 4, view.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{kFinalQuestion, "closed", "quit", "timer off"}));
    EXPECT_EQ(view.percent, 100);
}

TEST_F(UpdatePresenterTest, CompletedDownloadNoShowsTheMainWindow) {
    PublishUpdate();
    view.answers = {false};
    RunDownload();
    EXPECT_EQ(scripts.size(), 1u);
    EXPECT_EQ(InstalledVersion(), "1.0.0.4");
    const std::vector<std::string> tail(view.log.end() - 4, view.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{kFinalQuestion, "closed", "main", "timer off"}));
    EXPECT_FALSE(view.Logged("quit"));
}

TEST_F(UpdatePresenterTest, FailedFileShowsDownloadErrorAndChangesNothing) {
    PublishUpdate();
    sim.InjectFault(kFiles + "kelvra", "truncated");
    RunDownload();
    EXPECT_TRUE(view.Logged("message TIP|Download Error!"));
    EXPECT_TRUE(view.open);
    EXPECT_TRUE(scripts.empty());
    EXPECT_EQ(InstalledVersion(), "1.0.0.3"); // the default: nothing written
    EXPECT_FALSE(test::IsExistingFileForTest(AppFolder() + "/kelvra.new"));
    EXPECT_FALSE(Presenter().Finished());
}

TEST_F(UpdatePresenterTest, UnknownExecutableFolderIsADownloadError) {
    PublishUpdate();
    services.exePath.clear();
    RunDownload();
    EXPECT_TRUE(view.Logged("message TIP|Download Error!"));
    EXPECT_TRUE(scripts.empty());
    EXPECT_EQ(InstalledVersion(), "1.0.0.3");
}

TEST_F(UpdatePresenterTest, FailedVersionWriteStartsNoScriptAndSaysSo) {
    PublishUpdate();
    SettingsFile(DataFolder()).CreateWithDefaults();
    std::filesystem::permissions(SettingsFile(DataFolder()).Path(),
                                 std::filesystem::perms::owner_read);
    RunDownload();
    EXPECT_TRUE(scripts.empty()); // nothing will replace the executable
    EXPECT_EQ(InstalledVersion(), "1.0.0.3");
    EXPECT_FALSE(view.Logged(kFinalQuestion));
    EXPECT_FALSE(view.Logged(kStopQuestion)); // the window closes without "Stop and back?"
    ASSERT_GE(view.log.size(), 4u);
    EXPECT_EQ(view.log[view.log.size() - 4].rfind("error ", 0), 0u) << view.log.back();
    const std::vector<std::string> tail(view.log.end() - 3, view.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"closed", "main", "timer off"}));
    EXPECT_FALSE(view.open);
}

TEST_F(UpdatePresenterTest, QuitDuringAListLoadEndsWithinASecond) {
    sim.Control("/__sim/fault?path=/kelvra_cd/kelvra_update/update.xml&kind=hang&ms=60000");
    Presenter().FormShow();
    Presenter().Timer1Timer();
    ASSERT_TRUE(test::WaitFor([this] { return !sim.Requests().empty(); }));
    const auto start = std::chrono::steady_clock::now();
    presenter.reset(); // what the end of the program does with the update window
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(UpdatePresenterTest, MissingUpdateListEndsSilently) {
    sim.Control("/__sim/version?v=");
    RunDownload();
    EXPECT_EQ(view.log,
              (std::vector<std::string>{"timer 5000", "centre", "timer off", "timer off"}));
    EXPECT_TRUE(view.percents.empty()); // the bar stays at 0 %
    EXPECT_TRUE(view.open);
    EXPECT_TRUE(scripts.empty());
}

TEST_F(UpdatePresenterTest, DataOnlyListIsInstalledByTheScriptToo) {
    Publish("data.bin", "data");
    view.answers = {true};
    RunDownload();
    ASSERT_EQ(scripts.size(), 1u);
    EXPECT_EQ(scripts[0].items.size(), 1u);
    EXPECT_EQ(InstalledVersion(), "1.0.0.4");
    EXPECT_TRUE(view.Logged(kFinalQuestion));
}

// A script that cannot be written or started: the user is told, the settings name the running
// version again, the staged files go, and the program goes on.
TEST_F(UpdatePresenterTest, ScriptThatDoesNotStartIsAnErrorAndUndoesTheVersion) {
    PublishUpdate();
    services.startUpdateScript = [](const UpdateScriptRequest&) { return false; };
    RunDownload();
    EXPECT_EQ(InstalledVersion(), "1.0.0.3");
    EXPECT_FALSE(std::filesystem::exists(StagingFolder(AppFolder())));
    EXPECT_FALSE(view.Logged(kFinalQuestion));
    const std::vector<std::string> tail(view.log.end() - 4, view.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"problem script", "closed", "main", "timer off"}));
}

// Yes to "Stop and back?" stops the update even when the last byte arrives while the question
// is open; No lets the update go on to its final question.
TEST_F(UpdatePresenterTest, StopQuestionDecidesWhenTheDownloadEndsWhileItIsOpen) {
    for (const bool stop : {true, false}) {
        presenter.reset();
        scripts.clear();
        view.log.clear();
        PublishUpdate();
        Presenter().FormShow();
        Presenter().Timer1Timer();
        view.duringQuestion = [this] {
            ASSERT_TRUE(view.PumpUntil([this] { return !presenter->Downloading(); }));
        };
        view.answers = {stop, false}; // the stop question, then the final question: No
        view.CloseWindow();
        EXPECT_EQ(scripts.size(), stop ? 0u : 1u) << stop;
        EXPECT_EQ(InstalledVersion(), stop ? "1.0.0.3" : "1.0.0.4") << stop;
        EXPECT_EQ(std::filesystem::exists(StagingFolder(AppFolder())), !stop) << stop;
        EXPECT_EQ(view.Logged(kFinalQuestion), !stop) << stop;
        std::filesystem::remove_all(StagingFolder(AppFolder()));
        SettingsFile(DataFolder()).WriteVersion("1.0.0.3");
    }
}

TEST_F(UpdatePresenterTest, CloseDuringTheDownloadStopsIt) {
    PublishUpdate();
    sim.Control("/__sim/fault?path=" + kFiles + "data.bin&kind=slow&ms=8000");
    Presenter().FormShow();
    Presenter().Timer1Timer();
    ASSERT_TRUE(view.PumpUntil([this] { return !view.percents.empty(); }));
    view.answers = {false};
    view.CloseWindow(); // No: the window and the download go on
    EXPECT_TRUE(view.open);
    EXPECT_TRUE(Presenter().Downloading());
    EXPECT_FALSE(Presenter().StopRequested());
    view.answers = {true};
    view.CloseWindow();
    EXPECT_FALSE(view.open);
    EXPECT_TRUE(Presenter().StopRequested() && Presenter().Finished());
    ASSERT_TRUE(view.PumpUntil([this] { return !presenter->Downloading(); }));
    EXPECT_TRUE(scripts.empty());
    EXPECT_EQ(InstalledVersion(), "1.0.0.3");
    EXPECT_FALSE(view.Logged("message TIP|Download Error!"));
    EXPECT_FALSE(test::IsExistingFileForTest(AppFolder() + "/data.bin"));
    EXPECT_EQ(std::count(view.log.begin(), view.log.end(), kStopQuestion), 2);
}

TEST_F(UpdatePresenterTest, LinkOpensTheDownloadPageAndAbandons) {
    PublishUpdate();
    sim.Control("/__sim/fault?path=" + kFiles + "data.bin&kind=slow&ms=8000");
    Presenter().FormShow();
    Presenter().Timer1Timer();
    ASSERT_TRUE(view.PumpUntil([this] { return !view.percents.empty(); }));
    view.log.clear();
    view.answers = {false}; // the stop question after the link: No
    Presenter().Label3Click();
    EXPECT_EQ(view.log, (std::vector<std::string>{"open " + sim.Root() + "/kelvra_cd/download.asp",
                                                  kStopQuestion, "main"}));
    EXPECT_TRUE(view.open);
    // The transfer is cut at its next progress notification; the stop road closes the window,
    // which asks again since the update is not finished.
    view.answers = {true};
    ASSERT_TRUE(view.PumpUntil([this] { return !presenter->Downloading(); }));
    EXPECT_FALSE(view.open);
    EXPECT_TRUE(scripts.empty());
    EXPECT_EQ(InstalledVersion(), "1.0.0.3");
}

TEST_F(UpdatePresenterTest, ClosedBeforeTheTimerStillEndsWithoutChanges) {
    PublishUpdate();
    Presenter().FormShow();
    view.answers = {true};
    view.CloseWindow();
    Presenter().Timer1Timer(); // the timer goes on after the close
    ASSERT_TRUE(view.PumpUntil([this] { return !presenter->Downloading(); }));
    EXPECT_TRUE(scripts.empty());
    EXPECT_EQ(InstalledVersion(), "1.0.0.3");
    EXPECT_FALSE(test::IsExistingFileForTest(AppFolder() + "/data.bin"));
}

TEST_F(UpdatePresenterTest, ProgressAndBusyBar) {
    Publish("big.bin", std::string(6000, 'b'));
    sim.Control("/__sim/fault?path=" + kFiles + "big.bin&kind=slow&ms=1000");
    view.answers = {false};
    RunDownload();
    ASSERT_GE(view.percents.size(), 3u);
    EXPECT_EQ(view.percents.front(), 0);
    EXPECT_EQ(view.percents.back(), 100);
    EXPECT_TRUE(std::is_sorted(view.percents.begin() + 1, view.percents.end()));
    EXPECT_EQ(Presenter().Total(), 6000u);
    EXPECT_FALSE(view.busy);
}

TEST_F(UpdatePresenterTest, UnannouncedLengthShowsABusyBarAndSavesWhole) {
    const std::string content(300 * 1024, 'c'); // several chunks
    const std::string source = folder.File("chunked.src");
    test::WriteBytes(source, content);
    EXPECT_EQ(sim.Control("/__sim/update_files?name=chunked.bin&chunked=1&file=" +
                          SimProcess::Encode(source) + "&sha256=" + Sha256Hex(content)),
              "ok 307200\n");
    view.answers = {false};
    RunDownload();
    EXPECT_TRUE(view.busy);
    EXPECT_TRUE(view.percents.empty() || view.percents == std::vector<int>{0});
    EXPECT_EQ(Presenter().Total(), 0u);
    EXPECT_EQ(test::ReadBytes(Staged("chunked.bin")), content);
    EXPECT_TRUE(view.Logged(kFinalQuestion));
}

TEST_F(UpdatePresenterTest, HoverLooks) {
    Presenter().LinkMouseEnter();
    Presenter().PanelMouseMove();
    EXPECT_EQ(view.log,
              (std::vector<std::string>{"link 150 underlined hand", "link 150 plain hand"}));
}

// The whole update: the presenter with the real update script replaces a copy of a real
// executable once the waiting "client" has ended.
class UpdateEndToEndTest : public UpdatePresenterTest {
protected:
    void SetUp() override {
        UpdatePresenterTest::SetUp();
        services.startUpdateScript = [](const UpdateScriptRequest& request) {
            return WriteAndStartUpdateScript(request);
        };
        std::filesystem::remove(services.exePath);
        std::filesystem::copy_file(test::RealExecutable(), services.exePath);
        ::chmod(services.exePath.c_str(), 0755);
        oldBytes = test::ReadBytes(services.exePath);
    }
    std::string oldBytes;
    const std::string newProgram = test::ReadBytes("/bin/echo"); // passes its start test
};

TEST_F(UpdateEndToEndTest, ExecutableReplacedAfterTheClientEnds) {
    PublishUpdate("/bin/echo");
    test::WaitingProcess client;
    services.processId = client.Pid();
    view.answers = {true};
    RunDownload();
    ASSERT_TRUE(view.Logged("quit"));
    EXPECT_EQ(test::ReadBytes(services.exePath), oldBytes); // still running: not yet
    client.End();
    const std::string script = UpdateScriptPath(DataFolder());
    ASSERT_TRUE(test::WaitFor([&] { return !test::IsExistingFileForTest(script); }));
    EXPECT_EQ(test::ReadBytes(services.exePath), newProgram);
    EXPECT_EQ(test::RunProgram(services.exePath), 0);
    EXPECT_EQ(test::EntriesOf(AppFolder()),
              (std::set<std::string>{"data.bin", "kelvra", "kelvra.kelvra-old"}));
    EXPECT_EQ(InstalledVersion(), "1.0.0.4");
}

TEST_F(UpdateEndToEndTest, CutOrWrongTransferLeavesTheExecutableRunnable) {
    for (const bool cut : {true, false}) {
        sim.Control("/__sim/update_files?clear=1");
        sim.Control("/__sim/update_files?name=kelvra&file=/bin/false&temp_name=kelvra.new"
                    "&main_program=1" +
                    (cut ? std::string() : "&sha256=" + Sha256Hex("something else")));
        if (cut) {
            sim.InjectFault(kFiles + "kelvra", "truncated");
        }
        presenter.reset();
        view.log.clear();
        RunDownload();
        EXPECT_TRUE(view.Logged("message TIP|Download Error!")) << cut;
        EXPECT_FALSE(test::IsExistingFileForTest(UpdateScriptPath(DataFolder()))) << cut;
        EXPECT_EQ(test::ReadBytes(services.exePath), oldBytes) << cut;
        EXPECT_EQ(test::RunProgram(services.exePath), 0) << cut;
        EXPECT_EQ(test::EntriesOf(AppFolder()), std::set<std::string>{"kelvra"}) << cut;
        EXPECT_EQ(InstalledVersion(), "1.0.0.3") << cut;
    }
}

} // namespace
} // namespace kelvra
