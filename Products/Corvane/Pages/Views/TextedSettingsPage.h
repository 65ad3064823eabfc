#pragma once
// A settings page whose texts come from the language texts: they are set
// when the page's window is made and again after a language change, at once
// while the page is the active one and otherwise when it is next entered.

#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

namespace Corvane {

class CTextedSettingsPage : public CCouplerSettingsPageBase {
public:
    using CCouplerSettingsPageBase::CCouplerSettingsPageBase;

    BOOL UpdateLanguageTexts() override;

protected:
    BOOL OnInitDialog() override;
    // Controls the first texts depend on, set up before them.
    virtual void SetUpControls() {}
    // Labels, list texts and tooltips in the current language.
    virtual void ApplyTexts() = 0;
};

}  // namespace Corvane
