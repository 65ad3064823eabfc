#pragma once
// Finds a named section in an ELF file (32 or 64 bit, little-endian) by its
// section headers. Every offset, size and count read from the file is
// checked against the file's size before use.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace Version {

class CElfSectionReader {
public:
    // Reads `size` bytes at `offset` into `out`; false when they are not there.
    using ReadAt = std::function<bool(std::uint64_t offset, std::size_t size, void* out)>;

    CElfSectionReader(ReadAt read, std::uint64_t fileSize) : m_read(std::move(read)), m_fileSize(fileSize) {}

    // The section's bytes; false with a reason when the file is not a
    // readable ELF file, has no such section or the section is larger than
    // `maxSize`.
    bool Find(const std::string& name, std::size_t maxSize, std::string& bytes, std::string& error);

private:
    bool Read(std::uint64_t offset, std::size_t size, void* out) const;

    ReadAt m_read;
    std::uint64_t m_fileSize = 0;
};

}
