// Login status, count reports and logout notices. Query values arrive percent-encoded in
// GB18030 and are compared with the accounts after conversion to UTF-8.
#include "Accounts.h"
#include "Areas.h"
#include "Query.h"
#include "Reply.h"

namespace kelvra::sim {
namespace {

void SendStatus(httplib::Response& res, bool positive) {
    XmlBuilder doc("root");
    doc.ReturnValue(positive ? "true" : "false");
    SendXml(res, doc);
}

void SendLoginStatus(httplib::Response& res, const Account& a) {
    XmlBuilder doc("root");
    doc.ReturnValue("true");
    doc.Element("userinfo", {{"gid", a.gid},
                             {"admin", a.admin},
                             {"s_mac", a.s_mac},
                             {"s_ip", a.s_ip},
                             {"search_num", std::to_string(a.search_num)},
                             {"search_count", std::to_string(a.search_count)},
                             {"s_login", a.s_login},
                             {"s_ndate", a.s_ndate},
                             {"s_hdate", a.s_hdate},
                             {"search_num_vip", std::to_string(a.search_num_vip)},
                             {"search_count_vip", std::to_string(a.search_count_vip)}});
    SendXml(res, doc);
}

// get_login_status.asp: a full check records machine and IP and logs the account in; a
// read-only check (read_only=1) only reports the stored state.
void LoginStatus(Db& db, const httplib::Request& req, httplib::Response& res) {
    Query query = Query::FromTarget(req.target, true);
    auto account = CheckCredentials(db, query.Get("username"), query.Get("password"));
    if (!account) {
        SendStatus(res, false);
        return;
    }
    if (query.Get("read_only") != "1") {
        RecordLogin(db, account->gid, query.Get("mac"), query.Get("IP"));
        account = FindAccount(db, account->username);
    }
    SendLoginStatus(res, *account);
}

// set_search_num.asp / set_search_num_vip.asp: stores the count sent; a wrong password or a
// count that is no integer changes nothing and answers false.
void StoreCount(Db& db, const httplib::Request& req, httplib::Response& res, bool vip) {
    Query query = Query::FromTarget(req.target, true);
    auto account = CheckCredentials(db, query.Get("username"), query.Get("password"));
    auto count = query.Int(vip ? "searchnum_vip" : "searchnum");
    if (!account || !count) {
        SendStatus(res, false);
        return;
    }
    StoreSearchNum(db, account->gid, *count, vip);
    SendStatus(res, true);
}

void Logout(Db& db, const httplib::Request& req, httplib::Response& res) {
    Query query = Query::FromTarget(req.target, true);
    auto account = CheckCredentials(db, query.Get("username"), query.Get("password"));
    if (!account) {
        SendStatus(res, false);
        return;
    }
    RecordLogout(db, account->gid);
    SendStatus(res, true);
}

} // namespace

void RegisterSessionServices(Router& routes, Context& context) {
    Db& db = context.Database();
    routes.Add(
        "/kelvra_cd/xml/get_login_status.asp",
        [&db](const httplib::Request& req, httplib::Response& res) { LoginStatus(db, req, res); });
    routes.Add("/kelvra_cd/xml/set_search_num.asp",
               [&db](const httplib::Request& req, httplib::Response& res) {
                   StoreCount(db, req, res, false);
               });
    routes.Add("/kelvra_cd/xml/set_search_num_vip.asp",
               [&db](const httplib::Request& req, httplib::Response& res) {
                   StoreCount(db, req, res, true);
               });
    Handler logout = [&db](const httplib::Request& req, httplib::Response& res) {
        Logout(db, req, res);
    };
    routes.Add("/kelvra_cd/xml/set_login_out.asp", logout);
    // The switch-accounts form goes below the page base, and the client sends it with two
    // slashes after the language folder; both spellings end the login.
    for (const char* base : {"/kelvra_cd/cn/", "/kelvra_cd/en/"}) {
        routes.Add(std::string(base) + "search/xml/set_login_out.asp", logout);
        routes.Add(std::string(base) + "/search/xml/set_login_out.asp", logout);
    }
}

} // namespace kelvra::sim
