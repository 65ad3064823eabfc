#include "Common/Tessel/ThemedGroupBox.h"

#include "Platform/Framework/Drawing/Brush.h"
#include "Platform/Framework/Drawing/PaintDC.h"
#include "Platform/Framework/Drawing/Pen.h"

#include <cwchar>

IMPLEMENT_DYNAMIC(CThemedGroupBox, CButton)

BEGIN_MESSAGE_MAP(CThemedGroupBox, CButton)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

constexpr int kCorner = 10;
constexpr int kClassicIndent = 10;
constexpr int kBandIndent = 2;

CString Padded(const CString& text)
{
    return CString(L" ") + text + L" ";
}

}

CThemedGroupBox::CThemedGroupBox()
    : m_borderColor(::GetSysColor(COLOR_BTNSHADOW)), m_bandColor(::GetSysColor(COLOR_BTNFACE)),
      m_bodyColor(::GetSysColor(COLOR_BTNFACE)), m_captionTextColor(::GetSysColor(COLOR_WINDOWTEXT))
{
}

CThemedGroupBox::Geometry CThemedGroupBox::Layout(const RECT& box, SIZE caption, bool bandStyle, int alignment)
{
    Geometry g;
    const int indent = bandStyle ? kBandIndent : kClassicIndent;
    const LONG top = bandStyle ? box.top + 2 : box.top;
    LONG left = box.left + indent;
    if (alignment == kCentre)
        left = box.left + (box.right - box.left - caption.cx) / 2;
    else if (alignment == kRight)
        left = box.right - indent - caption.cx;
    g.caption = RECT{left, top, left + caption.cx, top + caption.cy};
    if (bandStyle) {
        g.frame = box;
        g.body = RECT{box.left, box.top + caption.cy + 4, box.right, box.bottom};
    } else {
        g.frame = RECT{box.left, box.top + caption.cy / 2, box.right, box.bottom};
    }
    return g;
}

BOOL CThemedGroupBox::Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CButton::Create(text, style | kOwnStyle, rect, parent, id);
}

BOOL CThemedGroupBox::PreCreateWindow(CREATESTRUCTW& cs)
{
    cs.style |= kOwnStyle;
    return CButton::PreCreateWindow(cs);
}

void CThemedGroupBox::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ModifyStyle(0, kOwnStyle);
    TakeWindowFont();
}

void CThemedGroupBox::TakeWindowFont()
{
    auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (font == nullptr)
        font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    ::GetObjectW(font, sizeof m_logFont, &m_logFont);
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
}

CThemedGroupBox& CThemedGroupBox::SetBorderColor(COLORREF color)
{
    m_borderColor = color;
    return Repaint();
}

CThemedGroupBox& CThemedGroupBox::SetCaptionTextColor(COLORREF color)
{
    m_captionTextColor = color;
    return Repaint();
}

CThemedGroupBox& CThemedGroupBox::SetBackgroundColors(COLORREF band, COLORREF body)
{
    m_bandColor = band;
    m_bodyColor = body;
    return Repaint();
}

CThemedGroupBox& CThemedGroupBox::SetBackgroundColor(COLORREF color)
{
    return SetBackgroundColors(color, color);
}

CThemedGroupBox& CThemedGroupBox::SetBandStyle(int bandStyle)
{
    m_bandStyle = bandStyle;
    return Repaint();
}

CThemedGroupBox& CThemedGroupBox::SetCaption(LPCWSTR caption)
{
    if (GetSafeHwnd() == nullptr)
        return *this;
    m_caption = Padded(caption ? caption : L"");
    return Repaint();
}

CThemedGroupBox& CThemedGroupBox::SetFontBold(BOOL bold)
{
    m_logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    return ApplyFont();
}

CThemedGroupBox& CThemedGroupBox::SetFontName(LPCWSTR face, BYTE charSet)
{
    m_logFont.lfCharSet = charSet;
    std::wmemset(m_logFont.lfFaceName, 0, LF_FACESIZE);
    if (face != nullptr)
        std::wcsncpy(m_logFont.lfFaceName, face, LF_FACESIZE - 1);
    return ApplyFont();
}

CThemedGroupBox& CThemedGroupBox::SetFontUnderline(BYTE underline)
{
    m_logFont.lfUnderline = underline;
    return ApplyFont();
}

CThemedGroupBox& CThemedGroupBox::SetFontItalic(BYTE italic)
{
    m_logFont.lfItalic = italic;
    return ApplyFont();
}

CThemedGroupBox& CThemedGroupBox::SetFontSize(int points)
{
    CFont pointFont;
    if (pointFont.CreatePointFont(points * 10, m_logFont.lfFaceName)) {
        LOGFONTW measured{};
        pointFont.GetLogFont(&measured);
        m_logFont.lfHeight = measured.lfHeight;
        m_logFont.lfWidth = measured.lfWidth;
    }
    return ApplyFont();
}

CThemedGroupBox& CThemedGroupBox::SetFont(LOGFONTW font)
{
    m_logFont = font;
    return ApplyFont();
}

CThemedGroupBox& CThemedGroupBox::SetAlignment(int alignment)
{
    m_alignment = alignment == kCentre || alignment == kRight ? alignment : kLeft;
    return Repaint();
}

CThemedGroupBox& CThemedGroupBox::ApplyFont()
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
    return Repaint();
}

// The parent is repainted beneath the box as well, since the rounded
// corners leave its background showing.
CThemedGroupBox& CThemedGroupBox::Repaint()
{
    if (GetSafeHwnd() == nullptr)
        return *this;
    RECT r{};
    GetWindowRect(&r);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if (HWND parent = ::GetParent(m_hWnd)) {
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        ::InvalidateRect(parent, &r, TRUE);
        ::UpdateWindow(parent);
    }
    return *this;
}

void CThemedGroupBox::OnPaint()
{
    CPaintDC dc(m_hWnd);
    RECT box{};
    GetClientRect(&box);
    ::InflateRect(&box, -1, -1);
    CFont* oldFont = dc.SelectObject(&m_font);
    if (m_caption.IsEmpty()) {
        CString text;
        GetWindowText(text);
        if (!text.IsEmpty())
            m_caption = Padded(text);
    }
    SIZE extent{};
    if (!m_caption.IsEmpty())
        ::GetTextExtentPoint32W(dc.GetSafeHdc(), m_caption.GetString(), m_caption.GetLength(), &extent);
    const bool band = m_bandStyle != 0;
    const Geometry g = Layout(box, extent, band, m_alignment);
    CPen pen(PS_SOLID, 1, m_borderColor);
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush bandBrush(m_bandColor);
    if (band) {
        CBrush bodyBrush(m_bodyColor);
        CBrush* oldBrush = dc.SelectObject(&bandBrush);
        dc.RoundRect(&g.frame, POINT{kCorner, kCorner});
        dc.SelectObject(&bodyBrush);
        dc.Rectangle(&g.body);
        dc.SelectObject(oldBrush);
    } else {
        CGdiObject* oldBrush = dc.SelectStockObject(HOLLOW_BRUSH);
        dc.RoundRect(&g.frame, POINT{kCorner, kCorner});
        dc.SelectObject(oldBrush);
        if (!m_caption.IsEmpty()) {
            const int saved = dc.SaveDC();
            dc.IntersectClipRect(&g.caption);
            dc.FillRect(&g.caption, &bandBrush);
            dc.RestoreDC(saved);
        }
    }
    dc.SelectObject(oldPen);
    const COLORREF oldColour = dc.SetTextColor(m_captionTextColor);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    RECT captionRect = g.caption;
    dc.DrawText(m_caption, &captionRect, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}
