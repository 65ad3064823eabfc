#include "Platform/Framework/Controls/MonthCalCtrl.h"

IMPLEMENT_DYNAMIC(CMonthCalCtrl, CWnd)

#include "Platform/Framework/Core/TempHandleMap.h"

CMonthCalCtrl* CMonthCalCtrl::FromHandle(HWND hwnd)
{
    if (hwnd == nullptr)
        return nullptr;
    if (CMonthCalCtrl* own = DYNAMIC_DOWNCAST(CMonthCalCtrl, CWnd::FromHandlePermanent(hwnd)))
        return own;
    return CTempHandleMap<CMonthCalCtrl, HWND, &CMonthCalCtrl::m_hWnd>::FromHandle(hwnd);
}

// The message answers the previous day in its low word and whether that one
// differed from the locale's in its high word.
BOOL CMonthCalCtrl::SetFirstDayOfWeek(int day, int* previous)
{
    const LRESULT answer = SendMessage(MCM_SETFIRSTDAYOFWEEK, 0, day);
    if (previous != nullptr)
        *previous = LOWORD(answer);
    return HIWORD(answer) != 0;
}

int CMonthCalCtrl::GetFirstDayOfWeek(BOOL* fromLocale) const
{
    const LRESULT answer = SendMessage(MCM_GETFIRSTDAYOFWEEK);
    if (fromLocale != nullptr)
        *fromLocale = HIWORD(answer) == 0;
    return LOWORD(answer);
}
