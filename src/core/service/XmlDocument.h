#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvra {

class HttpTransport;
struct HttpRequestOptions;

// One element of a parsed document, detached from the parser. Names, attribute values and text
// are UTF-8 whatever encoding the document declared.
struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes; // in document order
    std::string text;                 // concatenated text and CDATA of the direct children
    std::vector<XmlElement> children; // child elements in document order

    // The value of the first attribute of that exact name, or nullptr.
    const std::string* Attribute(std::string_view attributeName) const;
    // The first direct child element of that exact name, or nullptr.
    const XmlElement* FirstChild(std::string_view childName) const;
};

struct XmlLoadResult {
    bool loaded = false; // the document came and was read whole
    std::string error;   // why it failed (transfer, HTTP or parse failure), for logs
    XmlElement root;     // the document element when loaded

    bool failed() const { return !loaded; }
};

// Parses a whole document, honouring its declared encoding (UTF-8, UTF-16, GB2312, GBK,
// GB18030, ...). No DTD loading, no entity expansion, no network access. Failure: failed().
XmlLoadResult ParseXml(std::string_view bytes);

// GETs the URL and parses the reply, following up to five redirects that FollowableRedirect
// allows (same host; http to https). A failed transfer, a redirect elsewhere or beyond the fifth,
// a final status other than 200 or a parse error is one failure (failed()).
XmlLoadResult LoadXml(HttpTransport& transport, const std::string& url);
XmlLoadResult LoadXml(HttpTransport& transport, const std::string& url,
                      const HttpRequestOptions& options);

} // namespace kelvra
