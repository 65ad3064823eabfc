#pragma once
// The "msctls_progress32" class: a bar of blocks (or a smooth bar) that
// shows a position within a range.
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ControlWindow.h"

namespace ZELL::Controls {

class CProgressControl : public CControlWindow {
public:
    using CControlWindow::CControlWindow;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    LRESULT SetRange(int low, int high);
    LRESULT SetPosition(int position);
    LRESULT StepIt();
    LRESULT GetRange(WPARAM wantLow, LPARAM range) const;
    COLORREF SwapColor(COLORREF& color, LPARAM value);
    int Clamped(long long position) const;
    void PaintBar(HDC dc, const RECT& area, int filled, bool vertical) const;

    int m_low = 0;
    int m_high = 100;
    int m_position = 0;
    int m_step = 10;
    COLORREF m_barColor = CLR_DEFAULT;
    COLORREF m_backColor = CLR_DEFAULT;
};

}
