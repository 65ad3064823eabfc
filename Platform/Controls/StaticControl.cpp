#include "Platform/Controls/StaticControl.h"

#include "Platform/Controls/ControlDrawing.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Gdi/Gdi.h"

namespace ZELL::Controls {

namespace {

UINT TextFormat(DWORD style)
{
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_SIMPLE: format = DT_SINGLELINE; break;
    case SS_LEFTNOWORDWRAP: break;
    default: format |= DT_WORDBREAK; break;
    }
    if ((style & SS_NOPREFIX) != 0)
        format |= DT_NOPREFIX;
    if ((style & SS_CENTERIMAGE) != 0)
        format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    switch (style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS: format = (format & ~DT_WORDBREAK) | DT_END_ELLIPSIS; break;
    case SS_PATHELLIPSIS: format = (format & ~DT_WORDBREAK) | DT_PATH_ELLIPSIS; break;
    case SS_WORDELLIPSIS: format = (format & ~DT_WORDBREAK) | DT_WORD_ELLIPSIS; break;
    default: break;
    }
    return format;
}

void FillWith(HDC dc, const RECT& r, int colorIndex)
{
    FillRect(dc, &r, GetSysColorBrush(colorIndex));
}

void FrameWith(HDC dc, const RECT& r, int colorIndex)
{
    FrameRect(dc, &r, GetSysColorBrush(colorIndex));
}

}

bool CStaticControl::IsTextKind() const
{
    switch (Kind()) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP: return true;
    default: return false;
    }
}

bool CStaticControl::TakesImage(UINT imageKind) const
{
    if (Kind() == SS_ICON)
        return imageKind == IMAGE_ICON || imageKind == IMAGE_CURSOR;
    if (Kind() == SS_BITMAP)
        return imageKind == IMAGE_BITMAP;
    return false;
}

// A picture static takes the picture's size unless told to keep its own.
void CStaticControl::FitToImage()
{
    if ((Style() & (SS_CENTERIMAGE | SS_REALSIZECONTROL)) != 0 || m_image == nullptr)
        return;
    const SIZE size = ImageSize(m_image, ImageKind());
    if (size.cx > 0 && size.cy > 0)
        SetWindowPos(Hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CStaticControl::SetImage(UINT imageKind, HANDLE image)
{
    if (!TakesImage(imageKind))
        return 0;
    HANDLE previous = m_image;
    m_image = image;
    FitToImage();
    Redraw();
    return reinterpret_cast<LRESULT>(previous);
}

LRESULT CStaticControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST:
        // Without SS_NOTIFY a static lets the mouse through to what lies below.
        if ((Style() & SS_NOTIFY) == 0)
            return HTTRANSPARENT;
        return DefaultProc(message, wParam, lParam);
    case WM_LBUTTONDOWN:
        if ((Style() & SS_NOTIFY) != 0)
            NotifyParent(STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if ((Style() & SS_NOTIFY) != 0)
            NotifyParent(STN_DBLCLK);
        return 0;
    case WM_ENABLE:
        if ((Style() & SS_NOTIFY) != 0)
            NotifyParent(wParam != 0 ? STN_ENABLE : STN_DISABLE);
        return CControlWindow::OnMessage(message, wParam, lParam);
    case WM_GETDLGCODE: return DLGC_STATIC;
    case STM_SETICON: return SetImage(IMAGE_ICON, reinterpret_cast<HANDLE>(wParam));
    case STM_GETICON: return Kind() == SS_ICON ? reinterpret_cast<LRESULT>(m_image) : 0;
    case STM_SETIMAGE: return SetImage(static_cast<UINT>(wParam), reinterpret_cast<HANDLE>(lParam));
    case STM_GETIMAGE:
        return TakesImage(static_cast<UINT>(wParam)) ? reinterpret_cast<LRESULT>(m_image) : 0;
    case WM_SIZE:
        if (!IsTextKind())
            Redraw();
        return 0;
    default: return CControlWindow::OnMessage(message, wParam, lParam);
    }
}

void CStaticControl::Paint(HDC dc)
{
    const RECT client = Client();
    RECT inner = client;
    if ((Style() & SS_SUNKEN) != 0)
        DrawEdge(dc, &inner, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    if (IsTextKind())
        PaintText(dc, inner);
    else if (Kind() == SS_ICON || Kind() == SS_BITMAP)
        PaintImage(dc, inner);
    else if (Kind() == SS_OWNERDRAW)
        PaintOwnerDraw(dc);
    else
        PaintShape(dc, inner);
}

void CStaticControl::PaintText(HDC dc, const RECT& client)
{
    HBRUSH brush = ControlColorBrush(Hwnd(), dc, WM_CTLCOLORSTATIC);
    if (brush != nullptr)
        FillRect(dc, &client, brush);
    DrawControlText(dc, WindowText(Hwnd()), client, TextFormat(Style()), Enabled());
}

void CStaticControl::PaintImage(HDC dc, const RECT& client)
{
    HBRUSH brush = ControlColorBrush(Hwnd(), dc, WM_CTLCOLORSTATIC);
    if (brush != nullptr)
        FillRect(dc, &client, brush);
    if (m_image == nullptr)
        return;
    const SIZE size = ImageSize(m_image, ImageKind());
    POINT at{client.left, client.top};
    if ((Style() & SS_CENTERIMAGE) != 0)
        at = {client.left + (client.right - client.left - size.cx) / 2,
              client.top + (client.bottom - client.top - size.cy) / 2};
    DrawImage(dc, m_image, ImageKind(), at, Enabled());
}

void CStaticControl::PaintShape(HDC dc, const RECT& client)
{
    RECT r = client;
    switch (Kind()) {
    case SS_BLACKRECT: FillWith(dc, r, COLOR_3DDKSHADOW); break;
    case SS_GRAYRECT: FillWith(dc, r, COLOR_3DSHADOW); break;
    case SS_WHITERECT: FillWith(dc, r, COLOR_3DHIGHLIGHT); break;
    case SS_BLACKFRAME: FrameWith(dc, r, COLOR_3DDKSHADOW); break;
    case SS_GRAYFRAME: FrameWith(dc, r, COLOR_3DSHADOW); break;
    case SS_WHITEFRAME: FrameWith(dc, r, COLOR_3DHIGHLIGHT); break;
    case SS_ETCHEDHORZ: DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP); break;
    case SS_ETCHEDVERT: DrawEdge(dc, &r, EDGE_ETCHED, BF_LEFT); break;
    case SS_ETCHEDFRAME: DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT); break;
    default: break;
    }
}

void CStaticControl::PaintOwnerDraw(HDC dc)
{
    SendDrawItem(Hwnd(), dc, ODT_STATIC, ODA_DRAWENTIRE, Enabled() ? 0 : ODS_DISABLED);
}

}
