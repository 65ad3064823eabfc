// A tooltip text is parsed, measured and arranged every time it shows: any
// text must come through all three in bounded time and memory, whatever its
// tables, spans, counts, tabs and widths.
#include "Common/Skin/Markup/MarkupLayout.h"
#include "Common/Skin/Markup/MarkupParser.h"
#include "Common/Skin/Markup/Tests/FixedMeasurer.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace ZELL::Skin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes choose the maximum width and the tab size, as the
    // owner of a drawer may set any.
    const int maxWidth = data[0] * 4;
    const int tabSize = static_cast<int>(data[1]) - 16;
    const std::wstring text(data + 2, data + size);

    static const CMarkupParser parser([](int index) { return static_cast<COLORREF>(index * 0x010101); });
    CFixedMeasurer measurer;
    CMarkupLayout layout;
    layout.SetMaxWidth(maxWidth);
    layout.SetTabSize(tabSize);
    const SIZE measured = layout.Measure(parser.Parse(text), measurer);
    (void)layout.Arrange(static_cast<int>(measured.cx));
    (void)layout.Arrange(maxWidth * 2);
    return 0;
}
