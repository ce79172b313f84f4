#include "service/XmlDocument.h"

#include "service/HttpTransport.h"
#include "service/Redirects.h"
#include "text/Ascii.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <string>
#include <utility>

namespace kelvra {
namespace {

// Without entity substitution, DTD loading or attribute defaults; network access refused; the
// parser's own depth and size limits stay on (no XML_PARSE_HUGE), so a nesting deeper than 256
// or an entity-expansion bomb fails as a parse error instead of exhausting memory.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// The encoding named in an 8-bit XML declaration ("<?xml ... encoding='X'?>"), or empty.
std::string DeclaredEncoding(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    if (bytes.substr(0, 5) != "<?xml") {
        return {};
    }
    const std::size_t end = bytes.find("?>");
    const std::string_view decl = bytes.substr(0, end == std::string_view::npos ? 256 : end);
    const std::size_t key = decl.find("encoding");
    if (key == std::string_view::npos) {
        return {};
    }
    std::size_t i = key + 8;
    while (i < decl.size() && (decl[i] == ' ' || decl[i] == '=' || decl[i] == '\t')) {
        ++i;
    }
    if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\'')) {
        return {};
    }
    const char quote = decl[i];
    const std::size_t close = decl.find(quote, i + 1);
    if (close == std::string_view::npos) {
        return {};
    }
    return std::string(decl.substr(i + 1, close - i - 1));
}

// Chinese services declare "gb2312" but send GBK characters outside it as often as not; every
// name of that family is read as GB18030, their common superset.
const char* EncodingOverride(std::string_view bytes) {
    const std::string declared = AsciiLower(DeclaredEncoding(bytes));
    for (const char* name : {"gb2312", "gbk", "gb18030", "x-gbk", "cp936", "ms936", "windows-936",
                             "euc-cn", "csgb2312", "gb_2312-80"}) {
        if (declared == name) {
            return "GB18030";
        }
    }
    return nullptr;
}

std::string NodeName(const xmlNode* node) {
    std::string name;
    if (node->ns != nullptr && node->ns->prefix != nullptr) {
        name = reinterpret_cast<const char*>(node->ns->prefix);
        name += ':';
    }
    name += reinterpret_cast<const char*>(node->name);
    return name;
}

// Text and CDATA children concatenated; entity references are left out, never expanded.
std::string DirectText(const xmlNode* first) {
    std::string text;
    for (const xmlNode* child = first; child != nullptr; child = child->next) {
        if ((child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) &&
            child->content != nullptr) {
            text += reinterpret_cast<const char*>(child->content);
        }
    }
    return text;
}

// Copies the libxml2 tree into detached elements, node by node with an explicit stack, so
// neither the document size nor its depth costs more than linear time and constant C++ stack.
void CopyTree(const xmlNode* rootNode, XmlElement& rootElement) {
    std::vector<std::pair<const xmlNode*, XmlElement*>> pending;
    pending.emplace_back(rootNode, &rootElement);
    while (!pending.empty()) {
        auto [node, element] = pending.back();
        pending.pop_back();
        element->name = NodeName(node);
        for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next) {
            std::string attrName;
            if (attr->ns != nullptr && attr->ns->prefix != nullptr) {
                attrName = reinterpret_cast<const char*>(attr->ns->prefix);
                attrName += ':';
            }
            attrName += reinterpret_cast<const char*>(attr->name);
            element->attributes.emplace_back(std::move(attrName), DirectText(attr->children));
        }
        element->text = DirectText(node->children);
        std::size_t count = 0;
        for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
            if (child->type == XML_ELEMENT_NODE) {
                ++count;
            }
        }
        // Reserved up front: the children vector never reallocates, so the pointers kept in
        // `pending` stay valid.
        element->children.reserve(count);
        for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
            if (child->type == XML_ELEMENT_NODE) {
                element->children.emplace_back();
                pending.emplace_back(child, &element->children.back());
            }
        }
    }
}

// The parser reports through the context; keep libxml2 from also printing to stderr (encoding
// errors go to its generic handler whatever the parse options say).
void SilentErrorHandler(void*, const char*, ...) {}

XmlLoadResult Failure(std::string reason) {
    XmlLoadResult result;
    result.error = std::move(reason);
    return result;
}

std::string ParserError(xmlParserCtxtPtr context) {
    const xmlError* error = xmlCtxtGetLastError(context);
    if (error == nullptr || error->message == nullptr) {
        return "XML not well-formed";
    }
    std::string message = error->message;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) {
        message.pop_back();
    }
    return "XML not well-formed (line " + std::to_string(error->line) + "): " + message;
}

} // namespace

XmlLoadResult ParseXml(std::string_view bytes) {
    if (bytes.empty()) {
        return Failure("empty XML document");
    }
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        return Failure("XML document too large");
    }
    xmlSetGenericErrorFunc(nullptr, &SilentErrorHandler);
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (context == nullptr) {
        return Failure("XML parser could not be created");
    }
    xmlDocPtr doc = xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()),
                                      nullptr, EncodingOverride(bytes), kParseOptions);
    if (doc == nullptr || !context->wellFormed) {
        XmlLoadResult failure = Failure(ParserError(context));
        if (doc != nullptr) {
            xmlFreeDoc(doc);
        }
        xmlFreeParserCtxt(context);
        return failure;
    }
    XmlLoadResult result;
    const xmlNode* root = xmlDocGetRootElement(doc);
    if (root == nullptr) {
        result.error = "XML document without an element";
    } else {
        CopyTree(root, result.root);
        result.loaded = true;
    }
    xmlFreeDoc(doc);
    xmlFreeParserCtxt(context);
    return result;
}

XmlLoadResult LoadXml(HttpTransport& transport, const std::string& url) {
    return LoadXml(transport, url, HttpRequestOptions{});
}

XmlLoadResult LoadXml(HttpTransport& transport, const std::string& url,
                      const HttpRequestOptions& options) {
    HttpRequestOptions request = options;
    request.readBody = true;         // a document cannot be parsed from its status alone
    request.followRedirects = false; // followed here, only where FollowableRedirect allows
    std::string current = url;
    HttpResponse response;
    for (int hops = 0;; ++hops) {
        response = transport.Get(current, request);
        if (!response.ok()) {
            return Failure(std::string("request ") + HttpOutcomeName(response.outcome) + ": " +
                           response.error);
        }
        if (!IsRedirectStatus(response.status) || hops == kMaxServiceRedirects) {
            break;
        }
        std::string next = FollowableRedirect(current, response.location);
        if (next.empty()) {
            return Failure("HTTP status " + std::to_string(response.status) +
                           ": redirect to another host or scheme is not followed");
        }
        current = std::move(next);
    }
    if (response.status != 200) {
        return Failure("HTTP status " + std::to_string(response.status));
    }
    return ParseXml(response.body);
}

} // namespace kelvra
