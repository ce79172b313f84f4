#pragma once

#include <string>
#include <string_view>

namespace kelvra::sim {

// Converts GB18030 bytes (what the client percent-encodes) to UTF-8; when the bytes are no valid
// GB18030 they are returned unchanged, so a stray UTF-8 value still compares as itself.
std::string Gb18030ToUtf8(std::string_view bytes);

// Converts UTF-8 to GB2312; characters outside GB2312 become "?" (never fails).
std::string Utf8ToGb2312(std::string_view utf8);

// Escapes text for an XML/HTML attribute or element body (& < > " ').
std::string EscapeMarkup(std::string_view text);

// Decodes %XX sequences; "+" stays "+" and a malformed "%" is kept as it is.
std::string PercentDecode(std::string_view text);

// Percent-encodes every byte but unreserved ASCII letters, digits and "-._~".
std::string PercentEncode(std::string_view bytes);

} // namespace kelvra::sim
