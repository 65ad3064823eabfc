// The window menu: the standard items a window's styles allow, the window's
// own copy of them, and the check that system commands the user chooses
// pass through.
#include "Platform/Ui/SystemMenu.h"

#include "Platform/Ui/MenuStore.h"
#include "Platform/Ui/SystemMenuAccess.h"

#include <algorithm>
#include <vector>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

struct StandardItem {
    WPARAM command = 0;
    LPCWSTR text = nullptr;
};

// A frame that can be resized offers Size; the boxes offer Minimize,
// Maximize and Restore; every frame can be moved and closed.
std::vector<StandardItem> StandardItems(DWORD style)
{
    std::vector<StandardItem> items;
    if ((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0)
        items.push_back({SC_RESTORE, L"&Restore"});
    items.push_back({SC_MOVE, L"&Move"});
    if ((style & WS_THICKFRAME) != 0)
        items.push_back({SC_SIZE, L"&Size"});
    if ((style & WS_MINIMIZEBOX) != 0)
        items.push_back({SC_MINIMIZE, L"Mi&nimize"});
    if ((style & WS_MAXIMIZEBOX) != 0)
        items.push_back({SC_MAXIMIZE, L"Ma&ximize"});
    items.push_back({SC_CLOSE, L"&Close\tAlt+F4"});
    return items;
}

HMENU BuildWindowMenu(HWND hwnd, DWORD style)
{
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return nullptr;
    for (const StandardItem& item : StandardItems(style)) {
        if (item.command == SC_CLOSE)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.command), item.text);
    }
    SetMenuDefaultItem(menu, static_cast<UINT>(SC_CLOSE), FALSE);
    auto& store = CMenuStore::Get();
    std::lock_guard menuLock(store.Mutex());
    if (auto object = store.Find(menu))
        object->windowOf = hwnd;
    return menu;
}

// The caption shows whether Close is offered.
void RedrawCaption(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

}  // namespace

HMENU GetSystemMenu(HWND hwnd, BOOL revert)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w || (w->style & WS_CHILD) != 0)
        return nullptr;
    if (revert) {
        const bool hadCopy = w->systemMenu != nullptr;
        if (hadCopy)
            DestroyMenu(w->systemMenu);
        w->systemMenu = nullptr;
        lock.unlock();
        if (hadCopy)
            RedrawCaption(hwnd);
        return nullptr;
    }
    // The window's code may have destroyed its copy; it gets a new one then.
    if (w->systemMenu == nullptr || !IsMenu(w->systemMenu))
        w->systemMenu = BuildWindowMenu(hwnd, w->style);
    return w->systemMenu;
}

namespace Ui {

bool SystemCommandAllowedLocked(WindowSystem&, const Window& w, WPARAM command)
{
    if (w.systemMenu != nullptr && IsMenu(w.systemMenu)) {
        const UINT state = GetMenuState(w.systemMenu, static_cast<UINT>(command), MF_BYCOMMAND);
        return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED | MF_POPUP)) == 0;
    }
    const auto items = StandardItems(w.style);
    return std::any_of(items.begin(), items.end(), [command](const StandardItem& i) { return i.command == command; });
}

bool SystemCommandAllowed(HWND hwnd, WPARAM command)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    return w && SystemCommandAllowedLocked(ws, *w, command);
}

bool ChooseSystemCommand(HWND hwnd, WPARAM command, LPARAM lParam)
{
    if (!SystemCommandAllowed(hwnd, command))
        return false;
    SendMessageW(hwnd, WM_SYSCOMMAND, command, lParam);
    return true;
}

}
