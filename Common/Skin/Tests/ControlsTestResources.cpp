// The test program's own resources: three icons of our own art, a bitmap
// and a few texts.
#include "Common/Skin/Tests/ControlsTestIds.h"

#include "Platform/Ui/MenuApi.h"
#include "Platform/Ui/ResourceTable.h"

#include "Embedded/Bar16.png.h"
#include "Embedded/Diamond16.png.h"
#include "Embedded/Disc16.png.h"

namespace ControlsTest {

namespace {

using namespace Ui::Res;

const StringTable kStrings{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {
    {kTipText, L"Reads the settings"},
    {kLabelText, L"Label from the table"},
    {kCountFormat, L"%d devices"},
    {kOpenCommand, L"Open the file\nOpen\n\nCtrl+O"},
    {kSaveCommand, L"Save the settings\nSave"},
}};
const Image kDisc{ImageKind::Icon, kDiscIcon, {Bytes(Disc16_png)}};
const Image kDiamond{ImageKind::Icon, kDiamondIcon, {Bytes(Diamond16_png)}};
const Image kBar{ImageKind::Icon, kBarIcon, {Bytes(Bar16_png)}};
const Image kDiscPicture{ImageKind::Bitmap, kDiscBitmap, {Bytes(Disc16_png)}};
const Image kDiamondPicture{ImageKind::Bitmap, kDiamondBitmap, {Bytes(Diamond16_png)}};
const Image kBarPicture{ImageKind::Bitmap, kBarBitmap, {Bytes(Bar16_png)}};

const Toolbar kToolbar{kMenuToolbar, LANG_NEUTRAL, 8, 16, {kOpenCommand, 0, kSaveCommand}};

const Menu kMenu{kButtonMenu, LANG_NEUTRAL, {
    {0, L"Drop", 0, {
        {kOpenCommand, L"&Open"},
        Separator(),
        {kSaveCommand, L"&Save", MF_GRAYED},
    }},
}};

const ResourceTable kTable{
    .strings = {&kStrings},
    .menus = {&kMenu},
    .images = {&kDisc, &kDiamond, &kBar, &kDiscPicture, &kDiamondPicture, &kBarPicture},
    .toolbars = {&kToolbar},
};
const Registration kRegistration{kTable};

}

}
