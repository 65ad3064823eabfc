#pragma once
// A dialog template as data: what a DLGTEMPLATE or DLGTEMPLATEEX memory image
// holds, written out as the extended image and read back from either kind.
// Images come from resources and from code that builds them in memory, so the
// reader checks every length and count against the image's size.
#include "Platform/Base/Types.h"

#include <cstddef>
#include <string>
#include <vector>

namespace Ui {

// A sz_Or_Ord field: a name, an ordinal (a resource id or a predefined class
// atom), or nothing.
struct NameOrOrdinal {
    std::wstring name;
    WORD ordinal = 0;
    bool isOrdinal = false;

    static NameOrOrdinal Name(std::wstring text) { return {std::move(text), 0, false}; }
    static NameOrOrdinal Ordinal(WORD value) { return {{}, value, true}; }
    bool IsEmpty() const { return !isOrdinal && name.empty(); }
    bool operator==(const NameOrOrdinal&) const = default;
};

// The predefined control classes of templates (0xFFFF then the atom).
constexpr WORD kClassButton = 0x0080;
constexpr WORD kClassEdit = 0x0081;
constexpr WORD kClassStatic = 0x0082;
constexpr WORD kClassListBox = 0x0083;
constexpr WORD kClassScrollBar = 0x0084;
constexpr WORD kClassComboBox = 0x0085;

struct DialogItemTemplate {
    NameOrOrdinal windowClass;  // a class name or one of the atoms above
    NameOrOrdinal text;         // a caption or a resource id (an icon of a static)
    DWORD id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    std::vector<BYTE> creationData;

    bool operator==(const DialogItemTemplate&) const = default;
};

// A visible child control of a template, the way dialogs built in code list them.
DialogItemTemplate VisibleControl(NameOrOrdinal windowClass, const std::wstring& text, int id, DWORD style, short x,
                                  short y, short cx, short cy);

class CDialogTemplate {
public:
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;  // empty: the dialog class
    std::wstring caption;
    // Used when the style has DS_SETFONT (or DS_SHELLFONT).
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charSet = 0;
    std::wstring faceName;
    std::vector<DialogItemTemplate> items;

    bool HasFont() const;
    // The DLGTEMPLATEEX image; empty when there are more items than a WORD counts.
    std::vector<BYTE> ToImage() const;
    // Reads a DLGTEMPLATE or DLGTEMPLATEEX image of `size` bytes. False, with
    // ERROR_INVALID_PARAMETER as last error, when it does not hold a whole,
    // well-formed template.
    bool Parse(const void* image, std::size_t size);

    // The class name an item's atom stands for ("Button" ...), or empty.
    static std::wstring PredefinedClassName(WORD atom);
};

}
