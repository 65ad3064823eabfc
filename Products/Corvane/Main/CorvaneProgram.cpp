#include "Products/Corvane/Main/CorvaneProgram.h"

#include "Products/Corvane/MainDialog/CorvaneDlg.h"
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

CCorvaneProgram::CCorvaneProgram() : CCorvaneApp(L"Corvane") {}

void CCorvaneProgram::RegisterPages(CCorvanePageCatalog& catalog) {}

void CCorvaneProgram::RunMainDialog()
{
    CCorvanePageCatalog catalog;
    RegisterPages(catalog);
    CCorvaneDlg dialog(static_cast<UINT>(TemplateIds().mainDialog), catalog);
    m_pMainWnd = &dialog;
    if (m_dialogObserver)
        m_dialogObserver(dialog);
    dialog.DoModal();
    m_pMainWnd = nullptr;
}

void CCorvaneProgram::HandFontToPages(const LOGFONTW& font) { CCouplerSettingsPageBase::SetDefaultFont(font); }

void CCorvaneProgram::LoadInvalidIPAddresses() { CCouplerSettingsPageBase::LoadInvalidIPAddresses(DeviceIni()); }
