#pragma once
// The resource script of this system: C++ tables written in each folder's
// Res/ (Res/Resources.cpp), compiled into the module that carries them and
// registered under that module's HINSTANCE when it loads.
//
//   #include "Platform/Ui/ResourceTable.h"
//   #include "Embedded/Logo.png.h"          // zell_resources(... EMBED Res/Logo.png)
//   namespace {
//   using namespace Ui::Res;
//   const StringTable kEnglish{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {
//       {IDS_TITLE, L"Settings"},
//       {IDS_SAVED, L"The settings were saved."},
//   }};
//   const StringTable kGerman{MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), {
//       {IDS_TITLE, L"Einstellungen"},
//   }};
//   const Menu kMainMenu{IDR_MAIN, LANG_NEUTRAL, {
//       {.text = L"&File", .items = {
//           {ID_FILE_OPEN, L"&Open...\tCtrl+O"},
//           Separator(),
//           {ID_APP_EXIT, L"E&xit", MF_GRAYED},
//       }},
//       {ID_HELP, L"&Help", MF_HELP},
//   }};
//   const AcceleratorTable kKeys{IDR_MAIN, LANG_NEUTRAL, {
//       {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
//   }};
//   const Image kLogo{ImageKind::Icon, IDI_LOGO, {Bytes(Logo_png)}};
//   const Data kAbout{RT_DIALOG, IDD_ABOUT, LANG_NEUTRAL, {}, &BuildAboutTemplate};
//   const ResourceTable kTable{
//       .strings = {&kEnglish, &kGerman}, .menus = {&kMainMenu}, .accelerators = {&kKeys},
//       .images = {&kLogo}, .data = {&kAbout}};
//   const Registration kRegistration{kTable};
//   }
//
// What each entry becomes, in the platform's formats (UTF-16 text):
// - StringTable: RT_STRING blocks of 16 counted strings; the string id
//   lands in block id / 16 + 1 at index id % 16. A block of a language is
//   whole: a string missing there is missing, even when another language
//   has it.
// - Menu: an RT_MENU menu template (the plain format; flags are the MF_
//   values; an item with sub-items is a pop-up).
// - AcceleratorTable: an RT_ACCELERATOR array of accelerator entries.
// - Image: PNG pictures. An icon becomes RT_GROUP_ICON with one RT_ICON
//   per picture, a cursor RT_GROUP_CURSOR with RT_CURSOR pictures carrying
//   the hot spot, a bitmap an RT_BITMAP DIB of its first picture.
// - Toolbar: an RT_TOOLBAR record (WORD version 1, image width, image
//   height, button count, then one WORD command per button).
// - Data: any other type (RT_DIALOG, RT_RCDATA, a named type): the bytes
//   as given, or as `build` makes them on the first look-up in the module
//   (dialog templates from their writer).
// The entries live as long as the module, so tables are namespace-scope
// constants; several tables may register in one module, and where two name
// the same resource (type, name and language) the first one registered
// keeps it. Icon and cursor pictures get RT_ICON/RT_CURSOR ids 1, 2, ...
// in the order they are compiled, so a table names its groups only.
//
// In CMake, zell_resources(target SOURCES Res/Resources.cpp EMBED
// Res/Logo.png) adds the tables to a program or shared library; for a
// static library they are compiled into every module that links it, each
// with its own copy under its own handle. An embedded file Res/Logo.png is
// the header "Embedded/Logo.png.h" with `static const unsigned char
// Logo_png[]` (the file name with every character that cannot be in a C
// name turned into _).
#include "Platform/Ui/Resource.h"

#include <cstddef>
#include <initializer_list>
#include <vector>

namespace Ui::Res {

// A resource type or name: a number (MAKEINTRESOURCE) or a text.
struct Id {
    WORD number = 0;
    LPCWSTR text = nullptr;
    constexpr Id() = default;
    constexpr Id(int id) : number(static_cast<WORD>(id)) {}
    Id(LPCWSTR name)
        : number(IsNumber(name) ? static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)) : WORD{0}),
          text(IsNumber(name) ? nullptr : name)
    {
    }
    static bool IsNumber(LPCWSTR name) { return reinterpret_cast<std::uintptr_t>(name) >> 16 == 0; }
};

struct Bytes {
    const BYTE* data = nullptr;
    std::size_t size = 0;
    constexpr Bytes() = default;
    constexpr Bytes(const BYTE* bytes, std::size_t count) : data(bytes), size(count) {}
    template <std::size_t N>
    constexpr Bytes(const BYTE (&bytes)[N]) : data(bytes), size(N)
    {
    }
};

struct String {
    UINT id = 0;
    LPCWSTR text = nullptr;
};

struct StringTable {
    LANGID language = LANG_NEUTRAL;
    std::initializer_list<String> strings;
};

// An item with sub-items is a pop-up: {.text = L"&File", .items = {...}}.
struct MenuItem {
    UINT id = 0;
    LPCWSTR text = nullptr;
    UINT flags = 0; // MF_GRAYED, MF_CHECKED, MF_SEPARATOR, MF_HELP ...
    std::initializer_list<MenuItem> items{};
};
// MF_SEPARATOR, which menu templates write as 0x800.
constexpr MenuItem Separator() { return MenuItem{0, nullptr, 0x0800, {}}; }

struct Menu {
    Id name;
    LANGID language = LANG_NEUTRAL;
    std::initializer_list<MenuItem> items;
};

struct Accelerator {
    BYTE flags = 0; // FVIRTKEY, FSHIFT, FCONTROL, FALT, FNOINVERT
    WORD key = 0;
    WORD command = 0;
};

struct AcceleratorTable {
    Id name;
    LANGID language = LANG_NEUTRAL;
    std::initializer_list<Accelerator> entries;
};

enum class ImageKind { Icon, Cursor, Bitmap };

struct Image {
    ImageKind kind = ImageKind::Icon;
    Id name;
    std::initializer_list<Bytes> pictures; // PNG files, one per size
    LANGID language = LANG_NEUTRAL;
    POINT hotSpot{};                        // cursors
};

struct Data {
    Id type;
    Id name;
    LANGID language = LANG_NEUTRAL;
    Bytes bytes;
    std::vector<BYTE> (*build)() = nullptr; // used when set
};

// A toolbar: the size of one button image and the buttons' commands (0
// for a separator). The strip of images is the bitmap of the same name.
struct Toolbar {
    Id name;
    LANGID language = LANG_NEUTRAL;
    WORD width = 16;
    WORD height = 15;
    std::initializer_list<WORD> buttons;
};

struct ResourceTable {
    std::initializer_list<const StringTable*> strings{};
    std::initializer_list<const Menu*> menus{};
    std::initializer_list<const AcceleratorTable*> accelerators{};
    std::initializer_list<const Image*> images{};
    std::initializer_list<const Data*> data{};
    std::initializer_list<const Toolbar*> toolbars{};
};

// Registers the table under the module that holds it for as long as the
// registration lives (a namespace-scope constant beside the table).
class Registration {
public:
    explicit Registration(const ResourceTable& table);
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

private:
    const ResourceTable* m_table = nullptr;
};

}
