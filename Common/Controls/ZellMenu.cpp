#include "Common/Controls/ZellMenu.h"

#include "Platform/Framework/Bitmap.h"
#include "Platform/Gdi/Edges.h"
#include "Platform/Gdi/Gdi.h"
#include "Platform/Gdi/ImageList.h"
#include "Platform/Ui/PopupMenu.h"
#include "Platform/Ui/ResourceModule.h"
#include "Platform/Ui/ToolbarResource.h"

#include <algorithm>
#include <cwctype>

int CZellMenu::s_drawMode = 0;
int CZellMenu::s_imageWidth = 16;
int CZellMenu::s_imageHeight = 15;
COLORREF CZellMenu::s_selection = ::GetSysColor(COLOR_HIGHLIGHT);
COLORREF CZellMenu::s_selectionFill = 0xFF000000;
COLORREF CZellMenu::s_text = ::GetSysColor(COLOR_MENUTEXT);

namespace {

constexpr COLORREF kUnchanged = 0xFF000000;

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

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

}

CZellMenu::CZellMenu()
{
    NONCLIENTMETRICSW metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    m_font.CreateFontIndirect(&metrics.lfMenuFont);
}

CZellMenu::~CZellMenu()
{
    DestroyMenu();
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

BOOL CZellMenu::AppendODMenu(LPCWSTR text, UINT flags, UINT_PTR command)
{
    if (m_hMenu == nullptr && !CreatePopupMenu())
        return FALSE;
    flags = command == 0 ? (flags & MF_BYPOSITION) | MF_SEPARATOR | MF_OWNERDRAW : flags | MF_OWNERDRAW;
    auto data = std::make_unique<CZellMenuData>();
    data->text = text != nullptr ? text : L"";
    data->flags = flags;
    data->command = command;
    if (!::AppendMenuW(m_hMenu, flags, command, reinterpret_cast<LPCWSTR>(data.get())))
        return FALSE;
    m_items.push_back(std::move(data));
    return TRUE;
}

CZellMenu* CZellMenu::AppendPopup(LPCWSTR text)
{
    auto popup = std::make_unique<CZellMenu>();
    if (!popup->CreatePopupMenu())
        return nullptr;
    if (m_hMenu == nullptr && !CreatePopupMenu())
        return nullptr;
    if (!AppendODMenu(text, MF_POPUP, reinterpret_cast<UINT_PTR>(popup->m_hMenu)))
        return nullptr;
    m_popups.push_back(std::move(popup));
    return m_popups.back().get();
}

BOOL CZellMenu::LoadMenu(UINT id)
{
    CMenu loaded;
    if (!loaded.LoadMenu(id))
        return FALSE;
    DestroyMenu();
    if (!CreatePopupMenu())
        return FALSE;
    CopyItems(loaded.GetSafeHmenu());
    return TRUE;
}

void CZellMenu::CopyItems(HMENU source)
{
    constexpr UINT kKeptState = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MFT_RADIOCHECK;
    const int count = ::GetMenuItemCount(source);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        ::GetMenuStringW(source, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        if (HMENU sub = ::GetSubMenu(source, i); sub != nullptr) {
            if (CZellMenu* popup = AppendPopup(text); popup != nullptr)
                popup->CopyItems(sub);
            continue;
        }
        const UINT state = ::GetMenuState(source, static_cast<UINT>(i), MF_BYPOSITION) & kKeptState;
        AppendODMenu(text, MF_STRING | state, ::GetMenuItemID(source, i));
    }
}

CZellMenu* CZellMenu::SubMenu(int position) const
{
    const CZellMenuData* data = ItemData(position);
    if (data == nullptr || (data->flags & MF_POPUP) == 0)
        return nullptr;
    const auto handle = reinterpret_cast<HMENU>(data->command);
    for (const auto& popup : m_popups) {
        if (popup->m_hMenu == handle)
            return popup.get();
    }
    return nullptr;
}

const CZellMenuData* CZellMenu::ItemData(int position) const
{
    return position >= 0 && position < ItemCount() ? m_items[static_cast<std::size_t>(position)].get() : nullptr;
}

int CZellMenu::ItemPosition(UINT_PTR command) const
{
    for (int i = 0; i < ItemCount(); ++i) {
        if (m_items[static_cast<std::size_t>(i)]->command == command)
            return i;
    }
    return -1;
}

int CZellMenu::FindItem(UINT item, UINT flags) const
{
    if ((flags & MF_BYPOSITION) == 0)
        return ItemPosition(item);
    return static_cast<int>(item) < ItemCount() ? static_cast<int>(item) : -1;
}

std::wstring CZellMenu::GetMenuText(UINT item, UINT flags) const
{
    const CZellMenuData* data = ItemData(FindItem(item, flags));
    return data != nullptr ? data->text : std::wstring();
}

BOOL CZellMenu::SetMenuText(UINT item, LPCWSTR text, UINT flags)
{
    const int position = FindItem(item, flags);
    if (position < 0)
        return FALSE;
    m_items[static_cast<std::size_t>(position)]->text = text != nullptr ? text : L"";
    return TRUE;
}

BOOL CZellMenu::DeleteItem(UINT item, UINT flags)
{
    const int position = FindItem(item, flags);
    if (position < 0)
        return FALSE;
    RemoveItemAt(position);
    return TRUE;
}

void CZellMenu::RemoveItemAt(int position)
{
    const CZellMenuData& data = *m_items[static_cast<std::size_t>(position)];
    if ((data.flags & MF_POPUP) != 0) {
        // The sub-menu object goes with its item; the menu handle with it.
        const auto handle = reinterpret_cast<HMENU>(data.command);
        ::RemoveMenu(m_hMenu, static_cast<UINT>(position), MF_BYPOSITION);
        std::erase_if(m_popups, [handle](const auto& popup) { return popup->m_hMenu == handle; });
    } else {
        ::DeleteMenu(m_hMenu, static_cast<UINT>(position), MF_BYPOSITION);
    }
    m_items.erase(m_items.begin() + position);
}

int CZellMenu::DeletePopup(LPCWSTR text, int kind)
{
    int position = -1;
    for (int i = 0; i < ItemCount() && position < 0; ++i) {
        const CZellMenuData& data = *m_items[static_cast<std::size_t>(i)];
        if ((data.flags & MF_POPUP) != 0 && text != nullptr && data.text == text)
            position = i;
    }
    if (position < 0)
        return -1;
    RemoveItemAt(position);
    // Only the items that are really there before it go with it.
    const int before = kind == 3 ? 2 : (kind == 1 || kind == 2) ? 1 : 0;
    for (int i = 1; i <= before && position - i >= 0; ++i)
        RemoveItemAt(position - i);
    return position;
}

BOOL CZellMenu::LoadToolbar(UINT toolbarId)
{
    Ui::CToolbarResource toolbar;
    if (!toolbar.Load(Ui::GetResourceModule(), MAKEINTRESOURCEW(toolbarId)))
        return FALSE;
    HBITMAP strip = toolbar.LoadStrip();
    if (strip == nullptr)
        return FALSE;
    auto images = std::make_shared<CImageList>();
    CBitmap bitmap;
    bitmap.Attach(strip);
    const bool made = images->Create(s_imageWidth, s_imageHeight, ILC_COLORDDB | ILC_MASK, 0, 4) &&
                      images->Add(&bitmap, m_maskColour) >= 0;
    bitmap.DeleteObject();
    if (!made)
        return FALSE;
    for (UINT command : toolbar.Buttons()) {
        const int position = command != 0 ? ItemPosition(command) : -1;
        if (position < 0)
            continue;
        CZellMenuData& data = *m_items[static_cast<std::size_t>(position)];
        data.images = images;
        data.imageIndex = toolbar.ImageOf(command);
    }
    return TRUE;
}

LRESULT CZellMenu::FindKeyboardShortcut(UINT character, UINT flags, CMenu* menu)
{
    auto* zell = dynamic_cast<CZellMenu*>(menu);
    if (zell == nullptr || (flags & MF_POPUP) == 0)
        return 0;
    const std::wstring key = Lower(std::wstring(L"&") + static_cast<wchar_t>(character));
    for (int i = 0; i < zell->ItemCount(); ++i) {
        if (Lower(zell->m_items[static_cast<std::size_t>(i)]->text).find(key) != std::wstring::npos)
            return MAKELRESULT(i, MNC_EXECUTE);
    }
    return 0;
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
    if ((data->flags & MF_SEPARATOR) != 0) {
        item->itemWidth = 0;
        item->itemHeight = flat ? 3 : static_cast<UINT>(std::max((gap + s_imageHeight) / 2, ::GetSystemMetrics(SM_CYMENU) / 2));
        return;
    }
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, m_font.GetSafeHandle());
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

void CZellMenu::DrawImage(HDC dc, const CZellMenuData& data, int x, int y) const
{
    if (data.images == nullptr || data.imageIndex < 0)
        return;
    ::ImageList_Draw(data.images->GetSafeHandle(), data.imageIndex, dc, x, y, ILD_TRANSPARENT);
}

void CZellMenu::DrawCheckMark(HDC dc, int x, int y, bool radio, bool flat) const
{
    HBRUSH brush = ::CreateSolidBrush(s_text);
    if (radio) {
        HGDIOBJ oldBrush = ::SelectObject(dc, brush);
        HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
        ::Ellipse(dc, x, y, x + 7, y + 7);
        ::SelectObject(dc, oldPen);
        ::SelectObject(dc, oldBrush);
    } else {
        // Seven one-pixel strokes: down to the bottom of the tick and up again.
        static constexpr int kTop[] = {2, 3, 4, 3, 2, 1, 0};
        const int length = flat ? 2 : 3;
        for (int i = 0; i < 7; ++i) {
            const RECT stroke{x + i, y + kTop[i], x + i + 1, y + kTop[i] + length};
            ::FillRect(dc, &stroke, brush);
        }
    }
    ::DeleteObject(brush);
}

void CZellMenu::DrawLabel(HDC dc, const CZellMenuData& data, RECT area, COLORREF colour) const
{
    HGDIOBJ old = ::SelectObject(dc, m_font.GetSafeHandle());
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
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool checked = (item.itemState & ODS_CHECKED) != 0;
    if ((data.flags & MF_SEPARATOR) != 0) {
        Fill(dc, area, background);
        RECT line = area;
        line.top += (area.bottom - area.top) / 2;
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const RECT frame{area.left, area.top, area.left + s_imageWidth + 4, area.bottom};
    RECT textArea{frame.right + 2, area.top, area.right, area.bottom};
    Fill(dc, area, background);
    if (selected && !disabled)
        Fill(dc, textArea, ::GetSysColor(COLOR_HIGHLIGHT));
    const bool hasImage = data.images != nullptr && data.imageIndex >= 0;
    const int imageX = frame.left + 2;
    const int imageY = frame.top + (frame.bottom - frame.top - s_imageHeight) / 2;
    if (hasImage) {
        if (checked)
            Frame3d(dc, frame, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        else if (selected)
            Frame3d(dc, frame, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        DrawImage(dc, data, imageX, imageY);
    } else if (checked) {
        RECT box = frame;
        ::InflateRect(&box, -1, -1);
        Fill(dc, box, selected ? background : Lighten(background, 0.6));
        ::DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
        DrawCheckMark(dc, box.left + 4, box.top + 4, (data.flags & MFT_RADIOCHECK) != 0, false);
    }
    textArea.left += 4;
    if (disabled && !selected) {
        RECT shifted = textArea;
        ::OffsetRect(&shifted, 1, 1);
        DrawLabel(dc, data, shifted, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawLabel(dc, data, textArea, ::GetSysColor(COLOR_GRAYTEXT));
    } else {
        DrawLabel(dc, data, textArea, disabled ? background : selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : s_text);
    }
}

void CZellMenu::DrawFlat(const DRAWITEMSTRUCT& item, const CZellMenuData& data)
{
    HDC dc = item.hDC;
    const RECT area = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool checked = (item.itemState & ODS_CHECKED) != 0;
    const int columnWidth = s_imageWidth + Gap();
    const RECT column{area.left, area.top, area.left + columnWidth, area.bottom};
    const COLORREF columnColour = Darken(::GetSysColor(COLOR_MENU), 0.1);
    // Disabled items never show as selected in this look.
    if (selected && !disabled) {
        const COLORREF fill = s_selectionFill == kUnchanged ? Lighten(s_selection, 0.85) : s_selectionFill;
        Fill(dc, area, fill);
        Outline(dc, area, s_selection);
    } else {
        Fill(dc, area, RGB(255, 255, 255));
        Fill(dc, column, columnColour);
    }
    if ((data.flags & MF_SEPARATOR) != 0) {
        RECT line{column.right + 2, area.top + (area.bottom - area.top) / 2, area.right, area.bottom};
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const int offsetX = std::max(0, static_cast<int>((columnWidth - s_imageWidth) * 0.5 + 0.5));
    const int offsetY = std::max(0, static_cast<int>((area.bottom - area.top - s_imageHeight) * 0.5 + 0.5));
    const bool hasImage = data.images != nullptr && data.imageIndex >= 0;
    if (checked) {
        RECT box{column.left + 1, column.top + 1, column.right - 1, column.bottom - 1};
        const COLORREF dark = Darken(s_selection, 0.6);
        Fill(dc, box, hasImage ? Lighten(dark, 0.85) : Lighten(s_selection, selected ? 0.55 : 0.85));
        Outline(dc, box, hasImage ? dark : s_selection);
        if (!hasImage) {
            const int w = box.right - box.left;
            const int h = box.bottom - box.top;
            const int x = w < 6 ? box.left : box.left + w / 2 - 3;
            const int y = h < 6 ? box.top : box.top + h / 2 - 3;
            DrawCheckMark(dc, x, y, (data.flags & MFT_RADIOCHECK) != 0, true);
        }
    }
    DrawImage(dc, data, column.left + offsetX, column.top + offsetY);
    RECT textArea{column.right + 6, area.top, area.right, area.bottom};
    COLORREF colour = s_text;
    if (disabled)
        colour = selected ? ::GetSysColor(COLOR_GRAYTEXT) : Lighten(::GetSysColor(COLOR_GRAYTEXT), 0.4);
    DrawLabel(dc, data, textArea, colour);
}

BOOL CZellMenu::DestroyMenu()
{
    m_items.clear();
    m_popups.clear();
    return CMenu::DestroyMenu();
}
