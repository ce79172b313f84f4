// Any bytes as a list reply: parse, then read entries for each list shape.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/ListLoader.h"
#include "service/XmlDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kelvra::XmlLoadResult doc =
        kelvra::ParseXml(std::string_view(reinterpret_cast<const char*>(data), size));
    if (doc.failed()) {
        return 0;
    }
    static const kelvra::ListFormat kFormats[] = {{"brand", "brand_id", "brand_name"},
                                                  {"category", "category_id", "category_name"},
                                                  {"type", "type_id", "type_name"},
                                                  {"engine", "engine_id", "engine_name"}};
    for (const auto& format : kFormats) {
        (void)kelvra::ReadListDocument(doc.root, format);
    }
    return 0;
}
