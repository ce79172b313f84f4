#include "ResultTable.h"

#include "Encoding.h"

namespace kelvra::sim {
namespace {

constexpr size_t kRowsPerPage = 10;

// The page's own scripts. The client watches the script links by their names (":void(0);",
// "sure_content(", "notice(", ":fan("), so every script link here uses one of those forms.
const char* kScript = R"js(
function sure_content(id) {
  var row = document.getElementById(id);
  if (row) { row.style.display = row.style.display == 'none' ? '' : 'none'; }
}
function notice(feature) {
  var note = document.getElementById('vipnote');
  if (note) { note.style.display = ''; }
}
function fan(page) {
  var rows = document.querySelectorAll('tr[data-page]');
  for (var i = 0; i < rows.length; i++) {
    var mine = rows[i].getAttribute('data-page') == String(page);
    rows[i].style.display = mine && !rows[i].hasAttribute('data-detail') ? '' : 'none';
  }
  var links = document.querySelectorAll('.pager a');
  for (var j = 0; j < links.length; j++) {
    links[j].style.fontWeight = links[j].id == 'pg' + page ? 'bold' : 'normal';
  }
}
function mark(link) { link.innerHTML = link.innerHTML == '\u2606' ? '\u2605' : '\u2606'; }
)js";

std::string Row(Db& db, const ResultView& v, const Product& p, size_t index) {
    const std::string page = std::to_string(index / kRowsPerPage + 1);
    const std::string hidden = index >= kRowsPerPage ? " style=\"display:none\"" : "";
    const std::string detailId = "d" + p.id;
    std::string link =
        std::string(v.vip ? "pro_show_vip.asp" : "pro_show.asp") + "?id=" + p.id + v.identity;
    std::string row = "<tr data-page=\"" + page + "\"" + hidden + ">";
    row += "<td>" + std::to_string(index + 1) + "</td>";
    row += "<td><a href=\"" + Html(link) + "\">" +
           Html(v.lang == Lang::Chinese ? p.nameCn : p.nameEn) + "</a></td>";
    row += "<td>" + Html(p.maker) + "</td><td class=\"num\">" + Html(p.mfrNo) +
           "</td><td class=\"num\">" + Html(p.oeNo) + "</td><td class=\"num\">" +
           Html(p.specialNo) + "</td><td class=\"num\">" + Html(p.ean) + "</td>";
    if (v.vip) {
        row += "<td>&yen; " + std::to_string(p.price) + ".00</td>";
    }
    row += "<td class=\"tools\"><a href=\"" + Html(link) + "\">" + Pick(v.lang, "详情", "Details") +
           "</a>";
    row += "<a href=\"javascript:sure_content('" + detailId + "');\">" +
           Pick(v.lang, "适用车型", "Applications") + "</a>";
    if (!v.vip) {
        row += std::string("<a href=\"javascript:notice('price');\">") +
               Pick(v.lang, "参考价格", "Price") + "</a>";
    }
    row += "<a href=\"javascript:void(0);\" onclick=\"mark(this)\" title=\"" +
           std::string(Pick(v.lang, "标记", "Mark")) + "\">&#9734;</a></td></tr>\n";

    std::string fits;
    for (const std::string& line : VehicleFitments(db, p.id, v.lang)) {
        fits += Html(line) + "<br>";
    }
    for (const std::string& line : EngineFitments(db, p.id, v.lang)) {
        fits += Html(line) + "<br>";
    }
    int columns = v.vip ? 9 : 8;
    row += "<tr class=\"detail\" id=\"" + detailId + "\" data-page=\"" + page +
           "\" data-detail=\"1\" style=\"display:none\"><td></td><td colspan=\"" +
           std::to_string(columns - 1) + "\">" + fits + "</td></tr>\n";
    return row;
}

std::string Pager(size_t count) {
    size_t pages = (count + kRowsPerPage - 1) / kRowsPerPage;
    if (pages < 2) {
        return "";
    }
    std::string pager = "<div class=\"pager\">";
    for (size_t n = 1; n <= pages; ++n) {
        std::string s = std::to_string(n);
        pager += "<a id=\"pg" + s + "\" href=\"javascript:fan(" + s + ");\"" +
                 (n == 1 ? " style=\"font-weight:bold\"" : "") + ">" + s + "</a>";
    }
    return pager + "</div>\n";
}

} // namespace

std::string IdentitySuffix(const std::string& gid, const std::string& mac, const std::string& ip) {
    return "&Gid=" + PercentEncode(gid) + "&Mac=" + PercentEncode(mac) + "&IP=" + PercentEncode(ip);
}

std::string RenderResultPage(Db& db, const ResultView& v, const std::vector<Product>& products) {
    std::string body = "<h1>" + Html(v.title) + "</h1>\n<p>" + Html(v.criteria) + "</p>\n";
    if (v.loggedOut) {
        body +=
            std::string("<p class=\"note\">") +
            Pick(v.lang, "提示：登录后可查看配件详情。", "Note: log in to open the part details.") +
            "</p>\n";
    }
    body += std::string("<p class=\"warn\" id=\"vipnote\" style=\"display:none\">") +
            Pick(v.lang, "本功能只对VIP开放。", "Only for VIP members.") + "</p>\n";
    if (products.empty()) {
        body += std::string("<p class=\"warn\">") +
                Pick(v.lang, "没有找到符合条件的配件。", "No parts found for this search.") +
                "</p>\n";
        return RenderPage(v.lang, v.title, body, kScript);
    }
    body += "<p>" + std::string(Pick(v.lang, "共找到 ", "")) + std::to_string(products.size()) +
            Pick(v.lang, " 个配件", products.size() == 1 ? " part found" : " parts found") +
            "</p>\n<table class=\"grid\">\n<tr><th>#</th><th>" + Pick(v.lang, "配件名称", "Part") +
            "</th><th>" + Pick(v.lang, "品牌", "Brand") + "</th><th>" +
            Pick(v.lang, "厂商编号", "Manufacturer no.") + "</th><th>" +
            Pick(v.lang, "OE号", "OE no.") + "</th><th>" + Pick(v.lang, "特殊号", "Special no.") +
            "</th><th>" + Pick(v.lang, "国际编码", "EAN") + "</th>" +
            (v.vip ? std::string("<th>") + Pick(v.lang, "参考价格", "Price") + "</th>" : "") +
            "<th></th></tr>\n";
    for (size_t i = 0; i < products.size(); ++i) {
        body += Row(db, v, products[i], i);
    }
    body += "</table>\n" + Pager(products.size());
    return RenderPage(v.lang, v.title, body, kScript);
}

} // namespace kelvra::sim
