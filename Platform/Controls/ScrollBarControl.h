#pragma once
// The "ScrollBar" class: a scroll bar as a child window of its own (SB_CTL).
// Its numbers, its parts, the press that drives it and its look are the
// window layer's, shared with the standard bars of windows; the control adds
// the window around them, the keyboard, and the requests to its parent
// (WM_HSCROLL/WM_VSCROLL with the control as lParam). SBS_SIZEBOX and
// SBS_SIZEGRIP make it the square between two bars instead.
#include "Platform/Controls/ControlWindow.h"
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Ui/ScrollBarTracker.h"

#include <memory>

namespace ZELL::Controls {

class CScrollBarControl : public CControlWindow {
public:
    explicit CScrollBarControl(HWND hwnd);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    bool Vertical() const { return (Style() & SBS_VERT) != 0; }
    bool IsSizeBox() const { return (Style() & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0; }
    // The numbers as drawn and as a press sees them: all off while disabled.
    Ui::ScrollBarModel Shown() const;
    Ui::ScrollBarHost Host();

    void AlignOnCreate(const CREATESTRUCTW& create);
    void OnButtonDown(POINT p);
    void OnButtonUp(POINT p);
    void CancelPress();
    bool OnKeyDown(WPARAM key);
    void Request(int code, int pos) const;
    // Takes new numbers; the answer is the position afterwards.
    int Change(const SCROLLINFO& info, bool redraw);
    LRESULT SetRange(WPARAM minPos, LPARAM maxPos, bool redraw);
    LRESULT GetScrollInfoOf(LPARAM lParam) const;
    void PaintSizeBox(HDC dc) const;

    Ui::ScrollBarModel m_model;
    std::unique_ptr<Ui::ScrollBarTracker> m_tracker;
    int m_keyCode = -1;  // the request a held key gave, ended by its release
};

}
