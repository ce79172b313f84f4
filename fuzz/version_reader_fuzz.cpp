// Any bytes as the published-version reply, then the comparison with the installed version.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/XmlDocument.h"
#include "update/VersionCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kelvra::PublishedVersion published =
        kelvra::ReadPublishedVersion(kelvra::ParseXml(bytes));
    (void)published;
    // The raw bytes as a version text too: the comparison must take any text.
    (void)kelvra::DecideVersionOutcome("1.0.0.3", std::string(bytes));
    (void)kelvra::DecideVersionOutcome(std::string(bytes), "1.0.0.3");
    return 0;
}
