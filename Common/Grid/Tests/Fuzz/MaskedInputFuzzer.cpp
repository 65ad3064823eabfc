// Typing, selecting, clearing and pasting in any order, with any characters,
// never leaves the masked text longer than its mask or the caret outside it.
#include "Common/Grid/MaskedInput.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace ZELL::Grid;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    CMaskedInput input = (data[0] & 1) != 0 ? CMaskedInput(L"###.###.###.###", L"0123456789.", true)
                                            : CMaskedInput(L"##:##:##:##:##:##", L"0123456789ABCDEF", false);
    for (std::size_t i = 1; i + 1 < size; i += 2) {
        const auto value = static_cast<wchar_t>(data[i + 1]);
        switch (data[i] % 4) {
        case 0: input.Type(value); break;
        case 1: input.Select(data[i + 1] & 0x1F, (data[i + 1] >> 3) & 0x1F); break;
        case 2: input.Clear(); break;
        default: input.Paste(CString(L"1a:.") + value); break;
        }
        const int length = input.GetText().GetLength();
        if (length > input.GetMask().GetLength() || input.GetSelStart() < 0 || input.GetSelEnd() > length ||
            input.GetSelStart() > input.GetSelEnd())
            std::abort();
    }
    return 0;
}
