// The texts of the page base that come from the program's string table
// rather than from the GUI XML file.
#include "Products/Corvane/Pages/Views/CouplerSettingsPageBase.h"

#include "Platform/Ui/ResourceTable.h"

namespace Corvane {

namespace {

using namespace Ui::Res;

const StringTable kEnglish{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {
    {CCouplerSettingsPageBase::kInvalidAddressFieldTitleId, L"Invalid %s (Field %d)"},
}};
const StringTable kGerman{MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), {
    {CCouplerSettingsPageBase::kInvalidAddressFieldTitleId, L"Ung\u00fcltige(r) %s (Feld %d)"},
}};

const ResourceTable kTable{.strings = {&kEnglish, &kGerman}};
const Registration kRegistration{kTable};

}

}  // namespace Corvane
