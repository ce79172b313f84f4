// The client's link reporter. It runs in the client's own script world of each top document,
// after the web channel's own script: page scripts see neither this code, nor the web channel,
// nor the host object, so nothing that a page does by script reaches the host.
//
// It reports to the host (HOST_OBJECT):
// - each click on a "javascript:" link or area that the user made (a real input event with the
//   left button, or the keyboard's activation of a link) and that the page did not cancel, in
//   this document or in a frame of it whose document the client may read (same site), with the
//   address of the document that holds the link; the host accepts it only from the service's
//   own pages. The engine announces every other navigation itself; script links it does not.
// - the end of loading of each frame of the page whose document it may read (same site), so that
//   the host can close the frame's navigation.
(function () {
  'use strict';
  if (typeof qt === 'undefined' || !qt.webChannelTransport || typeof QWebChannel === 'undefined')
    return;

  var host = null;
  var waiting = [];
  new QWebChannel(qt.webChannelTransport, function (channel) {
    host = channel.objects.HOST_OBJECT;
    var calls = waiting;
    waiting = [];
    calls.forEach(function (call) { call(host); });
  });

  function send(call) {
    if (host) call(host); else waiting.push(call);
  }

  function scriptLinkOf(event) {
    if (!event.isTrusted || event.button !== 0) return null;
    var target = event.target;
    if (!target || typeof target.closest !== 'function') return null;
    var link = target.closest('a[href], area[href]');
    if (!link) return null;
    var href = (link.getAttribute('href') || '').trim();
    return /^javascript:/i.test(href) ? { href: href, where: link.ownerDocument.URL } : null;
  }

  function onClick(event) {
    var link = scriptLinkOf(event);
    if (!link) return;
    // Decided once every handler of the page has run: a click the page cancelled does nothing.
    setTimeout(function () {
      if (!event.defaultPrevented)
        send(function (h) { h.reportScriptLink(link.where, link.href); });
    }, 0);
  }

  var watched = new WeakSet();
  function watch(doc) {
    if (!doc || watched.has(doc)) return;
    watched.add(doc);
    // Seen while capturing, at the window, before any handler of the page could stop it; whether
    // the page cancelled it is read once the click is over.
    (doc.defaultView || doc).addEventListener('click', onClick, true);
    // A frame's load event does not bubble, but its parent document sees it while capturing.
    doc.addEventListener('load', onFrameLoad, true);
  }

  function onFrameLoad(event) {
    var frame = event.target;
    if (!frame || (frame.localName !== 'iframe' && frame.localName !== 'frame')) return;
    var inner = null;
    try {
      inner = frame.contentDocument; // null for a frame of another site
    } catch (e) {
      inner = null;
    }
    // The host announces only frames of the page's own site; another site's loads are not
    // its to close.
    if (!inner) return;
    send(function (h) { h.reportFrameLoaded(); });
    watch(inner);
  }

  watch(document);
})();
