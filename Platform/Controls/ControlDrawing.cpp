#include "Platform/Controls/ControlDrawing.h"

#include "Platform/Controls/ControlStyles.h"
#include "Platform/Gdi/BitmapApi.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Edges.h"
#include "Platform/Gdi/Icon.h"
#include "Platform/Gdi/SysColors.h"
#include "Platform/Gdi/Text.h"

#include <algorithm>
#include <vector>

namespace ZELL::Controls {

HBRUSH ControlColorBrush(HWND control, HDC dc, UINT ctlColorMessage)
{
    const WPARAM dcArg = reinterpret_cast<WPARAM>(dc);
    const LPARAM controlArg = reinterpret_cast<LPARAM>(control);
    HWND parent = (GetWindowLongPtrW(control, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(control) : nullptr;
    LRESULT brush = parent != nullptr ? SendMessageW(parent, ctlColorMessage, dcArg, controlArg) : 0;
    if (brush == 0)
        brush = DefWindowProcW(control, ctlColorMessage, dcArg, controlArg);
    return reinterpret_cast<HBRUSH>(brush);
}

std::wstring WindowText(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextW(hwnd, buffer.data(), length + 1);
    return std::wstring(buffer.data(), static_cast<std::size_t>(std::max(copied, 0)));
}

void DrawControlText(HDC dc, const std::wstring& text, RECT rect, UINT format, bool enabled)
{
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const int length = static_cast<int>(text.size());
    if (enabled) {
        DrawTextW(dc, text.c_str(), length, &rect, format);
    } else {
        const COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        RECT shifted{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
        DrawTextW(dc, text.c_str(), length, &shifted, format);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawTextW(dc, text.c_str(), length, &rect, format);
        SetTextColor(dc, oldColor);
    }
    SetBkMode(dc, oldMode);
}

RECT TextBounds(HDC dc, const std::wstring& text, const RECT& area, UINT format)
{
    RECT bounds = area;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, format | DT_CALCRECT);
    // DT_CALCRECT keeps the left and top; place the result as the format would.
    const LONG width = bounds.right - bounds.left;
    const LONG height = bounds.bottom - bounds.top;
    if ((format & DT_CENTER) != 0)
        bounds.left = area.left + (area.right - area.left - width) / 2;
    else if ((format & DT_RIGHT) != 0)
        bounds.left = area.right - width;
    if ((format & DT_SINGLELINE) != 0 && (format & DT_VCENTER) != 0)
        bounds.top = area.top + (area.bottom - area.top - height) / 2;
    else if ((format & DT_SINGLELINE) != 0 && (format & DT_BOTTOM) != 0)
        bounds.top = area.bottom - height;
    bounds.right = bounds.left + width;
    bounds.bottom = bounds.top + height;
    return bounds;
}

SIZE ImageSize(HANDLE image, UINT imageKind)
{
    BITMAP bm{};
    if (image == nullptr)
        return {0, 0};
    if (imageKind == IMAGE_BITMAP) {
        if (GetObject(reinterpret_cast<HBITMAP>(image), sizeof bm, &bm) == 0)
            return {0, 0};
        return {bm.bmWidth, bm.bmHeight};
    }
    ICONINFO info{};
    if (!GetIconInfo(reinterpret_cast<HICON>(image), &info))
        return {0, 0};
    SIZE size{0, 0};
    if (info.hbmColor != nullptr && GetObject(info.hbmColor, sizeof bm, &bm) != 0)
        size = {bm.bmWidth, bm.bmHeight};
    else if (info.hbmMask != nullptr && GetObject(info.hbmMask, sizeof bm, &bm) != 0)
        size = {bm.bmWidth, bm.bmHeight / 2};
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        DeleteObject(info.hbmMask);
    return size;
}

void DrawImage(HDC dc, HANDLE image, UINT imageKind, POINT at, bool enabled)
{
    if (image == nullptr)
        return;
    if (imageKind != IMAGE_BITMAP) {
        DrawIconEx(dc, at.x, at.y, reinterpret_cast<HICON>(image), 0, 0, 0, nullptr, DI_NORMAL);
        return;
    }
    const SIZE size = ImageSize(image, imageKind);
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(image), 0, at.x, at.y, size.cx, size.cy,
               DST_BITMAP | (enabled ? DSS_NORMAL : DSS_DISABLED));
}

void SendDrawItem(HWND control, HDC dc, UINT type, UINT action, UINT state)
{
    HWND parent = (GetWindowLongPtrW(control, GWL_STYLE) & WS_CHILD) != 0 ? GetParent(control) : nullptr;
    if (parent == nullptr)
        return;
    DRAWITEMSTRUCT item;
    item.CtlType = type;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
    item.itemAction = action;
    item.itemState = state;
    item.hwndItem = control;
    item.hDC = dc;
    GetClientRect(control, &item.rcItem);
    SendMessageW(parent, WM_DRAWITEM, static_cast<WPARAM>(item.CtlID), reinterpret_cast<LPARAM>(&item));
}

void DrawTextFocus(HDC dc, const RECT& textBounds, const RECT& limit)
{
    RECT focus{textBounds.left - 1, textBounds.top - 1, textBounds.right + 1, textBounds.bottom + 1};
    RECT clipped{};
    if (IntersectRect(&clipped, &focus, &limit))
        DrawFocusRect(dc, &clipped);
}

int FontHeight(HWND hwnd, HFONT font)
{
    HDC dc = GetDC(hwnd);
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return metrics.tmHeight;
}

}
