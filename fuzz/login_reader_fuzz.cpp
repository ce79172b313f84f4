// Any bytes as a login-status reply, read as the full and as the read-only check.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "service/SessionReply.h"
#include "service/XmlDocument.h"
#include "state/Session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kelvra::XmlLoadResult doc =
        kelvra::ParseXml(std::string_view(reinterpret_cast<const char*>(data), size));
    if (doc.failed()) {
        return 0;
    }
    (void)kelvra::IsPositiveReply(doc.root);
    for (auto kind : {kelvra::LoginCheckKind::Full, kelvra::LoginCheckKind::ReadOnly}) {
        kelvra::Session session;
        (void)kelvra::ReadAllUserInfo(doc.root, kind, session);
    }
    return 0;
}
