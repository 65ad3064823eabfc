// Feeds arbitrary text to the parsers that read settings files, device
// answers and dialog input: each must return or throw its own error, never
// read outside the text.

#include "Common/SystemHelper/Values/Conversions.h"
#include "Common/SystemHelper/Values/Nibble.h"
#include "Common/SystemHelper/Values/StringUtils.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

template <typename Function>
void Guarded(Function function)
{
    try {
        function();
    } catch (const std::exception&) {
    } catch (const std::string&) {
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Each byte pair is one character, so every code unit value can appear.
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    const wchar_t* p = text.c_str();

    Guarded([&] { CConversions::ip_text_to_ulong(p); });
    Guarded([&] { CConversions::text_to_long(p, 0); });
    Guarded([&] { CConversions::text_to_ulong(p, 16); });
    Guarded([&] { CConversions::text_to_double(p); });
    Guarded([&] { CConversions::text_to_int64(p); });
    Guarded([&] { CConversions::text_to_uint64(p); });
    Guarded([&] { CConversions::text_to_BOOL(p); });
    Guarded([&] {
        std::size_t length = 0;
        std::unique_ptr<BYTE[]> bytes(CConversions::to_byte_array(p, length, false));
    });
    Guarded([&] { GenStrToNumber<unsigned short>(text, std::hex); });
    Guarded([&] { ParseInt64Text(text); });
    Guarded([&] { wutils::CNibble nibble(text); });

    IsValidIpText(text);
    IpTextToUInt(NormalizeIpText(text));
    ParseNumberInParentheses(text);
    ParseRgbText(text);
    std::vector<std::wstring> parts;
    SplitString(text, L".,; ", parts, true);
    TrimSpacesAndControls(text);
    return 0;
}
