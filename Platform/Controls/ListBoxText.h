#pragma once
// The text of a plain list-box item, on the highlight when selected, grey
// when disabled, and with LBS_USETABSTOPS laid out at the tab stops (in
// dialog units: a quarter of the font's average character width; none given
// means every 32, one given means every that many).
#include "Platform/Ui/WinUser.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

struct ListItemLook {
    bool selected = false;
    bool enabled = true;
    const std::vector<int>* tabStops = nullptr;  // null: tabs are not expanded
};

// Draws into `r` with the context's font; the item's colours come from the
// context (set by WM_CTLCOLORLISTBOX) unless selected or disabled.
void DrawListItemText(HDC dc, const std::wstring& text, const RECT& r, const ListItemLook& look);

// The pixel offset of the first tab stop right of `x`.
int NextListTabStop(const std::vector<int>& stops, int x, int averageWidth);

}
