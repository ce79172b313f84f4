#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvra {

// The whole content of a regular file; nullopt when it is missing, a directory or unreadable.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Replaces the file with `bytes` in one step: the bytes go to "<path><mark><pid>" beside it
// (mark ".tmp-" unless a caller names its own), are flushed to disk and renamed over the file, so
// readers see either the old or the new content. A read-only file, a folder that cannot be
// written, a full disk or a failed rename throw SettingsWriteError(path); the old file is then
// unchanged and no temporary file is left.
void WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string_view mark = ".tmp-");

// Removes the temporary files that a write cut short by a crash or a kill left in the folder
// ("<name><mark><pid>" of another process); this process's own are kept. Errors are ignored.
void RemoveStaleTemporaries(const std::string& folder, std::string_view mark = ".tmp-");

} // namespace kelvra
