// The owner-drawn menu's sizes and pictures: how big an item is in the menu
// font, and how each look paints it.
#include "Common/Skin/ZellMenu.h"

#include "Platform/Gdi/Edges.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Gdi/ImageListApi.h"

#include <algorithm>

namespace ZELL::Skin {

int CZellMenu::s_drawMode = 0;
int CZellMenu::s_imageWidth = 16;
int CZellMenu::s_imageHeight = 15;
COLORREF CZellMenu::s_selection = ::GetSysColor(COLOR_HIGHLIGHT);
COLORREF CZellMenu::s_selectionFill = 0xFF000000;
COLORREF CZellMenu::s_text = ::GetSysColor(COLOR_MENUTEXT);
int CZellMenu::s_fontGeneration = 0;

namespace {

constexpr COLORREF kUnchanged = 0xFF000000;

// The font every menu of this kind uses when the program gave one.
struct GlobalFont {
    LOGFONTW font{};
    bool given = false;
};
GlobalFont s_globalFont;

// Each channel moved towards white by `share` of the way.
COLORREF Lighten(COLORREF colour, double share)
{
    if (share <= 0.0 || share > 1.0)
        return colour;
    auto channel = [share](int c) { return static_cast<BYTE>(c + (255 - c) * share); };
    return RGB(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}

COLORREF Darken(COLORREF colour, double share)
{
    if (share <= 0.0 || share > 1.0)
        return colour;
    auto channel = [share](int c) { return static_cast<BYTE>(c - c * share); };
    return RGB(channel(GetRValue(colour)), channel(GetGValue(colour)), channel(GetBValue(colour)));
}

void Fill(HDC dc, const RECT& area, COLORREF colour)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &area, brush);
    ::DeleteObject(brush);
}

void Outline(HDC dc, const RECT& area, COLORREF colour)
{
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FrameRect(dc, &area, brush);
    ::DeleteObject(brush);
}

// A one-pixel frame, its top and left in one colour, bottom and right in another.
void Frame3d(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    Fill(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    Fill(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    Fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    Fill(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

// A disabled image is embossed: its shape in the highlight colour one pixel
// down and right, and in the shadow colour in place.
void DrawImage(HDC dc, HIMAGELIST list, int index, int x, int y, bool embossed)
{
    if (!embossed) {
        ::ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    HICON icon = ::ImageList_GetIcon(list, index, 0);
    if (icon == nullptr)
        return;
    ::DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, 0, 0, DST_ICON | DSS_DISABLED);
    ::DestroyIcon(icon);
}

struct ItemState {
    bool selected;
    bool disabled;
    bool checked;

    explicit ItemState(UINT state)
        : selected((state & ODS_SELECTED) != 0), disabled((state & (ODS_GRAYED | ODS_DISABLED)) != 0),
          checked((state & ODS_CHECKED) != 0)
    {
    }
};

}

void CZellMenu::SetIconSize(int width, int height)
{
    s_imageWidth = width;
    s_imageHeight = height;
}

void CZellMenu::SetGlobalColors(COLORREF selection, COLORREF selectionFill, COLORREF text)
{
    if (selection != kUnchanged)
        s_selection = selection;
    if (selectionFill != kUnchanged)
        s_selectionFill = selectionFill;
    if (text != kUnchanged)
        s_text = text;
}

void CZellMenu::ResetGlobalColors()
{
    s_selection = ::GetSysColor(COLOR_HIGHLIGHT);
    s_selectionFill = kUnchanged;
    s_text = ::GetSysColor(COLOR_MENUTEXT);
}

void CZellMenu::SetGlobalFont(const LOGFONTW* font)
{
    s_globalFont.given = font != nullptr;
    if (font != nullptr)
        s_globalFont.font = *font;
    ++s_fontGeneration;
}

const CFont& CZellMenu::Font() const
{
    if (m_fontGeneration == s_fontGeneration && m_font.GetSafeHandle() != nullptr)
        return m_font;
    LOGFONTW font = s_globalFont.font;
    if (!s_globalFont.given) {
        NONCLIENTMETRICSW metrics;
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
        font = metrics.lfMenuFont;
    }
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&font);
    m_fontGeneration = s_fontGeneration;
    return m_font;
}

int CZellMenu::Gap() const
{
    return s_drawMode == 1 ? 7 : 4;
}

void CZellMenu::MeasureItem(LPMEASUREITEMSTRUCT item)
{
    const auto* data = reinterpret_cast<const CZellMenuData*>(item->itemData);
    if (data == nullptr)
        return;
    const bool flat = s_drawMode == 1;
    const int gap = Gap();
    if (data->IsSeparator()) {
        item->itemWidth = 0;
        item->itemHeight = flat ? 3 : static_cast<UINT>(std::max((gap + s_imageHeight) / 2, ::GetSystemMetrics(SM_CYMENU) / 2));
        return;
    }
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, Font().GetSafeHandle());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, data->text.c_str(), static_cast<int>(data->text.size()), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    const int width = flat ? s_imageWidth + extent.cx + gap + 8 : 2 * s_imageWidth + extent.cx + 1;
    item->itemWidth = static_cast<UINT>(width);
    item->itemHeight = static_cast<UINT>(std::max(gap + s_imageHeight, ::GetSystemMetrics(SM_CYMENU)));
}

bool CZellMenu::FlatLook(HDC dc) const
{
    if ((::GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0)
        return false;
    return s_drawMode == 1;
}

void CZellMenu::DrawItem(LPDRAWITEMSTRUCT item)
{
    const auto* data = reinterpret_cast<const CZellMenuData*>(item->itemData);
    if (item->CtlType != ODT_MENU || data == nullptr)
        return;
    if (FlatLook(item->hDC))
        DrawFlat(*item, *data);
    else
        DrawClassic(*item, *data);
}

// The mark is drawn in steps of whole pixels that grow with the screen's
// resolution, as the menu's text does: one step is one pixel at 96 dpi.
int CZellMenu::MarkStep(HDC dc)
{
    return std::max(1, (::GetDeviceCaps(dc, LOGPIXELSY) + 48) / 96);
}

// Four pixels into the sunken box at 96 dpi; a grown mark is centred in it.
POINT CZellMenu::ClassicMarkOrigin(HDC dc, const RECT& box)
{
    const int step = MarkStep(dc);
    if (step == 1)
        return {box.left + 4, box.top + 4};
    const int size = 7 * step;
    return {box.left + std::max(0, static_cast<int>(box.right - box.left - size) / 2),
            box.top + std::max(0, static_cast<int>(box.bottom - box.top - size) / 2)};
}

void CZellMenu::DrawCheckMark(HDC dc, int x, int y, bool radio, bool flat) const
{
    const int step = MarkStep(dc);
    HBRUSH brush = ::CreateSolidBrush(s_text);
    if (radio) {
        HGDIOBJ oldBrush = ::SelectObject(dc, brush);
        HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
        ::Ellipse(dc, x, y, x + 7 * step, y + 7 * step);
        ::SelectObject(dc, oldPen);
        ::SelectObject(dc, oldBrush);
    } else {
        // Seven strokes: down to the bottom of the tick and up again.
        static constexpr int kTop[] = {2, 3, 4, 3, 2, 1, 0};
        const int length = flat ? 2 : 3;
        for (int i = 0; i < 7; ++i) {
            const RECT stroke{x + i * step, y + kTop[i] * step, x + (i + 1) * step, y + (kTop[i] + length) * step};
            ::FillRect(dc, &stroke, brush);
        }
    }
    ::DeleteObject(brush);
}

void CZellMenu::DrawLabel(HDC dc, const CZellMenuData& data, RECT area, COLORREF colour) const
{
    HGDIOBJ old = ::SelectObject(dc, Font().GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colour);
    const std::size_t tab = data.text.find(L'\t');
    const std::wstring left = data.text.substr(0, tab);
    ::DrawTextW(dc, left.c_str(), static_cast<int>(left.size()), &area, DT_SINGLELINE | DT_VCENTER);
    if (tab != std::wstring::npos) {
        const std::wstring right = data.text.substr(tab + 1);
        area.right -= 4;
        ::DrawTextW(dc, right.c_str(), static_cast<int>(right.size()), &area, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    }
    ::SelectObject(dc, old);
}

void CZellMenu::DrawClassic(const DRAWITEMSTRUCT& item, const CZellMenuData& data)
{
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    const COLORREF background = ::GetSysColor(COLOR_MENU);
    const ItemState state(item.itemState);
    if (data.IsSeparator()) {
        Fill(dc, area, background);
        RECT line = area;
        line.top += (area.bottom - area.top) / 2;
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const RECT frame{area.left, area.top, area.left + s_imageWidth + 4, area.bottom};
    RECT textArea{frame.right + 2, area.top, area.right, area.bottom};
    Fill(dc, area, background);
    if (state.selected && !state.disabled)
        Fill(dc, textArea, ::GetSysColor(COLOR_HIGHLIGHT));
    const ImageRef image = ImageOf(data, state.checked, state.selected);
    if (image) {
        if (state.checked)
            Frame3d(dc, frame, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        else if (state.selected)
            Frame3d(dc, frame, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        const int imageY = frame.top + (frame.bottom - frame.top - s_imageHeight) / 2;
        DrawImage(dc, image.list, image.index, frame.left + 2, imageY, state.disabled);
    } else if (state.checked) {
        RECT box = frame;
        ::InflateRect(&box, -1, -1);
        Fill(dc, box, state.selected ? background : Lighten(background, 0.6));
        ::DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
        const POINT mark = ClassicMarkOrigin(dc, box);
        DrawCheckMark(dc, mark.x, mark.y, (data.flags & MFT_RADIOCHECK) != 0, false);
    }
    textArea.left += 4;
    if (state.disabled && !state.selected) {
        RECT shifted = textArea;
        ::OffsetRect(&shifted, 1, 1);
        DrawLabel(dc, data, shifted, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawLabel(dc, data, textArea, ::GetSysColor(COLOR_GRAYTEXT));
    } else {
        const COLORREF text = state.disabled ? background : state.selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : s_text;
        DrawLabel(dc, data, textArea, text);
    }
}

void CZellMenu::DrawFlat(const DRAWITEMSTRUCT& item, const CZellMenuData& data)
{
    HDC dc = item.hDC;
    const RECT area = item.rcItem;
    const ItemState state(item.itemState);
    const int columnWidth = s_imageWidth + Gap();
    const RECT column{area.left, area.top, area.left + columnWidth, area.bottom};
    // Disabled items never show as selected in this look.
    const bool selected = state.selected && !state.disabled;
    if (selected) {
        const COLORREF fill = s_selectionFill == kUnchanged ? Lighten(s_selection, 0.85) : s_selectionFill;
        Fill(dc, area, fill);
        Outline(dc, area, s_selection);
    } else {
        Fill(dc, area, RGB(255, 255, 255));
        Fill(dc, column, Darken(::GetSysColor(COLOR_MENU), 0.1));
    }
    if (data.IsSeparator()) {
        RECT line{column.right + 2, area.top + (area.bottom - area.top) / 2, area.right, area.bottom};
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const ImageRef image = ImageOf(data, state.checked, state.selected);
    if (state.checked) {
        RECT box{column.left + 1, column.top + 1, column.right - 1, column.bottom - 1};
        const COLORREF dark = Darken(s_selection, 0.6);
        Fill(dc, box, image ? Lighten(dark, 0.85) : Lighten(s_selection, state.selected ? 0.55 : 0.85));
        Outline(dc, box, image ? dark : s_selection);
        if (!image) {
            const int w = box.right - box.left;
            const int h = box.bottom - box.top;
            const int half = 7 * MarkStep(dc) / 2;
            const int x = w < 2 * half ? box.left : box.left + w / 2 - half;
            const int y = h < 2 * half ? box.top : box.top + h / 2 - half;
            DrawCheckMark(dc, x, y, (data.flags & MFT_RADIOCHECK) != 0, true);
        }
    }
    if (image) {
        const int offsetX = std::max(0, static_cast<int>((columnWidth - s_imageWidth) * 0.5 + 0.5));
        const int offsetY = std::max(0, static_cast<int>((area.bottom - area.top - s_imageHeight) * 0.5 + 0.5));
        DrawImage(dc, image.list, image.index, column.left + offsetX, column.top + offsetY, false);
    }
    RECT textArea{column.right + 6, area.top, area.right, area.bottom};
    COLORREF colour = s_text;
    if (state.disabled)
        colour = state.selected ? ::GetSysColor(COLOR_GRAYTEXT) : Lighten(::GetSysColor(COLOR_GRAYTEXT), 0.4);
    DrawLabel(dc, data, textArea, colour);
}

}  // namespace ZELL::Skin
