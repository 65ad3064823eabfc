// Feeds arbitrary bytes to the binary text file reader, both directly and as
// a file through the store: it must stop at the first record that does not
// fit and never read outside the bytes.

#include "Platform/Base/Tests/Fuzz/FuzzScratchFolder.h"
#include "Common/SystemHelper/Texts/LanguageSupportBinaryFile.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CLanguageSupportBinaryFile file = CLanguageSupportBinaryFile::Parse(data, size);
    if (size <= 4 && (file.hasHeader || !file.records.empty()))
        __builtin_trap();
    // Every record read must have come out of the bytes.
    std::size_t units = 0;
    for (const auto& [key, text] : file.records)
        units += key.size() + text.size();
    if (!file.records.empty() && 4 + file.records.size() * 8 + 2 * units > size)
        __builtin_trap();

    static const std::string path = (FuzzSupport::ScratchFolder() / "input.bin").string();
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        if (size > 0)
            std::fwrite(data, 1, size, out);
        std::fclose(out);
        CLanguageSupportImpl& store = GetLanguageSupport();
        store.Clear();
        store.SetLanguage(path.c_str(), false);
        if (store.HasText(L"") && 2 * store.GetText(L"").length() > size)
            __builtin_trap();
    }
    return 0;
}
