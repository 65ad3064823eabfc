// The Settings button's menu; its texts come from the GUI XML file.
#include "Products/Corvane/MainDialog/MainDialogIds.h"

#include "Platform/Ui/ResourceTable.h"

namespace {

using namespace CorvaneIds;
using namespace Ui::Res;

const Menu kSettings{kSettingsMenu, LANG_NEUTRAL, {
    {.text = L"Settings", .items = {
        {kMenuCommunication, L"Communication"},
        {.text = L"Language", .items = {
            {kMenuLanguageDe, L"Deutsch"},
            {kMenuLanguageEn, L"English"},
            {kMenuLanguageFr, L"Fran\u00e7ais"},
            {kMenuLanguageEs, L"Espa\u00f1ol"},
            {kMenuLanguageJa, L"Japanese"},
        }},
        {kMenuMessages, L"Messages"},
    }},
}};

const ResourceTable kTable{.menus = {&kSettings}};
const Registration kRegistration{kTable};

}
