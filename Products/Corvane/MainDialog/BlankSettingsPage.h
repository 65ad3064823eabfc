#pragma once
// A page without controls: the sheet's first page when the program has no
// identification page, since a sheet cannot be shown without pages.
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

#include <vector>

namespace Corvane {

class CBlankSettingsPage : public CCouplerSettingsPageBase {
public:
    CBlankSettingsPage();

private:
    std::vector<BYTE> m_arrTemplate;
};

}  // namespace Corvane
