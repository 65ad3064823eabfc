// How the label paints itself: background, blinking text colour, the text
// format the style calls for, rotation and the text shadow.
#include "Common/Skin/ZellStatic.h"

#include "Platform/Framework/Drawing/PaintDC.h"

#include <algorithm>

namespace ZELL::Skin {

namespace {

constexpr DWORD kPathEllipsis = 0x8000;
constexpr DWORD kEndEllipsis = 0x4000;
constexpr int kMaxGradientBands = 100;

}

BOOL CZellStatic::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

UINT CZellStatic::TextFormat(const CString& text) const
{
    const DWORD style = GetStyle();
    UINT format = DT_WORDBREAK;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format = DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format = DT_RIGHT | DT_WORDBREAK; break;
    case SS_LEFTNOWORDWRAP: format = DT_LEFT; break;
    default: break;
    }
    if (text.Find(L'\t') >= 0)
        format |= DT_EXPANDTABS;
    if ((style & SS_CENTERIMAGE) && text.Find(L"\r\n") < 0)
        format |= DT_VCENTER | DT_SINGLELINE;
    if (style & kPathEllipsis)
        format |= DT_PATH_ELLIPSIS | DT_SINGLELINE;
    if (style & kEndEllipsis)
        format |= DT_END_ELLIPSIS | DT_SINGLELINE;
    if (style & (kPathEllipsis | kEndEllipsis))
        format |= DT_WORD_ELLIPSIS | DT_SINGLELINE;
    return format;
}

void CZellStatic::OnPaint()
{
    CPaintDC paint(m_hWnd);
    if (m_text.IsEmpty())
        GetWindowText(m_text);
    CRect client;
    GetClientRect(&client);
    if (m_transparent) {
        PaintParentBackground(&paint);
        PaintContent(&paint, client);
        PaintFocus(&paint, client);
        return;
    }
    CDC memory;
    CBitmap picture;
    if (!memory.CreateCompatibleDC(&paint) || !picture.CreateCompatibleBitmap(&paint, client.Width(), client.Height()))
        return;
    CBitmap* old = memory.SelectObject(&picture);
    PaintBackground(&memory, client);
    PaintContent(&memory, client);
    PaintFocus(&memory, client);
    paint.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

void CZellStatic::PaintFocus(CDC* dc, const CRect& client) const
{
    if (::GetFocus() == m_hWnd)
        dc->DrawFocusRect(&client);
}

// What the parent shows under the label, drawn by the parent's own erase:
// a transparent label painted again (a blink, an expose) must not draw its
// text over the text it drew before.
void CZellStatic::PaintParentBackground(CDC* dc)
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr)
        return;
    POINT origin{0, 0};
    ::MapWindowPoints(m_hWnd, parent, &origin, 1);
    const int saved = dc->SaveDC();
    dc->OffsetViewportOrg(-origin.x, -origin.y);
    ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc->GetSafeHdc()), 0);
    dc->RestoreDC(saved);
}

// A horizontal gradient in at most 100 bands, the channels advancing in
// fixed point; or the background brush, else the system brush.
void CZellStatic::PaintBackground(CDC* dc, const CRect& client)
{
    if (!m_gradient) {
        dc->FillRect(&client, m_backgroundBrush.GetSafeHandle() != nullptr ? &m_backgroundBrush : &m_systemBrush);
        return;
    }
    const int bands = std::max(1, std::min(kMaxGradientBands, client.Width()));
    const COLORREF from = m_backgroundColor;
    const COLORREF to = m_backgroundSecondColor;
    const int step[3] = {(GetRValue(to) - GetRValue(from)) * 256 / bands,
                         (GetGValue(to) - GetGValue(from)) * 256 / bands,
                         (GetBValue(to) - GetBValue(from)) * 256 / bands};
    int channel[3] = {GetRValue(from) << 8, GetGValue(from) << 8, GetBValue(from) << 8};
    CGdiObject* oldPen = dc->SelectStockObject(NULL_PEN);
    for (int band = 0; band < bands; ++band) {
        CBrush brush(RGB(channel[0] >> 8, channel[1] >> 8, channel[2] >> 8));
        CBrush* oldBrush = dc->SelectObject(&brush);
        const int left = client.left + client.Width() * band / bands;
        const int right = client.left + client.Width() * (band + 1) / bands;
        // One pixel more each way: a null pen leaves the right and bottom edges out.
        dc->Rectangle(left, client.top, right + 1, client.bottom + 1);
        dc->SelectObject(oldBrush);
        for (int i = 0; i < 3; ++i)
            channel[i] += step[i];
    }
    dc->SelectObject(oldPen);
}

void CZellStatic::PaintContent(CDC* dc, const CRect& client)
{
    const int saved = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    COLORREF color = m_textColor;
    if (m_flashMode == kFlashText && !m_blinkVisible) {
        LOGBRUSH brush{};
        color = m_backgroundBrush.GetSafeHandle() != nullptr && m_backgroundBrush.GetLogBrush(&brush) != 0
                    ? brush.lbColor
                    : RGB(0, 0, 0);
    }
    dc->SetTextColor(color);
    dc->SelectObject(&m_font);
    if (m_rotated) {
        dc->SetTextAlign(TA_CENTER | TA_BASELINE);
        const CPoint origin = dc->SetViewportOrg(client.Width() / 2, client.Height() / 2);
        dc->TextOut(0, 0, m_text);
        dc->SetViewportOrg(origin);
    } else {
        const UINT format = TextFormat(m_text);
        CRect place = client;
        dc->DrawText(m_text, &place, format);
        if (m_shadow) {
            const int offset = m_shadowDirection ? 1 : -1;
            place.OffsetRect(offset, offset);
            dc->SetTextColor(m_shadowColor);
            dc->DrawText(m_text, &place, format);
        }
    }
    dc->RestoreDC(saved);
}

}  // namespace ZELL::Skin
