#include "Platform/Ui/MenuStore.h"

#include "Platform/Base/HandleTable.h"
#include "Platform/Base/LastError.h"

namespace Ui {

namespace {

// Deep enough for any real menu, and a stop for a menu put into itself.
constexpr int kMaxDepth = 16;

Platform::HandleTable<MenuObject, HMENU>& Menus()
{
    static auto* table = new Platform::HandleTable<MenuObject, HMENU>(Platform::HandleKind::Menu);
    return *table;
}

}  // namespace

CMenuStore& CMenuStore::Get()
{
    static auto* store = new CMenuStore;
    return *store;
}

HMENU CMenuStore::Create(bool popup)
{
    auto menu = std::make_shared<MenuObject>();
    menu->popup = popup;
    HMENU handle = Menus().Insert(std::move(menu));
    if (!handle)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return handle;
}

std::shared_ptr<MenuObject> CMenuStore::Find(HMENU menu) const
{
    auto object = Menus().Lookup(menu);
    if (!object)
        SetLastError(ERROR_INVALID_MENU_HANDLE);
    return object;
}

bool CMenuStore::LocateCommand(const std::shared_ptr<MenuObject>& menu, UINT id, int depth, MenuPlace& place) const
{
    if (depth > kMaxDepth)
        return false;
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        const MenuEntry& entry = menu->items[i];
        if (!entry.subMenu && entry.id == id) {
            place = {menu, i};
            return true;
        }
    }
    for (const MenuEntry& entry : menu->items) {
        if (!entry.subMenu)
            continue;
        if (auto sub = Menus().Lookup(entry.subMenu); sub && LocateCommand(sub, id, depth + 1, place))
            return true;
    }
    return false;
}

bool CMenuStore::Locate(HMENU handle, UINT item, bool byPosition, MenuPlace& place) const
{
    auto menu = Find(handle);
    if (!menu)
        return false;
    if (byPosition ? item < menu->items.size() : LocateCommand(menu, item, 0, place)) {
        if (byPosition)
            place = {menu, item};
        return true;
    }
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return false;
}

bool CMenuStore::Destroy(HMENU handle)
{
    std::vector<HMENU> pending{handle};
    bool first = true;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        auto menu = Menus().Remove(pending[i]);
        if (!menu) {
            if (first) {
                SetLastError(ERROR_INVALID_MENU_HANDLE);
                return false;
            }
            continue;
        }
        first = false;
        for (const MenuEntry& entry : menu->items) {
            if (entry.subMenu)
                pending.push_back(entry.subMenu);
        }
    }
    return true;
}

}
