#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testfiles {

// The bytes of a file; "" when it cannot be read.
inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Writes the bytes as the whole file, making its folder when needed.
inline void writeFile(const std::filesystem::path& file, const std::string& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace testfiles
