#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "settings/LanguageFile.h"
#include "settings/LanguageTables.h"
#include "settings/SettingsError.h"
#include "state/AppState.h"
#include "text/Gbk.h"

namespace kelvra {
namespace {

using test::ReadBytes;
using test::ScratchFolder;
using test::WriteBytes;

struct Row {
    const char* section;
    const char* key;
    const char* text;
};

// The language files exactly as they must be written, key by key in their order.
const std::vector<Row> kEnglishFile = {
    {"Login", "Language", "Language"},
    {"Login", "L_Change", "English"},
    {"Login", "Username", "Username"},
    {"Login", "Password", "Password"},
    {"Login", "Remember", "Remember"},
    {"Login", "Create", "JOIN FREE"},
    {"Login", "FORGOT", "FORGOT"},
    {"Login", "Login", "Login"},
    {"Login", "Cancel", "Cancel"},
    {"Login", "message_tip", "Tip"},
    {"Login", "err_message_user", "Please Input UserName"},
    {"Login", "err_message_pass", "Please Input Password"},
    {"Login", "err_message_fail", "Login failed"},
    {"Login", "err_message", "Incorrect username/password"},
    {"Login", "message_ok", "Login successfully"},
    {"Login", "change_password", "CHANGE PASSWORD"},
    {"Function", "Group1", "Code Search"},
    {"Function", "Button", "Search"},
    {"Function", "se_1", "Input OE Number"},
    {"Function", "se_2", "Input Manufacturer Number"},
    {"Function", "se_3", "Input Any Number"},
    {"Function", "se_4", "Input Special Number"},
    {"Function", "se_5", "Input EAN"},
    {"Function", "Group2", "Vehicle Search"},
    {"Function", "rcb_1", "Select Make"},
    {"Function", "rcb_2", "Select Model"},
    {"Function", "rcb_3", "Select Detail"},
    {"Function", "title_1", "Search by Vehicle Model"},
    {"Function", "title_2", "Search by Vehicle Brand"},
    {"Function", "title_3", "Search by Engine Code"},
    {"Function", "title_4", "Search by Engine Brand"},
    {"Function", "Group3", "Engine Search"},
    {"Function", "rcb_4", "Select Engine Brand"},
    {"Function", "rcb_5", "Select Engine Model"},
    {"Function", "message_tip", "Tip"},
    {"Function", "err_message_oe", "Input OE Number"},
    {"Function", "err_message_item", "Input Manufacturer Number"},
    {"Function", "err_message_any", "Input Any Number"},
    {"Function", "err_message_tsh", "Input Special Number"},
    {"Function", "err_message_gjbm", "Input EAN"},
    {"Function", "err_message_relogin",
     "The account has been logged on in other computer. Please login again."},
    {"Function", "err_message_nosearch",
     "No permission until tomorrow.For more limits, please contact us to be VIP member."},
    {"Function", "message_update", "A newer version is available.  Would you like to updated now?"},
    {"Function", "err_message_notconn", "Unable to connect to the network."},
    {"Function", "Group4", "Suggested Manufacturer"},
    {"Function", "G4_recomm", "Suggested Manufacturer"},
    {"Function", "Group5", "Other"},
    {"Function", "G5_about", "About"},
    {"Function", "G5_understand", "Introduction"},
    {"Function", "G5_apply", "Register"},
    {"Function", "G5_info", "Complete the account info"},
    {"Function", "G5_location", "Select a country"},
    {"Function", "G5_Switch_Accounts", "Login"},
    {"Function", "G5_buy_online", "Purchase on line"},
    {"Function", "G5_change_language", "Language"},
    {"Function", "err_dataerr", "Error! Please try again later."},
    {"Function", "err_vip", "Only for VIP member! Please contact us for more information."},
    {"Status", "connect_ok", "  The network is connected."},
    {"Status", "connect_err", "  The network is disconnected,please check."},
    {"Status", "connect_kelvra", "The server is undergoing maintenance.Please try again later."},
    {"Status", "s_link", " Available to Iphone or Android System"},
    {"Update", "update_Prompt", "  Download complete.Updating now?"},
    {"Update", "progress", "  progress"},
    {"Update", "Download", "  Download"},
    {"Update", "sab", "  Stop and back?"},
    {"Title", "no_login", "  Not Logged in"},
    {"Title", "login", "  Welcome"},
};
const std::vector<Row> kChineseFile = {
    {"Login", "Language", "语言"},
    {"Login", "L_Change", "中文"},
    {"Login", "Username", "用户名"},
    {"Login", "Password", "密码"},
    {"Login", "Remember", "保存用户"},
    {"Login", "Create", "创建帐号"},
    {"Login", "FORGOT", "忘记密码"},
    {"Login", "Login", "登陆"},
    {"Login", "Cancel", "取消"},
    {"Login", "message_tip", "提示"},
    {"Login", "err_message_user", "请输入用户名"},
    {"Login", "err_message_pass", "请输入密码"},
    {"Login", "err_message_fail", "登陆失败"},
    {"Login", "err_message", "输入的用户名或密码错误"},
    {"Login", "message_ok", "登陆成功"},
    {"Login", "change_password", "修改密码"},
    {"Function", "Group1", "按编号查找"},
    {"Function", "Button", "搜索"},
    {"Function", "se_1", "请输入OE号"},
    {"Function", "se_2", "请输入厂商编号"},
    {"Function", "se_3", "请输入任意编号"},
    {"Function", "se_4", "请输入特殊号"},
    {"Function", "se_5", "请输入国际编码"},
    {"Function", "Group2", "按车型查找"},
    {"Function", "rcb_1", "请选择车辆品牌"},
    {"Function", "rcb_2", "请选择车辆系列"},
    {"Function", "rcb_3", "请选择车辆具体"},
    {"Function", "title_1", "按具体车型查找配件信息"},
    {"Function", "title_2", "按车辆品牌查找配件信息"},
    {"Function", "title_3", "按发动机型号查找配件信息"},
    {"Function", "title_4", "按发动机品牌查找配件信息"},
    {"Function", "Group3", "按发动机查找"},
    {"Function", "rcb_4", "请选择发动机品牌"},
    {"Function", "rcb_5", "请选择发动机系列"},
    {"Function", "message_tip", "提示"},
    {"Function", "err_message_oe", "请输入OE号"},
    {"Function", "err_message_item", "请输入厂商编号"},
    {"Function", "err_message_any", "请输入任意编号"},
    {"Function", "err_message_product", "请输入产品编号"},
    {"Function", "err_message_relogin", "该帐号于别处登录,请重新登录"},
    {"Function", "err_message_nosearch", "今天的查询次数已用光,请明天再查询或者升级为高级帐号"},
    {"Function", "message_update", "发现新版本,是否现在升级?"},
    {"Function", "err_message_notconn", "网络不通"},
    {"Function", "Group4", "厂商推荐"},
    {"Function", "G4_recomm", "厂商推荐"},
    {"Function", "Group5", "其他选项"},
    {"Function", "G5_about", "关于我们"},
    {"Function", "G5_understand", "了解Kelvra"},
    {"Function", "G5_apply", "注册"},
    {"Function", "G5_info", "完善资料"},
    {"Function", "G5_location", "地区选择"},
    {"Function", "G5_Switch_Accounts", "登陆"},
    {"Function", "G5_buy_online", "在线购买"},
    {"Function", "G5_change_language", "语言切换"},
    {"Function", "err_dataerr", "数据异常,请稍候再试."},
    {"Function", "err_vip", "本功能只对VIP开放,请联系我们升级!"},
    {"Status", "connect_ok", "  已成功连接至凯维拉云展示中心"},
    {"Status", "connect_err", "  未能连接至凯维拉云展示中心,请检查网络是否连接正常"},
    {"Status", "connect_kelvra", "服务器维护或升级,请稍候再试...."},
    {"Status", "s_link", " 点击了解苹果系列与安卓手机安装方法"},
    {"Update", "update_Prompt", "  更新下载完成,是否现在更新程序?"},
    {"Update", "progress", "  更新进度"},
    {"Update", "Download", "  直接下载客户端"},
    {"Update", "sab", "  是否终止下载并返回程序?"},
    {"Title", "no_login", "  未登录"},
    {"Title", "login", "  欢迎"},
};

// The file bytes: each section header where its section starts, CRLF line ends, GBK texts.
std::string ExpectedBytes(const std::vector<Row>& rows) {
    std::string out;
    std::string section;
    for (const Row& row : rows) {
        if (row.section != section) {
            section = row.section;
            out += "[" + section + "]\r\n";
        }
        out += std::string(row.key) + "=" + Utf8ToGbk(row.text) + "\r\n";
    }
    return out;
}

TEST(LanguageFileTest, WrittenFilesHoldEveryKeyInOrder) {
    ScratchFolder folder;
    const struct {
        bool chinese;
        const std::vector<Row>& rows;
    } files[] = {{false, kEnglishFile}, {true, kChineseFile}};
    for (const auto& file : files) {
        const std::string path = folder.File(LanguageFileName(file.chinese));
        WriteLanguageFile(path, file.chinese);
        const std::string bytes = ReadBytes(path);
        EXPECT_EQ(bytes, ExpectedBytes(file.rows)) << path;
    }
}

TEST(LanguageFileTest, ChineseTextsAreGbkBytes) {
    ScratchFolder folder;
    const std::string path = folder.File("chs.ini");
    WriteLanguageFile(path, true);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.rfind("[Login]\r\nLanguage=\xD3\xEF\xD1\xD4\r\n", 0), 0u);
    EXPECT_NE(bytes.find("\r\nno_login=  \xCE\xB4\xB5\xC7\xC2\xBC\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nG5_understand=\xC1\xCB\xBD\xE2Kelvra\r\n"), std::string::npos);
}

TEST(LanguageFileTest, RewriteRestoresTextsAndKeepsOtherKeys) {
    ScratchFolder folder;
    const std::string path = folder.File("chs.ini");
    WriteBytes(path, "; mine\n[Function]\nerr_message_tsh=X\nButton=Edited\n[Extra]\nk=v\n");
    WriteLanguageFile(path, true);
    const LanguageFileReader reader(path);
    EXPECT_EQ(reader.Text("Function", "Button", "?"), "搜索");
    EXPECT_EQ(reader.Text("Function", "err_message_tsh", "?"), "X");
    EXPECT_EQ(reader.Text("Extra", "k", "?"), "v");
    EXPECT_EQ(ReadBytes(path).rfind("; mine\r\n[Function]\r\nerr_message_tsh=X\r\nButton=", 0), 0u);
}

TEST(LanguageFileTest, WriteIntoMissingFolderFails) {
    ScratchFolder folder;
    const std::string path = folder.File("Language/chs.ini");
    try {
        WriteLanguageFile(path, true);
        ADD_FAILURE() << "no error";
    } catch (const SettingsWriteError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
}

TEST(LanguageTablesTest, BuiltInDefaults) {
    struct Case {
        const char* section;
        const char* key;
        bool chinese;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Function", "err_message_notconn", false, "It can not connected to the network."},
        {"Function", "err_message_notconn", true, "网络不通"},
        {"Function", "message_tip", false, "Tip"},
        {"Function", "message_tip", true, "Tip"},
        {"Login", "message_tip", true, "提示"},
        {"Function", "err_message_tsh", false, "Input Special Number"},
        {"Function", "err_message_tsh", true, "请输入特殊号"},
        {"Function", "err_message_gjbm", true, "请输入国际编码"},
        {"Function", "s_err_message_relogin", false,
         "The account has been logged on in other computer. "},
        {"Function", "s_err_message_relogin", true, "该帐号于别处登录"},
        {"Function", "s_err_message_nosearch", false,
         "No permission until tomorrow.For more limits, please contact us to be VIP member."},
        {"Function", "s_err_message_nosearch", true,
         "今天的查询次数已用光,请明天再查询或者升级为高级帐号"},
        {"Title", "no_login", false, " Not Logged in"},
        {"Title", "no_login", true, " 未登录"},
        {"Title", "login", false, " Welcome"},
        {"Title", "login", true, " 欢迎"},
        {"Function", "Group1", false, "Code Search"},
        {"Status", "s_link", true, " 点击了解苹果系列与安卓手机安装方法"},
        {"Update", "progress", false, "  progress"},
        {"Function", "message_update", false,
         "A newer version is available.  Would you like to updated now?"},
        {"Function", "no_such_key", false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BuiltInText(c.section, c.key, c.chinese), c.expected)
            << c.section << "/" << c.key << (c.chinese ? " zh" : " en");
    }
}

TEST(LanguageFileTest, ReadersGiveTextOrDefault) {
    ScratchFolder folder;
    const std::string path = folder.File("enu.ini");
    WriteBytes(path, "[Update]\nprogress=  edited\n");
    EXPECT_EQ(ReadLanguageText(path, "Update", "progress", "  progress"), "  edited");
    EXPECT_EQ(ReadLanguageText(path, "Update", "sab", "  Stop and back?"), "  Stop and back?");
    EXPECT_EQ(ReadLanguageText(folder.File("none.ini"), "Update", "sab", "d"), "d");
    const LanguageFileReader reader(path);
    EXPECT_EQ(reader.Text("update", "PROGRESS", "x"), "  edited");
}

// Which language file the login and update windows read.
TEST(LanguageFileTest, FileChoiceOfTheOtherWindows) {
    struct Case {
        const char* name;
        const char* settingsLanguage; // nullptr: no settings file
        const char* current;
        bool chineseFileExists;
        LanguageFileUse use;
        const char* expected;
    };
    using U = LanguageFileUse;
    const std::vector<Case> cases = {
        {"shown, chinese", "Chinese", "English", true, U::LoginShown, "chs.ini"},
        {"shown, chinese file missing", "Chinese", "Chinese", false, U::LoginShown, "enu.ini"},
        {"shown, english", "English", "Chinese", true, U::LoginShown, "enu.ini"},
        {"shown, other value", "French", "Chinese", true, U::LoginShown, "enu.ini"},
        {"shown, no settings", nullptr, "Chinese", true, U::LoginShown, "enu.ini"},
        {"button, chinese", "English", "Chinese", true, U::LoginButton, "chs.ini"},
        {"button, chinese file missing", "Chinese", "Chinese", false, U::LoginButton, "enu.ini"},
        {"button, other value", "Chinese", "French", true, U::LoginButton, "enu.ini"},
        {"update, chinese", "English", "Chinese", true, U::UpdateWindow, "chs.ini"},
        {"update, no fallback", "English", "Chinese", false, U::UpdateWindow, "chs.ini"},
        {"update, other value", "Chinese", "French", true, U::UpdateWindow, "enu.ini"},
    };
    for (const Case& c : cases) {
        ScratchFolder folder;
        if (c.settingsLanguage != nullptr) {
            WriteBytes(folder.File("kelvra_config.ini"),
                       std::string("[INFO]\r\nLanguage=") + c.settingsLanguage + "\r\n");
        }
        if (c.chineseFileExists) {
            WriteBytes(folder.File("Language/chs.ini"), "[Login]\r\n");
        }
        AppState state;
        state.dataFolder = folder.Path();
        state.language = c.current;
        EXPECT_EQ(LanguageFileFor(state, c.use), folder.File(std::string("Language/") + c.expected))
            << c.name;
    }
}

} // namespace
} // namespace kelvra
