#pragma once
// One open pop-up menu on the screen: a top-level of the menu class
// ("#32768") that never takes the activation, showing its menu's items and
// the selected one. The menu loop (CMenuTracker) owns it. Inside the layer only.
#include "Platform/Ui/PopupMenuLayout.h"

#include <functional>

namespace Ui {

class CPopupMenuWindow {
public:
    // `onCancelMode` runs when the window is told to leave modes (WM_CANCELMODE).
    CPopupMenuWindow(HMENU menu, HWND owner, std::function<void()> onCancelMode);
    ~CPopupMenuWindow();
    CPopupMenuWindow(const CPopupMenuWindow&) = delete;
    CPopupMenuWindow& operator=(const CPopupMenuWindow&) = delete;

    // Measures the menu; false for a menu that is gone or empty.
    bool Prepare();
    // Shows the window with its top-left at `at` (screen).
    bool Show(POINT at, HWND ownerTopLevel);

    HWND Hwnd() const { return m_hwnd; }
    HMENU Menu() const { return m_menu; }
    const CPopupMenuLayout& Layout() const { return m_layout; }
    SIZE Size() const { return m_layout.Size(); }

    int Selected() const { return m_selected; }
    void Select(int index);
    const MenuItemBox* SelectedItem() const;
    const MenuItemBox* Item(int index) const;

    bool Contains(POINT screen) const;
    int ItemAtScreen(POINT screen) const;
    RECT ItemOnScreen(int index) const;
    RECT WindowOnScreen() const;

    // The item of the parent menu that opened this one (-1 for the first).
    int m_openedFrom = -1;

    static const wchar_t* ClassName() { return L"#32768"; }

private:
    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void RegisterMenuClass();
    void Paint();
    void RepaintItem(int index);

    HMENU m_menu = nullptr;
    HWND m_owner = nullptr;
    HWND m_hwnd = nullptr;
    std::function<void()> m_onCancelMode;
    CPopupMenuLayout m_layout;
    int m_selected = -1;
};

}
