// The property sheet's entry points.
#include "Platform/Controls/PropertySheetPage.h"
#include "Platform/Controls/PropertySheetWindow.h"

INT_PTR PropertySheetW(LPCPROPSHEETHEADERW header)
{
    return ZELL::Controls::CPropertySheetWindow::Run(header);
}

HPROPSHEETPAGE CreatePropertySheetPageW(LPCPROPSHEETPAGEW page)
{
    return ZELL::Controls::CPropertySheetPage::Create(page);
}

BOOL DestroyPropertySheetPage(HPROPSHEETPAGE page)
{
    return ZELL::Controls::CPropertySheetPage::Destroy(page) ? TRUE : FALSE;
}
