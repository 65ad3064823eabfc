#pragma once
// Menus: handles to item lists that menu bars, pop-ups and the system menu
// are built from, made by hand or loaded from menu templates. Items are
// found by command (MF_BYCOMMAND, which also searches the sub-menus) or by
// position (MF_BYPOSITION). Destroying a menu destroys its sub-menus;
// RemoveMenu takes an item out without destroying its sub-menu.
#include "Platform/Base/Types.h"
#include "Platform/Base/WinError.h"
#include "Platform/Gdi/GdiTypes.h"

constexpr DWORD ERROR_MENU_ITEM_NOT_FOUND = 1456;

constexpr UINT MF_INSERT = 0x0000;
constexpr UINT MF_CHANGE = 0x0080;
constexpr UINT MF_APPEND = 0x0100;
constexpr UINT MF_DELETE = 0x0200;
constexpr UINT MF_REMOVE = 0x1000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_USECHECKBITMAPS = 0x0200;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_UNHILITE = 0x0000;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_HELP = 0x4000;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
constexpr UINT MF_MOUSESELECT = 0x8000;
constexpr UINT MF_END = 0x0080;

constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_BITMAP = MF_BITMAP;
constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RIGHTORDER = 0x2000;
constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;

constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_UNHILITE = MF_UNHILITE;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_CHECKMARKS = 0x0008;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;

struct MENUITEMINFOW {
    UINT cbSize = sizeof(MENUITEMINFOW);
    UINT fMask = 0;
    UINT fType = 0;
    UINT fState = 0;
    UINT wID = 0;
    HMENU hSubMenu = nullptr;
    HBITMAP hbmpChecked = nullptr;
    HBITMAP hbmpUnchecked = nullptr;
    ULONG_PTR dwItemData = 0;
    LPWSTR dwTypeData = nullptr;
    UINT cch = 0;
    HBITMAP hbmpItem = nullptr;
};
using MENUITEMINFO = MENUITEMINFOW;
using LPMENUITEMINFOW = MENUITEMINFOW*;
using LPCMENUITEMINFOW = const MENUITEMINFOW*;
using LPMENUITEMINFO = MENUITEMINFOW*;
using LPCMENUITEMINFO = const MENUITEMINFOW*;

HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// `item` is the command, or the sub-menu's handle with MF_POPUP.
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text);
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text);
BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
// Replaces the item (found as MF_BYCOMMAND or MF_BYPOSITION say) with the
// one the flags describe; a sub-menu the item opened is destroyed.
BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text);
BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info);
BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
int GetMenuItemCount(HMENU menu);
// -1 for a pop-up item or a position past the end.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// The previous MF_ENABLED/MF_GRAYED/MF_DISABLED, or -1 for a missing item.
BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags);
// The previous MF_CHECKED/MF_UNCHECKED, or -1 for a missing item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
// The item's MF_ flags (with the sub-menu's item count in the high byte
// for a pop-up), or -1 for a missing item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// One item at most is the default (MFS_DEFAULT); -1 clears it.
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
// The default item's command or position, or -1 when there is none.
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
// The marks a checked and an unchecked item show instead of the check mark.
BOOL SetMenuItemBitmaps(HMENU menu, UINT item, UINT flags, HBITMAP unchecked, HBITMAP checked);
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT item, UINT flags);
// The characters copied (at most max - 1), or the length with a null buffer.
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int max, UINT flags);
// A menu template (plain or extended) from memory; the menu is the caller's.
HMENU LoadMenuIndirectW(const void* menuTemplate);
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);

#define AppendMenu AppendMenuW
#define InsertMenu InsertMenuW
#define ModifyMenu ModifyMenuW
#define InsertMenuItem InsertMenuItemW
#define GetMenuItemInfo GetMenuItemInfoW
#define SetMenuItemInfo SetMenuItemInfoW
#define GetMenuString GetMenuStringW
#define LoadMenuIndirect LoadMenuIndirectW
#define LoadMenu LoadMenuW
