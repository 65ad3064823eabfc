// Feeds arbitrary bytes, as a device could answer them, to the parsers of
// the identification text, the network identification and the internal
// variables.
#include "Common/PelorusDLL/IdentificationText.h"
#include "Platform/Base/TextConversion.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const std::wstring text = Text::Utf8ToWide(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    CIdentificationText identification;
    if (identification.Parse(text)) {
        for (const wchar_t* key : {L"ORDER", L"FWL-VER", L"SN", L"BAUD", L"IMEI", L""})
            if (identification.Value(key).size() > CIdentificationText::kMaxValueLength)
                __builtin_trap();
    }
    std::wstring first, second;
    CIdentificationText::SplitNetworkID(text, first, second);
    const unsigned short index = data[0];
    if (CIdentificationText::InternalVariable(text, index, first, second) && index == 0)
        __builtin_trap();
    return 0;
}
