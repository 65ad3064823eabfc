#include "Platform/Registry/ElfSectionReader.h"

#include <cstring>
#include <vector>

namespace Version {
namespace {

constexpr std::uint32_t kSectionNoBits = 8;
constexpr std::uint32_t kExtendedIndex = 0xFFFF;
// Far beyond any real module; bounds the work a forged count can cause.
constexpr std::uint64_t kMaxSections = 1u << 20;
constexpr std::size_t kMaxNamesSize = 16 * 1024 * 1024;

struct CSectionHeader {
    std::uint32_t name = 0;
    std::uint32_t type = 0;
    std::uint32_t link = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

template <typename T>
T Load(const unsigned char* bytes)
{
    T value{};
    std::memcpy(&value, bytes, sizeof value); // the host is little-endian, as the files are
    return value;
}

}

bool CElfSectionReader::Read(std::uint64_t offset, std::size_t size, void* out) const
{
    if (offset > m_fileSize || size > m_fileSize - offset)
        return false;
    return m_read(offset, size, out);
}

bool CElfSectionReader::Find(const std::string& name, std::size_t maxSize, std::string& bytes, std::string& error)
{
    unsigned char header[64] = {};
    if (!Read(0, 52, header) || std::memcmp(header, "\x7F" "ELF", 4) != 0) {
        error = "not an ELF file";
        return false;
    }
    const bool is64 = header[4] == 2;
    if ((header[4] != 1 && header[4] != 2) || header[5] != 1) {
        error = "unsupported ELF class or byte order";
        return false;
    }
    if (is64 && !Read(0, 64, header)) {
        error = "ELF header cut short";
        return false;
    }
    const std::uint64_t tableOffset = is64 ? Load<std::uint64_t>(header + 40) : Load<std::uint32_t>(header + 32);
    const std::uint16_t entrySize = Load<std::uint16_t>(header + (is64 ? 58 : 46));
    std::uint64_t count = Load<std::uint16_t>(header + (is64 ? 60 : 48));
    std::uint32_t namesIndex = Load<std::uint16_t>(header + (is64 ? 62 : 50));
    const std::size_t needed = is64 ? 64 : 40;
    if (tableOffset == 0 || entrySize < needed) {
        error = "no section headers";
        return false;
    }

    std::vector<unsigned char> entry(entrySize);
    const auto readHeader = [&](std::uint64_t index, CSectionHeader& out) {
        if (index >= kMaxSections || !Read(tableOffset + index * entrySize, entrySize, entry.data()))
            return false;
        const unsigned char* e = entry.data();
        out.name = Load<std::uint32_t>(e);
        out.type = Load<std::uint32_t>(e + 4);
        out.offset = is64 ? Load<std::uint64_t>(e + 24) : Load<std::uint32_t>(e + 16);
        out.size = is64 ? Load<std::uint64_t>(e + 32) : Load<std::uint32_t>(e + 20);
        out.link = Load<std::uint32_t>(e + (is64 ? 40 : 24));
        return true;
    };
    // Many sections: the real numbers sit in the first section header.
    if (count == 0 || namesIndex == kExtendedIndex) {
        CSectionHeader first;
        if (!readHeader(0, first)) {
            error = "section headers cut short";
            return false;
        }
        if (count == 0)
            count = first.size;
        if (namesIndex == kExtendedIndex)
            namesIndex = first.link;
    }
    if (count == 0 || count > kMaxSections || namesIndex >= count) {
        error = "implausible section count";
        return false;
    }

    CSectionHeader namesSection;
    if (!readHeader(namesIndex, namesSection) || namesSection.size > kMaxNamesSize) {
        error = "section names unreadable";
        return false;
    }
    std::string names(static_cast<std::size_t>(namesSection.size), '\0');
    if (!Read(namesSection.offset, names.size(), names.data())) {
        error = "section names outside the file";
        return false;
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        CSectionHeader section;
        if (!readHeader(i, section)) {
            error = "section headers cut short";
            return false;
        }
        if (section.name >= names.size())
            continue;
        const auto end = names.find('\0', section.name);
        if (end == std::string::npos || names.compare(section.name, end - section.name, name) != 0)
            continue;
        if (section.type == kSectionNoBits || section.size > maxSize) {
            error = "section " + name + " has no usable content";
            return false;
        }
        bytes.assign(static_cast<std::size_t>(section.size), '\0');
        if (!Read(section.offset, bytes.size(), bytes.data())) {
            error = "section " + name + " lies outside the file";
            return false;
        }
        return true;
    }
    error = "no section " + name;
    return false;
}

}
