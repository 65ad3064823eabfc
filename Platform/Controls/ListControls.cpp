#include "Platform/Controls/ListControls.h"

#include "Platform/Controls/ComboListBox.h"
#include "Platform/Controls/ScrollBarControl.h"

namespace ZELL::Controls {

namespace {

bool RegisterClassOf(LPCWSTR name, WNDPROC procedure, UINT style)
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

bool RegisterListControls()
{
    const bool list = RegisterClassOf(L"ListBox", &CControlWindow::Procedure<CListBoxControl>, CS_DBLCLKS);
    const bool dropDown = RegisterClassOf(kComboListClass, &CControlWindow::Procedure<CComboListBox>, CS_DBLCLKS | CS_SAVEBITS);
    const bool bar = RegisterClassOf(L"ScrollBar", &CControlWindow::Procedure<CScrollBarControl>,
                                     CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW);
    return list && dropDown && bar;
}

}
