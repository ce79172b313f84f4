#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "SettingsTestSupport.h"
#include "app/ApplyLanguage.h"
#include "settings/LanguageView.h"
#include "settings/SettingsError.h"
#include "settings/SettingsFile.h"
#include "settings/WindowCaption.h"
#include "state/AppState.h"

namespace kelvra {
namespace {

using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

// Writes down every call, in order; at the list refill also the base URLs of that moment.
class RecordingView : public LanguageView {
public:
    explicit RecordingView(const AppState& state) : m_state(state) {}

    void SetControlText(const std::string& name, const std::string& text) override {
        events.push_back("text " + name + "=" + text);
    }
    void SetControlHint(const std::string& name, const std::string& hint) override {
        events.push_back("hint " + name + "=" + hint);
    }
    void SetWindowCaption(const std::string& caption) override {
        events.push_back("caption " + caption);
    }
    void SetSideItemCaption(int group, int index, const std::string& caption) override {
        events.push_back("item " + Item(group, index) + "=" + caption);
    }
    void SetSideItemImage(int group, int index, int imageIndex) override {
        events.push_back("image " + Item(group, index) + "=" + std::to_string(imageIndex));
    }
    void SetSideItemSelected(int group, int index, bool selected) override {
        events.push_back("selected " + Item(group, index) + "=" + (selected ? "1" : "0"));
    }
    void ShowPage(int index) override { events.push_back("page " + std::to_string(index)); }
    void RefillLists() override {
        events.push_back("refill");
        xmlBaseAtRefill = m_state.xmlBaseUrl;
        pageBaseAtRefill = m_state.pageBaseUrl;
        rcb1AtRefill = m_state.Held("rcb_1", "(none)");
    }

    // The text given to a control by its last "text" event, or "(none)".
    std::string TextOf(const std::string& name) const {
        std::string found = "(none)";
        const std::string prefix = "text " + name + "=";
        for (const std::string& e : events) {
            if (e.rfind(prefix, 0) == 0) {
                found = e.substr(prefix.size());
            }
        }
        return found;
    }

    std::vector<std::string> events;
    std::string xmlBaseAtRefill;
    std::string pageBaseAtRefill;
    std::string rcb1AtRefill;

private:
    static std::string Item(int group, int index) {
        return std::to_string(group) + "/" + std::to_string(index);
    }
    const AppState& m_state;
};

const std::vector<std::string> kEnglishEvents = {
    "text RzGroup1=Code Search",
    "text Button1=Search",
    "text Button2=Search",
    "text Button3=Search",
    "text Button4=Search",
    "text Button5=Search",
    "text Button6=Search",
    "text Button7=Search",
    "text Button8=Search",
    "text Button9=Search",
    "text suiEdit_group0_1= Input OE Number",
    "hint suiEdit_group0_1= Input OE Number",
    "text suiEdit_group0_2= Input Manufacturer Number",
    "hint suiEdit_group0_2= Input Manufacturer Number",
    "text suiEdit_group0_3= Input Any Number",
    "hint suiEdit_group0_3= Input Any Number",
    "text suiEdit_group0_4= Input Special Number",
    "hint suiEdit_group0_4= Input Special Number",
    "text suiEdit_group0_5= Input EAN",
    "hint suiEdit_group0_5= Input EAN",
    "text RzGroup2=Vehicle Search",
    "text Label1=Search by Vehicle Model",
    "text Label2=Search by Vehicle Brand",
    "text RzGroup3=Engine Search",
    "text Label3=Search by Engine Code",
    "text Label4=Search by Engine Brand",
    "text RzGroup4=Suggested Manufacturer",
    "item 4/0=Suggested Manufacturer",
    "text RzGroup5=Other",
    "item 5/0=About",
    "item 5/1=Introduction",
    "item 5/2=Register",
    "item 5/3=Complete the account info",
    "item 5/4=Select a country",
    "item 5/5=Login",
    "item 5/6=Purchase on line",
    "item 5/7=Language",
    "text Label5=Error! Please try again later.",
    "text suiURLLabel1=  Available to Iphone or Android System",
    "caption Kelvra(Ver 1.0.0.3)      Not Logged in",
    "refill",
    "page 2",
    "image 5/7=10",
    "selected 5/7=0",
};

const std::map<std::string, std::string> kEnglishHeld = {
    {"rcb_1", "Select Make"},
    {"rcb_2", "Select Model"},
    {"rcb_3", "Select Detail"},
    {"rcb_4", "Select Engine Brand"},
    {"rcb_5", "Select Engine Model"},
    {"message_tip", "Tip"},
    {"err_message_oe", "Input OE Number"},
    {"err_message_item", "Input Manufacturer Number"},
    {"err_message_any", "Input Any Number"},
    {"err_message_tsh", "Input Special Number"},
    {"err_message_gjbm", "Input EAN"},
    {"s_err_message_relogin", "The account has been logged on in other computer. "},
    {"s_err_message_nosearch",
     "No permission until tomorrow.For more limits, please contact us to be VIP member."},
    {"message_update", "A newer version is available.  Would you like to updated now?"},
    {"err_message_notconn", "Unable to connect to the network."},
    {"err_vip", "Only for VIP member! Please contact us for more information."},
    {"connect_ok", "  The network is connected."},
    {"connect_err", "  The network is disconnected,please check."},
    {"no_login", "  Not Logged in"},
    {"login", "  Welcome"},
};

// An event without its text: the kind and, where there is one, the control.
std::string Shape(const std::string& event) {
    const size_t equals = event.find('=');
    return equals != std::string::npos ? event.substr(0, equals) : event.substr(0, event.find(' '));
}

struct Fixture {
    ScratchFolder folder;
    AppState state;
    RecordingView view{state};

    Fixture() {
        state.dataFolder = folder.Path();
        state.serviceRoot = "http://127.0.0.1:8780";
    }
    std::string Settings() const { return folder.File("kelvra_config.ini"); }
    std::string English() const { return folder.File("Language/enu.ini"); }
    std::string Chinese() const { return folder.File("Language/chs.ini"); }
    // A first start of the client, as the main window's creation does it.
    void Start() { PrepareSettingsFiles(state); }
};

TEST(ApplyLanguageTest, FirstRunInEnglish) {
    Fixture f;
    f.Start();
    ASSERT_EQ(f.state.language, "English");
    ApplyLanguage(f.state, f.view, f.state.language);
    EXPECT_EQ(f.view.events, kEnglishEvents);
    EXPECT_EQ(f.state.heldTexts, kEnglishHeld);
    EXPECT_EQ(f.state.pageBaseUrl, "http://127.0.0.1:8780/kelvra_cd/en/");
    EXPECT_EQ(f.state.xmlBaseUrl, "http://127.0.0.1:8780/kelvra_cd/xml/");
    EXPECT_EQ(SettingsFile(f.folder.Path()).ReadLanguage(), "English");
    EXPECT_FALSE(test::IsExistingFileForTest(f.Chinese()));
}

TEST(ApplyLanguageTest, BaseUrlsAndPromptsAreInPlaceWhenListsRefill) {
    Fixture f;
    f.Start();
    ApplyLanguage(f.state, f.view, "Chinese");
    EXPECT_EQ(f.view.xmlBaseAtRefill, "http://127.0.0.1:8780/kelvra_cd/xml/");
    EXPECT_EQ(f.view.pageBaseAtRefill, "http://127.0.0.1:8780/kelvra_cd/cn/");
    EXPECT_EQ(f.view.rcb1AtRefill, "请选择车辆品牌");
}

TEST(ApplyLanguageTest, ChineseTextsPageAndFlag) {
    Fixture f;
    f.Start();
    ApplyLanguage(f.state, f.view, "Chinese");
    EXPECT_EQ(f.state.language, "Chinese");
    EXPECT_EQ(SettingsFile(f.folder.Path()).ReadLanguage(), "Chinese");
    EXPECT_EQ(f.view.TextOf("suiEdit_group0_1"), "请输入OE号");
    EXPECT_EQ(f.view.TextOf("suiURLLabel1"), "  点击了解苹果系列与安卓手机安装方法");
    EXPECT_EQ(f.view.TextOf("Label5"), "数据异常,请稍候再试.");
    EXPECT_EQ(f.state.Held("message_tip"), "提示");
    EXPECT_EQ(f.state.Held("err_message_tsh"), "请输入特殊号"); // not in chs.ini: its default
    EXPECT_EQ(f.state.Held("s_err_message_relogin"), "该帐号于别处登录");
    EXPECT_EQ(f.state.pageBaseUrl, "http://127.0.0.1:8780/kelvra_cd/cn/");
    // The same calls in the same order as in English, only the texts differ.
    ASSERT_EQ(f.view.events.size(), kEnglishEvents.size());
    for (size_t i = 0; i < kEnglishEvents.size(); ++i) {
        const std::string& e = f.view.events[i];
        const std::string& en = kEnglishEvents[i];
        EXPECT_EQ(Shape(e), Shape(en)) << i;
    }
    const std::vector<std::string> tail(f.view.events.end() - 5, f.view.events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"caption Kelvra(Ver 1.0.0.3)      未登录", "refill",
                                              "page 1", "image 5/7=9", "selected 5/7=0"}));
}

TEST(ApplyLanguageTest, CaptionRule) {
    Fixture f;
    f.Start();
    f.state.session.username = "demo";
    ApplyLanguage(f.state, f.view, "Chinese");
    EXPECT_EQ(f.view.TextOf("never"), "(none)");
    const std::string expected = "Kelvra(Ver 1.0.0.3)      欢迎,demo";
    EXPECT_NE(std::find(f.view.events.begin(), f.view.events.end(), "caption " + expected),
              f.view.events.end());
    EXPECT_EQ(CaptionFor(f.state), expected);
    f.state.session.username.clear();
    EXPECT_EQ(CaptionFor(f.state), "Kelvra(Ver 1.0.0.3)      未登录");
    // Before any language was applied the built-in texts stand in.
    AppState fresh;
    fresh.language = "English";
    EXPECT_EQ(CaptionFor(fresh), "Kelvra(Ver 1.0.0.3)     Not Logged in");
}

TEST(ApplyLanguageTest, UnknownLanguageAppliesEnglish) {
    Fixture f;
    f.Start();
    SettingsFile(f.folder.Path()).WriteLanguage("French");
    f.state.language = "French";
    ApplyLanguage(f.state, f.view, f.state.language);
    EXPECT_EQ(f.state.language, "English");
    EXPECT_EQ(SettingsFile(f.folder.Path()).ReadLanguage(), "English");
    EXPECT_EQ(f.view.events, kEnglishEvents);
}

TEST(ApplyLanguageTest, ResetLanguageDecidesWhetherTheFileIsRewritten) {
    const std::string edited = "[Function]\r\nButton=Go\r\nextra=1\r\n";
    struct Case {
        const char* name;
        const char* reset; // nullptr: key absent
        bool rewritten;
    };
    const std::vector<Case> cases = {
        {"absent", nullptr, true},
        {"zero", "0", true},
        {"one", "1", false},
        {"other text", "keep", false},
        {"zero with blanks (read as the profile functions read it)", " 0 ", true},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.Start();
        if (c.reset != nullptr) {
            SettingsFile(f.folder.Path()).WriteResetLanguage(c.reset);
        }
        WriteBytes(f.English(), edited);
        ApplyLanguage(f.state, f.view, "English");
        const std::string after = ReadBytes(f.English());
        if (c.rewritten) {
            EXPECT_NE(after, edited) << c.name;
            EXPECT_EQ(f.view.TextOf("Button9"), "Search") << c.name;
            EXPECT_NE(after.find("\r\nextra=1\r\n"), std::string::npos) << c.name;
        } else {
            EXPECT_EQ(after, edited) << c.name;
            for (int i = 1; i <= 9; ++i) {
                EXPECT_EQ(f.view.TextOf("Button" + std::to_string(i)), "Go") << c.name;
            }
            // Keys the edited file lacks show their built-in texts.
            EXPECT_EQ(f.view.TextOf("Label2"), "Search by Vehicle Brand") << c.name;
            EXPECT_EQ(f.state.Held("no_login"), " Not Logged in") << c.name;
            EXPECT_EQ(f.state.Held("err_message_notconn"), "It can not connected to the network.")
                << c.name;
        }
    }
}

TEST(ApplyLanguageTest, KeptFileIsReadAsItStandsAndWrittenWhenMissing) {
    Fixture f;
    f.Start();
    SettingsFile(f.folder.Path()).WriteResetLanguage("1");
    ApplyLanguage(f.state, f.view, "Chinese");
    EXPECT_EQ(f.view.TextOf("RzGroup1"), "按编号查找");
    // An added key is read once the file is kept.
    WriteBytes(f.Chinese(), ReadBytes(f.Chinese()) + "[Function]\r\nerr_message_tsh=X\r\n");
    ApplyLanguage(f.state, f.view, "Chinese");
    EXPECT_EQ(f.state.Held("err_message_tsh"), "请输入特殊号"); // second [Function] is not read
    const std::string withKey = "[Function]\r\nerr_message_tsh=X\r\n";
    WriteBytes(f.Chinese(), withKey);
    ApplyLanguage(f.state, f.view, "Chinese");
    EXPECT_EQ(f.state.Held("err_message_tsh"), "X");
    EXPECT_EQ(ReadBytes(f.Chinese()), withKey);
    // Deleted, the file is written again whatever reset_language says.
    std::filesystem::remove(f.Chinese());
    ApplyLanguage(f.state, f.view, "Chinese");
    EXPECT_NE(ReadBytes(f.Chinese()).find("[Title]\r\n"), std::string::npos);
    EXPECT_EQ(f.state.Held("no_login"), "  未登录");
}

TEST(ApplyLanguageTest, HeldTextsAreReplacedAsAWhole) {
    Fixture f;
    f.Start();
    f.state.heldTexts["stale"] = "old";
    ApplyLanguage(f.state, f.view, "English");
    EXPECT_EQ(f.state.heldTexts, kEnglishHeld);
    ApplyLanguage(f.state, f.view, "Chinese");
    EXPECT_EQ(f.state.heldTexts.size(), kEnglishHeld.size());
    EXPECT_EQ(f.state.Held("connect_ok"), "  已成功连接至凯维拉云展示中心");
}

// A file that cannot be written: the language is applied in memory all the same (texts from the
// file as it stands or the built-in ones, base URLs, lists, home page), and the first failure is
// raised at the end, once per file in a run.
TEST(ApplyLanguageTest, UnwritableFilesStillApplyTheLanguage) {
    struct Case {
        const char* name;
        bool settingsReadOnly;
        bool noLanguageFolder;
        const char* failedFile; // "settings" or "chinese"
    };
    for (const Case& c : {Case{"read-only settings", true, false, "settings"},
                          Case{"no language folder", false, true, "chinese"},
                          Case{"both", true, true, "settings"}}) {
        Fixture f;
        f.Start();
        const std::string before = ReadBytes(f.Settings());
        if (c.settingsReadOnly)
            ::chmod(f.Settings().c_str(), 0444);
        if (c.noLanguageFolder)
            std::filesystem::remove_all(f.folder.File("Language"));
        const std::string failed =
            std::string(c.failedFile) == "settings" ? f.Settings() : f.Chinese();
        try {
            ApplyLanguage(f.state, f.view, "Chinese");
            ADD_FAILURE() << c.name << ": no error";
        } catch (const SettingsWriteError& e) {
            EXPECT_EQ(std::string(e.what()), "Unable to write to " + failed) << c.name;
            EXPECT_TRUE(FirstReportOf(f.state, e)) << c.name;
            EXPECT_FALSE(FirstReportOf(f.state, e)) << c.name << ": reported once";
        }
        EXPECT_EQ(f.state.language, "Chinese") << c.name;
        EXPECT_NE(f.state.Held("no_login").find("未登录"), std::string::npos) << c.name;
        EXPECT_EQ(f.state.pageBaseUrl, "http://127.0.0.1:8780/kelvra_cd/cn/") << c.name;
        EXPECT_EQ(f.state.xmlBaseUrl, "http://127.0.0.1:8780/kelvra_cd/xml/") << c.name;
        EXPECT_NE(std::find(f.view.events.begin(), f.view.events.end(), "refill"),
                  f.view.events.end())
            << c.name;
        EXPECT_EQ(f.view.events.back(), "selected 5/7=0") << c.name;
        if (c.settingsReadOnly) {
            EXPECT_EQ(ReadBytes(f.Settings()), before) << c.name;
        }
        EXPECT_EQ(test::IsExistingFileForTest(f.Chinese()), !c.noLanguageFolder) << c.name;
    }
    AppState state;
    EXPECT_TRUE(FirstReportOf(state, std::runtime_error("other")));
    EXPECT_TRUE(FirstReportOf(state, std::runtime_error("other"))) << "only write failures";
}

} // namespace
} // namespace kelvra
