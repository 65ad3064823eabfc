// The program button's operations on the items of its drop-down menu.
#include "Common/Skin/ZellButton.h"

namespace ZELL::Skin {

namespace {

constexpr UINT kNoMenu = 1;

}

UINT CZellButton::CheckMenuItem(UINT item, BOOL check, UINT flags, BOOL setCaption)
{
    CZellMenu* drop = DropDownMenu();
    if (drop == nullptr)
        return kNoMenu;
    const UINT result = drop->CheckMenuItem(item, flags | (check ? MF_CHECKED : MF_UNCHECKED));
    const std::wstring text = drop->GetMenuText(item, flags);
    if (setCaption && !text.empty() && m_hWnd != nullptr)
        SetWindowText(text.c_str());
    return result;
}

UINT CZellButton::CheckMenuItemExclusive(UINT item, BOOL check, UINT flags, BOOL setCaption)
{
    CZellMenu* drop = DropDownMenu();
    if (drop == nullptr)
        return kNoMenu;
    for (int i = 0; i < drop->ItemCount(); ++i)
        drop->CheckMenuItem(static_cast<UINT>(i), MF_BYPOSITION | MF_UNCHECKED);
    return CheckMenuItem(item, check, flags, setCaption);
}

UINT CZellButton::MenuItemOperation(UINT item, UINT flags)
{
    CZellMenu* drop = DropDownMenu();
    return drop == nullptr ? kNoMenu : drop->DeleteItem(item, flags);
}

UINT CZellButton::EnableMenuItem(UINT item, BOOL enable, UINT flags)
{
    CZellMenu* drop = DropDownMenu();
    return drop == nullptr ? kNoMenu : drop->EnableMenuItem(item, flags | (enable ? MF_ENABLED : MF_GRAYED));
}

UINT CZellButton::SetMenuItemText(UINT item, LPCWSTR text, UINT flags)
{
    CZellMenu* drop = DropDownMenu();
    return drop == nullptr ? kNoMenu : drop->SetMenuText(item, text, flags);
}

}  // namespace ZELL::Skin
