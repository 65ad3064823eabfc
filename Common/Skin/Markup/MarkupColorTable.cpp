#include "Common/Skin/Markup/MarkupColorTable.h"

namespace ZELL::Skin {

namespace {

struct NamedColor {
    const wchar_t* name;
    DWORD rgb; // 0xRRGGBB as style sheets write it
};

constexpr NamedColor kNamedColors[] = {
    {L"aqua", 0x00FFFF}, {L"black", 0x000000}, {L"blue", 0x0000FF}, {L"brown", 0xA52A2A},
    {L"cyan", 0x00FFFF}, {L"gold", 0xFFD700}, {L"gray", 0x808080}, {L"green", 0x008000},
    {L"magenta", 0xFF00FF}, {L"maroon", 0x800000}, {L"navy", 0x000080}, {L"olive", 0x808000},
    {L"orange", 0xFFA500}, {L"pink", 0xFFC0CB}, {L"purple", 0x800080}, {L"red", 0xFF0000},
    {L"silver", 0xC0C0C0}, {L"snow", 0xFFFAFA}, {L"violet", 0xEE82EE}, {L"white", 0xFFFFFF},
    {L"yellow", 0xFFFF00},
    {L"aliceblue", 0xF0F8FF}, {L"antiquewhite", 0xFAEBD7}, {L"aquamarine", 0x7FFFD4}, {L"azure", 0xF0FFFF},
    {L"beige", 0xF5F5DC}, {L"bisque", 0xFFE4C4}, {L"blanchedalmond", 0xFFEBCD}, {L"blueviolet", 0x8A2BE2},
    {L"burlywood", 0xDEB887}, {L"cadetblue", 0x5F9EA0}, {L"chartreuse", 0x7FFF00}, {L"chocolate", 0xD2691E},
    {L"coral", 0xFF7F50}, {L"cornflowerblue", 0x6495ED}, {L"cornsilk", 0xFFF8DC}, {L"crimson", 0xDC143C},
    {L"darkblue", 0x00008B}, {L"darkcyan", 0x008B8B}, {L"darkgoldenrod", 0xB8860B}, {L"darkgray", 0xA9A9A9},
    {L"darkgreen", 0x006400}, {L"darkkhaki", 0xBDB76B}, {L"darkmagenta", 0x8B008B},
    {L"darkolivegreen", 0x556B2F}, {L"darkorange", 0xFF8C00}, {L"darkorchid", 0x9932CC}, {L"darkred", 0x8B0000},
    {L"darksalmon", 0xE9967A}, {L"darkseagreen", 0x8FBC8F}, {L"darkslateblue", 0x483D8B},
    {L"darkslategray", 0x2F4F4F}, {L"darkturquoise", 0x00CED1}, {L"darkviolet", 0x9400D3},
    {L"deeppink", 0xFF1493}, {L"deepskyblue", 0x00BFFF}, {L"dimgray", 0x696969}, {L"dodgerblue", 0x1E90FF},
    {L"firebrick", 0xB22222}, {L"floralwhite", 0xFFFAF0}, {L"forestgreen", 0x228B22}, {L"fuchsia", 0xFF00FF},
    {L"gainsboro", 0xDCDCDC}, {L"ghostwhite", 0xF8F8FF}, {L"goldenrod", 0xDAA520}, {L"greenyellow", 0xADFF2F},
    {L"honeydew", 0xF0FFF0}, {L"hotpink", 0xFF69B4}, {L"indianred", 0xCD5C5C}, {L"indigo", 0x4B0082},
    {L"ivory", 0xFFFFF0}, {L"khaki", 0xF0E68C}, {L"lavender", 0xE6E6FA}, {L"lavenderblush", 0xFFF0F5},
    {L"lawngreen", 0x7CFC00}, {L"lemonchiffon", 0xFFFACD}, {L"lightblue", 0xADD8E6}, {L"lightcoral", 0xF08080},
    {L"lightcyan", 0xE0FFFF}, {L"lightgoldenrodyellow", 0xFAFAD2}, {L"lightgreen", 0x90EE90},
    {L"lightgrey", 0xD3D3D3}, {L"lightpink", 0xFFB6C1}, {L"lightsalmon", 0xFFA07A},
    {L"lightseagreen", 0x20B2AA}, {L"lightskyblue", 0x87CEFA}, {L"lightslategray", 0x778899},
    {L"lightsteelblue", 0xB0C4DE}, {L"lightyellow", 0xFFFFE0}, {L"lime", 0x00FF00}, {L"limegreen", 0x32CD32},
    {L"linen", 0xFAF0E6}, {L"mediumaquamarine", 0x66CDAA}, {L"mediumblue", 0x0000CD},
    {L"mediumorchid", 0xBA55D3}, {L"mediumpurple", 0x9370DB}, {L"mediumseagreen", 0x3CB371},
    {L"mediumslateblue", 0x7B68EE}, {L"mediumspringgreen", 0x00FA9A}, {L"mediumturquoise", 0x48D1CC},
    {L"mediumvioletred", 0xC71585}, {L"midnightblue", 0x191970}, {L"mintcream", 0xF5FFFA},
    {L"mistyrose", 0xFFE4E1}, {L"moccasin", 0xFFE4B5}, {L"navajowhite", 0xFFDEAD}, {L"oldlace", 0xFDF5E6},
    {L"olivedrab", 0x6B8E23}, {L"orangered", 0xFF4500}, {L"orchid", 0xDA70D6}, {L"palegoldenrod", 0xEEE8AA},
    {L"palegreen", 0x98FB98}, {L"paleturquoise", 0xAFEEEE}, {L"palevioletred", 0xDB7093},
    {L"papayawhip", 0xFFEFD5}, {L"peachpuff", 0xFFDAB9}, {L"peru", 0xCD853F}, {L"plum", 0xDDA0DD},
    {L"powderblue", 0xB0E0E6}, {L"rosybrown", 0xBC8F8F}, {L"royalblue", 0x4169E1}, {L"saddlebrown", 0x8B4513},
    {L"salmon", 0xFA8072}, {L"sandybrown", 0xF4A460}, {L"seagreen", 0x2E8B57}, {L"seashell", 0xFFF5EE},
    {L"sienna", 0xA0522D}, {L"skyblue", 0x87CEEB}, {L"slateblue", 0x6A5ACD}, {L"slategray", 0x708090},
    {L"springgreen", 0x00FF7F}, {L"steelblue", 0x4682B4}, {L"tan", 0xD2B48C}, {L"teal", 0x008080},
    {L"thistle", 0xD8BFD8}, {L"tomato", 0xFF6347}, {L"turquoise", 0x40E0D0}, {L"wheat", 0xF5DEB3},
    {L"whitesmoke", 0xF5F5F5}, {L"yellowgreen", 0x9ACD32},
};

struct SystemColorName {
    const wchar_t* name;
    int index;
};

constexpr SystemColorName kSystemColors[] = {
    {L"activeborder", 10}, {L"activecaption", 2}, {L"appworkspace", 12}, {L"background", 1},
    {L"buttonface", 15}, {L"buttonhighlight", 20}, {L"buttonshadow", 16}, {L"buttontext", 18},
    {L"captiontext", 9}, {L"graytext", 17}, {L"highlight", 13}, {L"highlighttext", 14},
    {L"inactiveborder", 11}, {L"inactivecaption", 3}, {L"inactivecaptiontext", 19}, {L"infobackground", 24},
    {L"infotext", 23}, {L"menu", 4}, {L"menutext", 7}, {L"scrollbar", 0},
    {L"threeddarkshadow", 21}, {L"threedface", 15}, {L"threedhighlight", 20}, {L"threedlightshadow", 22},
    {L"threedshadow", 16}, {L"window", 5}, {L"windowframe", 6}, {L"windowtext", 8},
};

COLORREF FromWebRgb(DWORD rgb)
{
    return RGB(static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb));
}

} // namespace

CMarkupColorTable::CMarkupColorTable(const SystemColorSource& systemColor)
{
    AddNamedColors();
    AddSystemColors(systemColor);
}

void CMarkupColorTable::AddNamedColors()
{
    for (const NamedColor& color : kNamedColors)
        m_colors[color.name] = FromWebRgb(color.rgb);
}

void CMarkupColorTable::AddSystemColors(const SystemColorSource& systemColor)
{
    if (!systemColor)
        return;
    for (const SystemColorName& color : kSystemColors)
        m_colors[color.name] = systemColor(color.index);
}

std::optional<COLORREF> CMarkupColorTable::Find(const std::wstring& name) const
{
    const auto found = m_colors.find(name);
    if (found == m_colors.end())
        return std::nullopt;
    return found->second;
}

}  // namespace ZELL::Skin
