#include "Common/Skin/GradientStatic.h"

#include "Common/Skin/Drawing/ZellMemDC.h"
#include "Platform/Base/Module.h"
#include "Platform/Framework/Drawing/PaintDC.h"
#include "Platform/Framework/App/WinApp.h"

#include <cwchar>

namespace ZELL::Skin {

namespace {

constexpr COLORREF kKeep = 0xFF000000u;
constexpr DWORD kPathEllipsis = 0x8000;
constexpr DWORD kEndEllipsis = 0x4000;
// The font quality that asks for the exact outline.
constexpr BYTE kProofQuality = 2;

COLORREF Channel(COLORREF start, COLORREF end, int band, BYTE (*part)(COLORREF))
{
    return static_cast<COLORREF>(part(start) + (part(end) - part(start)) * band / CGradientStatic::kFallbackBands);
}

BYTE Red(COLORREF c) { return GetRValue(c); }
BYTE Green(COLORREF c) { return GetGValue(c); }
BYTE Blue(COLORREF c) { return GetBValue(c); }

}

COLORREF CGradientStatic::s_startColor = ::GetSysColor(COLOR_ACTIVECAPTION);
COLORREF CGradientStatic::s_endColor = ::GetSysColor(COLOR_BTNFACE);
COLORREF CGradientStatic::s_textColor = ::GetSysColor(COLOR_CAPTIONTEXT);

BEGIN_MESSAGE_MAP(CGradientStatic, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CGradientStatic::CGradientStatic()
    : m_startColor(s_startColor), m_endColor(s_endColor), m_textColor(s_textColor),
      m_library(::LoadLibraryW(L"msimg32.dll"))
{
    if (m_library != nullptr)
        m_gradientFill = reinterpret_cast<GradientFillFunction>(::GetProcAddress(m_library, "GradientFill"));
}

CGradientStatic::~CGradientStatic()
{
    if (m_library != nullptr)
        ::FreeLibrary(m_library);
}

CString CGradientStatic::LoadText(UINT id)
{
    return ZellLoadString(AfxGetResourceHandle(), id);
}

void CGradientStatic::SetGlobalColors(COLORREF start, COLORREF end, COLORREF text)
{
    if (start != kKeep)
        s_startColor = start;
    if (end != kKeep)
        s_endColor = end;
    if (text != kKeep)
        s_textColor = text;
}

void CGradientStatic::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (font == nullptr)
        font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    LOGFONTW from{};
    ::GetObjectW(font, sizeof from, &from);
    ApplyCaptionFont(from);
    CStatic::PreSubclassWindow();
}

void CGradientStatic::UseSystemFont()
{
    LOGFONTW from{};
    ::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof from, &from);
    ApplyCaptionFont(from);
}

// Bold and TrueType of the face and height the control's font has.
void CGradientStatic::ApplyCaptionFont(const LOGFONTW& from)
{
    m_logFont = from;
    m_faceName = from.lfFaceName;
    m_textSize = -from.lfHeight;
    m_bold = TRUE;
    m_logFont.lfWeight = FW_BOLD;
    m_logFont.lfWidth = 0;
    m_logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    m_logFont.lfQuality = kProofQuality;
    MakeFont();
}

void CGradientStatic::MakeFont()
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
}

void CGradientStatic::SetColors(COLORREF start, COLORREF end)
{
    const bool changed = start != m_startColor || end != m_endColor;
    m_startColor = start;
    m_endColor = end;
    if (changed && m_hWnd != nullptr)
        Invalidate();
}

void CGradientStatic::SwapColors()
{
    SetColors(m_endColor, m_startColor);
}

void CGradientStatic::SetBold(BOOL bold)
{
    m_bold = bold;
    m_logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    MakeFont();
    if (m_hWnd != nullptr)
        RedrawWindow();
}

void CGradientStatic::SetFontName(const CString& face)
{
    if (face.CompareNoCase(m_faceName) == 0)
        return;
    m_faceName = face;
    std::fill(std::begin(m_logFont.lfFaceName), std::end(m_logFont.lfFaceName), L'\0');
    std::wcsncpy(m_logFont.lfFaceName, face.GetString(), LF_FACESIZE - 1);
    MakeFont();
    if (m_hWnd != nullptr)
        Invalidate();
}

void CGradientStatic::SetFontSize(int pixels)
{
    m_textSize = pixels;
    m_logFont.lfHeight = -pixels;
    MakeFont();
    if (m_hWnd != nullptr)
        Invalidate();
}

void CGradientStatic::SetText(const CString& text)
{
    m_text = text;
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

BOOL CGradientStatic::OnEraseBkgnd(CDC*)
{
    return FALSE;
}

void CGradientStatic::OnPaint()
{
    CPaintDC paint(m_hWnd);
    GetClientRect(&m_client);
    CZellMemDC dc(&paint, &m_client);
    if (m_text.IsEmpty())
        GetWindowText(m_text);
    PaintGradient(&dc, m_client);

    dc.SetTextColor(m_textColor);
    dc.SetBkMode(TRANSPARENT);
    CFont* oldFont = dc.SelectObject(&m_font);
    CRect place = m_client;
    if (m_align == 0)
        place.left += m_margin;
    UINT format = DT_VCENTER | DT_SINGLELINE | DT_LEFT;
    const DWORD style = GetStyle();
    if (style & kPathEllipsis)
        format |= DT_PATH_ELLIPSIS;
    if (style & kEndEllipsis)
        format |= DT_END_ELLIPSIS;
    if (style & (kPathEllipsis | kEndEllipsis))
        format |= DT_WORD_ELLIPSIS;
    dc.DrawText(m_text, &place, format);
    dc.SelectObject(oldFont);
}

// The library's gradient fill when there is one, else 255 bands.
void CGradientStatic::PaintGradient(CDC* dc, const CRect& area)
{
    if (m_gradientFill != nullptr) {
        const auto vertex = [](LONG x, LONG y, COLORREF c) {
            return TRIVERTEX{x, y, static_cast<COLOR16>(GetRValue(c) << 8), static_cast<COLOR16>(GetGValue(c) << 8),
                             static_cast<COLOR16>(GetBValue(c) << 8), 0};
        };
        const TRIVERTEX corners[2] = {vertex(area.left, area.top, m_startColor),
                                      vertex(area.right, area.bottom, m_endColor)};
        GRADIENT_RECT rect{0, 1};
        m_gradientFill(dc->GetSafeHdc(), corners, 2, &rect, 1,
                       m_vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
        return;
    }
    const int size = m_vertical ? area.Height() : area.Width();
    for (int band = 0; band < kFallbackBands; ++band) {
        const int from = band * size / kFallbackBands;
        const int to = (band + 1) * size / kFallbackBands;
        if (to <= from)
            continue;
        const COLORREF color = RGB(Channel(m_startColor, m_endColor, band, &Red),
                                   Channel(m_startColor, m_endColor, band, &Green),
                                   Channel(m_startColor, m_endColor, band, &Blue));
        if (m_vertical)
            dc->FillSolidRect(area.left, area.top + from, area.Width(), to - from, color);
        else
            dc->FillSolidRect(area.left + from, area.top, to - from, area.Height(), color);
    }
}

}  // namespace ZELL::Skin
