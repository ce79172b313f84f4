// Any bytes as a settings or language file: read, write a key, and read the result back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kelvra::IniDocument doc = kelvra::IniDocument::Parse(bytes);
    (void)doc.Get("INFO", "Language");
    doc.Set("INFO", "UserName", "demo");
    const kelvra::IniDocument again = kelvra::IniDocument::Parse(doc.Serialize());
    // A key just written must read back as written, whatever the file held before.
    const auto value = again.Get("info", "username");
    if (!value || *value != "demo") {
        std::abort();
    }
    return 0;
}
