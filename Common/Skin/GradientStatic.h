#pragma once
// A caption bar: a two-colour gradient under a bold single-line text. The
// colours come from class-wide values that the application sets at start.
#include "Platform/Framework/Controls/Static.h"

#include "Platform/Framework/Drawing/Font.h"

namespace ZELL::Skin {

class CGradientStatic : public CStatic {
public:
    using GradientFillFunction = BOOL (*)(HDC, const TRIVERTEX*, ULONG, const void*, ULONG, ULONG);
    static constexpr int kFallbackBands = 255;

    CGradientStatic();
    ~CGradientStatic() override;

    void PreSubclassWindow() override;

    void SetColors(COLORREF start, COLORREF end);
    void SwapColors();
    void SetVertical(BOOL vertical = TRUE) { m_vertical = vertical; }
    void SetBold(BOOL bold);
    void SetFontName(const CString& face);
    void SetFontSize(int pixels);
    void SetText(const CString& text);
    template<typename... Args> void FormatText(LPCWSTR format, const Args&... args)
    {
        CString text;
        text.Format(format, args...);
        SetText(text);
    }
    template<typename... Args> void FormatTextId(UINT formatId, const Args&... args)
    {
        const CString format = LoadText(formatId);
        FormatText(format.GetString(), args...);
    }
    void UseSystemFont();
    // 0xFF000000 leaves that colour as it is.
    static void SetGlobalColors(COLORREF start, COLORREF end, COLORREF text);

    COLORREF GetStartColor() const { return m_startColor; }
    COLORREF GetEndColor() const { return m_endColor; }
    COLORREF GetTextColor() const { return m_textColor; }
    const LOGFONTW& GetLogFont() const { return m_logFont; }
    BOOL HasGradientFill() const { return m_gradientFill != nullptr; }

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

protected:
    // The system's gradient fill in place of the library's (tests).
    void UseGradientFill(GradientFillFunction fill) { m_gradientFill = fill; }
    void PaintGradient(CDC* dc, const CRect& area);
    void ApplyCaptionFont(const LOGFONTW& from);
    static CString LoadText(UINT id);

    COLORREF m_startColor = 0;
    COLORREF m_endColor = 0;
    COLORREF m_textColor = 0;
    HMODULE m_library = nullptr;
    GradientFillFunction m_gradientFill = nullptr;
    BOOL m_vertical = FALSE;
    LOGFONTW m_logFont{};
    CFont m_font;
    BOOL m_bold = TRUE;
    int m_textSize = 16;
    CString m_faceName = L"Tahoma";
    int m_align = 0;
    int m_margin = 10;
    CRect m_client;
    CString m_text;

private:
    void MakeFont();

    static COLORREF s_startColor;
    static COLORREF s_endColor;
    static COLORREF s_textColor;
};

}  // namespace ZELL::Skin
