#include "Platform/Controls/DateAndAddressControls.h"

#include "Platform/Controls/DateTimePicker.h"
#include "Platform/Controls/IPAddressControl.h"
#include "Platform/Controls/MonthCalendar.h"

namespace ZELL::Controls {

namespace {

bool RegisterOneClass(LPCWSTR name, WNDPROC procedure, UINT style)
{
    WNDCLASSEXW wc;
    wc.style = style | CS_GLOBALCLASS;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = CControlWindow::kExtraBytes;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    if (RegisterClassExW(&wc) != 0)
        return true;
    WNDCLASSEXW existing;
    return GetClassInfoExW(nullptr, name, &existing) && existing.lpfnWndProc == procedure;
}

}

bool RegisterDateAndAddressControls()
{
    const bool address = RegisterOneClass(WC_IPADDRESSW, &CControlWindow::Procedure<CIPAddressControl>,
                                          CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    const bool picker = RegisterOneClass(DATETIMEPICK_CLASSW, &CControlWindow::Procedure<CDateTimePicker>,
                                         CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    const bool calendar = RegisterOneClass(MONTHCAL_CLASSW, &CControlWindow::Procedure<CMonthCalendar>, CS_DBLCLKS);
    return address && picker && calendar;
}

}
