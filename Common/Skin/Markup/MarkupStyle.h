#pragma once
// One style record of the tooltip mark-up: the current style while a text is
// read, and the element of the style stack that opening and closing tags
// drive. Each run the parser hands out carries a copy, so the layout needs
// nothing else to pick fonts and colours.

#include "Platform/Base/Types.h"

#include <string>

namespace ZELL::Skin {

enum class MarkupAlign { Left = 0, Center = 1, Right = 2, Justify = 3 };
enum class MarkupVAlign { Top = 0, Middle = 1, Bottom = 2, Baseline = 3 };
enum class MarkupBorderStyle { None = 0, Solid = 1, Dashed = 2, Dotted = 3, Double = 6 };
enum class MarkupTransform { None = 0, Upper = 1, Lower = 2, Capitalize = 3 };
enum class MarkupLinkType { None = 0, Href = 1, Message = 2 };

constexpr int kMarkupBkModeTransparent = 1;
constexpr int kMarkupBkModeOpaque = 2;
constexpr int kMarkupEffectNone = -1;
constexpr int kMarkupEffectSolid = 0;
constexpr int kMarkupWeightNormal = 400;
constexpr int kMarkupWeightBold = 700;
constexpr int kMarkupWeightMax = 900;

struct CMarkupStyle {
    std::wstring scope;
    int fontHeight = 16;
    int fontWeight = kMarkupWeightNormal;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool overline = false;
    std::wstring faceName = L"Verdana";
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backColor = RGB(255, 255, 255);
    COLORREF borderLightColor = RGB(0, 0, 0);
    COLORREF borderDarkColor = RGB(0, 0, 0);
    COLORREF backMiddleColor = RGB(255, 255, 255);
    COLORREF backEndColor = RGB(255, 255, 255);
    int backMode = kMarkupBkModeTransparent;
    int backEffect = kMarkupEffectNone;
    std::wstring backImage;
    MarkupAlign align = MarkupAlign::Left;
    MarkupVAlign vAlign = MarkupVAlign::Baseline;
    MarkupBorderStyle borderStyle = MarkupBorderStyle::None;
    int borderWidth = 0;
    int minCellWidth = 0;
    int minCellHeight = 0;
    MarkupTransform transform = MarkupTransform::None;
    int cellPadding = 2;
    int cellSpacing = 0;
    int indent = 0;
    MarkupLinkType linkType = MarkupLinkType::None;
    std::wstring linkText;
    // Number of the link the text belongs to, counted from 0 in text order;
    // -1 outside links.
    int linkNumber = -1;

    // Border width and style go together: no width means no border, and only
    // a solid border can be wider than one pixel.
    void NormalizeBorder();
    // A width of 0 removes the border; a width on a border without a style
    // makes it solid.
    void SetBorderWidth(int width);
    // A style on a border without a width makes it one pixel wide.
    void SetBorderStyle(MarkupBorderStyle style);
};

}  // namespace ZELL::Skin
