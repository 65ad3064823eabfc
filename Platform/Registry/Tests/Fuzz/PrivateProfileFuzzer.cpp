// Arbitrary bytes as an initialisation file: decoding, parsing and every
// lookup mode with small and large buffers must stay inside their buffers.
#include "Platform/Base/Tests/Fuzz/FuzzScratchFolder.h"
#include "Platform/Registry/IniFile.h"
#include "Platform/Registry/PrivateProfile.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto file = Registry::CIniFile::Parse(Registry::CIniFile::DecodeText(bytes));

    static const std::string path = (FuzzSupport::ScratchFolder() / "input.ini").string();
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
    const std::wstring widePath(path.begin(), path.end());
    for (const DWORD bufferSize : {0u, 1u, 2u, 3u, 7u, 64u, 4096u}) {
        std::vector<wchar_t> buffer(bufferSize + 1, L'#');
        GetPrivateProfileSectionNamesW(buffer.data(), bufferSize, widePath.c_str());
        if (buffer[bufferSize] != L'#')
            __builtin_trap();
        // A few sections and keys suffice; each lookup reads the file again.
        std::size_t sections = 0;
        for (const auto& section : file.Sections()) {
            if (++sections > 8)
                break;
            GetPrivateProfileStringW(section.name.c_str(), nullptr, L"", buffer.data(), bufferSize, widePath.c_str());
            GetPrivateProfileSectionW(section.name.c_str(), buffer.data(), bufferSize, widePath.c_str());
            std::size_t entries = 0;
            for (const auto& entry : section.entries) {
                if (++entries > 8)
                    break;
                GetPrivateProfileStringW(section.name.c_str(), entry.key.c_str(), L"d", buffer.data(), bufferSize,
                    widePath.c_str());
                GetPrivateProfileIntW(section.name.c_str(), entry.key.c_str(), -1, widePath.c_str());
            }
            if (buffer[bufferSize] != L'#')
                __builtin_trap();
        }
    }
    return 0;
}
