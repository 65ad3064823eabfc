#pragma once
// The context of a window's client area for drawing outside WM_PAINT:
// GetDC when made, ReleaseDC when destroyed.

#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Ui/WinUser.h"

class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    // Null: the screen. Raises CResourceException without a context.
    explicit CClientDC(HWND window);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};
