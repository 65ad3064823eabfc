#include "Platform/Framework/Controls/DateTimeCtrl.h"

IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)

// Either end may be left open with a null pointer.
BOOL CDateTimeCtrl::SetRange(const SYSTEMTIME* earliest, const SYSTEMTIME* latest)
{
    SYSTEMTIME range[2]{};
    DWORD which = 0;
    if (earliest != nullptr) {
        range[0] = *earliest;
        which |= GDTR_MIN;
    }
    if (latest != nullptr) {
        range[1] = *latest;
        which |= GDTR_MAX;
    }
    return SendMessage(DTM_SETRANGE, which, reinterpret_cast<LPARAM>(range)) != 0;
}
