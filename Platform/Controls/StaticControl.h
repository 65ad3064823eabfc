#pragma once
// The "Static" class: labels, icons and pictures, filled rectangles, frames
// and etched lines, and owner-drawn statics.
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/ControlWindow.h"

namespace ZELL::Controls {

class CStaticControl : public CControlWindow {
public:
    using CControlWindow::CControlWindow;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    DWORD Kind() const { return Style() & SS_TYPEMASK; }
    bool IsTextKind() const;
    // Whether the style shows images of `imageKind` (IMAGE_ICON, IMAGE_BITMAP ...).
    bool TakesImage(UINT imageKind) const;
    LRESULT SetImage(UINT imageKind, HANDLE image);
    void FitToImage();
    UINT ImageKind() const { return Kind() == SS_BITMAP ? IMAGE_BITMAP : IMAGE_ICON; }

    void PaintText(HDC dc, const RECT& client);
    void PaintImage(HDC dc, const RECT& client);
    void PaintShape(HDC dc, const RECT& client);
    void PaintOwnerDraw(HDC dc);

    HANDLE m_image = nullptr;
};

}
