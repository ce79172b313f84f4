// Information pages: suppliers, country choice, the product introduction ("pdf" pages), the
// web account pages (login, account info, registration, forgotten and changed password), the
// purchase page and the client download page. Form fields sent by these pages' own forms are
// UTF-8 (the forms say so); values the client puts in a URL are GB18030.
#include "Accounts.h"
#include "Areas.h"
#include "Page.h"
#include "Query.h"
#include "Reply.h"

namespace kelvra::sim {
namespace {

using httplib::Request;
using httplib::Response;

struct PageInput {
    Lang lang;
    Query client; // GB18030 values from the client's URLs
    Query form;   // UTF-8 values from this service's forms
};

PageInput Input(const Request& req) {
    Query client = Query::FromTarget(req.target, true);
    return {PageLanguage(std::string(TargetPath(req.target)), client), client,
            Query::FromTarget(req.target, false)};
}

std::string Field(const char* label, const char* name, const char* type = "text") {
    return std::string("<label>") + label + "</label><input name=\"" + name + "\" type=\"" + type +
           "\"><br>\n";
}

std::string FormStart(const char* action, Lang lang) {
    return std::string("<form class=\"box\" method=\"get\" accept-charset=\"utf-8\" action=\"") +
           action +
           "\"><input type=\"hidden\" name=\"f\" value=\"1\"><input type=\"hidden\" "
           "name=\"lan\" value=\"" +
           Pick(lang, "Chinese", "English") + "\">\n";
}

void Send(Response& res, Lang lang, const std::string& title, const std::string& body) {
    SendHtml(res, RenderPage(lang, title, "<h1>" + Html(title) + "</h1>\n" + body));
}

void Suppliers(Db& db, const Request& req, Response& res) {
    PageInput in = Input(req);
    std::string body = std::string("<p>") +
                       Pick(in.lang, "以下厂商的配件均已收录于 Kelvra 目录：",
                            "Parts of these manufacturers are in the Kelvra catalogue:") +
                       "</p>\n<table class=\"grid\"><tr><th>" + Pick(in.lang, "厂商", "Maker") +
                       "</th><th>" + Pick(in.lang, "收录配件", "Parts listed") + "</th></tr>\n";
    for (const DbRow& row :
         db.Query("SELECT maker, COUNT(*) FROM products GROUP BY maker ORDER BY maker")) {
        body += "<tr><td>" + Html(row[0]) + "</td><td>" + row[1] + "</td></tr>\n";
    }
    Send(res, in.lang, Pick(in.lang, "厂商推荐", "Suggested manufacturers"), body + "</table>");
}

void Country(const Request& req, Response& res) {
    PageInput in = Input(req);
    static const char* regions[][3] = {
        {"CN", "中国大陆", "Mainland China"}, {"HK", "中国香港", "Hong Kong, China"},
        {"TW", "中国台湾", "Taiwan, China"},  {"DE", "德国", "Germany"},
        {"GB", "英国", "United Kingdom"},     {"US", "美国", "United States"}};
    std::string chosen = in.client.Get("c", "CN");
    std::string lan = Pick(in.lang, "Chinese", "English");
    std::string body =
        std::string("<p>") +
        Pick(in.lang, "请选择您所在的地区：", "Please choose your country or region:") +
        "</p>\n<ul>\n";
    for (const auto& region : regions) {
        bool mine = chosen == region[0];
        body += std::string("<li><a href=\"country.asp?lan=") + lan + "&amp;c=" + region[0] +
                "\">" + (mine ? "<b>" : "") + Pick(in.lang, region[1], region[2]) +
                (mine ? "</b>" : "") + "</a></li>\n";
    }
    Send(res, in.lang, Pick(in.lang, "地区选择", "Select a country"), body + "</ul>");
}

void Introduction(Lang lang, Response& res) {
    std::string body = Pick(
        lang,
        "<p>Kelvra 收录欧洲与亚洲主要品牌的乘用车与商用车配件，覆盖滤清器、制动、点火、冷却、"
        "悬挂与电器等类别。</p>\n<h2>查找方式</h2>\n<ul><li>编号查找：任意编号、厂商编号、OE号、"
        "特殊号、国际编码</li><li>车型查找：品牌、系列、具体车型</li><li>发动机查找：发动机品牌与"
        "型号</li></ul>\n<h2>帐号</h2>\n<p>普通帐号每天可查看一定数量的配件详情；VIP 帐号可查看"
        "参考价格与库存，并享有更多查询次数。</p>",
        "<p>Kelvra lists parts for cars and commercial vehicles of the main European and Asian "
        "makes: filters, brakes, ignition, cooling, suspension and electrics.</p>\n<h2>How to "
        "search</h2>\n<ul><li>By number: any number, manufacturer number, OE number, special "
        "number, EAN</li><li>By vehicle: make, model, vehicle type</li><li>By engine: engine "
        "brand and engine code</li></ul>\n<h2>Accounts</h2>\n<p>An ordinary account opens a "
        "number of part pages per day; a VIP account also shows reference prices and stock, "
        "with a higher limit.</p>");
    Send(res, lang, Pick(lang, "了解Kelvra", "Introduction to Kelvra"), body);
}

std::string AccountBlock(Lang lang, const Account& a) {
    auto row = [](const char* label, const std::string& value) {
        return std::string("<tr><th>") + label + "</th><td>" + Html(value) + "</td></tr>\n";
    };
    return "<table class=\"grid\">\n" + row(Pick(lang, "用户名", "User name"), a.username) +
           row(Pick(lang, "帐号类型", "Account"),
               a.admin == "1" ? Pick(lang, "普通帐号", "Ordinary") : "VIP") +
           row(Pick(lang, "已查询/限额", "Pages / limit"),
               std::to_string(a.search_num) + " / " + std::to_string(a.search_count)) +
           row(Pick(lang, "VIP 已查询/限额", "VIP pages / limit"),
               std::to_string(a.search_num_vip) + " / " + std::to_string(a.search_count_vip)) +
           row(Pick(lang, "开通日期", "Start date"), a.s_ndate) +
           row(Pick(lang, "到期日期", "End date"), a.s_hdate) + "</table>\n";
}

void Login(Db& db, const Request& req, Response& res) {
    PageInput in = Input(req);
    std::string title = Pick(in.lang, "用户登录", "Log in");
    if (in.form.Get("f") == "1") {
        auto account = CheckCredentials(db, in.form.Get("username"), in.form.Get("password"));
        if (account) {
            Send(res, in.lang, Pick(in.lang, "帐号资料", "Account information"),
                 AccountBlock(in.lang, *account));
            return;
        }
        title = Pick(in.lang, "用户名或密码错误", "Wrong user name or password");
    }
    Send(res, in.lang, title,
         FormStart("login.asp", in.lang) + Field(Pick(in.lang, "用户名", "User name"), "username") +
             Field(Pick(in.lang, "密码", "Password"), "password", "password") + "<button>" +
             Pick(in.lang, "登录", "Log in") + "</button></form>");
}

// autoturn.asp?gid=CODE&username=U: CODE is five random digits, the group id, more random
// digits and, last, the length of the group id.
void AutoTurn(Db& db, const Request& req, Response& res) {
    PageInput in = Input(req);
    std::string code = in.client.Get("gid");
    std::optional<Account> account = FindAccount(db, in.client.Get("username"));
    bool valid = false;
    if (code.size() == 15 && account) {
        auto length = ParseInt32(code.substr(14));
        valid = length && *length >= 1 && *length <= 8 && code.substr(5, *length) == account->gid;
    }
    if (!valid) {
        Send(res, in.lang, Pick(in.lang, "链接无效", "Invalid link"),
             std::string("<p>") + Pick(in.lang, "请重新登录。", "Please log in again.") +
                 "</p>\n<p><a href=\"login.asp\">" + Pick(in.lang, "登录", "Log in") + "</a></p>");
        return;
    }
    Send(res, in.lang, Pick(in.lang, "完善资料", "Complete the account info"),
         AccountBlock(in.lang, *account));
}

void Register(Db& db, const Request& req, Response& res) {
    PageInput in = Input(req);
    std::string title = Pick(in.lang, "注册新帐号", "Register");
    if (in.form.Get("f") == "1") {
        std::string user = in.form.Get("username");
        std::string pass = in.form.Get("password");
        if (!user.empty() && !pass.empty() && CreateAccount(db, user, pass)) {
            Send(res, in.lang, Pick(in.lang, "注册成功", "Registration complete"),
                 "<p>" + Html(user) +
                     Pick(in.lang, "，您的帐号已开通，请在客户端登录。",
                          ", your account is ready: log in from the client.") +
                     "</p>");
            return;
        }
        title = Pick(in.lang, "用户名已被使用或资料不完整", "Name taken or form incomplete");
    }
    Send(res, in.lang, title,
         FormStart("reg_simple.asp", in.lang) +
             Field(Pick(in.lang, "用户名", "User name"), "username") +
             Field(Pick(in.lang, "密码", "Password"), "password", "password") +
             Field(Pick(in.lang, "电子邮箱", "E-mail"), "email") +
             Field(Pick(in.lang, "公司名称", "Company"), "company") + "<button>" +
             Pick(in.lang, "注册", "Register") + "</button></form>");
}

void Purchase(Db& db, const Request& req, Response& res) {
    PageInput in = Input(req);
    auto account = FindAccountByGid(db, in.client.Get("uid"));
    std::string body;
    if (account) {
        body += "<p>" + std::string(Pick(in.lang, "帐号：", "Account: ")) +
                Html(account->username) + "</p>\n";
    }
    body += std::string("<table class=\"grid\"><tr><th>") + Pick(in.lang, "套餐", "Plan") +
            "</th><th>" + Pick(in.lang, "每日查询", "Pages per day") + "</th><th>" +
            Pick(in.lang, "价格", "Price") + "</th></tr>\n" + "<tr><td>" +
            Pick(in.lang, "VIP 季度", "VIP quarter") +
            "</td><td>200</td><td>&yen; 680</td></tr>\n" + "<tr><td>" +
            Pick(in.lang, "VIP 全年", "VIP year") +
            "</td><td>500</td><td>&yen; 1980</td></tr>\n</table>\n<p class=\"note\">" +
            Pick(in.lang, "请联系客服 400-800-1234 完成购买。",
                 "Call 400-800-1234 to complete the purchase.") +
            "</p>";
    Send(res, in.lang, Pick(in.lang, "在线购买", "Purchase on line"), body);
}

void Forget(const Request& req, Response& res) {
    PageInput in = Input(req);
    if (in.form.Get("f") == "1") {
        Send(res, in.lang, Pick(in.lang, "已发送", "Sent"),
             std::string("<p>") +
                 Pick(in.lang, "重设密码的链接已发送到您的邮箱。",
                      "A link to set a new password has been sent to your e-mail address.") +
                 "</p>");
        return;
    }
    Send(res, in.lang, Pick(in.lang, "忘记密码", "Forgotten password"),
         FormStart("forget.asp", in.lang) +
             Field(Pick(in.lang, "用户名", "User name"), "username") +
             Field(Pick(in.lang, "电子邮箱", "E-mail"), "email") + "<button>" +
             Pick(in.lang, "发送", "Send") + "</button></form>");
}

void SetPassword(Db& db, const Request& req, Response& res) {
    PageInput in = Input(req);
    std::string uid = in.client.Get("uid");
    auto account = FindAccountByGid(db, uid);
    if (!account) {
        Send(res, in.lang, Pick(in.lang, "请先登录", "Please log in first"), "");
        return;
    }
    std::string title = Pick(in.lang, "修改密码", "Change password");
    if (in.form.Get("f") == "1") {
        std::string fresh = in.form.Get("newpass");
        if (in.form.Get("oldpass") == account->password && !fresh.empty()) {
            SetAccountField(db, account->username, "password", fresh);
            Send(res, in.lang, Pick(in.lang, "密码已修改", "Password changed"), "");
            return;
        }
        title = Pick(in.lang, "原密码错误", "Wrong current password");
    }
    Send(res, in.lang, title,
         FormStart("setPassword.asp", in.lang) + "<input type=\"hidden\" name=\"uid\" value=\"" +
             Html(uid) + "\">" + Field(Pick(in.lang, "原密码", "Current"), "oldpass", "password") +
             Field(Pick(in.lang, "新密码", "New"), "newpass", "password") + "<button>" +
             Pick(in.lang, "修改", "Change") + "</button></form>");
}

void Download(Response& res) {
    Send(res, Lang::Chinese, "下载 Kelvra 客户端 / Download the Kelvra client",
         "<p>最新版本的 Kelvra 客户端可从本页下载。</p>\n<p>The latest Kelvra client can be "
         "downloaded from this page.</p>\n<p class=\"note\">Linux / Windows</p>");
}

} // namespace

void RegisterInfoPages(Router& routes, Context& context) {
    Db& db = context.Database();
    routes.AddPage("suppliers.asp",
                   [&db](const Request& req, Response& res) { Suppliers(db, req, res); });
    routes.AddPage("country.asp", [](const Request& req, Response& res) { Country(req, res); });
    routes.AddPage("pdf/cn.asp",
                   [](const Request&, Response& res) { Introduction(Lang::Chinese, res); });
    routes.AddPage("pdf/en.asp",
                   [](const Request&, Response& res) { Introduction(Lang::English, res); });
    routes.AddPage("login.asp", [&db](const Request& req, Response& res) { Login(db, req, res); });
    routes.AddPage("autoturn.asp",
                   [&db](const Request& req, Response& res) { AutoTurn(db, req, res); });
    routes.AddPage("reg/reg_simple.asp",
                   [&db](const Request& req, Response& res) { Register(db, req, res); });
    routes.AddPage("reg/go_to_buy.asp",
                   [&db](const Request& req, Response& res) { Purchase(db, req, res); });
    routes.AddPage("forget.asp", [](const Request& req, Response& res) { Forget(req, res); });
    routes.AddPage("setPassword.asp",
                   [&db](const Request& req, Response& res) { SetPassword(db, req, res); });
    routes.Add("/kelvra_cd/download.asp", [](const Request&, Response& res) { Download(res); });
}

} // namespace kelvra::sim
