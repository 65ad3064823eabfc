#pragma once
// The context of a whole window, frame included: GetWindowDC when made,
// ReleaseDC when destroyed.

#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Ui/WinUser.h"

class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    // Null: the screen. Raises CResourceException without a context.
    explicit CWindowDC(HWND window);
    ~CWindowDC() override;

protected:
    HWND m_hWnd = nullptr;
};
