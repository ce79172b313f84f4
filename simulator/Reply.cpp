#include "Reply.h"

#include "Encoding.h"

namespace kelvra::sim {

void XmlBuilder::Text(const std::string& name, const std::string& text) {
    m_children += "  <" + name + ">" + EscapeMarkup(text) + "</" + name + ">\n";
}

void XmlBuilder::Element(const std::string& name, const Attributes& attributes) {
    m_children += "  <" + name;
    for (const auto& [key, value] : attributes) {
        m_children += " " + key + "=\"" + EscapeMarkup(value) + "\"";
    }
    m_children += "/>\n";
}

std::string XmlBuilder::Finish(bool gb2312) const {
    std::string text = std::string("<?xml version=\"1.0\" encoding=\"") +
                       (gb2312 ? "gb2312" : "utf-8") + "\"?>\n<" + m_root + ">\n" + m_children +
                       "</" + m_root + ">\n";
    return gb2312 ? Utf8ToGb2312(text) : text;
}

void SendHtml(httplib::Response& res, const std::string& html, int status) {
    res.status = status;
    res.set_content(html, "text/html; charset=utf-8");
}

void SendXml(httplib::Response& res, const XmlBuilder& doc, bool gb2312) {
    res.status = 200;
    res.set_content(doc.Finish(gb2312),
                    gb2312 ? "text/xml; charset=gb2312" : "text/xml; charset=utf-8");
}

bool IsXmlPath(const std::string& path) {
    auto endsWith = [&](const std::string& tail) {
        return path.size() >= tail.size() &&
               path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
    };
    return path.rfind("/kelvra_cd/xml/", 0) == 0 || endsWith(".xml") ||
           path.find("/search/xml/") != std::string::npos;
}

} // namespace kelvra::sim
