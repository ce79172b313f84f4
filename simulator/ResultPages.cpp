// Result pages under both page bases: the number searches (search/so_list.asp) and the vehicle
// and engine list searches. Ids that are missing or no integers simply find nothing.
#include "Areas.h"
#include "Catalogue.h"
#include "Query.h"
#include "Reply.h"
#include "ResultTable.h"

#include <map>

namespace kelvra::sim {
namespace {

struct NumberSearch {
    NumberField field;
    const char* cn;
    const char* en;
};

const std::map<std::string, NumberSearch> kNumberSearches = {
    {"renyi", {NumberField::Any, "任意编号", "Any number"}},
    {"chansh", {NumberField::Manufacturer, "厂商编号", "Manufacturer number"}},
    {"OEM", {NumberField::Oe, "OE号", "OE number"}},
    {"teshu", {NumberField::Special, "特殊号", "Special number"}},
    {"guoji", {NumberField::Ean, "国际编码", "EAN"}},
};

ResultView BaseView(const httplib::Request& req, const Query& query) {
    ResultView view;
    view.lang = PageLanguage(std::string(TargetPath(req.target)), query);
    std::string gid = query.Get("Gid", "0");
    view.identity = IdentitySuffix(gid, query.Get("Mac"), query.Get("IP"));
    view.loggedOut = gid.empty() || gid == "0";
    return view;
}

int IdOf(const Query& query, const char* key) {
    return query.Int(key).value_or(0);
}

void NumberResults(Db& db, const httplib::Request& req, httplib::Response& res) {
    Query query = Query::FromTarget(req.target, true);
    ResultView view = BaseView(req, query);
    view.title = Pick(view.lang, "编号查询结果", "Number search results");
    std::string kind = query.Get("chaxuntiaojian");
    auto search = kNumberSearches.find(kind);
    std::vector<Product> products;
    if (search == kNumberSearches.end()) {
        view.criteria = Pick(view.lang, "未知的查询条件", "Unknown kind of search");
    } else {
        std::string number = query.Get(kind);
        view.criteria = std::string(Pick(view.lang, search->second.cn, search->second.en)) +
                        Pick(view.lang, "：", ": ") + number;
        products = FindByNumber(db, search->second.field, number);
    }
    SendHtml(res, RenderResultPage(db, view, products));
}

enum class ListSearch { VehicleType, VehicleBrand, EngineCode, EngineBrand };

void ListResults(Db& db, ListSearch kind, bool vip, const httplib::Request& req,
                 httplib::Response& res) {
    Query query = Query::FromTarget(req.target, true);
    ResultView view = BaseView(req, query);
    view.vip = vip;
    std::vector<Product> products;
    std::string subject;
    switch (kind) {
    case ListSearch::VehicleType:
        view.title = Pick(view.lang, "按具体车型查找", "Search by vehicle model");
        subject = TypeTitle(db, IdOf(query, "typ_id"), view.lang);
        products = FindByType(db, IdOf(query, "typ_id"));
        break;
    case ListSearch::VehicleBrand:
        view.title = Pick(view.lang, "按车辆品牌查找", "Search by vehicle brand");
        subject = MakeName(db, IdOf(query, "t_search_brand"), view.lang);
        products = FindByMake(db, IdOf(query, "t_search_brand"));
        break;
    case ListSearch::EngineCode:
        view.title = Pick(view.lang, "按发动机型号查找", "Search by engine code");
        subject = EngineCodeTitle(db, IdOf(query, "typ_id"), view.lang);
        products = FindByEngineCode(db, IdOf(query, "typ_id"));
        break;
    case ListSearch::EngineBrand:
        view.title = Pick(view.lang, "按发动机品牌查找", "Search by engine brand");
        subject = EngineBrandName(db, IdOf(query, "t_search_brand"), view.lang);
        products = FindByEngineBrand(db, IdOf(query, "t_search_brand"));
        break;
    }
    if (subject.empty()) {
        subject = query.Get("t_search_name");
    }
    view.criteria = std::string(Pick(view.lang, "查询：", "Search: ")) + subject;
    if (vip) {
        view.title += Pick(view.lang, "（VIP）", " (VIP)");
    }
    SendHtml(res, RenderResultPage(db, view, products));
}

} // namespace

void RegisterResultPages(Router& routes, Context& context) {
    Db& db = context.Database();
    routes.AddPage("search/so_list.asp",
                   [&db](const httplib::Request& req, httplib::Response& res) {
                       NumberResults(db, req, res);
                   });
    struct Page {
        const char* file;
        ListSearch kind;
        bool vip;
    };
    static const Page pages[] = {
        {"search/brand_list_yorx.asp", ListSearch::VehicleType, false},
        {"search/brand_list_kelvra_normal.asp", ListSearch::VehicleBrand, false},
        {"search/brand_list_kelvra_vip.asp", ListSearch::VehicleBrand, true},
        {"search/engine_list_yorx.asp", ListSearch::EngineCode, false},
        {"search/engine_list_kelvra_normal.asp", ListSearch::EngineBrand, false},
        {"search/engine_list_kelvra_vip.asp", ListSearch::EngineBrand, true},
    };
    for (const Page& page : pages) {
        routes.AddPage(page.file,
                       [&db, &page](const httplib::Request& req, httplib::Response& res) {
                           ListResults(db, page.kind, page.vip, req, res);
                       });
    }
}

} // namespace kelvra::sim
