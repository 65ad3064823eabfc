#include "Platform/Controls/ListBoxText.h"

#include "Platform/Gdi/Gdi.h"

#include <algorithm>

namespace ZELL::Controls {

namespace {

constexpr int kTextIndent = 2;
constexpr int kDefaultTabStop = 32;  // dialog units
constexpr UINT kLineFormat = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_LEFT;

void DrawPiece(HDC dc, const std::wstring& piece, RECT cell)
{
    DrawTextW(dc, piece.c_str(), static_cast<int>(piece.size()), &cell, kLineFormat);
}

void DrawTabbed(HDC dc, const std::wstring& text, const RECT& r, const std::vector<int>& stops)
{
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const int averageWidth = std::max(1, static_cast<int>(tm.tmAveCharWidth));
    int x = 0;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t tab = std::min(text.find(L'\t', begin), text.size());
        const std::wstring piece = text.substr(begin, tab - begin);
        DrawPiece(dc, piece, {r.left + x, r.top, r.right, r.bottom});
        SIZE extent{};
        GetTextExtentPoint32W(dc, piece.c_str(), static_cast<int>(piece.size()), &extent);
        x = NextListTabStop(stops, x + extent.cx, averageWidth);
        begin = tab + 1;
    }
}

}

int NextListTabStop(const std::vector<int>& stops, int x, int averageWidth)
{
    const auto pixels = [averageWidth](int units) { return units * averageWidth / 4; };
    if (stops.size() > 1) {
        for (int stop : stops) {
            if (pixels(stop) > x)
                return pixels(stop);
        }
        // Past the last stop a tab is one character wide.
        return x + averageWidth;
    }
    const int every = std::max(1, pixels(stops.empty() ? kDefaultTabStop : stops.front()));
    return (x / every + 1) * every;
}

void DrawListItemText(HDC dc, const std::wstring& text, const RECT& r, const ListItemLook& look)
{
    if (look.selected)
        FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    const int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    if (!look.enabled)
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    else if (look.selected)
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    const RECT inner{r.left + kTextIndent, r.top, r.right, r.bottom};
    if (look.tabStops != nullptr)
        DrawTabbed(dc, text, inner, *look.tabStops);
    else
        DrawPiece(dc, text, inner);
    RestoreDC(dc, saved);
}

}
