#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

namespace Corvane {

BOOL CTextedSettingsPage::OnInitDialog()
{
    CCouplerSettingsPageBase::OnInitDialog();
    SetUpControls();
    ApplyTexts();
    return TRUE;
}

BOOL CTextedSettingsPage::UpdateLanguageTexts()
{
    if (IsActive())
        ApplyTexts();
    return CCouplerSettingsPageBase::UpdateLanguageTexts();
}

}  // namespace Corvane
