#pragma once

#include <string>
#include <string_view>

namespace kelvra {

// The SHA-256 digest of the bytes as 64 lower-case hex digits (OpenSSL's libcrypto). Never
// fails short of memory exhaustion, which gives an empty text that matches no digest.
std::string Sha256Hex(std::string_view bytes);

} // namespace kelvra
