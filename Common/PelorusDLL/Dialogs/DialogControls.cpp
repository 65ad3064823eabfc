#include "Common/PelorusDLL/Dialogs/DialogControls.h"

#include "Platform/Controls/DateAndAddressControls.h"
#include "Platform/Controls/ListControls.h"
#include "Platform/Controls/ListViewRegistration.h"
#include "Platform/Controls/StandardControls.h"

bool CDialogControls::Register()
{
    bool ok = ZELL::Controls::RegisterStandardControls();
    ok = ZELL::Controls::RegisterListControls() && ok;
    ok = ZELL::Controls::RegisterListViewControls() && ok;
    ok = ZELL::Controls::RegisterDateAndAddressControls() && ok;
    return ok;
}
