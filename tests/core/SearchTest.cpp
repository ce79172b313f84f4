#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "search/NumberText.h"
#include "search/ScanDetector.h"
#include "search/SearchPresenter.h"
#include "search/SearchUrls.h"

namespace kelvra {
namespace {

const std::string kBase = "http://svc/kelvra_cd/en/";

class FakeSearchView : public SearchView {
public:
    std::map<int, std::string> text, hint;
    std::map<std::string, ListChoice> choices;
    std::vector<std::string> events; // focus, messages, navigations and page changes in order
    std::string location;

    std::string FieldText(int kind) const override { return Get(text, kind); }
    std::string FieldHint(int kind) const override { return Get(hint, kind); }
    void SetFieldText(int kind, const std::string& t) override { text[kind] = t; }
    void FocusField(int kind) override { events.push_back("focus:" + std::to_string(kind)); }
    void SelectFieldText(int kind) override { events.push_back("select:" + std::to_string(kind)); }
    void ShowWrongCheckDigit(const std::string& number) override {
        events.push_back("check digit:" + number);
    }
    ListChoice Choice(ListBox list) const override {
        auto it = choices.find(ListOf(list).controlName);
        return it == choices.end() ? ListChoice{} : it->second;
    }
    void FocusList(ListBox list) override {
        events.push_back(std::string("focus:") + ListOf(list).controlName);
    }
    void ShowInfo(const std::string& t, const std::string& caption) override {
        events.push_back("info:" + caption + ":" + t);
    }
    void NavigateMain(const std::string& url) override {
        events.push_back("nav:" + url);
        location = url;
    }
    std::string MainLocationUrl() const override { return location; }
    void ShowPage(int index) override { events.push_back("page:" + std::to_string(index)); }
    void NumberSearched(int kind, const std::string& t) override {
        searched.push_back(std::to_string(kind) + ":" + t);
    }
    std::vector<std::string> searched; // what the field histories were told

private:
    static std::string Get(const std::map<int, std::string>& m, int k) {
        auto it = m.find(k);
        return it == m.end() ? std::string() : it->second;
    }
};

struct Fixture {
    AppState state;
    FakeSearchView view;
    bool online = true;
    SearchPresenter presenter{state, view, [this] { return online; }};
    Fixture() {
        state.pageBaseUrl = kBase;
        state.language = "English";
        for (int k = 1; k <= 5; ++k) {
            view.hint[k] = " Input placeholder " + std::to_string(k);
            view.text[k] = view.hint[k];
        }
    }
    void LogIn(const std::string& admin) {
        state.session.username = "demo";
        state.session.gid = "77";
        state.session.s_mac = "00-1A-2B-3C-4D-5E";
        state.session.s_ip = "10.0.0.8";
        state.session.admin = admin;
    }
};

TEST(SearchUrl, NumberKindsLoggedOut) {
    struct Case {
        int kind;
        std::string typed;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {1, "abc", "search/so_list.asp?chaxuntiaojian=renyi&renyi=abc"},
        {2, "M-77.x_~", "search/so_list.asp?chaxuntiaojian=chansh&chansh=M-77.x_~"},
        {3, "1234", "search/so_list.asp?chaxuntiaojian=OEM&OEM=1234"},
        {4, "T9", "search/so_list.asp?chaxuntiaojian=teshu&teshu=T9"},
        {5, "4006381333931", "search/so_list.asp?chaxuntiaojian=guoji&guoji=4006381333931"},
        // Blanks are kept as typed, and reserved characters cannot split the query.
        {3, "  12 34 ", "search/so_list.asp?chaxuntiaojian=OEM&OEM=%20%2012%2034%20"},
        {1, "a&b#c%d+e", "search/so_list.asp?chaxuntiaojian=renyi&renyi=a%26b%23c%25d%2Be"},
        // Chinese input travels as its GB18030 bytes ("刹车" = C9 B2 B3 B5).
        {1, "\xE5\x88\xB9\xE8\xBD\xA6",
         "search/so_list.asp?chaxuntiaojian=renyi&renyi=%C9%B2%B3%B5"},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.view.text[c.kind] = c.typed;
        EXPECT_EQ(GetSearchURL(c.kind, f.view, f.state),
                  kBase + c.expected + "&f_mode=jqcz&Gid=0&Mac=&IP=")
            << "kind " << c.kind;
    }
}

TEST(SearchUrl, ListKindsCarryParametersInOrder) {
    for (std::string admin : {"1", "0"}) {
        Fixture f;
        f.LogIn(admin);
        f.view.choices = {
            {"cb_group1_brand", {16, "BMW"}},     {"cb_group1_category", {5, "3er"}},
            {"cb_group1_type", {901, "320d"}},    {"cb_group1_brand_all", {16, "BMW"}},
            {"cb_group2_eg", {-4, "Bosch & Co"}}, {"engine_code", {31, "N47"}},
            {"cb_group2_eg_all", {8, "MAN"}}};
        const std::string id = "&Gid=77&Mac=00-1A-2B-3C-4D-5E&IP=10.0.0.8";
        const bool vip = admin != "1";
        EXPECT_EQ(GetSearchURL(6, f.view, f.state),
                  kBase +
                      "search/brand_list_yorx.asp?typ_id=901&t_search_brand=16"
                      "&t_search_brand_Name=BMW&t_selected=901&t_bra_id=16&t_bra_name=BMW"
                      "&t_search_name=BMW" +
                      id);
        EXPECT_EQ(
            GetSearchURL(7, f.view, f.state),
            kBase +
                (vip ? "search/brand_list_kelvra_vip.asp" : "search/brand_list_kelvra_normal.asp") +
                "?t_search_brand=16&t_search_brand_Name=BMW&t_bra_id=16&t_bra_name=BMW"
                "&t_search_name=BMW&t_selected=0" +
                id);
        EXPECT_EQ(GetSearchURL(8, f.view, f.state),
                  kBase +
                      "search/engine_list_yorx.asp?typ_id=31&t_search_brand=-4"
                      "&t_search_brand_Name=Bosch%20%26%20Co&t_bra_id=-4"
                      "&t_bra_name=Bosch%20%26%20Co&t_search_name=Bosch%20%26%20Co&t_selected=0" +
                      id);
        EXPECT_EQ(GetSearchURL(9, f.view, f.state),
                  kBase +
                      (vip ? "search/engine_list_kelvra_vip.asp"
                           : "search/engine_list_kelvra_normal.asp") +
                      "?typ_id=8&t_search_brand=8&t_search_brand_Name=MAN&t_bra_id=8&t_bra_name=MAN"
                      "&t_search_name=MAN&t_selected=0" +
                      id);
    }
}

TEST(SearchUrl, UnknownKindsAreEmpty) {
    Fixture f;
    for (int kind : {0, 10, -1, 100}) {
        EXPECT_EQ(GetSearchURL(kind, f.view, f.state), "");
    }
}

TEST(SearchPanel, EnterRules) {
    struct Case {
        int kind;
        std::string text;
        bool online;
        std::vector<std::string> events;
        int kindAfter;
    };
    const std::string oe = "nav:" + kBase + "search/so_list.asp?chaxuntiaojian=OEM&OEM=";
    const std::vector<Case> cases = {
        {3, "1234", true, {oe + "1234&f_mode=jqcz&Gid=0&Mac=&IP=", "page:0", "select:3"}, 3},
        {3, "   ", true, {"info:Tip:Input OE Number"}, 1},
        {3, "", true, {"info:Tip:Input OE Number"}, 1},
        {4, " ", true, {"info:Tip:Input Special Number"}, 1},
        {5, "  ", true, {"info:Tip:Input EAN"}, 1},
        {2,
         "  ",
         true,
         {"nav:" + kBase +
              "search/so_list.asp?chaxuntiaojian=chansh&chansh=%20%20&f_mode=jqcz&Gid=0&Mac=&IP=",
          "page:0", "select:2"},
         2},
        {1, "", true, {"info:Tip:Input Any Number"}, 1},
        {2, "", true, {"info:Tip:Input Manufacturer Number"}, 1},
        {3, "1234", false, {"page:0", "select:3"}, 3},
        {1, " Input placeholder 1", true, {"info:Tip:Input Any Number"}, 1},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.online = c.online;
        f.view.text[c.kind] = c.text;
        f.presenter.FieldKeyPress(c.kind, 'a');
        EXPECT_TRUE(f.view.events.empty());
        f.presenter.FieldKeyPress(c.kind, 13);
        EXPECT_EQ(f.view.events, c.events) << "kind " << c.kind << " text '" << c.text << "'";
        EXPECT_EQ(f.state.searchKind, c.kindAfter);
        // Every accepted search, online or not, is offered to the field's history; no refusal.
        EXPECT_EQ(f.view.searched, c.kindAfter == 1 ? std::vector<std::string>{}
                                                    : std::vector<std::string>{
                                                          std::to_string(c.kind) + ":" + c.text});
    }
}

TEST(SearchPanel, ButtonRules) {
    struct Case {
        int kind;
        std::string text;
        bool online;
        std::vector<std::string> events;
        int kindAfter;
    };
    const std::vector<Case> cases = {
        {5,
         "400638",
         true,
         {"nav:" + kBase +
              "search/so_list.asp?chaxuntiaojian=guoji&guoji=400638&f_mode=jqcz&Gid=0&Mac=&IP=",
          "page:0", "focus:5", "select:5"},
         5},
        {1, " Input placeholder 1", true, {"focus:1"}, 1},
        {2, "   ", true, {"focus:2"}, 1},
        {4, "T9", false, {}, 1},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.online = c.online;
        f.view.text[c.kind] = c.text;
        f.presenter.NumberButtonClick(c.kind);
        EXPECT_EQ(f.view.events, c.events) << "kind " << c.kind;
        EXPECT_EQ(f.state.searchKind, c.kindAfter);
        EXPECT_EQ(f.view.searched.size(), c.kindAfter == 1 ? 0u : 1u) << "kind " << c.kind;
    }
}

TEST(SearchPanel, PlaceholderOnFocus) {
    Fixture f;
    f.presenter.FieldEnter(3);
    EXPECT_EQ(f.view.text[3], "");
    f.view.text[3] = "   ";
    f.presenter.FieldExit(3);
    EXPECT_EQ(f.view.text[3], f.view.hint[3]);
    f.view.text[3] = "12";
    f.presenter.FieldEnter(3);
    f.presenter.FieldExit(3);
    EXPECT_EQ(f.view.text[3], "12");
}

TEST(SearchPanel, ListButtonsFocusFirstMissingChoice) {
    struct Case {
        int kind;
        std::map<std::string, ListChoice> choices;
        std::string focus;
    };
    const std::vector<Case> cases = {
        {6, {}, "focus:cb_group1_brand"},
        {6,
         {{"cb_group1_brand", {1, "A"}}, {"cb_group1_category", {2, "B"}}},
         "focus:cb_group1_type"},
        {6,
         {{"cb_group1_brand", {1, "A"}}, {"cb_group1_type", {3, "C"}}},
         "focus:cb_group1_category"},
        {7, {}, "focus:cb_group1_brand_all"},
        {8, {{"cb_group2_eg", {4, "E"}}}, "focus:engine_code"},
        {9, {}, "focus:cb_group2_eg_all"},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.view.choices = c.choices;
        f.presenter.ListButtonClick(c.kind);
        EXPECT_EQ(f.view.events, std::vector<std::string>{c.focus}) << "kind " << c.kind;
        EXPECT_EQ(f.state.searchKind, 1);
    }
}

TEST(SearchPanel, ListButtonOfflineDoesNothing) {
    Fixture f;
    f.online = false;
    f.view.choices = {{"cb_group1_brand_all", {16, "BMW"}}};
    f.presenter.ListButtonClick(7);
    EXPECT_TRUE(f.view.events.empty());
    EXPECT_EQ(f.state.searchKind, 1);
    f.online = true;
    f.presenter.ListButtonClick(7);
    ASSERT_EQ(f.view.events.size(), 2u);
    EXPECT_EQ(f.state.searchKind, 7);
}

// What was searched before a login is searched again after it, with the fields and lists as
// they are at the login and the new session's identity.
TEST(SearchPanel, ReplayAfterLoginSearchesAgain) {
    struct Case {
        const char* name;
        std::function<void(Fixture&)> before; // what the user did before logging in
        std::string admin;
        std::string expected; // the one navigation after the login, below kBase
    };
    const std::string id = "&Gid=77&Mac=00-1A-2B-3C-4D-5E&IP=10.0.0.8";
    const Case cases[] = {
        {"uses current fields and session",
         [](Fixture& f) {
             f.view.text[3] = "1234";
             f.presenter.FieldKeyPress(3, 13);
             f.view.text[3] = "5678"; // edited after the search
         },
         "1", "search/so_list.asp?chaxuntiaojian=OEM&OEM=5678&f_mode=jqcz" + id},
        {"takes lists as they are at login",
         [](Fixture& f) {
             f.view.choices = {{"cb_group1_brand", {16, "BMW"}},
                               {"cb_group1_category", {1601, "3er"}},
                               {"cb_group1_type", {160101, "320i"}}};
             f.presenter.ListButtonClick(6);
             EXPECT_EQ(f.state.searchKind, 6);
             // Another make chosen since: the later lists fell back to their prompts.
             f.view.choices = {{"cb_group1_brand", {21, "VW"}}};
         },
         "0",
         "search/brand_list_yorx.asp?typ_id=0&t_search_brand=21&t_search_brand_Name=VW"
         "&t_selected=0&t_bra_id=21&t_bra_name=VW&t_search_name=VW" +
             id},
        {"offline Enter is replayed over an earlier page",
         [](Fixture& f) {
             f.view.text[3] = "1234";
             f.presenter.FieldKeyPress(3, 13); // online: a page is shown
             f.online = false;
             f.view.text[1] = "  ";
             f.presenter.FieldKeyPress(1, 13); // offline: only the kind is recorded
             EXPECT_EQ(f.state.searchKind, 1);
             f.view.text[1] = "W712"; // edited before the login
         },
         "1", "search/so_list.asp?chaxuntiaojian=renyi&renyi=W712&f_mode=jqcz" + id},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name); // names the case of a failure inside `before` too
        Fixture f;
        c.before(f);
        f.LogIn(c.admin);
        f.view.events.clear();
        f.presenter.AfterLogin("0");
        EXPECT_EQ(f.view.events, std::vector<std::string>{"nav:" + kBase + c.expected}) << c.name;
    }
}

TEST(SearchPanel, ReplayOfBrandSearchFollowsAdminAtLogin) {
    Fixture f;
    f.view.choices = {{"cb_group1_brand_all", {16, "BMW"}}};
    f.presenter.ListButtonClick(7);
    ASSERT_NE(f.view.location.find("brand_list_kelvra_normal.asp"), std::string::npos);
    f.LogIn("0");
    f.presenter.AfterLogin("0");
    EXPECT_NE(f.view.location.find("brand_list_kelvra_vip.asp"), std::string::npos);
}

TEST(SearchPanel, ReplayOutcomes) {
    {
        Fixture f; // never navigated: nothing sent
        f.presenter.AfterLogin("0");
        f.presenter.AfterLogin("1");
        EXPECT_TRUE(f.view.events.empty());
    }
    for (std::string lang : {"Chinese", "English"}) {
        Fixture f;
        f.state.language = lang;
        f.view.location = kBase + "search/so_list.asp?x";
        f.presenter.AfterLogin("1");
        EXPECT_EQ(f.view.events,
                  std::vector<std::string>{"nav:" + kBase +
                                           (lang == "Chinese" ? "err.asp" : "err_en.asp")});
    }
}

// Numbers as they come from a paste, a full-width keyboard or a scanner, and what is searched.
TEST(NumberText, CleanedAsSearched) {
    const std::pair<std::string, std::string> cases[] = {
        {" KV-50259\n", "KV-50259"},
        {"\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x93\xEF\xBC\x94\xEF\xBC\x95", "12345"}, // １２３４５
        {"\t06J 001\r\n113 ", "06J 001113"}, // line breaks inside go, blanks stay
        // Ａ Ｂ － １ full-width blank ２, then a no-break blank: folded, the end trimmed.
        {"\xEF\xBC\xA1\xEF\xBC\xA2\xEF\xBC\x8D\xEF\xBC\x91\xE3\x80\x80\xEF\xBC\x92\xC2\xA0",
         "AB-1 2"},
        {"  12 34 ", "12 34"},
        {"\xE5\x88\xB9\xE8\xBD\xA6\r\n", "\xE5\x88\xB9\xE8\xBD\xA6"}, // Chinese stays
        {"\xFF"
         "12\n",
         "\xFF"
         "12"}, // a stray byte stays
        {" \n\t", ""},
    };
    for (const auto& [typed, searched] : cases)
        EXPECT_EQ(CleanNumber(typed), searched) << typed;
}

TEST(NumberText, EanCheckDigits) {
    const std::pair<std::string, EanCheck> cases[] = {
        {"4006381333931", EanCheck::Valid},    {"4006381333932", EanCheck::WrongCheckDigit},
        {"96385074", EanCheck::Valid},         {"96385075", EanCheck::WrongCheckDigit},
        {"036000291452", EanCheck::Valid},     {"036000291450", EanCheck::WrongCheckDigit},
        {"12345", EanCheck::NotACode},         {"40063813339310", EanCheck::NotACode},
        {"4006381A33931", EanCheck::NotACode}, {"", EanCheck::NotACode},
    };
    for (const auto& [number, check] : cases)
        EXPECT_EQ(CheckEan(number), check) << number;
}

// A number pasted, typed in full width or scanned elsewhere: the field shows what is searched,
// and it is left selected so that the next number replaces it.
TEST(SearchPanel, PastedAndScannedNumbers) {
    enum How { Enter, Button, Scan };
    struct Case {
        const char* name;
        How how;
        int kind;          // the field typed into (Scan: ignored)
        std::string typed; // the field's text, or the scanned code
        int searchedKind;
        std::string field;              // the searched field's text afterwards
        std::vector<std::string> extra; // events after the navigation and the page
    };
    const Case cases[] = {
        {"pasted with a line break", Enter, 1, " KV-50259\n", 1, "KV-50259", {"select:1"}},
        {"full-width OE number",
         Button,
         3,
         "\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x93\xEF\xBC\x94",
         3,
         "1234",
         {"focus:3", "select:3"}},
        {"EAN with a wrong check digit",
         Enter,
         5,
         "4006381333932\r\n",
         5,
         "4006381333932",
         {"select:5", "check digit:4006381333932"}},
        {"EAN scanned in a page", Scan, 0, "4006381333931", 5, "4006381333931", {"select:5"}},
        {"other code scanned", Scan, 0, "KV-50259", 1, "KV-50259", {"select:1"}},
        {"14 digits scanned", Scan, 0, "40063813339310", 1, "40063813339310", {"select:1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        if (c.how == Scan) {
            f.presenter.ScannedNumber(c.typed);
        } else {
            f.view.text[c.kind] = c.typed;
            c.how == Enter ? f.presenter.FieldKeyPress(c.kind, 13)
                           : f.presenter.NumberButtonClick(c.kind);
        }
        EXPECT_EQ(f.view.text[c.searchedKind], c.field);
        EXPECT_EQ(f.state.searchKind, c.searchedKind);
        std::vector<std::string> expected;
        if (c.how == Scan)
            expected.push_back("focus:" + std::to_string(c.searchedKind));
        expected.push_back("nav:" + GetSearchURL(c.searchedKind, f.view, f.state));
        expected.push_back("page:0");
        expected.insert(expected.end(), c.extra.begin(), c.extra.end());
        EXPECT_EQ(f.view.events, expected);
        EXPECT_NE(f.view.location.find("=" + c.field + "&f_mode"), std::string::npos)
            << f.view.location;
    }
}

// Keys typed into a page, a list or the side panel: a scanner's burst is taken as a scan and
// none of it is delivered; a person's keys are all delivered, in the order typed.
TEST(ScanDetection, BurstsAndPeople) {
    using Key = ScanDetector::Key;
    // A step: '\n' Enter, '^' Shift pressed, '*' an auto-repeated key, 'u' a key released,
    // '|' the keys pause (the caller's timer ran out), anything else a character; each step
    // `gap` ms after the one before.
    struct Typing {
        std::string keys;
        int gap;
    };
    struct Case {
        const char* name;
        std::vector<Typing> typing;
        std::string delivered; // what reached the control, in order
        std::vector<std::string> scans;
    };
    const Case cases[] = {
        {"EAN scanned", {{"4006381333931\n", 5}}, "", {"4006381333931"}},
        {"three scans in one burst",
         {{"4006381333931\n4006381333948\n4006381333955\n", 5}},
         "",
         {"4006381333931", "4006381333948", "4006381333955"}},
        {"scanner with key releases", {{"9u6u3u8u5u0u7u4u\nu", 3}}, "", {"96385074"}},
        {"capitals with Shift", {{"^K^V-50259\n", 4}}, "", {"KV-50259"}},
        {"person typing", {{"4006381333931\n", 120}}, "4006381333931\n", {}},
        {"person with key releases", {{"1u2u\n", 90}}, "1u2u\n", {}},
        {"too short for a scan", {{"1234567\n", 5}}, "1234567\n", {}},
        {"a pause before Enter", {{"40063813", 5}, {"\n", 40}}, "40063813\n", {}},
        {"typed, then scanned", {{"12", 150}, {"9", 150}, {"6385074\n", 5}}, "12", {"96385074"}},
        {"a quick pair, then a pause", {{"12", 10}, {"|", 100}, {"3", 100}}, "123", {}},
        {"a held key", {{"1", 200}, {"*******\n", 20}}, "1*******\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScanDetector detector;
        std::string delivered, held;
        std::vector<std::string> scans;
        std::int64_t time = 1000;
        for (const Typing& t : c.typing) {
            for (const char k : t.keys) {
                time += t.gap;
                if (k == '|') {
                    if (detector.Pause())
                        delivered += std::exchange(held, "");
                    continue;
                }
                const Key key = k == '\n'  ? Key::Enter
                                : k == '^' ? Key::Modifier
                                : k == '*' ? Key::Other
                                           : Key::Character;
                const ScanDetector::Decision d =
                    k == 'u' ? detector.Release() : detector.Press(key, std::string(1, k), time);
                if (d.flushHeld)
                    delivered += std::exchange(held, "");
                if (d.action == ScanDetector::Action::Deliver)
                    delivered += k;
                else if (d.action == ScanDetector::Action::Hold)
                    held += k;
                else if (d.action == ScanDetector::Action::Scan)
                    held.clear(), scans.push_back(detector.ScannedText());
            }
        }
        if (detector.Pause())
            delivered += held;
        EXPECT_EQ(delivered, c.delivered);
        EXPECT_EQ(scans, c.scans);
    }
}

} // namespace
} // namespace kelvra
