// Arbitrary bytes as a module file: the section search and the record
// parser must stay inside the bytes they were given.
#include "Platform/Registry/ElfSectionReader.h"
#include "Platform/Registry/ModuleVersionRecord.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const auto readAt = [&](std::uint64_t offset, std::size_t count, void* out) {
        if (offset > size || count > size - offset)
            __builtin_trap(); // the reader must check before it asks
        std::memcpy(out, data + offset, count);
        return true;
    };
    Version::CElfSectionReader reader(readAt, size);
    std::string section;
    std::string error;
    if (reader.Find(".zell_version", 1024 * 1024, section, error)) {
        Version::CModuleVersionRecord record;
        Version::ParseModuleVersionRecord(section, record, error);
    }
    Version::CModuleVersionRecord record;
    Version::ParseModuleVersionRecord(std::string_view(reinterpret_cast<const char*>(data), size), record, error);
    return 0;
}
