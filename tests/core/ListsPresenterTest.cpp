// The list presenter driven with a fake view and a scripted transport.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "service/HttpTransport.h"
#include "service/ListsPresenter.h"

namespace kelvra {
namespace {

const std::string kXmlBase = "http://svc.test/kelvra_cd/xml/";

// Answers each URL with its scripted body (200); an unscripted URL is refused.
class ScriptedTransport : public HttpTransport {
public:
    using HttpTransport::Get;
    HttpResponse Get(const std::string& url, const HttpRequestOptions&) override {
        requests.push_back(url.substr(kXmlBase.size()));
        HttpResponse response;
        auto it = bodies.find(url.substr(kXmlBase.size()));
        if (it == bodies.end()) {
            response.outcome = HttpOutcome::Refused;
            response.error = "refused";
            return response;
        }
        response.outcome = HttpOutcome::Ok;
        response.status = 200;
        response.body = it->second;
        return response;
    }
    std::map<std::string, std::string> bodies; // path below the XML base -> body
    std::vector<std::string> requests;
};

struct Item {
    std::string text;
    std::int32_t id;
    bool operator==(const Item&) const = default;
};

class FakeListsView : public ListsView {
public:
    void ClearToPrompt(ListBox list, const std::string& prompt) override {
        lists[list] = {{prompt, 0}};
        index[list] = -1;
    }
    void AddEntry(ListBox list, const std::string& text, std::int32_t id) override {
        lists[list].push_back({text, id});
    }
    void SetItemIndex(ListBox list, int i) override {
        index[list] = (i >= 0 && i < static_cast<int>(lists[list].size())) ? i : -1;
    }
    int ItemIndex(ListBox list) const override {
        auto it = index.find(list);
        return it == index.end() ? -1 : it->second;
    }
    std::int32_t ChosenId(ListBox list) const override {
        int i = ItemIndex(list);
        return i < 0 ? 0 : lists.at(list)[i].id;
    }
    void ShowErrorPage() override { ++errorPages; }

    // A user's choice: select the entry with that text.
    void Choose(ListBox list, const std::string& text) {
        const auto& items = lists[list];
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].text == text) {
                index[list] = static_cast<int>(i);
                return;
            }
        }
        ADD_FAILURE() << "no entry " << text;
    }
    std::vector<std::string> Texts(ListBox list) {
        std::vector<std::string> out;
        for (const Item& item : lists[list]) {
            out.push_back(item.text);
        }
        return out;
    }

    std::map<ListBox, std::vector<Item>> lists;
    std::map<ListBox, int> index;
    int errorPages = 0;
};

std::string Doc(const std::string& element, const std::vector<Item>& items,
                const std::string& status = "true") {
    std::string xml = "<root><returnValue>" + status + "</returnValue>";
    for (const Item& item : items) {
        xml += "<" + element + " " + element + "_id=\"" + std::to_string(item.id) + "\" " +
               element + "_name=\"" + item.text + "\"/>";
    }
    return xml + "</root>";
}

class ListsPresenterTest : public ::testing::Test {
protected:
    ListsPresenterTest() {
        state.xmlBaseUrl = kXmlBase;
        state.heldTexts = {
            {"rcb_1", "M"}, {"rcb_2", "Mo"}, {"rcb_3", "T"}, {"rcb_4", "E"}, {"rcb_5", "C"}};
        net.bodies["get_brand.asp"] = Doc("brand", {{"Audi", 5}, {"BMW", -3}});
        net.bodies["get_brand_kelvra.asp"] = Doc("brand", {{"Opel", 7}});
        net.bodies["get_engine_brand_yorx.asp"] = Doc("engine", {{"Cummins", 11}});
        net.bodies["get_engine_brand_kelvra.asp"] = Doc("engine", {{"Deutz", 12}});
        net.bodies["get_category.asp?mfa_id=5"] = Doc("category", {{"A4", 50}, {"A6", 51}});
        net.bodies["get_category.asp?mfa_id=-3"] = Doc("category", {{"X5", 30}});
        net.bodies["get_type.asp?mod_id=50"] = Doc("type", {{"1.8T", 500}});
        net.bodies["get_enginecode.asp?eng_id=11"] = Doc("engine", {{"ISF2.8", 110}});
    }

    AppState state;
    ScriptedTransport net;
    FakeListsView view;
    bool online = true;
    ListsPresenter presenter{state, net, view, [this] { return online; }};
};

TEST_F(ListsPresenterTest, RebuildLoadsTheFourTopListsAndSelectsPrompts) {
    presenter.GetComboxList();
    EXPECT_EQ(net.requests, (std::vector<std::string>{"get_brand.asp", "get_brand_kelvra.asp",
                                                      "get_engine_brand_yorx.asp",
                                                      "get_engine_brand_kelvra.asp"}));
    EXPECT_EQ(view.lists[ListBox::cb_group1_brand],
              (std::vector<Item>{{"M", 0}, {"Audi", 5}, {"BMW", -3}}));
    EXPECT_EQ(view.Texts(ListBox::cb_group1_brand_all), (std::vector<std::string>{"M", "Opel"}));
    EXPECT_EQ(view.Texts(ListBox::cb_group1_category), (std::vector<std::string>{"Mo"}));
    EXPECT_EQ(view.Texts(ListBox::cb_group1_type), (std::vector<std::string>{"T"}));
    EXPECT_EQ(view.Texts(ListBox::cb_group2_eg), (std::vector<std::string>{"E", "Cummins"}));
    EXPECT_EQ(view.Texts(ListBox::engine_code), (std::vector<std::string>{"C"}));
    EXPECT_EQ(view.Texts(ListBox::cb_group2_eg_all), (std::vector<std::string>{"E", "Deutz"}));
    for (auto& [list, items] : view.lists) {
        EXPECT_EQ(view.ItemIndex(list), 0);
    }
    EXPECT_EQ(view.errorPages, 0);
}

TEST_F(ListsPresenterTest, FailuresInTheRebuild) {
    struct Case {
        const char* name;
        const char* brokenPath;
        std::vector<std::string> requests;
        std::size_t brandAllSize;
        std::size_t egAllSize;
    };
    const Case cases[] = {
        {"make list fails, the rest goes on",
         "get_brand.asp",
         {"get_brand.asp", "get_brand_kelvra.asp", "get_engine_brand_yorx.asp",
          "get_engine_brand_kelvra.asp"},
         2,
         2},
        {"first engine load fails, the second is skipped",
         "get_engine_brand_yorx.asp",
         {"get_brand.asp", "get_brand_kelvra.asp", "get_engine_brand_yorx.asp"},
         2,
         1},
        {"second engine load fails",
         "get_engine_brand_kelvra.asp",
         {"get_brand.asp", "get_brand_kelvra.asp", "get_engine_brand_yorx.asp",
          "get_engine_brand_kelvra.asp"},
         2,
         1},
    };
    for (const Case& c : cases) {
        ScriptedTransport broken = net;
        broken.bodies.erase(c.brokenPath);
        FakeListsView v;
        ListsPresenter p(state, broken, v, [] { return true; });
        p.GetComboxList();
        EXPECT_EQ(broken.requests, c.requests) << c.name;
        EXPECT_EQ(v.errorPages, 1) << c.name;
        EXPECT_EQ(v.lists[ListBox::cb_group1_brand_all].size(), c.brandAllSize) << c.name;
        EXPECT_EQ(v.lists[ListBox::cb_group2_eg_all].size(), c.egAllSize) << c.name;
        EXPECT_EQ(v.ItemIndex(ListBox::cb_group2_eg_all), 0) << c.name;
    }
}

TEST_F(ListsPresenterTest, PartialListStaysWithErrorPage) {
    net.bodies["get_category.asp?mfa_id=5"] =
        "<r><returnValue>true</returnValue><category category_id='1' category_name='A'/>"
        "<category category_id='2' category_name='B'/><category category_id='abc'/></r>";
    presenter.GetComboxList();
    view.Choose(ListBox::cb_group1_brand, "Audi");
    presenter.cb_group1_brandChange();
    EXPECT_EQ(view.Texts(ListBox::cb_group1_category), (std::vector<std::string>{"Mo", "A", "B"}));
    EXPECT_EQ(view.ItemIndex(ListBox::cb_group1_category), 0);
    EXPECT_EQ(view.errorPages, 1);
}

TEST_F(ListsPresenterTest, NotTrueOrMalformedReplies) {
    struct Case {
        std::string body;
        int errorPages;
    };
    const Case cases[] = {
        {Doc("brand", {{"A", 1}}, "True"), 0},
        {"<r><brand brand_id='1' brand_name='A'/></r>", 0},
        {"<r><returnValue>true</returnValue><brand brand_id='1'", 1}, // truncated
        {"not xml at all", 1},
    };
    for (const Case& c : cases) {
        net.bodies["get_brand.asp"] = c.body;
        FakeListsView v;
        ListsPresenter p(state, net, v, [] { return true; });
        p.GetComboxList();
        EXPECT_EQ(v.Texts(ListBox::cb_group1_brand), (std::vector<std::string>{"M"})) << c.body;
        EXPECT_EQ(v.errorPages, c.errorPages) << c.body;
    }
}

TEST_F(ListsPresenterTest, CascadeReloadsOnlyTheListsBelow) {
    presenter.GetComboxList();
    net.requests.clear();

    view.Choose(ListBox::cb_group1_brand, "Audi");
    presenter.cb_group1_brandChange();
    EXPECT_EQ(view.Texts(ListBox::cb_group1_category),
              (std::vector<std::string>{"Mo", "A4", "A6"}));

    view.Choose(ListBox::cb_group1_category, "A4");
    presenter.cb_group1_categoryChange();
    EXPECT_EQ(view.Texts(ListBox::cb_group1_type), (std::vector<std::string>{"T", "1.8T"}));
    EXPECT_EQ(view.ItemIndex(ListBox::cb_group1_type), 0);
    EXPECT_EQ(view.Texts(ListBox::cb_group1_category),
              (std::vector<std::string>{"Mo", "A4", "A6"}));

    view.Choose(ListBox::cb_group1_brand, "BMW");
    presenter.cb_group1_brandChange();
    EXPECT_EQ(view.Texts(ListBox::cb_group1_category), (std::vector<std::string>{"Mo", "X5"}));
    EXPECT_EQ(view.Texts(ListBox::cb_group1_type), (std::vector<std::string>{"T"}));

    view.Choose(ListBox::cb_group2_eg, "Cummins");
    presenter.cb_group2_egChange();
    EXPECT_EQ(view.Texts(ListBox::engine_code), (std::vector<std::string>{"C", "ISF2.8"}));

    // The prompt is a choice like any other: id 0 goes into the query.
    view.Choose(ListBox::cb_group1_brand, "M");
    presenter.cb_group1_brandChange();

    EXPECT_EQ(net.requests, (std::vector<std::string>{
                                "get_category.asp?mfa_id=5", "get_type.asp?mod_id=50",
                                "get_category.asp?mfa_id=-3", "get_enginecode.asp?eng_id=11",
                                "get_category.asp?mfa_id=0"}));
    EXPECT_EQ(view.errorPages, 1); // only the unscripted mfa_id=0 request failed
    EXPECT_EQ(view.Texts(ListBox::cb_group1_brand), (std::vector<std::string>{"M", "Audi", "BMW"}));
}

TEST_F(ListsPresenterTest, OfflineRequestsNothing) {
    presenter.GetComboxList();
    view.Choose(ListBox::cb_group1_brand, "Audi");
    presenter.cb_group1_brandChange();
    view.Choose(ListBox::cb_group1_category, "A4");
    presenter.cb_group1_categoryChange();
    net.requests.clear();

    online = false;
    presenter.cb_group1_brandChange();
    EXPECT_EQ(view.Texts(ListBox::cb_group1_category), (std::vector<std::string>{"Mo"}));
    EXPECT_EQ(view.Texts(ListBox::cb_group1_type), (std::vector<std::string>{"T"}));
    presenter.cb_group2_egChange();
    presenter.GetComboxList();
    EXPECT_TRUE(net.requests.empty());
    for (auto& [list, items] : view.lists) {
        EXPECT_EQ(items.size(), 1u);
        EXPECT_EQ(view.ItemIndex(list), 0);
    }
    EXPECT_EQ(view.errorPages, 0);
}

TEST_F(ListsPresenterTest, PromptsFollowTheHeldTexts) {
    state.heldTexts.clear();
    presenter.GetComboxList();
    EXPECT_EQ(view.lists[ListBox::cb_group1_brand][0], (Item{"Select Make", 0}));
    EXPECT_EQ(view.lists[ListBox::engine_code][0], (Item{"Select Engine Model", 0}));

    state.heldTexts["rcb_1"] = "请选择车辆品牌";
    state.heldTexts["rcb_3"] = "请选择车辆具体";
    presenter.GetComboxList();
    EXPECT_EQ(view.lists[ListBox::cb_group1_brand_all][0], (Item{"请选择车辆品牌", 0}));
    EXPECT_EQ(view.lists[ListBox::cb_group1_type][0], (Item{"请选择车辆具体", 0}));
    EXPECT_EQ(view.lists[ListBox::cb_group1_category][0], (Item{"Select Model", 0}));
}

} // namespace
} // namespace kelvra
