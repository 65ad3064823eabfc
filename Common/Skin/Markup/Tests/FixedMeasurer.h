#pragma once
// A measurer with fixed measures, so that layouts can be checked to the
// pixel: every character is 6 pixels wide, a font is as high as its style
// says (ascent 80 %), and an image is as large as its "width" and "height"
// attributes (none: it cannot be loaded). Shared by the layout tests and the
// fuzz target.
#include "Common/Skin/Markup/MarkupMeasurer.h"

#include <cstdlib>

class CFixedMeasurer : public ZELL::Skin::IMarkupMeasurer {
public:
    static constexpr int kCharWidth = 6;

    ZELL::Skin::MarkupFontMeasures Font(const ZELL::Skin::CMarkupStyle& style) override
    {
        const int height = std::max(1, std::min(std::abs(style.fontHeight), 1000));
        return ZELL::Skin::MarkupFontMeasures{height, height * 4 / 5, height - height * 4 / 5};
    }
    int TextWidth(const ZELL::Skin::CMarkupStyle&, std::wstring_view text) override
    {
        return static_cast<int>(text.size()) * kCharWidth;
    }
    std::vector<int> PrefixWidths(const ZELL::Skin::CMarkupStyle&, std::wstring_view text) override
    {
        std::vector<int> widths;
        for (std::size_t i = 1; i <= text.size(); ++i)
            widths.push_back(static_cast<int>(i) * kCharWidth);
        return widths;
    }
    bool ImageSize(const ZELL::Skin::CMarkupRun& run, std::size_t, SIZE& size) override
    {
        size = SIZE{Number(run, L"width"), Number(run, L"height")};
        return size.cx > 0 && size.cy > 0;
    }
    std::wstring String(const ZELL::Skin::CMarkupRun& run) override { return L"S" + Value(run, L"idres"); }

private:
    static std::wstring Value(const ZELL::Skin::CMarkupRun& run, const wchar_t* name)
    {
        for (const auto& [attribute, value] : run.attributes)
            if (attribute == name)
                return value;
        return {};
    }
    static int Number(const ZELL::Skin::CMarkupRun& run, const wchar_t* name)
    {
        return static_cast<int>(std::min(std::wcstol(Value(run, name).c_str(), nullptr, 10), 4096L));
    }
};
