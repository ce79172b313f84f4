// The probe page "/cn/" (its status is set by the control interface) and "/info".
#include "Areas.h"
#include "Page.h"
#include "Reply.h"

namespace kelvra::sim {
namespace {

std::string ProbeBody(int status) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Kelvra</title></head>"
           "<body><p>Kelvra service: status " +
           std::to_string(status) + "</p></body></html>\n";
}

std::string InfoBody() {
    return R"html(<h1>Kelvra 汽车配件目录 / Kelvra automotive parts catalogue</h1>
<p>Kelvra 是面向汽修厂与配件经销商的在线配件目录：按任意编号、厂商编号、OE号、特殊号、国际编码查找，
或按车型与发动机查找配件。</p>
<p>Kelvra is an online parts catalogue for workshops and parts dealers: look parts up by any
number, manufacturer number, OE number, special number or EAN, or by vehicle and engine.</p>
<h2>服务 / Services</h2>
<table class="grid">
<tr><th>中文</th><th>English</th></tr>
<tr><td>编号查找</td><td>Number search</td></tr>
<tr><td>车型查找</td><td>Vehicle search</td></tr>
<tr><td>发动机查找</td><td>Engine search</td></tr>
<tr><td>VIP 会员：更多查询次数与参考价格</td><td>VIP members: higher limits and reference prices</td></tr>
</table>
<p class="note">客服热线 / Hotline: 400-800-1234 · service@kelvra.example</p>)html";
}

} // namespace

void RegisterProbePages(Router& routes, Context& context) {
    routes.Add("/cn/", [&context](const httplib::Request&, httplib::Response& res) {
        int status = context.ProbeStatus();
        res.status = status;
        if (status >= 300 && status < 400) {
            std::string location = context.ProbeLocation();
            res.set_header("Location", location.empty() ? "/kelvra_cd/cn/suppliers.asp" : location);
        }
        res.set_content(ProbeBody(status), "text/html; charset=utf-8");
    });
    routes.Add("/info", [](const httplib::Request&, httplib::Response& res) {
        SendHtml(res, RenderPage(Lang::Chinese, "Kelvra", InfoBody()));
    });
}

} // namespace kelvra::sim
