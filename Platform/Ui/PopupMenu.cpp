// Pop-up menus on the screen, the menu bar of a top-level, and the menus
// that the default window procedure opens for the user.
#include "Platform/Ui/PopupMenu.h"

#include "Platform/Base/LastError.h"
#include "Platform/Ui/MenuActivation.h"
#include "Platform/Ui/MenuBar.h"
#include "Platform/Ui/MenuStore.h"
#include "Platform/Ui/MenuTracker.h"
#include "Platform/Ui/WindowSystem.h"

#include <mutex>

using namespace Ui;

namespace {

bool CanTrack(HMENU menu, HWND owner)
{
    if (!IsMenu(menu))
        return false;
    if (owner != nullptr && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    // One menu loop per thread: a second one would fight the first for the mouse.
    if (CMenuTracker::Current() != nullptr) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return false;
    }
    return true;
}

bool IsTopLevelWithStyle(HWND hwnd, DWORD style)
{
    const auto own = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    return (own & WS_CHILD) == 0 && (own & style) == style;
}

// The top-left of the area inside the display's frame: the window menu opens
// there. The caption height is asked after the lock is let go, since asking
// takes it.
POINT BelowCaption(HWND hwnd)
{
    RECT window{};
    {
        auto& ws = WindowSystem::Get();
        std::lock_guard lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w)
            return {};
        if (w->frame.top != 0) {
            const RECT native = NativeRect(*w);
            return {native.left, native.top};
        }
        window = w->rect;
    }
    return {window.left, window.top + GetSystemMetrics(SM_CYCAPTION)};
}

UINT TrackBarOf(HWND hwnd, int index, bool open)
{
    // A bar's menu drops below its item, or rises above it where the screen ends.
    CMenuTracker tracker(hwnd, TPM_VERTICAL, false);
    return tracker.TrackBar(index, open);
}

}  // namespace

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params)
{
    if (!CanTrack(menu, owner))
        return FALSE;
    const RECT* exclude = params != nullptr && params->cbSize == sizeof(TPMPARAMS) ? &params->rcExclude : nullptr;
    CMenuTracker tracker(owner, flags, false);
    const UINT command = tracker.TrackPopup(menu, {x, y}, exclude);
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(command);
    return tracker.Chose() ? TRUE : FALSE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu()
{
    CMenuTracker* tracker = CMenuTracker::Current();
    if (tracker == nullptr)
        return FALSE;
    tracker->Cancel();
    return TRUE;
}

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect)
{
    if (rect == nullptr)
        return FALSE;
    const int index = static_cast<int>(item);
    if (CMenuTracker* tracker = CMenuTracker::Current(); tracker && tracker->ItemRect(menu, index, *rect))
        return TRUE;
    if (hwnd == nullptr || menu == nullptr || GetMenu(hwnd) != menu)
        return FALSE;
    *rect = CMenuBar::ItemOnScreen(hwnd, index);
    return !IsRectEmpty(rect);
}

BOOL SetMenu(HWND hwnd, HMENU menu)
{
    {
        auto& ws = WindowSystem::Get();
        std::lock_guard lock(ws.Lock());
        auto w = ws.Find(hwnd);
        if (!w)
            return FALSE;
        if ((w->style & WS_CHILD) != 0) {
            SetLastError(ERROR_CHILD_WINDOW_MENU);
            return FALSE;
        }
        if (menu != nullptr && !IsMenu(menu))
            return FALSE;
        w->menuBar = menu;
        w->menuBarHot = -1;
    }
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

HMENU GetMenu(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    std::lock_guard lock(ws.Lock());
    auto w = ws.Find(hwnd);
    return w && (w->style & WS_CHILD) == 0 ? w->menuBar : nullptr;
}

BOOL DrawMenuBar(HWND hwnd)
{
    if (!IsWindow(hwnd))
        return FALSE;
    return RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags)
{
    auto& store = CMenuStore::Get();
    std::lock_guard lock(store.Mutex());
    const bool byPosition = (flags & MF_BYPOSITION) != 0;
    MenuPlace firstPlace;
    MenuPlace lastPlace;
    if (!store.Locate(menu, first, byPosition, firstPlace) || !store.Locate(menu, last, byPosition, lastPlace) ||
        firstPlace.menu != lastPlace.menu)
        return FALSE;
    // The range is one run of items of one menu, in either order.
    const std::size_t from = std::min(firstPlace.index, lastPlace.index);
    const std::size_t to = std::max(firstPlace.index, lastPlace.index);
    bool found = false;
    for (std::size_t i = from; i <= to; ++i) {
        MenuEntry& entry = firstPlace.menu->items[i];
        if (entry.subMenu != nullptr)
            continue;
        const bool chosen = byPosition ? i == check : entry.id == check;
        found = found || chosen;
        entry.state = chosen ? (entry.state | MF_CHECKED) : (entry.state & ~MF_CHECKED);
        if (chosen)
            entry.type |= MFT_RADIOCHECK;
    }
    return found ? TRUE : FALSE;
}

namespace Ui {

void TrackSystemMenu(HWND hwnd, POINT at)
{
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (menu == nullptr || CMenuTracker::Current() != nullptr)
        return;
    CMenuTracker tracker(hwnd, TPM_LEFTALIGN | TPM_TOPALIGN, true);
    tracker.TrackPopup(menu, at, nullptr);
}

bool DefMenuCommand(HWND hwnd, WPARAM command, LPARAM lParam)
{
    const HWND top = GetAncestor(hwnd, GA_ROOT) != nullptr ? GetAncestor(hwnd, GA_ROOT) : hwnd;
    const bool hasBar = GetMenu(top) != nullptr && GetMenuItemCount(GetMenu(top)) > 0;
    const bool hasWindowMenu = IsTopLevelWithStyle(top, WS_SYSMENU | WS_CAPTION);
    if ((command & 0xFFF0) == SC_MOUSEMENU) {
        const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if ((command & 0x000F) == static_cast<WPARAM>(HTSYSMENU) && hasWindowMenu) {
            TrackSystemMenu(top, BelowCaption(top));
            return true;
        }
        const int index = hasBar ? CMenuBar::ItemAtScreen(top, p) : -1;
        if (index < 0)
            return false;
        TrackBarOf(top, index, true);  // the loop posts the chosen command
        return true;
    }
    const auto c = static_cast<wchar_t>(lParam);
    if (c == 0) {
        if (!hasBar)
            return false;
        TrackBarOf(top, 0, false);
        return true;
    }
    const int index = hasBar ? CMenuBar::MnemonicItem(GetMenu(top), c) : -1;
    if (index >= 0) {
        TrackBarOf(top, index, true);
        return true;
    }
    if (c == L' ' && hasWindowMenu) {
        TrackSystemMenu(top, BelowCaption(top));
        return true;
    }
    return false;
}

}
