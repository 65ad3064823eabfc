#pragma once
// What the mark-up layout needs of the device it lays out for: the measures
// of the font of a style, text extents, the size of an image object and the
// text of a string object. The drawer answers from a device context; tests
// and the fuzzer answer with fixed measures, so the layout is a function of
// the runs and these answers alone.

#include "Common/Skin/Markup/MarkupRun.h"
#include "Platform/Base/Types.h"

#include <string>
#include <string_view>
#include <vector>

namespace ZELL::Skin {

struct MarkupFontMeasures {
    int height = 16;  // tmHeight
    int ascent = 13;
    int descent = 3;
};

class IMarkupMeasurer {
public:
    virtual ~IMarkupMeasurer() = default;

    virtual MarkupFontMeasures Font(const CMarkupStyle& style) = 0;
    virtual int TextWidth(const CMarkupStyle& style, std::wstring_view text) = 0;
    // The extent of the first 1, 2, ... characters, for choosing where a
    // line breaks; it may be an estimate (the widths of the pieces placed
    // come from TextWidth).
    virtual std::vector<int> PrefixWidths(const CMarkupStyle& style, std::wstring_view text) = 0;
    // The size the image object (bitmap, icon, image-list entry) takes;
    // false when it cannot be loaded, so it takes no space. `runIndex` names
    // the run among those being laid out, for images that animate.
    virtual bool ImageSize(const CMarkupRun& run, std::size_t runIndex, SIZE& size) = 0;
    // The text of a "<string>" object; empty when there is none.
    virtual std::wstring String(const CMarkupRun& run) = 0;
};

}  // namespace ZELL::Skin
