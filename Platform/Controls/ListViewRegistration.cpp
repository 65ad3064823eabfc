#include "Platform/Controls/ListViewRegistration.h"

#include "Platform/Controls/HeaderControl.h"
#include "Platform/Controls/ListViewControl.h"

namespace ZELL::Controls {

namespace {

bool RegisterOne(LPCWSTR name, WNDPROC procedure, UINT style)
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

bool RegisterListViewControls()
{
    const bool header = RegisterOne(WC_HEADERW, &CControlWindow::Procedure<CHeaderControl>, CS_DBLCLKS);
    const bool list = RegisterOne(WC_LISTVIEWW, &CControlWindow::Procedure<CListViewControl>, CS_DBLCLKS);
    return header && list;
}

}
