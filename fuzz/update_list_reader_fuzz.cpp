// Any bytes as the update descriptor.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/XmlDocument.h"
#include "update/UpdateLists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kelvra::XmlLoadResult doc =
        kelvra::ParseXml(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!doc.failed()) {
        (void)kelvra::ReadUpdateList(doc.root);
    }
    return 0;
}
