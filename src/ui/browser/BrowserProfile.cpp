#include "ui/browser/BrowserProfile.h"

#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace kelvra::ui {
namespace {

// Reports to the host every click on a "javascript:" link or area (the engine does not announce
// such navigations), and the end of loading of every sub-frame. Runs once per document. Only
// the top document has the web channel: frames hand their reports to it by message.
const char* const kReporterScript = R"JS(
(function () {
  if (window.__kelvraReporter) return;
  window.__kelvraReporter = true;
  var isTop = window === window.top;
  var report;
  if (isTop) {
    if (typeof qt === 'undefined' || !qt.webChannelTransport || typeof QWebChannel === 'undefined')
      return;
    var host = null, waiting = [];
    new QWebChannel(qt.webChannelTransport, function (channel) {
      host = channel.objects.%1;
      var calls = waiting; waiting = [];
      calls.forEach(function (call) { call(); });
    });
    report = function (kind, href) {
      var call = function () {
        if (kind === 'link') host.reportScriptLink(href); else host.reportFrameLoaded();
      };
      if (host) call(); else waiting.push(call);
    };
    window.addEventListener('message', function (event) {
      var data = event.data;
      if (data && typeof data === 'object' && data.kelvraReport === true)
        report(data.kind === 'link' ? 'link' : 'frame', String(data.href || ''));
    });
  } else {
    report = function (kind, href) {
      window.top.postMessage({ kelvraReport: true, kind: kind, href: href }, '*');
    };
    window.addEventListener('load', function () { report('frame', ''); });
  }
  document.addEventListener('click', function (event) {
    if (event.button !== 0 || !event.target || !event.target.closest) return;
    var link = event.target.closest('a[href], area[href]');
    if (!link) return;
    var href = (link.getAttribute('href') || '').trim();
    if (/^javascript:/i.test(href)) report('link', href);
  }, true);
})();
)JS";

QString ScriptSource() {
    QFile channelJs(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    QString source;
    if (channelJs.open(QIODevice::ReadOnly))
        source = QString::fromUtf8(channelJs.readAll());
    return source + QLatin1Char('\n') +
           QString::fromLatin1(kReporterScript).arg(BrowserProfile::HostObjectName());
}

} // namespace

BrowserProfile::BrowserProfile(QObject* parent) : QObject(parent) {}

QString BrowserProfile::HostObjectName() {
    return QStringLiteral("kelvraHost");
}

QWebEngineProfile* BrowserProfile::Profile() {
    if (m_profile)
        return m_profile;
    m_profile = new QWebEngineProfile(this); // no storage name: off the record
    QWebEngineScript reporter;
    reporter.setName(QStringLiteral("kelvra-link-reporter"));
    reporter.setInjectionPoint(QWebEngineScript::DocumentCreation);
    reporter.setWorldId(QWebEngineScript::MainWorld);
    reporter.setRunsOnSubFrames(true);
    reporter.setSourceCode(ScriptSource());
    m_profile->scripts()->insert(reporter);
    return m_profile;
}

} // namespace kelvra::ui
