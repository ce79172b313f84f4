#pragma once

#include <string>
#include <string_view>

namespace kelvra {

// Percent-encodes one query value: the text (UTF-8) is converted to GB18030 bytes; ASCII letters,
// digits and "-._~" stay as they are, every other byte becomes %XX (upper-case hex).
std::string EncodeQueryValue(std::string_view utf8);

// Service root (scheme, host, port, no trailing "/"): $KELVRA_SERVICE_URL when set, else the
// build's default. A root without scheme gets "http://"; a trailing "/" is dropped.
std::string ServiceRoot();

// The fixed addresses and bases, each the root followed by its path.
struct Endpoints {
    explicit Endpoints(std::string root) : m_root(std::move(root)) {}
    std::string PageBase(bool chinese) const; // root + "/kelvra_cd/cn/" or "/kelvra_cd/en/"
    std::string XmlBase() const;              // root + "/kelvra_cd/xml/"
    std::string ProbePage() const;            // root + "/cn/"
    std::string InfoPage() const;             // root + "/info"
    std::string UpdateDescriptor() const;     // root + "/kelvra_cd/kelvra_update/update.xml"
    std::string DownloadPage() const;         // root + "/kelvra_cd/download.asp"
    const std::string& Root() const { return m_root; }

private:
    std::string m_root;
};

} // namespace kelvra
