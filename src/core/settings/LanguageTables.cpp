#include "settings/LanguageTables.h"

namespace kelvra {
namespace {

// The built-in texts that differ from the written ones (or stand in for a key a language does not
// write); nullptr: the written text of that language.
struct DifferingDefault {
    const char* section;
    const char* key;
    const char* english;
    const char* chinese;
};

const DifferingDefault kDifferingDefaults[] = {
    {"Function", "err_message_notconn", "It can not connected to the network.", nullptr},
    {"Function", "message_tip", nullptr, "Tip"},
    {"Function", "err_message_tsh", nullptr, "请输入特殊号"},
    {"Function", "err_message_gjbm", nullptr, "请输入国际编码"},
    {"Function", "s_err_message_relogin", "The account has been logged on in other computer. ",
     "该帐号于别处登录"},
    {"Function", "s_err_message_nosearch",
     "No permission until tomorrow.For more limits, please contact us to be VIP member.",
     "今天的查询次数已用光,请明天再查询或者升级为高级帐号"},
    {"Title", "no_login", " Not Logged in", " 未登录"},
    {"Title", "login", " Welcome", " 欢迎"},
};

} // namespace

const std::vector<LanguageText>& LanguageTable() {
    static const std::vector<LanguageText> table = {
        {"Login", "Language", "Language", "语言"},
        {"Login", "L_Change", "English", "中文"},
        {"Login", "Username", "Username", "用户名"},
        {"Login", "Password", "Password", "密码"},
        {"Login", "Remember", "Remember", "保存用户"},
        {"Login", "Create", "JOIN FREE", "创建帐号"},
        {"Login", "FORGOT", "FORGOT", "忘记密码"},
        {"Login", "Login", "Login", "登陆"},
        {"Login", "Cancel", "Cancel", "取消"},
        {"Login", "message_tip", "Tip", "提示"},
        {"Login", "err_message_user", "Please Input UserName", "请输入用户名"},
        {"Login", "err_message_pass", "Please Input Password", "请输入密码"},
        {"Login", "err_message_fail", "Login failed", "登陆失败"},
        {"Login", "err_message", "Incorrect username/password", "输入的用户名或密码错误"},
        {"Login", "message_ok", "Login successfully", "登陆成功"},
        {"Login", "change_password", "CHANGE PASSWORD", "修改密码"},
        {"Function", "Group1", "Code Search", "按编号查找"},
        {"Function", "Button", "Search", "搜索"},
        {"Function", "se_1", "Input OE Number", "请输入OE号"},
        {"Function", "se_2", "Input Manufacturer Number", "请输入厂商编号"},
        {"Function", "se_3", "Input Any Number", "请输入任意编号"},
        {"Function", "se_4", "Input Special Number", "请输入特殊号"},
        {"Function", "se_5", "Input EAN", "请输入国际编码"},
        {"Function", "Group2", "Vehicle Search", "按车型查找"},
        {"Function", "rcb_1", "Select Make", "请选择车辆品牌"},
        {"Function", "rcb_2", "Select Model", "请选择车辆系列"},
        {"Function", "rcb_3", "Select Detail", "请选择车辆具体"},
        {"Function", "title_1", "Search by Vehicle Model", "按具体车型查找配件信息"},
        {"Function", "title_2", "Search by Vehicle Brand", "按车辆品牌查找配件信息"},
        {"Function", "title_3", "Search by Engine Code", "按发动机型号查找配件信息"},
        {"Function", "title_4", "Search by Engine Brand", "按发动机品牌查找配件信息"},
        {"Function", "Group3", "Engine Search", "按发动机查找"},
        {"Function", "rcb_4", "Select Engine Brand", "请选择发动机品牌"},
        {"Function", "rcb_5", "Select Engine Model", "请选择发动机系列"},
        {"Function", "message_tip", "Tip", "提示"},
        {"Function", "err_message_oe", "Input OE Number", "请输入OE号"},
        {"Function", "err_message_item", "Input Manufacturer Number", "请输入厂商编号"},
        {"Function", "err_message_any", "Input Any Number", "请输入任意编号"},
        {"Function", "err_message_tsh", "Input Special Number", nullptr},
        {"Function", "err_message_gjbm", "Input EAN", nullptr},
        {"Function", "err_message_product", nullptr, "请输入产品编号"},
        {"Function", "err_message_relogin",
         "The account has been logged on in other computer. Please login again.",
         "该帐号于别处登录,请重新登录"},
        {"Function", "err_message_nosearch",
         "No permission until tomorrow.For more limits, please contact us to be VIP member.",
         "今天的查询次数已用光,请明天再查询或者升级为高级帐号"},
        {"Function", "message_update",
         "A newer version is available.  Would you like to updated now?",
         "发现新版本,是否现在升级?"},
        {"Function", "err_message_notconn", "Unable to connect to the network.", "网络不通"},
        {"Function", "Group4", "Suggested Manufacturer", "厂商推荐"},
        {"Function", "G4_recomm", "Suggested Manufacturer", "厂商推荐"},
        {"Function", "Group5", "Other", "其他选项"},
        {"Function", "G5_about", "About", "关于我们"},
        {"Function", "G5_understand", "Introduction", "了解Kelvra"},
        {"Function", "G5_apply", "Register", "注册"},
        {"Function", "G5_info", "Complete the account info", "完善资料"},
        {"Function", "G5_location", "Select a country", "地区选择"},
        {"Function", "G5_Switch_Accounts", "Login", "登陆"},
        {"Function", "G5_buy_online", "Purchase on line", "在线购买"},
        {"Function", "G5_change_language", "Language", "语言切换"},
        {"Function", "err_dataerr", "Error! Please try again later.", "数据异常,请稍候再试."},
        {"Function", "err_vip", "Only for VIP member! Please contact us for more information.",
         "本功能只对VIP开放,请联系我们升级!"},
        {"Function", "s_err_message_relogin", nullptr, nullptr},
        {"Function", "s_err_message_nosearch", nullptr, nullptr},
        {"Status", "connect_ok", "  The network is connected.", "  已成功连接至凯维拉云展示中心"},
        {"Status", "connect_err", "  The network is disconnected,please check.",
         "  未能连接至凯维拉云展示中心,请检查网络是否连接正常"},
        {"Status", "connect_kelvra", "The server is undergoing maintenance.Please try again later.",
         "服务器维护或升级,请稍候再试...."},
        {"Status", "s_link", " Available to Iphone or Android System",
         " 点击了解苹果系列与安卓手机安装方法"},
        {"Update", "update_Prompt", "  Download complete.Updating now?",
         "  更新下载完成,是否现在更新程序?"},
        {"Update", "progress", "  progress", "  更新进度"},
        {"Update", "Download", "  Download", "  直接下载客户端"},
        {"Update", "sab", "  Stop and back?", "  是否终止下载并返回程序?"},
        {"Title", "no_login", "  Not Logged in", "  未登录"},
        {"Title", "login", "  Welcome", "  欢迎"},
    };
    return table;
}

std::string BuiltInText(std::string_view section, std::string_view key, bool chinese) {
    for (const DifferingDefault& d : kDifferingDefaults) {
        if (section == d.section && key == d.key) {
            const char* text = chinese ? d.chinese : d.english;
            if (text != nullptr) {
                return text;
            }
        }
    }
    for (const LanguageText& entry : LanguageTable()) {
        if (section == entry.section && key == entry.key) {
            const char* text = chinese ? entry.chinese : entry.english;
            return text != nullptr ? text : "";
        }
    }
    return {};
}

} // namespace kelvra
