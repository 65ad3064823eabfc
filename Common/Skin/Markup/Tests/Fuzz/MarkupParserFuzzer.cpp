// Tooltip texts come from translations and resource files: any text must
// parse in bounded time and memory, whatever its tags, counts and entities.
#include "Common/Skin/Markup/MarkupParser.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace ZELL::Skin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    std::wstring bytes(data, data + size);

    static CMarkupParser parser([](int index) { return static_cast<COLORREF>(index * 0x010101); });
    (void)parser.Parse(text);
    (void)parser.Parse(bytes);

    CMarkupParser sheetParser;
    sheetParser.StyleSheet().SetText(bytes.c_str());
    (void)sheetParser.Parse(L"<h1>x</h1><span class=a>y</span><a href=z>w</a>");
    return 0;
}
