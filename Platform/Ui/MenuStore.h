#pragma once
// The menus behind HMENU handles. All menus share one lock, so that an item
// found by command in a sub-menu stays where it was while it changes.
#include "Platform/Ui/MenuApi.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Ui {

struct MenuEntry {
    UINT type = MFT_STRING;
    UINT state = MFS_ENABLED;
    UINT id = 0;
    HMENU subMenu = nullptr;
    std::wstring text;
    HBITMAP checkedMark = nullptr;
    HBITMAP uncheckedMark = nullptr;
    HBITMAP bitmap = nullptr;
    ULONG_PTR data = 0;
};

struct MenuObject {
    bool popup = false;
    HWND windowOf = nullptr;  // the window whose window menu this is
    std::vector<MenuEntry> items;
};

// Where an item is: its menu and index there.
struct MenuPlace {
    std::shared_ptr<MenuObject> menu;
    std::size_t index = 0;
    MenuEntry& Entry() const { return menu->items[index]; }
};

class CMenuStore {
public:
    static CMenuStore& Get();
    std::recursive_mutex& Mutex() { return m_mutex; }

    HMENU Create(bool popup);
    // With the lock held: the menu, or null with ERROR_INVALID_MENU_HANDLE.
    std::shared_ptr<MenuObject> Find(HMENU menu) const;
    // By position in the menu itself, or by command anywhere below it.
    bool Locate(HMENU menu, UINT item, bool byPosition, MenuPlace& place) const;
    // The menu and every sub-menu below it.
    bool Destroy(HMENU menu);

private:
    CMenuStore() = default;
    bool LocateCommand(const std::shared_ptr<MenuObject>& menu, UINT id, int depth, MenuPlace& place) const;

    mutable std::recursive_mutex m_mutex;
};

}
