// Product detail pages (ordinary and VIP), the max-query pages and the service error pages.
#include "Areas.h"
#include "Catalogue.h"
#include "Query.h"
#include "Reply.h"

namespace kelvra::sim {
namespace {

using httplib::Request;
using httplib::Response;

const char* kBackLink = "<p><a href=\"javascript:void(0);\" onclick=\"history.back()\">";

std::string NumbersTable(Lang lang, const Product& p) {
    auto row = [](const char* label, const std::string& value) {
        return std::string("<tr><th>") + label + "</th><td>" + Html(value) + "</td></tr>\n";
    };
    return "<table class=\"grid\">\n" + row(Pick(lang, "品牌", "Brand"), p.maker) +
           row(Pick(lang, "厂商编号", "Manufacturer no."), p.mfrNo) +
           row(Pick(lang, "OE号", "OE no."), p.oeNo) +
           row(Pick(lang, "特殊号", "Special no."), p.specialNo) +
           row(Pick(lang, "国际编码", "EAN"), p.ean) + "</table>\n";
}

std::string ListBlock(const char* heading, const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return "";
    }
    std::string block = std::string("<h2>") + heading + "</h2>\n<ul>\n";
    for (const std::string& line : lines) {
        block += "<li>" + Html(line) + "</li>\n";
    }
    return block + "</ul>\n";
}

std::string VipBlock(Lang lang, const Product& p) {
    static const char* suppliers[][2] = {{"华东配件中心", "East China Parts Centre"},
                                         {"京津汽配", "Jingjin Auto Parts"},
                                         {"粤港汽配", "Yuegang Auto Parts"}};
    int id = ParseInt32(p.id).value_or(0);
    std::string block = std::string("<h2>") + Pick(lang, "参考价格与库存", "Price and stock") +
                        "</h2>\n<p>" + Pick(lang, "参考价格：", "Reference price: ") + "&yen; " +
                        std::to_string(p.price) + ".00</p>\n<table class=\"grid\"><tr><th>" +
                        Pick(lang, "供应商", "Supplier") + "</th><th>" +
                        Pick(lang, "库存", "In stock") + "</th></tr>\n";
    for (int i = 0; i < 3; ++i) {
        block += "<tr><td>" + std::string(Pick(lang, suppliers[i][0], suppliers[i][1])) +
                 "</td><td>" + std::to_string((id * (7 + i * 5)) % 60) + "</td></tr>\n";
    }
    return block + "</table>\n";
}

void ProductPage(Db& db, bool vip, const Request& req, Response& res) {
    Query query = Query::FromTarget(req.target, true);
    Lang lang = PageLanguage(std::string(TargetPath(req.target)), query);
    auto product = FindProduct(db, query.Int("id").value_or(0));
    if (!product) {
        std::string title = Pick(lang, "配件不存在", "Part not found");
        SendHtml(res,
                 RenderPage(lang, title,
                            "<h1>" + title + "</h1>\n" + kBackLink + Pick(lang, "返回", "Back") +
                                "</a></p>"),
                 404);
        return;
    }
    std::string name = lang == Lang::Chinese ? product->nameCn : product->nameEn;
    std::string body =
        "<h1>" + Html(name) + " · " + Html(product->maker) + " " + Html(product->mfrNo) +
        "</h1>\n" + NumbersTable(lang, *product) +
        ListBlock(Pick(lang, "适用车型", "Vehicles"), VehicleFitments(db, product->id, lang)) +
        ListBlock(Pick(lang, "适用发动机", "Engines"), EngineFitments(db, product->id, lang));
    if (vip) {
        body += VipBlock(lang, *product);
    }
    body += std::string(kBackLink) + Pick(lang, "返回结果列表", "Back to the results") + "</a></p>";
    SendHtml(res, RenderPage(lang, name, body));
}

void MaxQueryPage(bool vip, const Request& req, Response& res) {
    Query query = Query::FromTarget(req.target, true);
    Lang lang = PageLanguage(std::string(TargetPath(req.target)), query);
    std::string title = Pick(lang, "查询次数已用完", "Query limit reached");
    std::string count = Html(query.Get("searchnum"));
    std::string body = "<h1>" + title + "</h1>\n<p>";
    body += Html(query.Get("username")) + Pick(lang, "，您好。", ", hello.") + "</p>\n<p>";
    body +=
        vip ? std::string(Pick(lang, "您的VIP查询次数已达到 ", "Your VIP pages counted: ")) +
                  count + Pick(lang, " 次，已用完本期额度。", ". The VIP limit is used up.")
            : std::string(Pick(lang, "今天的查询次数已用光（", "No permission until tomorrow (")) +
                  count +
                  Pick(lang, " 次），请明天再查询或者升级为高级帐号。",
                       " pages counted). For more, become a VIP member.");
    body += "</p>\n<p><a href=\"../reg/go_to_buy.asp?uid=" + Html(query.Get("Gid")) +
            "&amp;lan=" + std::string(Pick(lang, "Chinese", "English")) + "\">" +
            Pick(lang, "在线购买VIP帐号", "Buy a VIP account online") + "</a></p>";
    SendHtml(res, RenderPage(lang, title, body));
}

void ErrorPage(Lang lang, Response& res) {
    std::string title = Pick(lang, "帐号状态异常", "Account check failed");
    std::string body = "<h1>" + title + "</h1>\n<p>";
    body += Pick(lang, "您的登录已失效，或该帐号已在别处登录。请重新登录后再查询。",
                 "Your login has ended, or the account is in use on another computer. "
                 "Please log in again.");
    body += "</p>";
    SendHtml(res, RenderPage(lang, title, body));
}

} // namespace

void RegisterProductPages(Router& routes, Context& context) {
    Db& db = context.Database();
    routes.AddPage("search/pro_show.asp",
                   [&db](const Request& req, Response& res) { ProductPage(db, false, req, res); });
    routes.AddPage("search/pro_show_vip.asp",
                   [&db](const Request& req, Response& res) { ProductPage(db, true, req, res); });
    routes.AddPage("search/maxquery.asp",
                   [](const Request& req, Response& res) { MaxQueryPage(false, req, res); });
    routes.AddPage("search/maxquery_vip.asp",
                   [](const Request& req, Response& res) { MaxQueryPage(true, req, res); });
    // err.asp is the Chinese error page, err_en.asp the English one, under either base.
    routes.AddPage("err.asp", [](const Request&, Response& res) { ErrorPage(Lang::Chinese, res); });
    routes.AddPage("err_en.asp",
                   [](const Request&, Response& res) { ErrorPage(Lang::English, res); });
}

} // namespace kelvra::sim
