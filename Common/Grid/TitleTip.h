#pragma once
// A small borderless pop-up over a cell whose text is cut off, showing the
// whole text in one line. It goes as soon as the mouse leaves the cell or a
// key or button is pressed, and hands that input on to the window beneath.
#include "Platform/Framework/Windows/Wnd.h"

namespace ZELL::Grid {

class CTitleTip : public CWnd {
public:
    static constexpr LPCWSTR kClassName = L"ZTitleTip";

    CTitleTip();
    ~CTitleTip() override = default;

    BOOL Create(CWnd* parent);
    // Rectangles in the parent's client coordinates; null hover rectangle:
    // the cell's; null font: the parent's; CLR_DEFAULT keeps a colour.
    void Show(CRect cellRect, LPCWSTR text, int xOffset, LPCRECT hoverRect, const LOGFONTW* font,
              COLORREF textColour, COLORREF backColour);
    void Hide();
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    DECLARE_MESSAGE_MAP()
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnMButtonDown(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnSysKeyDown(UINT key, UINT repeat, UINT flags);

private:
    // Hides the tip and posts the button message to the window under the point.
    void PassButton(UINT message, UINT flags, CPoint point);
    HWND WindowUnder(CPoint screen) const;
    void PassKey(UINT message, WPARAM wParam, LPARAM lParam);
    static bool ApplicationHasFocus();

    CRect m_hoverRect;  // on the screen
    CWnd* m_parent = nullptr;
    ULONGLONG m_lastClick = static_cast<ULONGLONG>(-1);
    UINT m_doubleClickTime = ::GetDoubleClickTime();
    BOOL m_created = FALSE;
};

}  // namespace ZELL::Grid
