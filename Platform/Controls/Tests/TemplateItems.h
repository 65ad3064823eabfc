#pragma once
// Template items of the standard controls in dialog units, shared by the
// dialog tests of every layer and the dialog benchmark.
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/WinUser.h"

#include <utility>
#include <vector>

namespace ControlTest {

inline Ui::DialogItemTemplate Item(Ui::NameOrOrdinal cls, const wchar_t* text, int id, DWORD style, short x, short y,
                                   short cx, short cy)
{
    return Ui::VisibleControl(std::move(cls), text, id, style, x, y, cx, cy);
}

inline Ui::DialogItemTemplate Static(const wchar_t* text, DWORD style, short x, short y, short cx, short cy,
                                     int id = -1)
{
    return Item(Ui::NameOrOrdinal::Ordinal(Ui::kClassStatic), text, id, style, x, y, cx, cy);
}

inline Ui::DialogItemTemplate Button(const wchar_t* text, int id, DWORD style, short x, short y, short cx, short cy)
{
    return Item(Ui::NameOrOrdinal::Ordinal(Ui::kClassButton), text, id, style, x, y, cx, cy);
}

// A hidden static that the code lays a window over (a child sheet, a page):
// a shown one would paint over that window whenever the host is painted.
inline Ui::DialogItemTemplate Placeholder(int id, short x, short y, short cx, short cy)
{
    Ui::DialogItemTemplate item = Static(L"", 0, x, y, cx, cy, id);
    item.style &= ~static_cast<DWORD>(WS_VISIBLE);
    return item;
}

// A predefined class without text (list box, scroll bar ...).
inline Ui::DialogItemTemplate Predefined(WORD cls, int id, DWORD style, short x, short y, short cx, short cy)
{
    return Item(Ui::NameOrOrdinal::Ordinal(cls), L"", id, style, x, y, cx, cy);
}

// A class named in the template, without text (the common controls).
inline Ui::DialogItemTemplate Common(const wchar_t* cls, int id, DWORD style, short x, short y, short cx, short cy)
{
    return Item(Ui::NameOrOrdinal::Name(cls), L"", id, style, x, y, cx, cy);
}

// A dialog's template image in the shell's dialog font (the message font here).
inline std::vector<BYTE> DialogImage(const wchar_t* caption, short cx, short cy,
                                     std::vector<Ui::DialogItemTemplate> items, DWORD style = WS_POPUP | WS_CAPTION)
{
    Ui::CDialogTemplate dt;
    dt.style = style | DS_SETFONT;
    dt.caption = caption;
    dt.pointSize = 8;
    dt.faceName = L"MS Shell Dlg";
    dt.cx = cx;
    dt.cy = cy;
    dt.items = std::move(items);
    return dt.ToImage();
}

}
