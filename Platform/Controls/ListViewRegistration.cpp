#include "Platform/Controls/ListViewRegistration.h"

#include "Platform/Controls/HeaderControl.h"
#include "Platform/Controls/ListViewControl.h"

namespace ZELL::Controls {

bool RegisterListViewControls()
{
    const bool header = CControlWindow::RegisterControlClass(WC_HEADERW, &CControlWindow::Procedure<CHeaderControl>, CS_DBLCLKS);
    const bool list = CControlWindow::RegisterControlClass(WC_LISTVIEWW, &CControlWindow::Procedure<CListViewControl>, CS_DBLCLKS);
    return header && list;
}

}
