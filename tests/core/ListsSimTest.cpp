// The list cascade against the stand-in service on loopback, with the exact request targets
// the service received.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "service/HttpTransport.h"
#include "service/ListsPresenter.h"
#include "support/SimProcess.h"

namespace kelvra {
namespace {

using test::SimProcess;

struct Item {
    std::string text;
    std::int32_t id;
    bool operator==(const Item&) const = default;
};

class RecordingView : public ListsView {
public:
    void ClearToPrompt(ListBox list, const std::string& prompt) override {
        lists[list] = {{prompt, 0}};
        index[list] = -1;
    }
    void AddEntry(ListBox list, const std::string& text, std::int32_t id) override {
        lists[list].push_back({text, id});
    }
    void SetItemIndex(ListBox list, int i) override { index[list] = i; }
    int ItemIndex(ListBox list) const override { return index.at(list); }
    int EntryCount(ListBox list) const override {
        return lists.count(list) != 0 ? static_cast<int>(lists.at(list).size()) : 0;
    }
    std::int32_t ChosenId(ListBox list) const override {
        int i = index.at(list);
        return i < 0 ? 0 : lists.at(list)[i].id;
    }
    void ShowErrorPage() override { ++errorPages; }

    void ChooseId(ListBox list, std::int32_t id) {
        const auto& items = lists[list];
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].id == id) {
                index[list] = static_cast<int>(i);
                return;
            }
        }
        ADD_FAILURE() << "no entry with id " << id;
    }
    std::vector<std::int32_t> Ids(ListBox list) {
        std::vector<std::int32_t> ids;
        for (const Item& item : lists[list]) {
            ids.push_back(item.id);
        }
        return ids;
    }

    std::map<ListBox, std::vector<Item>> lists;
    std::map<ListBox, int> index;
    int errorPages = 0;
};

class ListsSimTest : public ::testing::Test {
protected:
    ListsSimTest() {
        state.xmlBaseUrl = sim.Root() + "/kelvra_cd/xml/";
        options.connectTimeoutMs = 2000;
        options.totalTimeoutMs = 2000;
    }
    ListsPresenter Presenter() {
        return ListsPresenter(
            state, *transport, view, [] { return true; }, options);
    }
    // The next request of a list service answers this raw XML.
    void Canned(const std::string& service, const std::string& xml, bool gb2312 = false) {
        sim.Control("/__sim/list?path=" + service + "&body=" + SimProcess::Encode(xml) +
                    (gb2312 ? "&charset=gb2312" : ""));
    }

    SimProcess sim;
    std::unique_ptr<HttpTransport> transport = MakeCurlTransport();
    AppState state;
    RecordingView view;
    HttpRequestOptions options;
};

const std::string kXml = "/kelvra_cd/xml/";

TEST_F(ListsSimTest, CascadeMakeModelTypeAndASecondMake) {
    ListsPresenter presenter = Presenter();
    presenter.GetComboxList();
    EXPECT_EQ(view.errorPages, 0);
    EXPECT_EQ(sim.Requests(),
              (std::vector<std::string>{kXml + "get_brand.asp", kXml + "get_brand_kelvra.asp",
                                        kXml + "get_engine_brand_yorx.asp",
                                        kXml + "get_engine_brand_kelvra.asp"}));
    sim.ClearRequests();

    view.ChooseId(ListBox::cb_group1_brand, 5); // Audi
    presenter.cb_group1_brandChange();
    EXPECT_EQ(view.Ids(ListBox::cb_group1_category), (std::vector<std::int32_t>{0, 501, 502}));
    view.ChooseId(ListBox::cb_group1_category, 501);
    presenter.cb_group1_categoryChange();
    EXPECT_EQ(view.Ids(ListBox::cb_group1_type), (std::vector<std::int32_t>{0, 50101, 50102}));
    EXPECT_EQ(view.lists[ListBox::cb_group1_type][1].text, "1.8 TFSI (2008-2015, 118 kW)");

    view.ChooseId(ListBox::cb_group1_brand, 16); // BMW
    presenter.cb_group1_brandChange();
    EXPECT_EQ(view.Ids(ListBox::cb_group1_category),
              (std::vector<std::int32_t>{0, 1601, 1602, 1603}));
    EXPECT_EQ(view.Ids(ListBox::cb_group1_type), (std::vector<std::int32_t>{0}));
    EXPECT_EQ(view.ItemIndex(ListBox::cb_group1_type), 0);

    view.ChooseId(ListBox::cb_group2_eg, 2);
    presenter.cb_group2_egChange();
    EXPECT_EQ(view.Ids(ListBox::engine_code), (std::vector<std::int32_t>{0, 201, 202, 203}));
    // GB2312 reply: the Chinese text arrives as UTF-8.
    EXPECT_EQ(view.lists[ListBox::cb_group2_eg][2].text, "宝马 BMW");

    // The prompt is a choice like any other: id 0 is asked for.
    view.ChooseId(ListBox::cb_group1_brand, 0);
    presenter.cb_group1_brandChange();
    EXPECT_EQ(view.Ids(ListBox::cb_group1_category), (std::vector<std::int32_t>{0}));

    EXPECT_EQ(sim.Requests(), (std::vector<std::string>{kXml + "get_category.asp?mfa_id=5",
                                                        kXml + "get_type.asp?mod_id=501",
                                                        kXml + "get_category.asp?mfa_id=16",
                                                        kXml + "get_enginecode.asp?eng_id=2",
                                                        kXml + "get_category.asp?mfa_id=0"}));
    EXPECT_EQ(view.errorPages, 0);
}

TEST_F(ListsSimTest, RawRepliesOfTheMakeList) {
    struct Case {
        const char* name;
        std::string xml;
        bool gb2312;
        std::vector<Item> entries; // after the prompt
        int errorPages;
    };
    const Case cases[] = {
        {"non-integer id after good entries",
         "<r><returnValue>true</returnValue><brand brand_id='1' brand_name='A'/>"
         "<brand brand_id='2' brand_name='B'/><brand brand_id='abc' brand_name='C'/></r>",
         false,
         {{"A", 1}, {"B", 2}},
         1},
        {"returnValue True",
         "<r><returnValue>True</returnValue><brand brand_id='1'/></r>",
         false,
         {},
         0},
        {"no returnValue", "<r><brand brand_id='1' brand_name='A'/></r>", false, {}, 0},
        {"missing name",
         "<r><returnValue>true</returnValue><brand brand_id='7'/></r>",
         false,
         {{"", 7}},
         0},
        {"GB2312 with Chinese names",
         "<?xml version=\"1.0\" encoding=\"GB2312\"?><r><returnValue>true</returnValue>"
         "<brand brand_id=\"21\" brand_name=\"大众\"/><brand brand_id=\"23\" "
         "brand_name=\"奔驰 &amp; 宝马\"/></r>",
         true,
         {{"大众", 21}, {"奔驰 & 宝马", 23}},
         0},
    };
    for (const Case& c : cases) {
        RecordingView v;
        Canned("get_brand.asp", c.xml, c.gb2312);
        ListsPresenter presenter(
            state, *transport, v, [] { return true; }, options);
        presenter.GetComboxList();
        std::vector<Item> expected{{"Select Make", 0}};
        expected.insert(expected.end(), c.entries.begin(), c.entries.end());
        EXPECT_EQ(v.lists[ListBox::cb_group1_brand], expected) << c.name;
        EXPECT_EQ(v.errorPages, c.errorPages) << c.name;
        EXPECT_EQ(v.lists[ListBox::cb_group1_brand_all].size(), 10u) << c.name; // unaffected
    }
}

TEST_F(ListsSimTest, EveryFaultEndsInTimeWithTheErrorPage) {
    for (const char* kind :
         {"refuse", "hang", "500", "404", "malformed", "truncated", "slow", "oversized"}) {
        sim.Reset();
        // A dropped connection is retried once by the transport when it was a reused one, so the
        // fault is armed for two requests.
        sim.InjectFault(kXml + "get_engine_brand_yorx.asp", kind, 2);
        RecordingView v;
        ListsPresenter presenter(
            state, *transport, v, [] { return true; }, options);
        auto start = std::chrono::steady_clock::now();
        presenter.GetComboxList();
        auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_LT(elapsed, std::chrono::seconds(8)) << kind;
        EXPECT_EQ(v.errorPages, 1) << kind;
        // The second engine load is skipped after the first failed.
        EXPECT_EQ(v.lists[ListBox::cb_group2_eg_all].size(), 1u) << kind;
        EXPECT_EQ(v.lists[ListBox::cb_group1_brand].size(), 9u) << kind;
        std::vector<std::string> requests = sim.Requests();
        ASSERT_FALSE(requests.empty()) << kind;
        EXPECT_EQ(requests.back(), kXml + "get_engine_brand_yorx.asp") << kind;
    }
}

// Offline at the first show: the network's return loads the four top lists once, with the
// requests of the first show; a failed load is refilled at the next return, a filled list never.
TEST_F(ListsSimTest, EmptyListsRefillWhenTheNetworkReturns) {
    bool online = false;
    ListsPresenter presenter(
        state, *transport, view, [&] { return online; }, options);
    presenter.GetComboxList();
    presenter.RefillEmptyLists(); // still offline: nothing
    EXPECT_TRUE(sim.Requests().empty());

    online = true;
    sim.InjectFault(kXml + "get_engine_brand_yorx.asp", "500");
    presenter.RefillEmptyLists();
    EXPECT_EQ(sim.Requests(),
              (std::vector<std::string>{kXml + "get_brand.asp", kXml + "get_brand_kelvra.asp",
                                        kXml + "get_engine_brand_yorx.asp"}));
    EXPECT_EQ(view.errorPages, 1);
    EXPECT_EQ(view.lists[ListBox::cb_group1_brand].size(), 9u);
    EXPECT_EQ(view.lists[ListBox::cb_group2_eg_all].size(), 1u) << "skipped after the failure";
    EXPECT_EQ(view.ItemIndex(ListBox::cb_group1_brand), 0);

    sim.ClearRequests();
    presenter.RefillEmptyLists();
    EXPECT_EQ(sim.Requests(), (std::vector<std::string>{kXml + "get_engine_brand_yorx.asp",
                                                        kXml + "get_engine_brand_kelvra.asp"}));
    sim.ClearRequests();
    presenter.RefillEmptyLists();
    EXPECT_TRUE(sim.Requests().empty()) << "every list holds entries";

    AppState before;
    ListsPresenter unbuilt(
        before, *transport, view, [] { return true; }, options);
    unbuilt.RefillEmptyLists(); // no XML base URL yet: the lists were never built
    EXPECT_TRUE(sim.Requests().empty());
}

// Lists follow a redirect on the same host; one to another host name is a failed load.
TEST_F(ListsSimTest, RedirectsOnTheSameHostAreFollowed) {
    for (const char* service : {"get_brand.asp", "get_brand_kelvra.asp",
                                "get_engine_brand_yorx.asp", "get_engine_brand_kelvra.asp"}) {
        sim.InjectFault(kXml + service, "redirect");
    }
    Presenter().GetComboxList();
    EXPECT_EQ(view.errorPages, 0);
    EXPECT_EQ(view.lists[ListBox::cb_group1_brand].size(), 9u);
    EXPECT_GT(view.lists[ListBox::cb_group2_eg_all].size(), 1u);
    EXPECT_EQ(sim.Requests()[1], "/__moved" + kXml + "get_brand.asp");

    sim.Control("/__sim/fault?path=" + SimProcess::Encode(kXml + "get_brand.asp") +
                "&kind=redirect&host=localhost:" + std::to_string(sim.Port()));
    Presenter().GetComboxList();
    EXPECT_EQ(view.errorPages, 1) << "another host name: not followed";
    EXPECT_EQ(view.lists[ListBox::cb_group1_brand].size(), 1u);

    // A relative Location of only a query keeps the path it came from.
    sim.ClearRequests();
    sim.Control("/__sim/fault?path=" + SimProcess::Encode(kXml + "get_brand_kelvra.asp") +
                "&kind=redirect&location=" + SimProcess::Encode("?moved=1"));
    Presenter().GetComboxList();
    EXPECT_EQ(view.errorPages, 1) << "no error page for a relative redirect";
    EXPECT_EQ(sim.Requests(),
              (std::vector<std::string>{kXml + "get_brand.asp", kXml + "get_brand_kelvra.asp",
                                        kXml + "get_brand_kelvra.asp?moved=1",
                                        kXml + "get_engine_brand_yorx.asp",
                                        kXml + "get_engine_brand_kelvra.asp"}));
    EXPECT_GT(view.lists[ListBox::cb_group1_brand_all].size(), 1u);
}

TEST_F(ListsSimTest, OfflineRequestsNothingAndPromptsFollowTheLanguage) {
    bool online = true;
    state.heldTexts = {{"rcb_1", "请选择车辆品牌"}, {"rcb_2", "请选择车辆系列"}};
    ListsPresenter presenter(
        state, *transport, view, [&] { return online; }, options);
    presenter.GetComboxList();
    view.ChooseId(ListBox::cb_group1_brand, 5);
    presenter.cb_group1_brandChange();
    view.ChooseId(ListBox::cb_group1_category, 501);
    presenter.cb_group1_categoryChange();
    ASSERT_EQ(view.lists[ListBox::cb_group1_type].size(), 3u);
    sim.ClearRequests();

    online = false;
    presenter.cb_group1_brandChange();
    EXPECT_EQ(view.lists[ListBox::cb_group1_category].size(), 1u);
    EXPECT_EQ(view.lists[ListBox::cb_group1_type].size(), 1u);
    presenter.cb_group2_egChange();
    presenter.GetComboxList();
    EXPECT_TRUE(sim.Requests().empty());
    for (auto& [list, items] : view.lists) {
        EXPECT_EQ(items.size(), 1u);
        EXPECT_EQ(view.ItemIndex(list), 0);
    }
    EXPECT_EQ(view.errorPages, 0);
    EXPECT_EQ(view.lists[ListBox::cb_group1_brand_all][0], (Item{"请选择车辆品牌", 0}));
    EXPECT_EQ(view.lists[ListBox::cb_group1_category][0], (Item{"请选择车辆系列", 0}));
    EXPECT_EQ(view.lists[ListBox::cb_group1_type][0], (Item{"Select Detail", 0}));
    EXPECT_EQ(view.lists[ListBox::engine_code][0], (Item{"Select Engine Model", 0}));
}

} // namespace
} // namespace kelvra
