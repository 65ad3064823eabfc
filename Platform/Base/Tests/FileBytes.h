#pragma once
// A file's bytes read or written whole, for tests that prepare or check files.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace TestSupport {

// Empty when there is no such file.
inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces the file's bytes (the folder must exist).
inline void WriteFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}
