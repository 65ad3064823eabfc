// Arbitrary bytes as the library's error-text file of a language: the
// lookup loads what it can and gives a text for every code, in both of its
// forms, whatever the file holds. The first byte picks the language and
// whether the file of the other language is missing; the next bytes name
// the codes looked up.
#include "Common/Communication/PelorusErrorsLookup.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Platform/Base/Tests/Fuzz/FuzzScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t flags = data[0];
    const std::wstring language = (flags & 1) != 0 ? L"de" : L"en";
    const std::filesystem::path folder = FuzzSupport::ScratchFolder();
    std::ofstream(folder / ("PelorusErrors." + std::string(language.begin(), language.end())),
                  std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    if ((flags & 2) != 0)
        std::filesystem::remove(folder / "PelorusErrors.en");

    std::vector<ULONG> codes{0x20080001, 0x20000000, 0xFFFFFFFF, 0};
    for (std::size_t at = 1; at + 4 <= size && codes.size() < 12; at += 4) {
        std::uint32_t code = 0;
        std::memcpy(&code, data + at, sizeof code);
        codes.push_back(code);
    }
    // Each input is a first load: the store would skip a file it has loaded.
    GetLanguageSupport().Clear();
    ZELL::CPelorusErrorsLookup lookup(language, folder.wstring());
    for (const ULONG code : codes) {
        for (const bool expand : {false, true}) {
            std::wstring shortText;
            std::wstring longText;
            lookup.GetDescriptions(code, shortText, longText, expand);
            if (shortText.find(L'\0') != std::wstring::npos || longText.find(L'\0') != std::wstring::npos)
                std::abort();
        }
    }
    return 0;
}
