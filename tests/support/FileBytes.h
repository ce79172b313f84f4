#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kelvra::test {

// The bytes of a file; empty when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Writes the bytes as the whole file, making its folder first; a failure shows in the test's
// next read.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace kelvra::test
