#include "Platform/Framework/Drawing/DC.h"

#include "Platform/Framework/Core/PermanentHandleMap.h"
#include "Platform/Framework/Exceptions/ResourceException.h"
#include "Platform/Framework/Core/TempHandleMap.h"
#include "Platform/Ui/WinUser.h"

IMPLEMENT_DYNCREATE(CDC, CObject)

using DeviceContexts = CPermanentHandleMap<CDC>;

namespace {

// The wrapper of what SelectObject or GetCurrentObject returned, as `Wrapper`.
template<typename Wrapper, typename Handle>
Wrapper* Previous(HGDIOBJ previous)
{
    return previous && previous != HGDI_ERROR ? Wrapper::FromHandle(static_cast<Handle>(previous)) : nullptr;
}

HDC SourceOf(CDC* source)
{
    return source ? source->GetSafeHdc() : nullptr;
}

}  // namespace

CDC::~CDC()
{
    DeleteDC();
}

CDC* CDC::FromHandle(HDC dc)
{
    if (CDC* owner = DeviceContexts::Find(dc))
        return owner;
    return CTempHandleMap<CDC, HDC, &CDC::m_hDC>::FromHandle(dc);
}

void CDC::AttachedHandles()
{
    m_hAttribDC = m_hDC;
    m_bPrinting = ::GetDeviceCaps(m_hDC, TECHNOLOGY) == DT_RASPRINTER;
}

void CDC::AttachWindowContext(HWND window, HDC dc)
{
    if (!Attach(dc)) {
        if (dc)
            ::ReleaseDC(window, dc);
        AfxThrowResourceException();
    }
}

BOOL CDC::Attach(HDC dc)
{
    if (!DeviceContexts::Attach(this, m_hDC, dc))
        return FALSE;
    AttachedHandles();
    return TRUE;
}

HDC CDC::Detach()
{
    m_hAttribDC = nullptr;
    m_bPrinting = FALSE;
    return DeviceContexts::Detach(this, m_hDC);
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    if (!DeviceContexts::AttachMade(this, m_hDC, ::CreateCompatibleDC(dc ? dc->GetSafeHdc() : nullptr), &::DeleteDC))
        return FALSE;
    AttachedHandles();
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CPen* CDC::SelectObject(CPen* pen)
{
    return pen ? Previous<CPen, HPEN>(::SelectObject(m_hDC, pen->m_hObject)) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return brush ? Previous<CBrush, HBRUSH>(::SelectObject(m_hDC, brush->m_hObject)) : nullptr;
}

CFont* CDC::SelectObject(CFont* font)
{
    return font ? Previous<CFont, HFONT>(::SelectObject(m_hDC, font->m_hObject)) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return bitmap ? Previous<CBitmap, HBITMAP>(::SelectObject(m_hDC, bitmap->m_hObject)) : nullptr;
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    return object ? Previous<CGdiObject, HGDIOBJ>(::SelectObject(m_hDC, object->m_hObject)) : nullptr;
}

int CDC::SelectObject(CRgn* region)
{
    if (!region)
        return ERROR;
    return static_cast<int>(reinterpret_cast<std::intptr_t>(::SelectObject(m_hDC, region->m_hObject)));
}

CGdiObject* CDC::SelectStockObject(int index)
{
    HGDIOBJ stock = ::GetStockObject(index);
    return stock ? Previous<CGdiObject, HGDIOBJ>(::SelectObject(m_hDC, stock)) : nullptr;
}

CPen* CDC::GetCurrentPen() const
{
    return Previous<CPen, HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN));
}

CBrush* CDC::GetCurrentBrush() const
{
    return Previous<CBrush, HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH));
}

CFont* CDC::GetCurrentFont() const
{
    return Previous<CFont, HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT));
}

CBitmap* CDC::GetCurrentBitmap() const
{
    return Previous<CBitmap, HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP));
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    POINT old{};
    ::SetBrushOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old{};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::GetViewportOrg() const
{
    POINT origin{};
    ::GetViewportOrgEx(m_hDC, &origin);
    return origin;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT old{};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old{};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::GetWindowOrg() const
{
    POINT origin{};
    ::GetWindowOrgEx(m_hDC, &origin);
    return origin;
}

CPoint CDC::OffsetWindowOrg(int dx, int dy)
{
    POINT old{};
    ::OffsetWindowOrgEx(m_hDC, dx, dy, &old);
    return old;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE old{};
    ::SetViewportExtEx(m_hDC, cx, cy, &old);
    return old;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE old{};
    ::SetWindowExtEx(m_hDC, cx, cy, &old);
    return old;
}

CSize CDC::GetViewportExt() const
{
    SIZE extent{};
    ::GetViewportExtEx(m_hDC, &extent);
    return extent;
}

CSize CDC::GetWindowExt() const
{
    SIZE extent{};
    ::GetWindowExtEx(m_hDC, &extent);
    return extent;
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    return ::IntersectClipRect(m_hDC, left, top, right, bottom);
}

int CDC::IntersectClipRect(LPCRECT rect)
{
    return rect ? IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom) : ERROR;
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom)
{
    return ::ExcludeClipRect(m_hDC, left, top, right, bottom);
}

int CDC::ExcludeClipRect(LPCRECT rect)
{
    return rect ? ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom) : ERROR;
}

int CDC::SelectClipRgn(CRgn* region)
{
    return ::SelectClipRgn(m_hDC, region ? static_cast<HRGN>(*region) : nullptr);
}

int CDC::SelectClipRgn(CRgn* region, int mode)
{
    return ::ExtSelectClipRgn(m_hDC, region ? static_cast<HRGN>(*region) : nullptr, mode);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old{};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::GetCurrentPosition() const
{
    POINT position{};
    ::GetCurrentPositionEx(m_hDC, &position);
    return position;
}

BOOL CDC::Rectangle(LPCRECT rect)
{
    return rect && Rectangle(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CDC::RoundRect(int left, int top, int right, int bottom, int width, int height)
{
    return ::RoundRect(m_hDC, left, top, right, bottom, width, height);
}

BOOL CDC::RoundRect(LPCRECT rect, POINT corner)
{
    return rect && RoundRect(rect->left, rect->top, rect->right, rect->bottom, corner.x, corner.y);
}

BOOL CDC::Ellipse(LPCRECT rect)
{
    return rect && Ellipse(rect->left, rect->top, rect->right, rect->bottom);
}

void CDC::FillRect(LPCRECT rect, CBrush* brush)
{
    if (rect && brush)
        ::FillRect(m_hDC, rect, *brush);
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush)
{
    if (rect && brush)
        ::FrameRect(m_hDC, rect, *brush);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    if (!rect)
        return;
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    const RECT rect{x, y, x + cx, y + cy};
    FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (rect)
        Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

BOOL CDC::DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush)
{
    return ::DrawStateW(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, point.x, point.y, size.cx, size.cy,
                        flags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint point, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush)
{
    return bitmap && DrawState(point, size, static_cast<HBITMAP>(*bitmap), flags,
                               brush ? static_cast<HBRUSH>(*brush) : nullptr);
}

BOOL CDC::DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush)
{
    return ::DrawStateW(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, point.x, point.y, size.cx, size.cy,
                        flags | DST_ICON);
}

BOOL CDC::DrawState(CPoint point, CSize size, HICON icon, UINT flags, CBrush* brush)
{
    return DrawState(point, size, icon, flags, brush ? static_cast<HBRUSH>(*brush) : nullptr);
}

BOOL CDC::DrawState(CPoint point, CSize size, LPCWSTR text, UINT flags, BOOL prefixText, int textLength,
                    HBRUSH brush)
{
    return text && ::DrawStateW(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(text),
                                static_cast<WPARAM>(textLength > 0 ? textLength : 0), point.x, point.y, size.cx,
                                size.cy, flags | (prefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::FillRgn(CRgn* region, CBrush* brush)
{
    return region && brush && ::FillRgn(m_hDC, *region, *brush);
}

BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height)
{
    return region && brush && ::FrameRgn(m_hDC, *region, *brush, width, height);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, SourceOf(source), xSrc, ySrc, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, width, height, SourceOf(source), xSrc, ySrc, srcWidth, srcHeight, rop);
}

BOOL CDC::TransparentBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                         int srcHeight, UINT transparent)
{
    return ::TransparentBlt(m_hDC, x, y, width, height, SourceOf(source), xSrc, ySrc, srcWidth, srcHeight,
                            transparent);
}

BOOL CDC::AlphaBlend(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
                     int srcHeight, BLENDFUNCTION blend)
{
    return ::AlphaBlend(m_hDC, x, y, width, height, SourceOf(source), xSrc, ySrc, srcWidth, srcHeight, blend);
}

BOOL CDC::TextOut(int x, int y, LPCWSTR text, int count)
{
    return ::TextOutW(m_hDC, x, y, text, count);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCWSTR text, UINT count, const INT* widths)
{
    return ::ExtTextOutW(m_hDC, x, y, options, rect, text, count, widths);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, const INT* widths)
{
    return ExtTextOut(x, y, options, rect, text.GetString(), static_cast<UINT>(text.GetLength()), widths);
}

int CDC::DrawText(LPCWSTR text, int count, LPRECT rect, UINT format)
{
    return ::DrawTextW(m_hDC, text, count, rect, format);
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format)
{
    return DrawText(text.GetString(), text.GetLength(), rect, format);
}

CSize CDC::GetTextExtent(LPCWSTR text, int count) const
{
    SIZE size{};
    ::GetTextExtentPoint32W(m_hDC, text, count, &size);
    return size;
}
