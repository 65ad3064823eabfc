#pragma once
// The label of every dialog: its own font (bold, italic, underline, face,
// size, rotation), colours, a solid or gradient background, a one-pixel text
// shadow, blinking, and links that open a web address or a mail address.
// The setters return the label, so calls chain; a setter that changes
// nothing does not redraw.
#include "Platform/Framework/Controls/Static.h"

#include "Platform/Framework/Drawing/Brush.h"
#include "Platform/Framework/Drawing/Font.h"

namespace ZELL::Skin {

class CZellStatic : public CStatic {
public:
    enum LinkMode { kNoLink = 0, kUrlLink, kMailLink };
    enum FlashMode { kNoFlash = 0, kFlashText, kFlashBackground };
    static constexpr UINT_PTR kBlinkTimer = 1;
    static constexpr UINT kBlinkInterval = 500;
    // The code of the WM_NOTIFY a click sends with a notify value set.
    static constexpr UINT kClickNotification = 0x8200;

    CZellStatic();
    ~CZellStatic() override = default;

    virtual CZellStatic& SetBackground(COLORREF color, COLORREF secondColor = 0, BOOL gradient = FALSE);
    virtual CZellStatic& SetTextId(UINT id);
    virtual CZellStatic& SetText(const CString& text);
    virtual CZellStatic& SetTextColor(COLORREF color);
    virtual COLORREF GetTextColor() const { return m_textColor; }
    virtual CZellStatic& SetFontBold(BOOL bold);
    virtual CZellStatic& SetFontName(const CString& face, BYTE charSet = DEFAULT_CHARSET);
    virtual CZellStatic& SetFontUnderline(BOOL underline);
    virtual CZellStatic& SetFontItalic(BOOL italic);
    virtual CZellStatic& SetFontSize(int points);
    virtual CZellStatic& SetSunken(BOOL sunken);
    virtual CZellStatic& SetBorder(BOOL border);
    virtual CZellStatic& SetTransparent(BOOL transparent);
    virtual CZellStatic& FlashText(BOOL on);
    virtual CZellStatic& FlashBackground(BOOL on);
    virtual CZellStatic& SetLink(BOOL link, BOOL notify);
    virtual CZellStatic& SetLinkCursor(HCURSOR cursor);
    virtual CZellStatic& SetTextShadow(BOOL shadow, BOOL direction);
    virtual CZellStatic& SetFontRotation(int degrees, BOOL rotate);
    virtual CZellStatic& SetShadowColor(COLORREF color);
    virtual CZellStatic& SetFont(LOGFONTW font);
    virtual CZellStatic& SetMailLink(BOOL link, BOOL notify);
    virtual CZellStatic& SetLinkUrl(const CString& url);

    void PreSubclassWindow() override;

    void Enable(BOOL enable);
    template<typename... Args> CZellStatic& FormatText(LPCWSTR format, const Args&... args)
    {
        CString text;
        text.Format(format, args...);
        return SetText(text);
    }
    template<typename... Args> CZellStatic& FormatTextId(UINT formatId, const Args&... args)
    {
        const CString format = LoadText(formatId);
        return FormatText(format.GetString(), args...);
    }
    static void SetGlobalFont(const LOGFONTW& font);

    // The DrawText format the style and the text call for.
    UINT TextFormat(const CString& text) const;
    BOOL IsTransparent() const { return m_transparent; }
    BOOL IsBlinkVisible() const { return m_blinkVisible; }
    BOOL IsBlinking() const { return m_blinkTimerRunning; }
    int GetFlashMode() const { return m_flashMode; }
    int GetLinkMode() const { return m_linkMode; }
    const LOGFONTW& GetLogFont() const { return m_logFont; }
    const CString& GetText() const { return m_text; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnTimer(UINT_PTR id);
    void OnLButtonDown(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    void OnSysColorChange();
    void OnSetFocus(CWnd* old);
    void OnKillFocus(CWnd* next);
    DECLARE_MESSAGE_MAP()

protected:
    // Makes the font from the description and shows the change.
    void ApplyFont();
    void Redraw();
    void PaintContent(CDC* dc, const CRect& client);
    void PaintFocus(CDC* dc, const CRect& client) const;
    void PaintBackground(CDC* dc, const CRect& client);
    void PaintParentBackground(CDC* dc);
    static CString LoadText(UINT id);

    COLORREF m_textColor = 0;
    COLORREF m_shadowColor = RGB(255, 255, 255);
    CBrush m_systemBrush;
    CBrush m_backgroundBrush;
    LOGFONTW m_logFont{};
    CFont m_font;
    // True while the text shows; blinking starts with it hidden.
    BOOL m_blinkVisible = TRUE;
    BOOL m_blinkTimerRunning = FALSE;
    int m_linkMode = kNoLink;
    BOOL m_transparent = TRUE;
    BOOL m_shadow = FALSE;
    BOOL m_shadowDirection = FALSE;
    BOOL m_notify = FALSE;
    BOOL m_rotated = FALSE;
    int m_flashMode = kNoFlash;
    HCURSOR m_linkCursor = nullptr;
    BOOL m_gradient = FALSE;
    COLORREF m_backgroundSecondColor = 0;
    COLORREF m_backgroundColor = 0;
    CString m_linkTarget;
    CString m_text;

private:
    void StopBlinking();

    static LOGFONTW s_globalFont;
    static BOOL s_globalFontGiven;
};

}  // namespace ZELL::Skin
