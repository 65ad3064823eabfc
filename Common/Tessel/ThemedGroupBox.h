#pragma once
// A group box that paints itself: a classic frame with rounded corners whose
// caption interrupts the top line, or a band box whose caption sits in a
// coloured band above a body of another colour. The setters return the box
// and repaint it together with the part of the parent beneath it.
#include "Platform/Framework/Controls/Button.h"
#include "Platform/Framework/Drawing/Font.h"

class CThemedGroupBox : public CButton {
    DECLARE_DYNAMIC(CThemedGroupBox)
public:
    enum Alignment { kLeft = 0, kCentre = 1, kRight = 2 };
    // The button style every box gets on top of the one asked for.
    static constexpr DWORD kOwnStyle = 0x40;

    // Where the parts of a box go: the frame or band rectangle and the
    // caption's rectangle.
    struct Geometry {
        RECT frame{};
        RECT caption{};
        RECT body{};  // band style only
    };
    static Geometry Layout(const RECT& box, SIZE caption, bool bandStyle, int alignment);

    CThemedGroupBox();

    BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void PreSubclassWindow() override;

    virtual CThemedGroupBox& SetBorderColor(COLORREF color);
    virtual CThemedGroupBox& SetCaptionTextColor(COLORREF color);
    virtual CThemedGroupBox& SetBackgroundColors(COLORREF band, COLORREF body);
    virtual CThemedGroupBox& SetBackgroundColor(COLORREF color);
    virtual CThemedGroupBox& SetBandStyle(int bandStyle);
    virtual CThemedGroupBox& SetCaption(LPCWSTR caption);
    virtual CThemedGroupBox& SetFontBold(BOOL bold);
    virtual CThemedGroupBox& SetFontName(LPCWSTR face, BYTE charSet);
    virtual CThemedGroupBox& SetFontUnderline(BYTE underline);
    virtual CThemedGroupBox& SetFontItalic(BYTE italic);
    virtual CThemedGroupBox& SetFontSize(int points);
    virtual CThemedGroupBox& SetFont(LOGFONTW font);
    virtual CThemedGroupBox& SetAlignment(int alignment);

    const CString& GetCaption() const { return m_caption; }
    int GetAlignment() const { return m_alignment; }
    const LOGFONTW& GetLogFont() const { return m_logFont; }

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void TakeWindowFont();
    CThemedGroupBox& ApplyFont();
    CThemedGroupBox& Repaint();

    CString m_caption;
    COLORREF m_borderColor = 0;
    COLORREF m_bandColor = 0;
    COLORREF m_bodyColor = 0;
    COLORREF m_captionTextColor = 0;
    int m_bandStyle = 0;
    int m_alignment = kLeft;
    LOGFONTW m_logFont{};
    CFont m_font;
};
