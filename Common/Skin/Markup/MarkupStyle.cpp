#include "Common/Skin/Markup/MarkupStyle.h"

namespace ZELL::Skin {

void CMarkupStyle::NormalizeBorder()
{
    if (borderStyle == MarkupBorderStyle::None || borderWidth == 0) {
        borderStyle = MarkupBorderStyle::None;
        borderWidth = 0;
    } else if (borderStyle != MarkupBorderStyle::Solid) {
        borderWidth = 1;
    }
}

void CMarkupStyle::SetBorderWidth(int width)
{
    borderWidth = width;
    if (borderWidth == 0)
        borderStyle = MarkupBorderStyle::None;
    else if (borderStyle == MarkupBorderStyle::None)
        borderStyle = MarkupBorderStyle::Solid;
}

void CMarkupStyle::SetBorderStyle(MarkupBorderStyle style)
{
    borderStyle = style;
    if (borderStyle != MarkupBorderStyle::None && borderWidth == 0)
        borderWidth = 1;
}

}  // namespace ZELL::Skin
