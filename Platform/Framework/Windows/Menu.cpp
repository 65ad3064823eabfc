#include "Platform/Framework/Windows/Menu.h"

#include "Platform/Framework/Drawing/Bitmap.h"
#include "Platform/Framework/Core/PermanentHandleMap.h"
#include "Platform/Framework/Core/TempHandleMap.h"
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Ui/ResourceModule.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

using Menus = CPermanentHandleMap<CMenu>;

namespace {

LPCWSTR BitmapText(const CBitmap* bitmap)
{
    // MF_BITMAP items carry the bitmap where a text would be.
    return bitmap ? reinterpret_cast<LPCWSTR>(static_cast<HBITMAP>(*bitmap)) : nullptr;
}

HBITMAP BitmapOf(const CBitmap* bitmap)
{
    return bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr;
}

}  // namespace

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu)
{
    if (CMenu* owner = Menus::Find(menu))
        return owner;
    return CTempHandleMap<CMenu, HMENU, &CMenu::m_hMenu>::FromHandle(menu);
}

CMenu* CMenu::FromHandlePermanent(HMENU menu)
{
    return menu ? Menus::Find(menu) : nullptr;
}

BOOL CMenu::CreateMenu()
{
    return Menus::AttachMade(this, m_hMenu, ::CreateMenu(), &::DestroyMenu);
}

BOOL CMenu::CreatePopupMenu()
{
    return Menus::AttachMade(this, m_hMenu, ::CreatePopupMenu(), &::DestroyMenu);
}

BOOL CMenu::LoadMenu(UINT id)
{
    return LoadMenu(MAKEINTRESOURCEW(id));
}

BOOL CMenu::LoadMenu(LPCWSTR name)
{
    if (m_hMenu)
        return FALSE;
    return Menus::AttachMade(this, m_hMenu, ::LoadMenuW(Ui::GetResourceModule(), name), &::DestroyMenu);
}

BOOL CMenu::LoadMenuIndirect(const void* menuTemplate)
{
    if (m_hMenu)
        return FALSE;
    return Menus::AttachMade(this, m_hMenu, ::LoadMenuIndirectW(menuTemplate), &::DestroyMenu);
}

BOOL CMenu::Attach(HMENU menu)
{
    return Menus::Attach(this, m_hMenu, menu);
}

HMENU CMenu::Detach()
{
    return Menus::Detach(this, m_hMenu);
}

BOOL CMenu::DestroyMenu()
{
    const HMENU menu = Detach();
    return menu ? ::DestroyMenu(menu) : FALSE;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR item, const CBitmap* bitmap)
{
    return ::AppendMenuW(m_hMenu, flags | MF_BITMAP, item, BitmapText(bitmap));
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR item, const CBitmap* bitmap)
{
    return ::InsertMenuW(m_hMenu, position, flags | MF_BITMAP, item, BitmapText(bitmap));
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR item, const CBitmap* bitmap)
{
    return ::ModifyMenuW(m_hMenu, position, flags | MF_BITMAP, item, BitmapText(bitmap));
}

BOOL CMenu::SetMenuItemBitmaps(UINT position, UINT flags, const CBitmap* unchecked, const CBitmap* checked)
{
    return ::SetMenuItemBitmaps(m_hMenu, position, flags, BitmapOf(unchecked), BitmapOf(checked));
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const
{
    const int length = ::GetMenuStringW(m_hMenu, item, nullptr, 0, flags);
    if (length <= 0) {
        text.Empty();
        return 0;
    }
    const int copied = ::GetMenuStringW(m_hMenu, item, text.GetBuffer(length + 1), length + 1, flags);
    text.ReleaseBuffer(copied);
    return copied;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT)
{
    return ::TrackPopupMenuEx(m_hMenu, flags, x, y, owner ? owner->GetSafeHwnd() : nullptr, nullptr);
}

BOOL CMenu::TrackPopupMenuEx(UINT flags, int x, int y, CWnd* owner, LPTPMPARAMS params)
{
    return ::TrackPopupMenuEx(m_hMenu, flags, x, y, owner ? owner->GetSafeHwnd() : nullptr, params);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT)
{
}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT)
{
}
