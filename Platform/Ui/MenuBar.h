#pragma once
// The menu bar of a top-level: a row of the menu's items between the
// caption and the client area, drawn with the non-client area. Inside the
// layer only; SetMenu, GetMenu and DrawMenuBar are the public side.
#include "Platform/Ui/WinUser.h"

#include <string>
#include <vector>

namespace Ui {

struct MenuBarItem {
    RECT rect{};  // window coordinates
    std::wstring label;
    UINT state = 0;
};

class CMenuBar {
public:
    static int Height();
    // The bar's items laid out in `bar` (window coordinates).
    static std::vector<MenuBarItem> Layout(HMENU menu, const RECT& bar);
    static void Paint(HWND hwnd, HDC windowDc);

    static int ItemAtScreen(HWND hwnd, POINT screen);
    static RECT ItemOnScreen(HWND hwnd, int index);
    // The item whose label has `c` as its mnemonic, or -1.
    static int MnemonicItem(HMENU menu, wchar_t c);
    // Highlights an item while the menu loop is on the bar (-1: none).
    static void SetHot(HWND hwnd, int index);
};

}
