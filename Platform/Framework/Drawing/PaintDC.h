#pragma once
// The context of a WM_PAINT: BeginPaint when made, EndPaint when destroyed.
// It takes the window's handle; the window classes add a constructor from
// their window object.

#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Ui/WinUser.h"

class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    // Raises CResourceException when the window cannot be painted.
    explicit CPaintDC(HWND window);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd = nullptr;
};
