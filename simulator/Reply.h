#pragma once

#include <httplib.h>

#include <string>
#include <utility>
#include <vector>

namespace kelvra::sim {

using Attributes = std::vector<std::pair<std::string, std::string>>;

// Builds a small XML document: a root element with child elements that carry attributes or
// text. Texts are given in UTF-8 and escaped here.
class XmlBuilder {
public:
    explicit XmlBuilder(std::string root) : m_root(std::move(root)) {}
    void ReturnValue(const std::string& value) { Text("returnValue", value); }
    void Text(const std::string& name, const std::string& text);
    void Element(const std::string& name, const Attributes& attributes);
    // The document with its declaration: UTF-8, or GB2312 bytes when gb2312 is set.
    std::string Finish(bool gb2312) const;

private:
    std::string m_root;
    std::string m_children;
};

// Sends an HTML page as "text/html; charset=utf-8".
void SendHtml(httplib::Response& res, const std::string& html, int status = 200);
// Sends an XML document with the content type matching its declaration.
void SendXml(httplib::Response& res, const XmlBuilder& doc, bool gb2312 = false);
// True for the paths that answer XML (the XML base, the page-base logout forms, the update
// documents): faults use it to choose what a broken reply looks like.
bool IsXmlPath(const std::string& path);

} // namespace kelvra::sim
