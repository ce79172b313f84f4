// Pages that behave as hostile or careless web content would, for testing the client's browser
// host against real pages: scripts that look for the client's channel and forge its reports
// (from the page and from a frame of another site), script links that the page cancels, a plain
// script link, links and scripts that ask for a new window, and a frame that never finishes
// (arm a hang fault on its path). Served under both page bases as "test/hostile.asp" (result
// page) and "test/hostile_supplier.asp" (supplier page); the frames as "test/hostile_frame.asp"
// (another site: the page asks for it through the host name "localhost") and
// "test/hang_frame.asp".
#include "Areas.h"
#include "Page.h"
#include "Query.h"
#include "Reply.h"

namespace kelvra::sim {
namespace {

using httplib::Request;
using httplib::Response;

// Page scripts: what they can see of the client, and forged reports in every shape the client
// has ever accepted. Runs at load and again at each click on the "forge" button.
const char* const kForgeScript = R"JS(
function kelvraSeen() {
  var transport = (typeof qt !== 'undefined' && qt) ? typeof qt.webChannelTransport : 'undefined';
  return [typeof qt, transport, typeof QWebChannel, typeof window.__kelvraReporter].join(' ');
}
function kelvraForge() {
  var reports = [
    {kelvraReport: true, kind: 'link', href: "javascript:x('pro_show.asp?id=1')"},
    {kelvraReport: true, kind: 'link', href: "javascript:notice('price');"},
    {kelvraReport: true, kind: 'frame', href: ''}
  ];
  reports.forEach(function (r) {
    window.postMessage(r, '*');
    if (window.top !== window) window.top.postMessage(r, '*');
  });
  try {
    if (typeof qt !== 'undefined' && qt.webChannelTransport)
      qt.webChannelTransport.send(JSON.stringify({type: 6, object: 'kelvraHost',
          method: 'reportScriptLink', args: [location.href, "javascript:x('pro_show.asp')"]}));
  } catch (e) {}
  // A click made by the page's own script on a VIP link: no input of the user's.
  var scripted = document.getElementById('scripted');
  if (scripted) scripted.click();
  document.getElementById('probe').textContent = kelvraSeen();
}
if (document.readyState === 'loading')
  document.addEventListener('DOMContentLoaded', kelvraForge);
else
  kelvraForge();
)JS";

const char* const kPageScript = R"JS(
function showPicture(n) { document.getElementById('plainRan').textContent = 'ran ' + n; }
document.addEventListener('DOMContentLoaded', function () {
  document.getElementById('cancelledByListener').addEventListener('click', function (e) {
    e.preventDefault();
  });
  document.getElementById('forge').addEventListener('click', kelvraForge);
  document.getElementById('opener').addEventListener('click', function () {
    window.open(document.getElementById('opener').getAttribute('data-href'));
  });
  // What the frame of another site says it received, for the tests to read.
  window.addEventListener('message', function (e) {
    if (e.data && e.data.frameClicked)
      document.getElementById('frameClicks').textContent = String(e.data.frameClicked);
  });
});
)JS";

std::string ProductLink(const Query& query) {
    return "../search/pro_show.asp?id=" + Html(query.Get("id", "1001"));
}

// The body shared by the two hostile pages; `frames` adds the frame of another site (and the
// never-finishing one when asked for).
std::string HostileBody(const Request& req, const Query& query) {
    const std::string host = req.get_header_value("Host");
    const std::string port =
        host.substr(host.find(':') == std::string::npos ? host.size() : host.find(':'));
    std::string body =
        "<h1>Hostile page</h1>\n"
        "<p>Seen: <span id=\"probe\">?</span> <span id=\"plainRan\"></span> "
        "<span id=\"frameClicks\"></span></p>\n<p>"
        "<a id=\"cancelled\" href=\"javascript:notice('price');\" onclick=\"return false;\">"
        "VIP price, cancelled by its handler</a> | "
        "<a id=\"cancelledByListener\" href=\"javascript:notice('price');\">"
        "VIP price, cancelled by a listener</a> | "
        "<a id=\"plain\" href=\"javascript:showPicture(3);\">picture (script link)</a> | "
        "<a id=\"blank\" target=\"_blank\" href=\"" +
        ProductLink(query) +
        "\">product in a new window</a> | "
        "<button id=\"opener\" data-href=\"" +
        ProductLink(query) +
        "\">product by window.open</button> | "
        "<button id=\"forge\">forge reports</button> | "
        "<a id=\"scripted\" href=\"javascript:notice('price');\">VIP price, clicked by the "
        "page</a></p>\n"
        "<iframe id=\"foreign\" width=\"420\" height=\"90\" src=\"http://localhost" +
        Html(port) + "/kelvra_cd/cn/test/hostile_frame.asp\"></iframe>\n";
    if (query.Get("hang") == "1")
        body +=
            "<iframe id=\"hanging\" width=\"200\" height=\"40\" src=\"hang_frame.asp\"></iframe>\n";
    return body;
}

void Hostile(const Request& req, Response& res) {
    const Query query = Query::FromTarget(req.target, true);
    const Lang lang = PageLanguage(std::string(TargetPath(req.target)), query);
    SendHtml(res, RenderPage(lang, "Hostile page", HostileBody(req, query),
                             std::string(kForgeScript) + kPageScript));
}

// The frame of another site: forges reports to its top document at load, and holds a VIP
// script link that the user may click.
void HostileFrame(const Request&, Response& res) {
    // The VIP link fills the frame, so that a click anywhere in it is a click on the link.
    const std::string body =
        "<a id=\"frameNotice\" style=\"display:block;height:100vh\" "
        "href=\"javascript:notice('price');\">VIP price (frame of another site)</a>"
        "<p><span id=\"probe\">?</span> "
        "<a id=\"frameProduct\" href=\"javascript:x('pro_show.asp');\">product</a></p>";
    const std::string clicks = "var kelvraClicks = 0; document.addEventListener('click', "
                               "function () { top.postMessage({frameClicked: ++kelvraClicks}, "
                               "'*'); });";
    SendHtml(res, "<html><body style=\"margin:0\">" + body + "<script>" + kForgeScript + clicks +
                      "</script></body></html>");
}

void HangFrame(const Request&, Response& res) {
    SendHtml(res, "<html><body><p>late frame</p></body></html>");
}

} // namespace

void RegisterHostilePages(Router& routes, Context&) {
    routes.AddPage("test/hostile.asp", Hostile);
    routes.AddPage("test/hostile_supplier.asp", Hostile);
    routes.AddPage("test/hostile_frame.asp", HostileFrame);
    routes.AddPage("test/hang_frame.asp", HangFrame);
}

} // namespace kelvra::sim
