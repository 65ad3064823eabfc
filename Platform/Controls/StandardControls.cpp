#include "Platform/Controls/StandardControls.h"

#include "Platform/Base/LastError.h"
#include "Platform/Controls/ButtonControl.h"
#include "Platform/Controls/ComboBoxControl.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/DateAndAddressControls.h"
#include "Platform/Controls/EditControl.h"
#include "Platform/Controls/ListControls.h"
#include "Platform/Controls/ListViewRegistration.h"
#include "Platform/Controls/ProgressControl.h"
#include "Platform/Controls/StaticControl.h"
#include "Platform/Controls/TabControl.h"
#include "Platform/Controls/ToolTipControl.h"
#include "Platform/Controls/UpDownControl.h"

#include <mutex>

namespace ZELL::Controls {

namespace {

struct ClassSpec {
    LPCWSTR name;
    WNDPROC procedure;
    UINT style;
    LPCWSTR cursor;
};

bool RegisterAll()
{
    const ClassSpec specs[] = {
        {L"Static", &CControlWindow::Procedure<CStaticControl>, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW},
        {L"Button", &CControlWindow::Procedure<CButtonControl>, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW,
         IDC_ARROW},
        {L"ComboBox", &CControlWindow::Procedure<CComboBoxControl>, CS_DBLCLKS | CS_PARENTDC | CS_VREDRAW | CS_HREDRAW, IDC_ARROW},
        {L"Edit", &CControlWindow::Procedure<CEditControl>, CS_DBLCLKS | CS_PARENTDC, IDC_IBEAM},
        {PROGRESS_CLASSW, &CControlWindow::Procedure<CProgressControl>, CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
        {UPDOWN_CLASSW, &CControlWindow::Procedure<CUpDownControl>, CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
        {TOOLTIPS_CLASSW, &CControlWindow::Procedure<CToolTipControl>, CS_DBLCLKS | CS_SAVEBITS, IDC_ARROW},
        {WC_TABCONTROLW, &CControlWindow::Procedure<CTabControl>, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
    };
    bool all = true;
    for (const ClassSpec& spec : specs)
        all = CControlWindow::RegisterControlClass(spec.name, spec.procedure, spec.style, spec.cursor) && all;
    all = RegisterListControls() && all;
    all = RegisterDateAndAddressControls() && all;
    all = RegisterListViewControls() && all;
    return all;
}

}

bool RegisterStandardControls()
{
    static std::once_flag once;
    static bool registered = false;
    std::call_once(once, [] { registered = RegisterAll(); });
    return registered;
}

}

void InitCommonControls()
{
    ZELL::Controls::RegisterStandardControls();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init)
{
    if (init == nullptr || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ZELL::Controls::RegisterStandardControls() ? TRUE : FALSE;
}
