#include "Page.h"

#include "Encoding.h"

namespace kelvra::sim {
namespace {

const char* kStyle = R"css(
body { margin: 0; font-family: "Microsoft YaHei", "WenQuanYi Micro Hei", Arial, sans-serif;
       font-size: 13px; color: #222; background: #f4f6f9; }
.top { background: linear-gradient(#1f5fa8, #174a85); color: #fff; padding: 10px 18px; }
.top .brand { font-size: 20px; font-weight: bold; letter-spacing: 1px; }
.top .tag { font-size: 12px; opacity: 0.85; margin-left: 12px; }
.main { margin: 14px 18px; background: #fff; border: 1px solid #d5dbe3; border-radius: 4px;
        padding: 14px 18px; }
h1 { font-size: 17px; color: #174a85; margin: 0 0 10px 0; }
h2 { font-size: 14px; color: #174a85; margin: 16px 0 8px 0; }
p.note { color: #666; }
p.warn { color: #a33; font-weight: bold; }
table.grid { border-collapse: collapse; width: 100%; margin: 8px 0; }
table.grid th { background: #e8eef6; color: #174a85; text-align: left; padding: 6px 8px;
                border: 1px solid #d5dbe3; white-space: nowrap; }
table.grid td { padding: 5px 8px; border: 1px solid #e1e5eb; vertical-align: top; }
table.grid tr:nth-child(even) td { background: #fafbfd; }
tr.detail td { background: #fffbe8 !important; color: #555; }
a { color: #1f5fa8; text-decoration: none; }
a:hover { text-decoration: underline; }
.tools a { display: block; white-space: nowrap; line-height: 1.5; }
table.grid { font-size: 12px; }
table.grid td.num { white-space: nowrap; font-family: "DejaVu Sans Mono", monospace; font-size: 11px; }
.pager { margin-top: 10px; }
.pager a, .pager span { display: inline-block; padding: 2px 8px; border: 1px solid #d5dbe3;
                        margin-right: 4px; }
.pager span { background: #1f5fa8; color: #fff; }
form.box label { display: inline-block; width: 110px; }
form.box input, form.box select { margin: 4px 0; padding: 3px; width: 220px; }
form.box button { margin-top: 8px; padding: 4px 18px; }
.foot { margin: 0 18px 14px 18px; color: #888; font-size: 11px; }
)css";

} // namespace

Lang PageLanguage(const std::string& path, const Query& query) {
    if (auto lan = query.Find("lan")) {
        return *lan == "Chinese" ? Lang::Chinese : Lang::English;
    }
    return path.rfind("/kelvra_cd/cn/", 0) == 0 ? Lang::Chinese : Lang::English;
}

std::string Html(const std::string& text) {
    return EscapeMarkup(text);
}

std::string RenderPage(Lang lang, const std::string& title, const std::string& body,
                       const std::string& script) {
    std::string page;
    page += "<!DOCTYPE html>\n<html lang=\"";
    page += Pick(lang, "zh-CN", "en");
    page += "\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + Html(title) + "</title>\n<style>";
    page += kStyle;
    page += "</style>\n";
    if (!script.empty()) {
        page += "<script>\n" + script + "\n</script>\n";
    }
    page += "</head>\n<body>\n<div class=\"top\"><span class=\"brand\">Kelvra</span><span "
            "class=\"tag\">";
    page += Pick(lang, "汽车配件目录服务", "Automotive parts catalogue");
    page += "</span></div>\n<div class=\"main\">\n" + body + "\n</div>\n<div class=\"foot\">";
    page += Pick(lang, "Kelvra 配件目录 · 本地演示服务", "Kelvra parts catalogue · local service");
    page += "</div>\n</body>\n</html>\n";
    return page;
}

} // namespace kelvra::sim
