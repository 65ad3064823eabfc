// Formats and code-page input come from translations, files and devices: any
// of them must render or fail cleanly, never read or write out of bounds.
#include "Platform/Base/CodePage.h"
#include "Platform/Base/Format.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string narrow(reinterpret_cast<const char*>(data), size);
    std::wstring wide;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        wide += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));

    int counter = 0;
    const char unterminated[3] = {'x', 'y', 'z'};
    (void)FormatA(narrow.c_str(), 42, "text", L"wide", 3.5, nullptr, &counter, -1LL, 'c', unterminated);
    (void)FormatW(wide.c_str(), L"wide", 7u, 2.25, "narrow", static_cast<const wchar_t*>(nullptr));
    (void)FormatW(wide.c_str());
    wchar_t line[16];
    (void)_snwprintf_s(line, _TRUNCATE, wide.c_str(), 1, L"two", 3.0);

    wchar_t converted[64];
    char bytes[64];
    const int count = size > 0 ? static_cast<int>(size) : -1;
    for (UINT codePage : {CP_UTF8, CP_WINDOWS_1252, CP_ISO_8859_1}) {
        (void)MultiByteToWideChar(codePage, 0, narrow.c_str(), count, converted, 64);
        (void)MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, narrow.c_str(), count, nullptr, 0);
        (void)WideCharToMultiByte(codePage, 0, wide.c_str(), -1, bytes, 64, nullptr, nullptr);
    }
    return 0;
}
