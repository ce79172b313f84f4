// Pages that behave as hostile or careless web content would, for testing the client's browser
// host against real pages: scripts that look for the client's channel and forge its reports
// (from the page and from a frame of another site), script links that the page cancels, a plain
// script link, links and scripts that ask for a new window, and a frame that never finishes
// (arm a hang fault on its path). Served under both page bases as "test/hostile.asp" (result
// page) and "test/hostile_supplier.asp" (supplier page); the frames as "test/hostile_frame.asp"
// (another site: the page asks for it through the host name "localhost") and
// "test/hang_frame.asp".
// The engine's own navigations: "test/redirect.asp?how=meta|replace&to=product|vip" moves on to
// an ordinary or VIP product page by a meta refresh or location.replace while it parses;
// "test/hostile.asp?rotate=1" holds two frames of another site that navigate themselves every
// 0.5 s through addresses carrying the service's markers ("test/rotating_frame.asp");
// "?popups=1" opens windows without a click and tries data: and qrc: as its top document;
// "?alerts=1" raises script dialogs in a loop ("advert_alerts=1" has the rotating frames do so).
#include <cstdlib>

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
    if (query.Get("rotate") == "1") {
        const std::string alerts = query.Get("advert_alerts") == "1" ? "&amp;alerts=1" : "";
        for (const char* id : {"rotating1", "rotating2"})
            body += std::string("<iframe id=\"") + id +
                    "\" width=\"200\" height=\"40\" src=\"http://localhost" + Html(port) +
                    "/kelvra_cd/cn/test/rotating_frame.asp?step=0" + alerts + "\"></iframe>\n";
    }
    return body;
}

// Without any click: five windows for a product page and a fake login page, then data: and qrc:
// addresses for the top document; "popupsDone" says when all was tried.
const char* const kPopupScript = R"JS(
document.addEventListener('DOMContentLoaded', function () {
  for (var i = 0; i < 5; ++i) window.open('../search/pro_show.asp?id=1001&popup=' + i);
  window.open('../login.asp?fake=1');
  window.open('data:text/html,<p>Log in again</p>');
  setTimeout(function () { location.href = 'qrc:///qtwebchannel/qwebchannel.js'; }, 200);
  setTimeout(function () { location.href = 'data:text/html,<p>Log in again</p>'; }, 400);
  setTimeout(function () { document.getElementById('popupsDone').textContent = 'done'; }, 800);
});
)JS";

// A dialog, then the next as soon as it is closed (or suppressed), for as long as the page lives.
const char* const kAlertScript = R"JS(
var kelvraAlerts = 0;
function kelvraAlertAgain() {
  alert('dialog ' + (++kelvraAlerts));
  document.getElementById('alerts').textContent = String(kelvraAlerts);
  setTimeout(kelvraAlertAgain, 50);
}
document.addEventListener('DOMContentLoaded', function () { setTimeout(kelvraAlertAgain, 100); });
)JS";

void Hostile(const Request& req, Response& res) {
    const Query query = Query::FromTarget(req.target, true);
    const Lang lang = PageLanguage(std::string(TargetPath(req.target)), query);
    std::string scripts = std::string(kForgeScript) + kPageScript;
    std::string body = HostileBody(req, query);
    if (query.Get("popups") == "1") {
        scripts += kPopupScript;
        body += "<p id=\"popupsDone\"></p>\n";
    }
    if (query.Get("alerts") == "1") {
        scripts += kAlertScript;
        body += "<p id=\"alerts\"></p>\n";
    }
    SendHtml(res, RenderPage(lang, "Hostile page", body, scripts));
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

// Another site's advert: every 0.5 s it moves itself on, by location.replace, location.href or
// a meta refresh in turn, to its own address with one of the service's markers in the query.
void RotatingFrame(const Request& req, Response& res) {
    const Query query = Query::FromTarget(req.target, true);
    const int step = std::atoi(query.Get("step", "0").c_str());
    static const char* const kMarkers[] = {"pro_show.asp", "pro_show_vip.asp", "notice(", ":fan(",
                                           "sure_content("};
    const std::string next = "rotating_frame.asp?step=" + std::to_string(step + 1) +
                             (query.Get("alerts") == "1" ? "&alerts=1" : "") +
                             "&x=" + kMarkers[step % 5];
    std::string head, script;
    switch (step % 3) {
    case 0:
        script = "setTimeout(function () { location.replace('" + next + "'); }, 500);";
        break;
    case 1:
        script = "setTimeout(function () { location.href = '" + next + "'; }, 500);";
        break;
    default:
        head = "<meta http-equiv=\"refresh\" content=\"0.5;url=" + Html(next) + "\">";
    }
    if (query.Get("alerts") == "1")
        script +=
            "setTimeout(function () { alert('advert ' + " + std::to_string(step) + "); }, 100);";
    SendHtml(res, "<html><head>" + head + "</head><body><p>advert " + std::to_string(step) +
                      "</p><script>" + script + "</script></body></html>");
}

// Moves on to another page of the service while it parses, as an engine-started navigation.
void Redirect(const Request& req, Response& res) {
    const Query query = Query::FromTarget(req.target, true);
    // Named, not given as an address, so that this page's own address carries no marker.
    const std::string to = query.Get("to") == "vip" ? "../search/pro_show_vip.asp?id=1001"
                                                    : "../search/pro_show.asp?id=1001";
    if (query.Get("how") == "meta") {
        SendHtml(res, "<html><head><meta http-equiv=\"refresh\" content=\"0;url=" + Html(to) +
                          "\"></head><body><p>moving on</p></body></html>");
        return;
    }
    SendHtml(res, "<html><head><script>location.replace('" + to +
                      "');</script></head><body><p>moving on</p></body></html>");
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
    routes.AddPage("test/rotating_frame.asp", RotatingFrame);
    routes.AddPage("test/redirect.asp", Redirect);
}

} // namespace kelvra::sim
