#include "url/Endpoints.h"

#include "text/Gbk.h"

#include <cstdlib>

#ifndef KELVRA_DEFAULT_SERVICE_URL
#define KELVRA_DEFAULT_SERVICE_URL "http://127.0.0.1:8780"
#endif

namespace kelvra {
namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

std::string NormaliseRoot(std::string root) {
    while (!root.empty() && (root.back() == ' ' || root.back() == '\t' || root.back() == '\n' ||
                             root.back() == '\r')) {
        root.pop_back();
    }
    std::size_t start = 0;
    while (start < root.size() && (root[start] == ' ' || root[start] == '\t')) {
        ++start;
    }
    root.erase(0, start);
    while (!root.empty() && root.back() == '/') {
        root.pop_back();
    }
    if (root.find("://") == std::string::npos) {
        root.insert(0, "http://");
    }
    return root;
}

} // namespace

std::string EncodeQueryValue(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string bytes = Utf8ToGbk(utf8);
    std::string out;
    out.reserve(bytes.size() * 3);
    for (unsigned char c : bytes) {
        if (IsUnreserved(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string ServiceRoot() {
    const char* configured = std::getenv("KELVRA_SERVICE_URL");
    std::string root = configured != nullptr ? NormaliseRoot(configured) : std::string();
    // Set but blank (or only "/") counts as not set.
    if (root.empty() || root == "http://") {
        root = NormaliseRoot(KELVRA_DEFAULT_SERVICE_URL);
    }
    return root;
}

std::string Endpoints::PageBase(bool chinese) const {
    return m_root + (chinese ? "/kelvra_cd/cn/" : "/kelvra_cd/en/");
}

std::string Endpoints::XmlBase() const {
    return m_root + "/kelvra_cd/xml/";
}

std::string Endpoints::ProbePage() const {
    return m_root + "/cn/";
}

std::string Endpoints::InfoPage() const {
    return m_root + "/info";
}

std::string Endpoints::UpdateDescriptor() const {
    return m_root + "/kelvra_cd/kelvra_update/update.xml";
}

std::string Endpoints::DownloadPage() const {
    return m_root + "/kelvra_cd/download.asp";
}

} // namespace kelvra
