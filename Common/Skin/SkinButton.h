#pragma once
// The owner-drawn push button of every dialog: icons, bitmaps, six state
// colours, a flat look with hover tracking, check-box and radio behaviour,
// a tooltip, a link target and auto-repeat. All drawing goes through a
// memory context, so the button never flickers.
#include "Common/Skin/ZellMenu.h"
#include "Platform/Framework/Controls/Button.h"
#include "Platform/Framework/Controls/ToolTipCtrl.h"

#include "Platform/Framework/Drawing/DC.h"

namespace ZELL::Skin {

class CSkinButton : public CButton {
public:
    // Status codes of the setters.
    enum Status {
        kOk = 0,
        kInvalidResource = 1,
        kFailedMask = 2,
        kInvalidIndex = 3,
        kInvalidAlign = 4,
        kBadParam = 5,
        kInvalidPressedStyle = 6,
        kNoAutoRepeat = 7,
    };
    // Colour indices.
    enum ColorIndex { kBackIn = 0, kForeIn, kBackOut, kForeOut, kBackFocus, kForeFocus, kColorCount };
    enum TextAlign : BYTE { kAlignCenter = 0, kAlignLeft, kAlignRight };
    enum IconAlign : BYTE { kIconLeft = 0, kIconAbove, kIconRight, kIconTopLeft };
    // An out image made from the in image.
    static constexpr int kDarkerCopy = -3;
    static constexpr int kGrayCopy = -2;
    static constexpr UINT_PTR kAutoRepeatTimer = 1;

    CSkinButton();
    ~CSkinButton() override;

    virtual void DrawItem(LPDRAWITEMSTRUCT item);
    virtual void OnHoverEnter() {}
    virtual void OnHoverLeave() {}
    virtual DWORD OnDrawBackground(CDC* dc, RECT* rect);
    virtual DWORD OnDrawBorder(CDC* dc, RECT* rect);
    virtual void DrawIcon(CDC* dc, BOOL hasTitle, RECT* item, RECT* caption, BOOL pressed, BOOL disabled);
    virtual void DrawBitmap(CDC* dc, BOOL hasTitle, RECT* item, RECT* caption, BOOL pressed, BOOL disabled);
    virtual void DrawText(CDC* dc, LPCWSTR text, RECT* item, RECT* caption, BOOL pressed, BOOL disabled);
    void PreSubclassWindow() override;
    // Hands the pointer's messages to the tooltip, and a double click on as a
    // second click.
    BOOL PreTranslateMessage(MSG* msg) override;

    // --- images -----------------------------------------------------------------
    DWORD SetIcon(int iconIn, int iconOut = 0);
    DWORD SetIcon(int iconIn, int widthIn, int heightIn, int iconOut, int widthOut, int heightOut);
    DWORD SetIcon(HICON iconIn, HICON iconOut);
    DWORD SetIcon(LPCWSTR fileIn, int widthIn, int heightIn, LPCWSTR fileOut, int widthOut, int heightOut);
    DWORD SetBitmaps(int bitmapIn, COLORREF transparentIn, int bitmapOut = 0, COLORREF transparentOut = 0);
    DWORD SetBitmaps(HBITMAP bitmapIn, COLORREF transparentIn, HBITMAP bitmapOut, COLORREF transparentOut);
    // The out bitmap made from the in bitmap (kDarkerCopy or kGrayCopy).
    DWORD SetBitmaps(HBITMAP bitmapIn, COLORREF transparentIn, int derivedOut);
    DWORD SizeToContent();

    // --- look ---------------------------------------------------------------------
    DWORD SetColor(BYTE index, COLORREF color, BOOL repaint = TRUE);
    DWORD GetColor(BYTE index, COLORREF* color) const;
    DWORD OffsetColor(BYTE index, short shade, BOOL repaint = TRUE);
    DWORD SetDefaultColors(BOOL repaint = TRUE);
    DWORD SetAlign(BYTE align, BOOL repaint = TRUE);
    DWORD SetIconAlign(BYTE align, BOOL repaint = TRUE);
    DWORD SetPressedStyle(BYTE style, BOOL repaint = TRUE);
    DWORD SetFlat(BOOL flat = TRUE, BOOL repaint = TRUE);
    DWORD SetDrawBorder(BOOL draw = TRUE, BOOL repaint = TRUE);
    DWORD SetDrawFlatFocus(BOOL draw, BOOL repaint = TRUE);
    DWORD SetAlwaysTrack(BOOL track = TRUE);
    DWORD SetButtonFont(CFont* font, BOOL repaint = TRUE);
    DWORD SetButtonCursor(int cursorId, BOOL repaint = TRUE);
    DWORD SetButtonCursor(HCURSOR cursor, BOOL repaint = TRUE);
    DWORD SetDrawTransparent(BOOL repaint = TRUE);
    DWORD SetBackgroundFromDC(CDC* dc);
    static void SetGlobalFont(const LOGFONTW& font);

    // --- behaviour ------------------------------------------------------------------
    DWORD SetCheck(int check, BOOL repaint = TRUE);
    int GetCheck() const { return m_checked; }
    BOOL GetDefault() const { return m_default; }
    DWORD SetURL(LPCWSTR url);
    DWORD SetAutoRepeat(BOOL repeat);
    void SetTooltipText(LPCWSTR text, BOOL activate = TRUE);
    void SetTooltipText(int textId, BOOL activate = TRUE);
    void ActivateTooltip(BOOL activate = TRUE);
    DWORD EnableBalloonTooltip();

    // --- state, for owners and tests ---------------------------------------------------
    BOOL IsHovered() const { return m_hover; }
    BOOL IsCheckBox() const { return m_checkBox; }
    BOOL IsRadio() const { return m_radio; }
    BOOL IsFlat() const { return m_flat; }
    BOOL IsTransparent() const { return m_transparent; }
    BOOL GetDrawBorder() const { return m_drawBorder; }
    BYTE GetAlign() const { return m_textAlign; }
    BYTE GetIconAlign() const { return m_iconAlign; }
    int GetLeftOffset() const { return m_leftOffset; }
    void SetLeftOffset(int offset) { m_leftOffset = offset; }
    HICON GetIconIn() const { return m_icons[0].icon; }
    CToolTipCtrl& GetToolTip() { return m_toolTip; }
    DWORD GetRepeatInterval() const { return m_repeatInterval; }
    DWORD GetInitialDelay() const { return m_initialDelay; }
    UINT_PTR GetRepeatTimer() const { return m_repeatTimer; }

    // The kind the low four bits of a button style make.
    static BOOL IsCheckBoxType(UINT type);
    static BOOL IsRadioType(UINT type);

    // The drop-down menu: the first sub-menu of the menu resource opens under
    // the button on a click and the chosen command is posted to `owner`.
    // Menu id 0 removes it. 1 when the menu or the toolbar cannot be loaded.
    DWORD SetMenu(UINT menuId, HWND owner, int drawMode = 0, UINT toolbarId = 0, int imageWidth = 16,
                  int imageHeight = 15, COLORREF toolbarMask = RGB(192, 192, 192), BOOL repaint = TRUE);
    // `window` is sent (message, first sub-menu, value) before the menu opens.
    void SetMenuCallback(HWND window, UINT message, LPARAM value);
    static void SetMenuDrawMode(int mode) { CZellMenu::SetDrawMode(mode); }
    BOOL IsMenuShown() const { return m_menuShown; }
    // The menu that drops down, null when none is attached.
    CZellMenu* DropDownMenu() const { return m_menu.SubMenu(0); }

protected:
    BOOL OnClicked();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnMouseMove(UINT flags, CPoint point);
    void OnMouseLeave();
    void OnKillFocus(CWnd* newWindow);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnEnable(BOOL enable);
    void OnTimer(UINT_PTR id);
    UINT OnGetDlgCode();
    LRESULT OnSetCheck(WPARAM wParam, LPARAM);
    LRESULT OnGetCheck(WPARAM, LPARAM);
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    void OnSysColorChange();
    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    LRESULT OnMenuChar(UINT character, UINT flags, CMenu* menu);
    DECLARE_MESSAGE_MAP()

protected:
    void CancelHover();
    void Repaint(BOOL repaint);
    BOOL IsPressed() const { return m_pressed; }
    BOOL IsFocused() const { return m_focused; }
    BOOL IsDisabled() const { return m_disabled; }

    // State flags.
    BOOL m_drawDisabledBitmap = TRUE;
    int m_marginX = 3;
    int m_marginY = 3;
    int m_pressedOffsetX = 1;
    int m_pressedOffsetY = 1;
    BOOL m_flat = TRUE;
    BOOL m_hover = FALSE;
    BOOL m_transparent = FALSE;
    BOOL m_pressed = FALSE;
    BOOL m_focused = FALSE;
    BOOL m_disabled = FALSE;
    BOOL m_default = FALSE;
    BOOL m_checkBox = FALSE;
    BOOL m_radio = FALSE;
    BYTE m_iconAlign = kIconLeft;
    BYTE m_textAlign = kAlignCenter;
    BOOL m_drawBorder = TRUE;
    BOOL m_drawFlatFocus = FALSE;
    COLORREF m_colors[kColorCount]{};
    BOOL m_systemColor[kColorCount]{TRUE, TRUE, TRUE, TRUE, TRUE, TRUE};
    BOOL m_fontGiven = FALSE;
    LOGFONTW m_logFont{};
    CFont m_font;
    int m_leftOffset = 0;
    CToolTipCtrl m_toolTip;
    CString m_toolTipText;
    DWORD m_toolTipStyle = 0;
    BOOL m_readyToDraw = FALSE;
    CDC m_backgroundDC;
    CBitmap m_backgroundBitmap;
    HGDIOBJ m_oldBackground = nullptr;
    BOOL m_alwaysTrack = TRUE;
    BOOL m_checked = FALSE;
    UINT m_type = 0;
    WCHAR m_url[260]{};
    BOOL m_autoRepeat = FALSE;
    UINT_PTR m_repeatTimer = 0;
    DWORD m_initialDelay = 0;
    DWORD m_repeatInterval = 0;

private:
    struct IconEntry {
        HICON icon = nullptr;
        int width = 0;
        int height = 0;
    };
    struct BitmapEntry {
        HBITMAP bitmap = nullptr;
        int width = 0;
        int height = 0;
        HBITMAP mask = nullptr;
        COLORREF transparent = 0;
    };

    void FreeImages(BOOL repaint);
    void ReadFont();
    void MakeFont();
    void DrawPicture(CDC* dc, const CRect& item);
    void PlaceImage(BOOL hasTitle, const RECT* item, RECT* caption, int width, int height, BOOL pressed,
                    RECT* image) const;
    int ChosenImage() const;
    void UpdateAutoRepeat();
    void StopAutoRepeat();
    void TakeBackground(CDC* dc);
    void ReleaseBackground();
    void UncheckGroup();
    void OpenLink();
    void ShowMenu();
    bool IsOwnMenu(HMENU menu) const;
    BOOL MakeToolTip();
    DWORD TakeIcon(HICON icon, IconEntry& entry);

    IconEntry m_icons[2];
    HICON m_grayIcon = nullptr;
    BitmapEntry m_bitmaps[2];
    HCURSOR m_cursor = nullptr;
    CZellMenu m_menu;
    HWND m_menuOwner = nullptr;
    BOOL m_menuShown = FALSE;
    HWND m_menuCallbackWindow = nullptr;
    UINT m_menuCallbackMessage = 0;
    LPARAM m_menuCallbackValue = 0;

    static LOGFONTW s_globalFont;
    static BOOL s_globalFontGiven;
};

}  // namespace ZELL::Skin
