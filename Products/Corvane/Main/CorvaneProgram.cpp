#include "Products/Corvane/Main/CorvaneProgram.h"

#include "Products/Corvane/MainDialog/CorvaneDlg.h"
#include "Products/Corvane/Pages/Views/CommonPage.h"
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

#include <memory>

CCorvaneProgram::CCorvaneProgram() : CCorvaneApp(L"Corvane") {}

void CCorvaneProgram::RegisterPages(CCorvanePageCatalog& catalog)
{
    catalog.Register(L"COMMON", [](const tTemplateIds& ids) {
        return std::make_unique<CCommonPage>(static_cast<UINT>(ids.commonPage));
    });
}

void CCorvaneProgram::RunMainDialog()
{
    CCorvanePageCatalog catalog;
    RegisterPages(catalog);
    CCorvaneDlg dialog(static_cast<UINT>(TemplateIds().mainDialog), catalog);
    ApplyDialogHooks(dialog);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
}

void CCorvaneProgram::HandFontToPages(const LOGFONTW& font) { CCouplerSettingsPageBase::SetDefaultFont(font); }

void CCorvaneProgram::LoadInvalidIPAddresses() { CCouplerSettingsPageBase::LoadInvalidIPAddresses(DeviceIni()); }

void CCorvaneProgram::ApplyDialogHooks(CCorvaneDlg& dialog)
{
    if (m_dialogObserver)
        m_dialogObserver(dialog);
}
