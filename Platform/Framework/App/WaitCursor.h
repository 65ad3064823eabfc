#pragma once
// The hourglass while a long operation runs: shown by the constructor, the
// previous cursor put back by the destructor.
#include "Platform/Ui/WinUser.h"

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows the hourglass again after something (a message box) changed the cursor.
    void Restore();

private:
    HCURSOR m_hPrevious = nullptr;
};
