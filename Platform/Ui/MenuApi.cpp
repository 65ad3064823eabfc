#include "Platform/Ui/MenuApi.h"

#include "Platform/Base/LastError.h"
#include "Platform/Ui/MenuStore.h"
#include "Platform/Ui/WinUser.h"

#include <algorithm>
#include <cstddef>
#include <cwchar>

using namespace Ui;

namespace {

constexpr UINT kTypeFlags = MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_MENUBARBREAK | MF_MENUBREAK | MF_RIGHTJUSTIFY;
constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;
constexpr UINT kNotFound = static_cast<UINT>(-1);
constexpr UINT kOldItemInfoSize = offsetof(MENUITEMINFOW, hbmpItem);

using Lock = std::lock_guard<std::recursive_mutex>;

CMenuStore& Store()
{
    return CMenuStore::Get();
}

bool IsStringType(UINT type)
{
    return (type & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW)) == 0;
}

// An item of the MF_ form that AppendMenu and InsertMenu take.
bool MakeEntry(UINT flags, UINT_PTR item, LPCWSTR text, MenuEntry& entry)
{
    entry.type = flags & kTypeFlags;
    entry.state = flags & kStateFlags;
    if (flags & MF_POPUP) {
        entry.subMenu = reinterpret_cast<HMENU>(item);
        if (!Store().Find(entry.subMenu))
            return false;
    } else {
        entry.id = static_cast<UINT>(item);
    }
    if (flags & MF_BITMAP)
        entry.bitmap = reinterpret_cast<HBITMAP>(const_cast<LPWSTR>(text));
    else if (flags & MF_OWNERDRAW)
        entry.data = reinterpret_cast<ULONG_PTR>(text);
    else if (text && !(flags & MF_SEPARATOR))
        entry.text = text;
    return true;
}

bool ValidItemInfo(LPCMENUITEMINFOW info)
{
    if (info && (info->cbSize == sizeof(MENUITEMINFOW) || info->cbSize == kOldItemInfoSize))
        return true;
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

bool ApplyItemInfo(const MENUITEMINFOW& info, MenuEntry& entry)
{
    if (info.fMask & MIIM_SUBMENU) {
        if (info.hSubMenu && !Store().Find(info.hSubMenu))
            return false;
        entry.subMenu = info.hSubMenu;
    }
    if (info.fMask & (MIIM_FTYPE | MIIM_TYPE))
        entry.type = info.fType;
    if (info.fMask & MIIM_TYPE) {
        if (info.fType & MFT_BITMAP)
            entry.bitmap = reinterpret_cast<HBITMAP>(info.dwTypeData);
        else if (IsStringType(info.fType))
            entry.text = info.dwTypeData ? info.dwTypeData : L"";
    }
    if (info.fMask & MIIM_STRING)
        entry.text = info.dwTypeData ? info.dwTypeData : L"";
    if (info.fMask & MIIM_STATE)
        entry.state = info.fState;
    if (info.fMask & MIIM_ID)
        entry.id = info.wID;
    if (info.fMask & MIIM_CHECKMARKS) {
        entry.checkedMark = info.hbmpChecked;
        entry.uncheckedMark = info.hbmpUnchecked;
    }
    if (info.fMask & MIIM_DATA)
        entry.data = info.dwItemData;
    if ((info.fMask & MIIM_BITMAP) && info.cbSize == sizeof(MENUITEMINFOW))
        entry.bitmap = info.hbmpItem;
    return true;
}

void CopyText(const std::wstring& text, MENUITEMINFOW& info)
{
    if (!info.dwTypeData || info.cch == 0) {
        info.cch = static_cast<UINT>(text.size());
        return;
    }
    const std::size_t count = std::min<std::size_t>(text.size(), info.cch - 1);
    std::wmemcpy(info.dwTypeData, text.c_str(), count);
    info.dwTypeData[count] = L'\0';
    info.cch = static_cast<UINT>(count);
}

bool AtPosition(HMENU menu, int position, MenuPlace& place)
{
    return position >= 0 && Store().Locate(menu, static_cast<UINT>(position), true, place);
}

// Inserts before the item, or at the end for a position past it.
BOOL Insert(HMENU menu, UINT item, bool byPosition, MenuEntry entry)
{
    Lock lock(Store().Mutex());
    auto object = Store().Find(menu);
    if (!object)
        return FALSE;
    if (byPosition) {
        const std::size_t at = std::min<std::size_t>(item, object->items.size());
        object->items.insert(object->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
        return TRUE;
    }
    MenuPlace place;
    if (!Store().Locate(menu, item, false, place))
        return FALSE;
    place.menu->items.insert(place.menu->items.begin() + static_cast<std::ptrdiff_t>(place.index), std::move(entry));
    return TRUE;
}

// Takes the item out; its sub-menu is destroyed when `destroy` is set.
BOOL Take(HMENU menu, UINT item, UINT flags, bool destroy)
{
    Lock lock(Store().Mutex());
    MenuPlace place;
    if (!Store().Locate(menu, item, (flags & MF_BYPOSITION) != 0, place))
        return FALSE;
    const HMENU sub = place.Entry().subMenu;
    place.menu->items.erase(place.menu->items.begin() + static_cast<std::ptrdiff_t>(place.index));
    if (destroy && sub)
        Store().Destroy(sub);
    return TRUE;
}

}  // namespace

HMENU CreateMenu()
{
    return Store().Create(false);
}

HMENU CreatePopupMenu()
{
    return Store().Create(true);
}

BOOL DestroyMenu(HMENU menu)
{
    Lock lock(Store().Mutex());
    return Store().Destroy(menu) ? TRUE : FALSE;
}

BOOL IsMenu(HMENU menu)
{
    Lock lock(Store().Mutex());
    return Store().Find(menu) ? TRUE : FALSE;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text)
{
    return InsertMenuW(menu, kNotFound, flags | MF_BYPOSITION, item, text);
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text)
{
    Lock lock(Store().Mutex());
    MenuEntry entry;
    if (!Store().Find(menu) || !MakeEntry(flags, item, text, entry))
        return FALSE;
    return Insert(menu, position, (flags & MF_BYPOSITION) != 0, std::move(entry));
}

BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text)
{
    Lock lock(Store().Mutex());
    MenuPlace place;
    MenuEntry entry;
    if (!Store().Locate(menu, position, (flags & MF_BYPOSITION) != 0, place) || !MakeEntry(flags, item, text, entry))
        return FALSE;
    // The sub-menu that the item opened goes with it, unless it stays.
    const HMENU oldSub = place.Entry().subMenu;
    place.Entry() = std::move(entry);
    if (oldSub != nullptr && oldSub != place.Entry().subMenu)
        Store().Destroy(oldSub);
    return TRUE;
}

BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info)
{
    if (!ValidItemInfo(info))
        return FALSE;
    Lock lock(Store().Mutex());
    MenuEntry entry;
    if (!Store().Find(menu) || !ApplyItemInfo(*info, entry))
        return FALSE;
    return Insert(menu, item, byPosition != FALSE, std::move(entry));
}

BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info)
{
    if (!ValidItemInfo(info))
        return FALSE;
    Lock lock(Store().Mutex());
    MenuPlace place;
    if (!Store().Locate(menu, item, byPosition != FALSE, place))
        return FALSE;
    const MenuEntry& entry = place.Entry();
    if (info->fMask & (MIIM_FTYPE | MIIM_TYPE))
        info->fType = entry.type;
    if (info->fMask & MIIM_STATE)
        info->fState = entry.state;
    if (info->fMask & MIIM_ID)
        info->wID = entry.id;
    if (info->fMask & MIIM_SUBMENU)
        info->hSubMenu = entry.subMenu;
    if (info->fMask & MIIM_CHECKMARKS) {
        info->hbmpChecked = entry.checkedMark;
        info->hbmpUnchecked = entry.uncheckedMark;
    }
    if (info->fMask & MIIM_DATA)
        info->dwItemData = entry.data;
    if ((info->fMask & MIIM_BITMAP) && info->cbSize == sizeof(MENUITEMINFOW))
        info->hbmpItem = entry.bitmap;
    if ((info->fMask & MIIM_STRING) || ((info->fMask & MIIM_TYPE) && IsStringType(entry.type)))
        CopyText(entry.text, *info);
    return TRUE;
}

BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info)
{
    if (!ValidItemInfo(info))
        return FALSE;
    Lock lock(Store().Mutex());
    MenuPlace place;
    if (!Store().Locate(menu, item, byPosition != FALSE, place))
        return FALSE;
    MenuEntry changed = place.Entry();
    if (!ApplyItemInfo(*info, changed))
        return FALSE;
    place.Entry() = std::move(changed);
    return TRUE;
}

int GetMenuItemCount(HMENU menu)
{
    Lock lock(Store().Mutex());
    auto object = Store().Find(menu);
    return object ? static_cast<int>(object->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position)
{
    Lock lock(Store().Mutex());
    MenuPlace place;
    if (!AtPosition(menu, position, place) || place.Entry().subMenu)
        return kNotFound;
    return place.Entry().id;
}

HMENU GetSubMenu(HMENU menu, int position)
{
    Lock lock(Store().Mutex());
    MenuPlace place;
    return AtPosition(menu, position, place) ? place.Entry().subMenu : nullptr;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags)
{
    UINT previous = 0;
    HWND windowOf = nullptr;
    {
        Lock lock(Store().Mutex());
        MenuPlace place;
        if (!Store().Locate(menu, item, (flags & MF_BYPOSITION) != 0, place))
            return -1;
        UINT& state = place.Entry().state;
        previous = state & (MF_GRAYED | MF_DISABLED);
        state = (state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
        windowOf = place.menu->windowOf;
    }
    // A window menu's Close shows on the caption's close button.
    if (windowOf != nullptr && previous != (flags & (MF_GRAYED | MF_DISABLED)))
        RedrawWindow(windowOf, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return static_cast<BOOL>(previous);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags)
{
    Lock lock(Store().Mutex());
    MenuPlace place;
    if (!Store().Locate(menu, item, (flags & MF_BYPOSITION) != 0, place))
        return static_cast<DWORD>(-1);
    UINT& state = place.Entry().state;
    const UINT previous = state & MF_CHECKED;
    state = (state & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
    Lock lock(Store().Mutex());
    MenuPlace place;
    if (!Store().Locate(menu, item, (flags & MF_BYPOSITION) != 0, place))
        return kNotFound;
    const MenuEntry& entry = place.Entry();
    UINT state = entry.type | entry.state;
    if (entry.subMenu) {
        const auto sub = Store().Find(entry.subMenu);
        state = (state & 0xFF) | MF_POPUP | (sub ? static_cast<UINT>(std::min<std::size_t>(sub->items.size(), 0xFF)) << 8 : 0);
    }
    return state;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition)
{
    Lock lock(Store().Mutex());
    auto object = Store().Find(menu);
    if (!object)
        return FALSE;
    const bool clear = item == kNotFound;
    if (!clear) {
        const bool found = byPosition ? item < object->items.size()
                                      : std::any_of(object->items.begin(), object->items.end(),
                                                    [item](const MenuEntry& e) { return !e.subMenu && e.id == item; });
        if (!found) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
    }
    for (std::size_t i = 0; i < object->items.size(); ++i) {
        MenuEntry& entry = object->items[i];
        const bool chosen = !clear && (byPosition ? i == item : (!entry.subMenu && entry.id == item));
        entry.state = chosen ? (entry.state | MFS_DEFAULT) : (entry.state & ~MFS_DEFAULT);
    }
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT)
{
    Lock lock(Store().Mutex());
    auto object = Store().Find(menu);
    if (!object)
        return kNotFound;
    for (std::size_t i = 0; i < object->items.size(); ++i) {
        const MenuEntry& entry = object->items[i];
        if (entry.state & MFS_DEFAULT)
            return byPosition ? static_cast<UINT>(i) : (entry.subMenu ? kNotFound : entry.id);
    }
    return kNotFound;
}

BOOL SetMenuItemBitmaps(HMENU menu, UINT item, UINT flags, HBITMAP unchecked, HBITMAP checked)
{
    Lock lock(Store().Mutex());
    MenuPlace place;
    if (!Store().Locate(menu, item, (flags & MF_BYPOSITION) != 0, place))
        return FALSE;
    place.Entry().uncheckedMark = unchecked;
    place.Entry().checkedMark = checked;
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT item, UINT flags)
{
    return Take(menu, item, flags, true);
}

BOOL RemoveMenu(HMENU menu, UINT item, UINT flags)
{
    return Take(menu, item, flags, false);
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int max, UINT flags)
{
    Lock lock(Store().Mutex());
    MenuPlace place;
    if (!Store().Locate(menu, item, (flags & MF_BYPOSITION) != 0, place))
        return 0;
    const std::wstring& text = place.Entry().text;
    if (!buffer || max <= 0)
        return static_cast<int>(text.size());
    const std::size_t count = std::min<std::size_t>(text.size(), static_cast<std::size_t>(max - 1));
    std::wmemcpy(buffer, text.c_str(), count);
    buffer[count] = L'\0';
    return static_cast<int>(count);
}
