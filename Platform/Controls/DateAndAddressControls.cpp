#include "Platform/Controls/DateAndAddressControls.h"

#include "Platform/Controls/DateTimePicker.h"
#include "Platform/Controls/IPAddressControl.h"
#include "Platform/Controls/MonthCalendar.h"

namespace ZELL::Controls {

bool RegisterDateAndAddressControls()
{
    const bool address = CControlWindow::RegisterControlClass(WC_IPADDRESSW, &CControlWindow::Procedure<CIPAddressControl>,
                                          CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    const bool picker = CControlWindow::RegisterControlClass(DATETIMEPICK_CLASSW, &CControlWindow::Procedure<CDateTimePicker>,
                                         CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    const bool calendar = CControlWindow::RegisterControlClass(MONTHCAL_CLASSW, &CControlWindow::Procedure<CMonthCalendar>, CS_DBLCLKS);
    return address && picker && calendar;
}

}
