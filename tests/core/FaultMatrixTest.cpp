// Every kind of service request the client makes, through every fault the stand-in can inject:
// the outcome the client shows, the time it takes, the size limit on oversized replies, and the
// files that must stay as they were. Pairs run in parallel lanes, one stand-in per lane.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "SettingsTestSupport.h"
#include "app/ApplyLanguage.h"
#include "app/ConnectivityWatch.h"
#include "app/MainPresenter.h"
#include "service/ListsPresenter.h"
#include "service/Probe.h"
#include "service/SessionClient.h"
#include "service/SessionNotices.h"
#include "service/XmlDocument.h"
#include "settings/DataPaths.h"
#include "settings/SettingsFile.h"
#include "support/SimProcess.h"
#include "update/Sha256.h"
#include "update/UpdatePresenter.h"
#include "update/UpdateStaging.h"
#include "update/VersionCheck.h"
#include "url/Endpoints.h"

namespace kelvra {
namespace {

using Clock = std::chrono::steady_clock;
using test::SimProcess;

// Short limits for every request whose limits the caller chooses; the probe keeps its own.
constexpr long kLimitMs = 2500;
constexpr long kProbeLimitMs = 10000; // fixed in ProbeUrl
constexpr std::size_t kTestFileLimit = 1024 * 1024;
const MachineIdentity kMachine{"0A-1B-2C-3D-4E-5F", "192.168.7.20"};
const std::string kNewBuild = "new build 1.0.0.4\n";
const std::string kOldBuild = "old build 1.0.0.3\n";

enum class Shown { Ok, Maintenance, ErrorPage, SilentEnd, DownloadError, Other };

const char* NameOf(Shown shown) {
    static const char* names[] = {"ok",         "maintenance",     "error page",
                                  "silent end", "Download Error!", "other"};
    return names[static_cast<int>(shown)];
}

// Every transfer's outcome, from whichever thread made it.
struct WireLog {
    std::mutex mutex;
    std::vector<HttpOutcome> outcomes;
    bool Saw(HttpOutcome outcome) {
        std::lock_guard lock(mutex);
        return std::find(outcomes.begin(), outcomes.end(), outcome) != outcomes.end();
    }
};

class RecordingTransport final : public HttpTransport {
public:
    explicit RecordingTransport(std::shared_ptr<WireLog> log)
        : m_inner(MakeCurlTransport()), m_log(std::move(log)) {}
    using HttpTransport::Get;
    HttpResponse Get(const std::string& url, const HttpRequestOptions& options) override {
        HttpResponse response = m_inner->Get(url, options);
        std::lock_guard lock(m_log->mutex);
        m_log->outcomes.push_back(response.outcome);
        return response;
    }

private:
    std::unique_ptr<HttpTransport> m_inner;
    std::shared_ptr<WireLog> m_log;
};

// What one pair works with: a fresh state and transport against the lane's stand-in.
struct Pair {
    const SimProcess& sim;
    std::string folder; // data folder and the executable's folder
    AppState state;
    std::shared_ptr<WireLog> wire = std::make_shared<WireLog>();
    RecordingTransport transport{wire};
    HttpRequestOptions options;

    Pair(const SimProcess& s, const std::string& f) : sim(s), folder(f) {
        state.dataFolder = folder;
        state.language = "English";
        state.serviceRoot = sim.Root();
        state.xmlBaseUrl = Endpoints(sim.Root()).XmlBase();
        state.pageBaseUrl = sim.Root() + "/kelvra_cd/en/";
        options.connectTimeoutMs = kLimitMs;
        options.totalTimeoutMs = kLimitMs;
    }
    void LogIn(const char* user, const char* password) {
        state.session.username = user;
        state.session.password = password;
        state.session.gid = "0";
    }
    Shown Session(const SessionResult& result) const {
        return result.failed() ? Shown::ErrorPage : result.positive() ? Shown::Ok : Shown::Other;
    }
};

// ---- fake views: they record what the client shows --------------------------------------

struct FakeConnectivityView final : ConnectivityView {
    std::string message;
    void SetNetworkText(const std::string&) override {}
    void ShowPage(int) override {}
    void SetServiceAnswering(bool) override {}
    void ShowMessage(const std::string& text, const std::string&) override { message = text; }
    void CloseWindow() override {}
};

struct FakeListsView final : ListsView {
    int errorPages = 0;
    std::map<ListBox, int> entries;
    void ClearToPrompt(ListBox list, const std::string&) override { entries[list] = 0; }
    void AddEntry(ListBox list, const std::string&, std::int32_t) override { ++entries[list]; }
    void SetItemIndex(ListBox, int) override {}
    int ItemIndex(ListBox) const override { return 0; }
    int EntryCount(ListBox list) const override {
        return entries.count(list) != 0 ? entries.at(list) + 1 : 0;
    }
    std::int32_t ChosenId(ListBox list) const override {
        // BMW, its 3 Series, Volkswagen engines: ids of the stand-in's catalogue.
        return list == ListBox::cb_group1_brand      ? 16
               : list == ListBox::cb_group1_category ? 1601
                                                     : 1;
    }
    void ShowErrorPage() override { ++errorPages; }
};

struct FakeVersionView final : VersionCheckView {
    void ShowMessage(const std::string&, const std::string&) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    void ShowErrorPage() override {}
    void ShowUpdateWindow() override {}
    void ReportError(const std::string&) override {}
};

// The update window: worker tasks are queued and run on the pair's thread by Pump().
struct FakeUpdateView final : UpdateView {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    std::vector<std::string> messages;
    int timerStops = 0;

    void SetControlText(const std::string&, const std::string&) override {}
    void CentreOnScreen() override {}
    void StartDownloadTimer(int) override {}
    void StopDownloadTimer() override { ++timerStops; }
    void SetProgress(int) override {}
    void SetBusy() override {}
    void ShowMessage(const std::string& text, const std::string&) override {
        messages.push_back(text);
    }
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    bool AskToUpdate(const std::string&, const std::string&) override { return false; }
    void OpenUrl(const std::string&) override {}
    void CloseWindow() override {}
    void ShowMainWindow() override {}
    void QuitProgram() override {}
    void SetLinkLook(int, bool, bool) override {}
    void ReportError(const std::string& text) override { messages.push_back(text); }
    void ReportUpdateProblem(UpdateProblem) override { messages.push_back("update problem"); }
    void RunOnUiThread(std::function<void()> task) override {
        std::lock_guard lock(mutex);
        tasks.push_back(std::move(task));
        wake.notify_one();
    }
    // Runs queued tasks until the download has ended (the timer is stopped a second time).
    bool Pump(Clock::duration limit) {
        const auto deadline = Clock::now() + limit;
        while (timerStops < 2) {
            std::unique_lock lock(mutex);
            if (!wake.wait_until(lock, deadline, [this] { return !tasks.empty(); })) {
                return false;
            }
            auto task = std::move(tasks.front());
            tasks.pop_front();
            lock.unlock();
            task();
        }
        return true;
    }
};

// ---- the request kinds ------------------------------------------------------------------

Shown ProbeOnce(Pair& p) {
    FakeConnectivityView view;
    ConnectivityServices services;
    services.networkOnline = [] { return true; };
    services.probe = [&p](const std::string& url) { return ProbeUrl(p.transport, url); };
    // One check judges the probe here; the streak before the message is the watch's own test.
    ConnectivityWatch watch(p.state, view, services, {.failuresForMaintenance = 1});
    watch.conn_kelvraTimer();
    return view.message.empty()                       ? Shown::Ok
           : view.message == MaintenanceText(p.state) ? Shown::Maintenance
                                                      : Shown::Other;
}

// Runs one list operation and judges the list it was about.
Shown ListOnce(Pair& p, ListBox list, void (ListsPresenter::*operation)()) {
    FakeListsView view;
    ListsPresenter lists(
        p.state, p.transport, view, [] { return true; }, p.options);
    (lists.*operation)();
    if (view.errorPages > 0) {
        return Shown::ErrorPage;
    }
    return view.entries[list] > 0 ? Shown::Ok : Shown::Other;
}

Shown VersionOnce(Pair& p) {
    FakeVersionView view;
    VersionCheckServices services;
    services.networkOnline = [] { return true; };
    services.loadXml = [&p](const std::string& url) {
        return LoadXml(p.transport, url, p.options);
    };
    const VersionCheckResult result = RunVersionCheck(p.state, view, services);
    if (result.errorPage) {
        return Shown::ErrorPage;
    }
    return result.outcome == VersionOutcome::AskUpdate ? Shown::Ok : Shown::Other;
}

Shown UpdateOnce(Pair& p) {
    FakeUpdateView view;
    UpdateServices services;
    auto wire = p.wire;
    services.makeTransport = [wire] { return std::make_unique<RecordingTransport>(wire); };
    services.updateListUrl = Endpoints(p.sim.Root()).UpdateDescriptor();
    services.downloadPageUrl = Endpoints(p.sim.Root()).DownloadPage();
    services.exePath = p.folder + "/kelvra";
    services.startUpdateScript = [](const UpdateScriptRequest&) { return true; };
    services.downloadLimits.connectTimeoutMs = kLimitMs;
    services.downloadLimits.listTimeoutMs = kLimitMs;
    services.downloadLimits.fileTimeoutMs = kLimitMs;
    services.downloadLimits.maxFileBytes = kTestFileLimit;
    UpdatePresenter presenter(p.state, view, services);
    presenter.Timer1Timer();
    if (!view.Pump(std::chrono::seconds(20))) {
        return Shown::Other;
    }
    if (!view.messages.empty()) {
        return view.messages == std::vector<std::string>{kDownloadErrorText} ? Shown::DownloadError
                                                                             : Shown::Other;
    }
    return presenter.Finished() ? Shown::Ok : Shown::SilentEnd;
}

struct RequestKind {
    const char* name;
    const char* faultPath; // the undecoded path the fault is put on
    long limitMs;          // time limit of that request
    Shown onFailure;       // what the client shows when that request fails
    bool statusOnly;       // only the status is read: a 200 with any body is an answer
    Shown (*run)(Pair&);
};

const std::string kXml = "/kelvra_cd/xml/";
const std::string kUpdate = "/kelvra_cd/kelvra_update/";

const std::vector<RequestKind>& Kinds() {
    using L = ListsPresenter;
    static const std::vector<RequestKind> kinds = {
        {"probe", "/cn/", kProbeLimitMs, Shown::Maintenance, true, ProbeOnce},
        {"list brand", "/kelvra_cd/xml/get_brand.asp", kLimitMs, Shown::ErrorPage, false,
         [](Pair& p) { return ListOnce(p, ListBox::cb_group1_brand, &L::GetComboxList); }},
        {"list brand_all", "/kelvra_cd/xml/get_brand_kelvra.asp", kLimitMs, Shown::ErrorPage, false,
         [](Pair& p) { return ListOnce(p, ListBox::cb_group1_brand_all, &L::GetComboxList); }},
        {"list engine", "/kelvra_cd/xml/get_engine_brand_yorx.asp", kLimitMs, Shown::ErrorPage,
         false, [](Pair& p) { return ListOnce(p, ListBox::cb_group2_eg, &L::GetComboxList); }},
        {"list engine_all", "/kelvra_cd/xml/get_engine_brand_kelvra.asp", kLimitMs,
         Shown::ErrorPage, false,
         [](Pair& p) { return ListOnce(p, ListBox::cb_group2_eg_all, &L::GetComboxList); }},
        {"list category", "/kelvra_cd/xml/get_category.asp", kLimitMs, Shown::ErrorPage, false,
         [](Pair& p) {
             return ListOnce(p, ListBox::cb_group1_category, &L::cb_group1_brandChange);
         }},
        {"list type", "/kelvra_cd/xml/get_type.asp", kLimitMs, Shown::ErrorPage, false,
         [](Pair& p) {
             return ListOnce(p, ListBox::cb_group1_type, &L::cb_group1_categoryChange);
         }},
        {"list engine code", "/kelvra_cd/xml/get_enginecode.asp", kLimitMs, Shown::ErrorPage, false,
         [](Pair& p) { return ListOnce(p, ListBox::engine_code, &L::cb_group2_egChange); }},
        {"full login check", "/kelvra_cd/xml/get_login_status.asp", kLimitMs, Shown::ErrorPage,
         false,
         [](Pair& p) {
             SessionClient client(p.state, p.transport, kMachine, p.options);
             return p.Session(client.FullLoginCheck("demo", "demo123", nullptr));
         }},
        {"read-only check", "/kelvra_cd/xml/get_login_status.asp", kLimitMs, Shown::ErrorPage,
         false,
         [](Pair& p) {
             p.LogIn("demo", "demo123");
             return p.Session(
                 SessionClient(p.state, p.transport, kMachine, p.options).ReadOnlyLoginCheck());
         }},
        {"count report", "/kelvra_cd/xml/set_search_num.asp", kLimitMs, Shown::ErrorPage, false,
         [](Pair& p) {
             return p.Session(SessionClient(p.state, p.transport, kMachine, p.options)
                                  .SendCountReport("demo", "demo123", 1));
         }},
        {"VIP count report", "/kelvra_cd/xml/set_search_num_vip.asp", kLimitMs, Shown::ErrorPage,
         false,
         [](Pair& p) {
             p.LogIn("vip", "vip123");
             return p.Session(
                 SessionClient(p.state, p.transport, kMachine, p.options).SendVipCountReport(1));
         }},
        {"logout on close", "/kelvra_cd/xml/set_login_out.asp", kLimitMs, Shown::ErrorPage, false,
         [](Pair& p) {
             p.LogIn("demo", "demo123");
             return SendLogoutOnClose(p.state, p.transport, true, p.options) ? Shown::ErrorPage
                                                                             : Shown::Ok;
         }},
        {"logout before purchase", "/kelvra_cd/xml/set_login_out.asp", kLimitMs, Shown::ErrorPage,
         false,
         [](Pair& p) {
             p.LogIn("demo", "demo123");
             return LogoutBeforePurchase(p.state, p.transport, true, p.options) ? Shown::ErrorPage
                                                                                : Shown::Ok;
         }},
        {"switch-accounts logout", "/kelvra_cd/en//search/xml/set_login_out.asp", kLimitMs,
         Shown::ErrorPage, false,
         [](Pair& p) {
             p.LogIn("demo", "demo123");
             const bool failed =
                 SwitchAccountsLogout(p.state, p.transport, true, nullptr, p.options);
             return failed ? Shown::ErrorPage : Shown::Ok;
         }},
        {"version check", "/kelvra_cd/xml/get_version.asp", kLimitMs, Shown::ErrorPage, false,
         VersionOnce},
        {"update list", "/kelvra_cd/kelvra_update/update.xml", kLimitMs, Shown::SilentEnd, false,
         UpdateOnce},
        {"file list", "/kelvra_cd/kelvra_update/files.xml", kLimitMs, Shown::SilentEnd, false,
         UpdateOnce},
        {"update file", "/kelvra_cd/kelvra_update/files/kelvra.bin", kLimitMs, Shown::DownloadError,
         false, UpdateOnce},
    };
    return kinds;
}

// ---- the faults -------------------------------------------------------------------------

struct FaultCase {
    const char* name;
    const char* query; // kind and options of /__sim/fault; empty: no fault
    bool fails;        // the request fails
    bool answers200;   // the status line says 200 (a status-only request succeeds)
    int lanes;         // stand-ins that share this fault's pairs
};

const std::vector<FaultCase>& Faults() {
    static const std::vector<FaultCase> faults = {
        {"none", "", false, true, 1},
        // More than one: libcurl retries a request once on a fresh connection when a reused
        // one closes before any answer, which is right for a stale keep-alive connection.
        {"refuse", "kind=refuse&count=3", true, false, 1},
        {"hang", "kind=hang", true, false, 4},
        {"500", "kind=500", true, false, 1},
        {"404", "kind=404", true, false, 1},
        {"malformed", "kind=malformed", true, true, 1},
        {"truncated", "kind=truncated", true, true, 1},
        {"slow", "kind=slow&ms=1200", false, true, 1},
        {"slow past limit", "kind=slow&ms=6000", true, true, 3},
        {"oversized", "kind=oversized", true, true, 1}, // 100 MB, announced
    };
    return faults;
}

struct Record {
    Record(std::string k, std::string f) : kind(std::move(k)), fault(std::move(f)) {}
    std::string kind;
    std::string fault;
    Shown expected = Shown::Ok;
    Shown shown = Shown::Other;
    long elapsedMs = 0;
    long limitMs = 0;
    bool faultSeen = true; // the stand-in received the faulted path
    bool sizeLimit = true; // an oversized body was refused at the size limit
    bool filesKept = true; // settings (and update target) as they should be
    std::string error;
};

// The settings bytes after the version check's reset of Version and reset_language, which a
// failed check does on purpose: those two keys change, nothing else.
std::string AfterVersionReset(const std::string& bytes) {
    test::ScratchFolder copy;
    test::WriteBytes(SettingsFilePath(copy.Path()), bytes);
    const SettingsFile settings(copy.Path());
    settings.WriteVersion("1.0.0.3");
    settings.WriteResetLanguage("0");
    return test::ReadBytes(SettingsFilePath(copy.Path()));
}

bool Received(const SimProcess& sim, const std::string& path) {
    for (const std::string& target : sim.Requests()) {
        if (target.compare(0, path.size(), path) == 0 &&
            (target.size() == path.size() || target[path.size()] == '?')) {
            return true;
        }
    }
    return false;
}

Record RunPair(const SimProcess& sim, const std::string& folder, const RequestKind& kind,
               const FaultCase& fault) {
    Record record{kind.name, fault.name};
    record.limitMs = kind.limitMs;
    const bool fails = fault.fails && !(kind.statusOnly && fault.answers200);
    record.expected = fails ? kind.onFailure : Shown::Ok;
    sim.Reset();
    sim.Control("/__sim/version?v=1.0.0.4");
    sim.Control("/__sim/update_files?name=kelvra.bin&temp_name=kelvra.new&content=" +
                SimProcess::Encode(kNewBuild) + "&sha256=" + Sha256Hex(kNewBuild));
    if (*fault.query != '\0') {
        sim.Control("/__sim/fault?path=" + SimProcess::Encode(kind.faultPath) + "&" + fault.query);
    }
    const std::string settingsPath = SettingsFilePath(folder);
    const std::string target = folder + "/kelvra.new";
    const std::string settingsBefore = test::ReadBytes(settingsPath);
    test::WriteBytes(target, kOldBuild);
    const auto entriesBefore = test::EntriesOf(folder);

    Pair pair(sim, folder);
    const auto start = Clock::now();
    record.shown = kind.run(pair);
    record.elapsedMs = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());

    record.faultSeen = Received(sim, kind.faultPath);
    if (std::string(fault.name) == "oversized" && !kind.statusOnly) {
        record.sizeLimit = pair.wire->Saw(HttpOutcome::TooLarge);
    }
    const bool updated = kind.run == UpdateOnce && record.shown == Shown::Ok;
    const std::string settingsAfter = test::ReadBytes(settingsPath);
    if (updated) {
        // A whole download records its version and stages the new file for the script, nothing
        // else.
        auto entriesAfter = test::EntriesOf(folder);
        entriesAfter.erase(kStagingFolderName);
        record.filesKept = SettingsFile(folder).ReadVersion() == "1.0.0.4" &&
                           test::ReadBytes(StagingFolder(folder) + "/kelvra.new") == kNewBuild &&
                           test::ReadBytes(target) == kOldBuild && entriesAfter == entriesBefore;
        RemoveStagingFolder(folder);
    } else {
        const bool reset = kind.run == VersionOnce && record.shown == Shown::ErrorPage;
        record.filesKept =
            settingsAfter == (reset ? AfterVersionReset(settingsBefore) : settingsBefore) &&
            test::ReadBytes(target) == kOldBuild && test::EntriesOf(folder) == entriesBefore;
    }
    test::WriteBytes(settingsPath, settingsBefore);
    return record;
}

// One stand-in and one data folder, running its pairs one after another.
void RunLane(const FaultCase& fault, std::vector<const RequestKind*> kinds,
             std::vector<Record>& out) {
    try {
        SimProcess sim;
        test::ScratchFolder folder;
        AppState prepared;
        prepared.dataFolder = folder.Path();
        prepared.language = "English";
        PrepareSettingsFiles(prepared);
        // Kept language files, so that the version check's reset shows in the bytes.
        SettingsFile(folder.Path()).WriteResetLanguage("1");
        for (const RequestKind* kind : kinds) {
            try {
                out.push_back(RunPair(sim, folder.Path(), *kind, fault));
            } catch (const std::exception& error) {
                out.push_back(Record{kind->name, fault.name});
                out.back().error = error.what();
            }
        }
    } catch (const std::exception& error) {
        out.push_back(Record{"(lane)", fault.name});
        out.back().error = error.what();
    }
}

void PrintMatrix(const std::vector<Record>& records) {
    std::map<std::string, std::map<std::string, const Record*>> cells;
    for (const Record& r : records) {
        cells[r.kind][r.fault] = &r;
    }
    std::printf("%-24s", "request \\ fault");
    for (const FaultCase& f : Faults()) {
        std::printf(" | %-17s", f.name);
    }
    std::printf("\n");
    for (const RequestKind& k : Kinds()) {
        std::printf("%-24s", k.name);
        for (const FaultCase& f : Faults()) {
            const Record* r = cells[k.name][f.name];
            char cell[64] = "-";
            if (r != nullptr) {
                std::snprintf(cell, sizeof cell, "%s %.1fs", NameOf(r->shown),
                              static_cast<double>(r->elapsedMs) / 1000.0);
            }
            std::printf(" | %-17s", cell);
        }
        std::printf("\n");
    }
}

TEST(FaultMatrixTest, EveryRequestThroughEveryFault) {
    std::vector<std::vector<Record>> results;
    std::vector<std::pair<const FaultCase*, std::vector<const RequestKind*>>> lanes;
    for (const FaultCase& fault : Faults()) {
        std::vector<std::vector<const RequestKind*>> split(fault.lanes);
        int next = 0;
        for (const RequestKind& kind : Kinds()) {
            split[next++ % fault.lanes].push_back(&kind);
        }
        for (auto& kinds : split) {
            lanes.emplace_back(&fault, std::move(kinds));
        }
    }
    results.resize(lanes.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < lanes.size(); ++i) {
        threads.emplace_back(RunLane, std::cref(*lanes[i].first), lanes[i].second,
                             std::ref(results[i]));
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    std::vector<Record> records;
    for (auto& lane : results) {
        records.insert(records.end(), lane.begin(), lane.end());
    }
    PrintMatrix(records);

    EXPECT_EQ(records.size(), Kinds().size() * Faults().size());
    for (const Record& r : records) {
        SCOPED_TRACE(r.kind + " x " + r.fault);
        EXPECT_EQ(r.error, "");
        EXPECT_STREQ(NameOf(r.shown), NameOf(r.expected));
        EXPECT_LE(r.elapsedMs, r.limitMs + 1000);
        EXPECT_TRUE(r.faultSeen) << "the request never reached the stand-in";
        EXPECT_TRUE(r.sizeLimit) << "the oversized body was not refused at the size limit";
        EXPECT_TRUE(r.filesKept) << "a file changed that should not have";
    }
}

} // namespace
} // namespace kelvra
