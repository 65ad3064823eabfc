#include "SampleSheet.h"

#include "TemplateItems.h"

#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/StandardControls.h"

#include <array>
#include <vector>

namespace ControlTest {

namespace {

INT_PTR SamplePageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

}

HWND CreateSampleSheet()
{
    using namespace SampleSheetIds;
    if (!ZELL::Controls::RegisterStandardControls())
        return nullptr;
    static const std::array<std::vector<BYTE>, 2> images = {
        DialogImage(L"General", 150, 80,
                  {Predefined(Ui::kClassEdit, kAddress, WS_TABSTOP | WS_BORDER, 7, 7, 100, 12),
                   Button(L"Verbose", kVerbose, BS_AUTOCHECKBOX | WS_TABSTOP, 7, 25, 80, 10)}),
        DialogImage(L"Small", 100, 40, {Predefined(Ui::kClassEdit, kName, WS_TABSTOP | WS_BORDER, 7, 7, 60, 12)}),
    };
    std::array<PROPSHEETPAGEW, 2> records;
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].dwFlags = PSP_DLGINDIRECT;
        records[i].pResource = reinterpret_cast<LPCDLGTEMPLATEW>(images[i].data());
        records[i].pfnDlgProc = &SamplePageProc;
    }
    PROPSHEETHEADERW header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS;
    header.pszCaption = L"Coupler";
    header.nPages = static_cast<UINT>(records.size());
    header.ppsp = records.data();
    const INT_PTR made = PropertySheetW(&header);
    if (made == -1)
        return nullptr;
    HWND sheet = reinterpret_cast<HWND>(made);
    SetWindowPos(sheet, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND first = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_INDEXTOHWND, 0, 0));
    SetDlgItemTextW(first, kAddress, L"192.168.1.17");
    SendMessageW(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(first), 0);
    SetActiveWindow(sheet);
    UpdateWindow(sheet);
    return sheet;
}

}
