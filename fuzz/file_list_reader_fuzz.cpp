// Any bytes as the update file list; every name it accepts must be a plain file name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "service/XmlDocument.h"
#include "update/UpdateLists.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kelvra::XmlLoadResult doc =
        kelvra::ParseXml(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!doc.failed()) {
        const kelvra::FileListReading reading = kelvra::ReadFileList(doc.root);
        if (!reading.failed()) {
            for (const auto& entry : reading.list.entries) {
                if (!kelvra::IsPlainFileName(entry.tempName) ||
                    (!entry.mainProgram.empty() && !kelvra::IsPlainFileName(entry.mainProgram))) {
                    std::abort(); // a name that could leave the executable's folder got through
                }
            }
        }
    }
    (void)kelvra::IsPlainFileName(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
