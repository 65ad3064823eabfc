#pragma once
// The menu loop: a modal loop of its own while pop-up menus (and the menu
// bar) are open. It keeps the mouse captured, takes the keyboard and mouse
// input of the thread before anyone else, services sends like every wait,
// opens and closes cascading sub-menus, and tells the owner what happens in
// the platform's order: WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP,
// WM_MENUSELECT ..., WM_UNINITMENUPOPUP, WM_EXITMENULOOP, and at last the
// chosen command. Inside the layer only.
#include "Platform/Ui/PopupMenuWindow.h"

#include <memory>
#include <vector>

namespace Ui {

class CMenuTracker {
public:
    // `systemMenu`: the owner's window menu, whose choice is a WM_SYSCOMMAND.
    CMenuTracker(HWND owner, UINT flags, bool systemMenu);
    ~CMenuTracker();
    CMenuTracker(const CMenuTracker&) = delete;
    CMenuTracker& operator=(const CMenuTracker&) = delete;

    // The command chosen in a pop-up menu shown at `anchor`, 0 for none.
    UINT TrackPopup(HMENU menu, POINT anchor, const RECT* exclude);
    // The command chosen through the owner's menu bar, starting at the bar
    // item `index`, with its menu opened when `open`.
    UINT TrackBar(int index, bool open);
    // Whether the loop ended with a choice (a command may be 0).
    bool Chose() const { return m_chose; }

    // The item's place on the screen while its menu is open.
    bool ItemRect(HMENU menu, int index, RECT& rect) const;
    // Leaves the loop at the next chance.
    void Cancel() { m_done = true; }
    // The loop of the calling thread, null when none runs.
    static CMenuTracker* Current();

private:
    UINT Run();
    void Finish();
    void PostChoice() const;
    void Notify(UINT message, WPARAM wParam, LPARAM lParam) const;
    void Idle(bool& idleSent) const;

    // Levels of open pop-ups.
    bool OpenFirst(HMENU menu, POINT anchor, const RECT* exclude, int from);
    bool OpenSub(int index, bool selectFirst);
    void CloseLevelsAfter(std::size_t keep);
    CPopupMenuWindow* Innermost() const;
    void Select(CPopupMenuWindow& level, int index, bool byMouse);
    void Execute(int index);
    void Choose(const MenuItemBox& item);

    // Input.
    void OnMessage(MSG& msg);
    void OnKey(MSG& msg);
    void OnChar(wchar_t c);
    void OnMouse(const MSG& msg);
    void OnMouseMove(POINT screen);
    void OnButtonDown(POINT screen);
    void OnButtonUp(POINT screen, bool allowed);
    void MoveInBar(int step);
    void AskOwnerForChar(wchar_t c, HMENU menu, bool bar);

    // The menu bar.
    bool BarMode() const { return m_barMenu != nullptr; }
    void SelectBar(int index, bool open);

    HWND m_owner = nullptr;
    UINT m_flags = 0;
    bool m_systemMenu = false;
    HWND m_capture = nullptr;
    std::vector<std::unique_ptr<CPopupMenuWindow>> m_levels;
    HMENU m_barMenu = nullptr;
    int m_barIndex = -1;
    bool m_done = false;
    bool m_chose = false;
    bool m_quit = false;
    int m_quitCode = 0;
    UINT m_command = 0;
    POINT m_choicePoint{};
    bool m_choseByMouse = false;
    CMenuTracker* m_outer = nullptr;
};

// Where a pop-up of `size` goes for TrackPopupMenuEx: aligned to the anchor
// as the flags say, kept inside `work`, and off `exclude` (beside it, or
// above or below it with TPM_VERTICAL).
POINT PlacePopupMenu(SIZE size, POINT anchor, UINT flags, const RECT* exclude, const RECT& work);

}
