#include "service/SessionReply.h"

#include "service/DecimalInt.h"
#include "service/XmlDocument.h"

namespace kelvra {
namespace {

// Reads attributes of one element in order; the first failure is remembered and later reads
// do nothing, so fields before the failure keep their new values and none after it change.
class AttributeReader {
public:
    explicit AttributeReader(const XmlElement& element) : m_element(element) {}

    void Text(const char* name, std::string& field) {
        if (const std::string* value = Find(name)) {
            field = *value;
        }
    }
    void Counter(const char* name, std::int32_t& field) {
        const std::string* value = Find(name);
        if (value == nullptr) {
            return;
        }
        std::optional<std::int32_t> number = ParseDecimalInt32(*value);
        if (!number) {
            m_error = std::string("attribute ") + name + " is not a decimal integer";
            return;
        }
        field = *number;
    }
    bool Ok() const { return m_error.empty(); }
    const std::string& Error() const { return m_error; }

private:
    const std::string* Find(const char* name) {
        if (!Ok()) {
            return nullptr;
        }
        const std::string* value = m_element.Attribute(name);
        if (value == nullptr) {
            m_error = std::string("userinfo without ") + name;
        }
        return value;
    }

    const XmlElement& m_element;
    std::string m_error;
};

} // namespace

bool IsPositiveReply(const XmlElement& root) {
    const XmlElement* status = root.FirstChild("returnValue");
    return status != nullptr && status->text == "true";
}

SessionResult ReadUserInfo(const XmlElement& userinfo, LoginCheckKind kind, Session& session) {
    AttributeReader read(userinfo);
    if (kind == LoginCheckKind::Full) {
        read.Text("gid", session.gid);
    }
    read.Text("admin", session.admin);
    read.Text("s_mac", session.s_mac);
    read.Text("s_ip", session.s_ip);
    if (kind == LoginCheckKind::Full && read.Ok()) {
        session.s_login = "True";
    }
    read.Counter("search_num", session.search_num);
    read.Counter("search_count", session.search_count);
    if (kind == LoginCheckKind::ReadOnly) {
        read.Text("s_login", session.s_login);
    }
    read.Text("s_ndate", session.s_ndate);
    read.Text("s_hdate", session.s_hdate);
    read.Counter("search_num_vip", session.search_num_vip);
    read.Counter("search_count_vip", session.search_count_vip);
    if (!read.Ok()) {
        return {SessionOutcome::Failed, read.Error()};
    }
    return {SessionOutcome::Positive, {}};
}

SessionResult ReadAllUserInfo(const XmlElement& root, LoginCheckKind kind, Session& session,
                              const std::function<void()>& afterEach) {
    for (const XmlElement& child : root.children) {
        if (child.name != "userinfo") {
            continue;
        }
        if (SessionResult read = ReadUserInfo(child, kind, session); read.failed()) {
            return read;
        }
        if (afterEach) {
            afterEach();
        }
    }
    return {SessionOutcome::Positive, {}};
}

} // namespace kelvra
