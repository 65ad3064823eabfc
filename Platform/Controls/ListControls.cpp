#include "Platform/Controls/ListControls.h"

#include "Platform/Controls/ComboListBox.h"
#include "Platform/Controls/ScrollBarControl.h"

namespace ZELL::Controls {

bool RegisterListControls()
{
    const bool list = CControlWindow::RegisterControlClass(L"ListBox", &CControlWindow::Procedure<CListBoxControl>, CS_DBLCLKS);
    const bool dropDown = CControlWindow::RegisterControlClass(kComboListClass, &CControlWindow::Procedure<CComboListBox>, CS_DBLCLKS | CS_SAVEBITS);
    const bool bar = CControlWindow::RegisterControlClass(L"ScrollBar", &CControlWindow::Procedure<CScrollBarControl>,
                                     CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW);
    return list && dropDown && bar;
}

}
