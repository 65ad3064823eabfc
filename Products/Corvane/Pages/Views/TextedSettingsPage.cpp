#include "Products/Corvane/Pages/Views/TextedSettingsPage.h"

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
