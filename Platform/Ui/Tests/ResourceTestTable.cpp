// The test program's own resources.
#include "Platform/Ui/Tests/ResourceTestIds.h"

#include "Platform/Display/VirtualKeys.h"
#include "Platform/Ui/MenuApi.h"
#include "Platform/Ui/Accelerator.h"
#include "Platform/Ui/ResourceTable.h"

#include "Embedded/Arrow32.png.h"
#include "Embedded/Square16.png.h"
#include "Embedded/Square32.png.h"

namespace ResourceTest {

namespace {

using namespace Ui::Res;

const StringTable kEnglish{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {
    {kTitle, L"Title"},
    {kSaved, L"Saved"},
    {kOnlyEnglish, L"Only English"},
    {kEmpty, L""},
    {kSmile, L"\U0001F600 smile"},
    {kLong, L"A longer text for truncation"},
}};
const StringTable kGerman{MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), {
    {kTitle, L"Titel"},
    {kSaved, L"Gespeichert"},
    {kLong, L"Ein l\u00e4ngerer Text"},
}};
const StringTable kGermanNeutralTable{MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL), {
    {kGermanNeutral, L"Neutral Deutsch"},
}};
const StringTable kNeutralTable{LANG_NEUTRAL, {
    {kNeutral, L"Neutral"},
}};
const StringTable kFrench{MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), {
    {kOnlyFrench, L"Bonjour"},
}};

const Menu kMainMenu{kMenu, LANG_NEUTRAL, {
    {.text = L"&File", .items = {
        {kOpen, L"&Open...\tCtrl+O"},
        Separator(),
        {kExit, L"E&xit", MF_GRAYED},
    }},
    {.text = L"&Edit", .items = {
        {kWrap, L"&Wrap", MF_CHECKED},
        {.text = L"&More", .items = {
            {kDeep, L"&Deep"},
        }},
    }},
    {kHelp, L"&Help", MF_HELP},
}};

const AcceleratorTable kKeys{kAccelerators, LANG_NEUTRAL, {
    {FVIRTKEY | FCONTROL, 'O', kOpen},
    {FVIRTKEY, VK_F1, kHelp},
    {0, 'w', kWrap},
}};

const Image kIconImage{ImageKind::Icon, kIcon, {Bytes(Square16_png), Bytes(Square32_png)}};
const Image kCursorImage{ImageKind::Cursor, kCursor, {Bytes(Arrow32_png)}, LANG_NEUTRAL, POINT{3, 5}};
const Image kBitmapImage{ImageKind::Bitmap, kBitmap, {Bytes(Square16_png)}};

// Open, a separator, Exit, Help: three images in the strip.
const Toolbar kToolbarRecord{kToolbar, LANG_NEUTRAL, 4, 16, {kOpen, 0, kExit, kHelp}};

const BYTE kConfigBytes[] = {1, 2, 3, 4, 5};

const Data kDialogData{RT_DIALOG, kDialog, LANG_NEUTRAL, {}, &SmallDialogTemplate};
const Data kConfig{L"Config", L"Defaults", LANG_NEUTRAL, Bytes(kConfigBytes)};
const Data kNumbered{RT_RCDATA, 7, LANG_NEUTRAL, Bytes(kConfigBytes, 2)};

const ResourceTable kTable{
    .strings = {&kEnglish, &kGerman, &kGermanNeutralTable, &kNeutralTable, &kFrench},
    .menus = {&kMainMenu},
    .accelerators = {&kKeys},
    .images = {&kIconImage, &kCursorImage, &kBitmapImage},
    .data = {&kDialogData, &kConfig, &kNumbered},
    .toolbars = {&kToolbarRecord},
};
const Registration kRegistration{kTable};

void Put(std::vector<BYTE>& out, unsigned value)
{
    out.push_back(static_cast<BYTE>(value & 0xFF));
    out.push_back(static_cast<BYTE>(value >> 8));
}

void PutText(std::vector<BYTE>& out, const char* text)
{
    for (; *text; ++text)
        Put(out, static_cast<unsigned char>(*text));
    Put(out, 0);
}

}  // namespace

std::vector<BYTE> SmallDialogTemplate()
{
    std::vector<BYTE> out;
    const auto dword = [&](DWORD value) {
        Put(out, value & 0xFFFF);
        Put(out, value >> 16);
    };
    dword(0x80C80000 | 0x40); // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT
    dword(0);                 // extended style
    Put(out, 1);              // one control
    for (unsigned v : {10u, 10u, 120u, 60u})
        Put(out, v);
    Put(out, 0);              // no menu
    Put(out, 0);              // the standard class
    PutText(out, "Sample");
    Put(out, 8);
    PutText(out, "DejaVu Sans");
    while (out.size() % 4)
        out.push_back(0);
    dword(0x50010001);        // WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON
    dword(0);
    for (unsigned v : {35u, 40u, 50u, 14u})
        Put(out, v);
    Put(out, 1);              // IDOK
    Put(out, 0xFFFF);
    Put(out, 0x0080);         // the button class
    PutText(out, "OK");
    Put(out, 0);              // no creation data
    return out;
}

}
