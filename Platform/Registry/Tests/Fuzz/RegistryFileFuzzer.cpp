// Feeds arbitrary bytes to the store-file parser; whatever parses must come
// out of the writer and parse again to the same tree.
#include "Platform/Registry/RegistryFormat.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Registry::CRegistryFileContent content;
    std::string error;
    // The checksum would stop nearly every mutation at the last line; the
    // second pass re-signs the input so the parser's body is reached too.
    for (int pass = 0; pass < 2; ++pass) {
        std::string input(text);
        if (pass == 1) {
            const auto end = input.rfind("end ");
            if (end == std::string::npos)
                break;
            input.resize(end);
            char crc[16];
            std::snprintf(crc, sizeof crc, "end %08x\n", Registry::Crc32(input));
            input += crc;
        }
        if (!Registry::ParseRegistryFile(input, content, error))
            continue;
        const std::string written = Registry::SerializeRegistryFile(content.root, content.generation);
        Registry::CRegistryFileContent again;
        if (!Registry::ParseRegistryFile(written, again, error) || !(again.root == content.root)
            || again.generation != content.generation)
            std::abort();
    }
    return 0;
}
