#pragma once
// The "Button" class: push buttons (the default one framed), check boxes
// with two or three states, radio buttons that uncheck their group, group
// boxes and owner-drawn buttons, each with text, icon or bitmap.
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/ControlWindow.h"

namespace ZELL::Controls {

class CButtonControl : public CControlWindow {
public:
    using CControlWindow::CControlWindow;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    DWORD Type() const { return Style() & BS_TYPEMASK; }
    bool IsCheckType() const;
    bool IsRadioType() const;
    bool IsPushType() const;
    LRESULT DialogCode() const;

    void OnButtonDown();
    void OnDoubleClick();
    void OnMouseMove(POINT point);
    void OnButtonUp(POINT point);
    void OnKeyDown(WPARAM key, LPARAM flags);
    void OnKeyUp(WPARAM key);
    void OnSetFocus();
    void OnKillFocus();
    LRESULT OnSetCheck(WPARAM state);
    LRESULT OnSetImage(WPARAM kind, LPARAM image);
    void OnSetStyle(WPARAM style, LPARAM redraw);
    void Click();
    void UncheckOthersInGroup() const;
    void SetPushed(bool pushed);
    void EndPress();
    void Changed(UINT ownerDrawAction);

    void PaintPush(HDC dc, const RECT& client, bool checked);
    void PaintCheck(HDC dc, const RECT& client);
    void PaintGroup(HDC dc, const RECT& client);
    void DrawItem(HDC dc, UINT action);
    // Draws the text or image in `area` by the alignment styles; returns where.
    RECT PaintContent(HDC dc, const RECT& area, DWORD defaultAlign);

    WPARAM m_check = BST_UNCHECKED;
    bool m_pushed = false;
    bool m_focus = false;
    bool m_mouseDown = false;   // pressed by the mouse, capture held
    bool m_spaceDown = false;   // pressed by the space bar
    HANDLE m_image = nullptr;
    UINT m_imageKind = IMAGE_BITMAP;
};

}
