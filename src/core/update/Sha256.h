#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvra {

// SHA-256 (FIPS 180-4) over bytes fed in any number of pieces.
class Sha256 {
public:
    Sha256();
    // Adds bytes to the message. Never fails.
    void Update(std::string_view bytes);
    // The digest as 64 lower-case hex digits; the object must not be updated afterwards.
    std::string HexDigest();

private:
    void Compress(const unsigned char* block);

    std::array<std::uint32_t, 8> m_state;
    std::array<unsigned char, 64> m_block{};
    std::size_t m_blockUsed = 0;
    std::uint64_t m_totalBytes = 0;
};

// The SHA-256 digest of the bytes as 64 lower-case hex digits.
std::string Sha256Hex(std::string_view bytes);

} // namespace kelvra
