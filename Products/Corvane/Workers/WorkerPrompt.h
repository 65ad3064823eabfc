#pragma once
// The questions and error messages a worker has for the user while it
// checks a data set against the connected device. The application shows
// them in its message box; without one a question is answered No, so a
// worker never writes to a device nobody agreed to.

#include "Platform/Base/CString.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Ui/WinUser.h"

namespace Corvane {

class CWorkerPrompt {
public:
    virtual ~CWorkerPrompt() = default;
    // Caption, message and details are language texts; `type` the message
    // box type (MB_ICONERROR, MB_YESNO). Returns the button (IDYES ...).
    virtual int Ask(const CString& caption, const CString& message, const CString& details, UINT type)
    {
        return (type & 0x0F) == MB_YESNO ? IDNO : IDOK;
    }
};

}  // namespace Corvane
