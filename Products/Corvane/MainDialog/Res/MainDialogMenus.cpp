// The Settings button's menu and its images (our own art, drawn by
// DrawIcons.py); its texts come from the GUI XML file.
#include "Products/Corvane/MainDialog/MainDialogIds.h"

#include "Platform/Ui/ResourceTable.h"

#include "Embedded/SettingsMenu.png.h"

namespace Corvane {

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

const Image kSettingsImages{ImageKind::Bitmap, kSettingsMenuBitmaps, {Bytes(SettingsMenu_png)}};
const Toolbar kSettingsToolbar{kSettingsMenuBitmaps, LANG_NEUTRAL, kMenuImageWidth, kMenuImageHeight,
                               {kMenuCommunication, kMenuMessages}};

const ResourceTable kTable{.menus = {&kSettings}, .images = {&kSettingsImages}, .toolbars = {&kSettingsToolbar}};
const Registration kRegistration{kTable};

}

}  // namespace Corvane
