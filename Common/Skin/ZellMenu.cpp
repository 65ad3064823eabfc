// The owner-drawn menu's items: appending, inserting, changing and removing
// them, finding them by command or text, and keeping the item data in step
// with the platform menu.
#include "Common/Skin/ZellMenu.h"

#include "Platform/Framework/Drawing/Bitmap.h"
#include "Platform/Ui/PopupMenu.h"

#include <algorithm>
#include <cwctype>
#include <unordered_map>

namespace ZELL::Skin {

namespace {

constexpr UINT kAppend = static_cast<UINT>(-1);

std::wstring Lower(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

// The flags an item is made with: command 0 is always a separator.
UINT ItemFlags(UINT flags, UINT_PTR command)
{
    return command == 0 ? (flags & MF_BYPOSITION) | MF_SEPARATOR | MF_OWNERDRAW : flags | MF_OWNERDRAW;
}

constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED;

// The MF_ flags a platform item shows, as this menu keeps them.
UINT FlagsOf(const MENUITEMINFOW& info)
{
    constexpr UINT kKeptType = MFT_SEPARATOR | MFT_RADIOCHECK | MFT_MENUBREAK | MFT_MENUBARBREAK;
    UINT flags = (info.fType & kKeptType) | (info.fState & kStateFlags) | MF_OWNERDRAW;
    if (info.hSubMenu != nullptr)
        flags |= MF_POPUP;
    return flags;
}

}

CZellMenu::CZellMenu() = default;

CZellMenu::~CZellMenu()
{
    DestroyMenu();
}

BOOL CZellMenu::AppendODMenu(LPCWSTR text, UINT flags, UINT_PTR command, int imageId)
{
    return InsertItem(-1, text, flags, command, ImageSource{.resourceId = imageId});
}

BOOL CZellMenu::AppendODMenu(LPCWSTR text, UINT flags, UINT_PTR command, CImageList* images, int index)
{
    return InsertItem(-1, text, flags, command, ImageSource{.list = images, .listIndex = index});
}

BOOL CZellMenu::AppendODMenu(LPCWSTR text, UINT flags, UINT_PTR command, CBitmap* bitmap)
{
    return InsertItem(-1, text, flags, command, ImageSource{.bitmap = bitmap});
}

BOOL CZellMenu::InsertODMenu(UINT position, LPCWSTR text, UINT flags, UINT_PTR command, int imageId)
{
    return InsertAt(position, text, flags, command, ImageSource{.resourceId = imageId});
}

BOOL CZellMenu::InsertODMenu(UINT position, LPCWSTR text, UINT flags, UINT_PTR command, CImageList* images, int index)
{
    return InsertAt(position, text, flags, command, ImageSource{.list = images, .listIndex = index});
}

BOOL CZellMenu::InsertODMenu(UINT position, LPCWSTR text, UINT flags, UINT_PTR command, CBitmap* bitmap)
{
    return InsertAt(position, text, flags, command, ImageSource{.bitmap = bitmap});
}

BOOL CZellMenu::InsertAt(UINT position, LPCWSTR text, UINT flags, UINT_PTR command, const ImageSource& image)
{
    if ((flags & MF_BYPOSITION) != 0 || position == kAppend) {
        const bool append = position == kAppend || static_cast<int>(position) >= ItemCount();
        return InsertItem(append ? -1 : static_cast<int>(position), text, flags & ~MF_BYPOSITION, command, image);
    }
    int found = -1;
    CZellMenu* holder = FindCommand(position, found);
    return holder != nullptr ? holder->InsertItem(found, text, flags, command, image) : FALSE;
}

BOOL CZellMenu::InsertItem(int position, LPCWSTR text, UINT flags, UINT_PTR command, const ImageSource& image)
{
    if (m_hMenu == nullptr && !CreatePopupMenu())
        return FALSE;
    flags = ItemFlags(flags, command);
    auto data = std::make_unique<CZellMenuData>();
    data->text = text != nullptr ? text : L"";
    data->flags = flags;
    data->command = command;
    const BOOL imaged = image.Given() ? GiveImage(*data, image) : TRUE;
    if (!image.Given() && (flags & (MF_POPUP | MF_SEPARATOR)) == 0)
        data->globalImageIndex = GlobalImageOf(command);
    const auto* asText = reinterpret_cast<LPCWSTR>(data.get());
    const BOOL made = position < 0 ? ::AppendMenuW(m_hMenu, flags & ~MF_BYPOSITION, command, asText)
                                   : ::InsertMenuW(m_hMenu, static_cast<UINT>(position), flags | MF_BYPOSITION, command, asText);
    if (!made)
        return FALSE;
    m_items.insert(position < 0 ? m_items.end() : m_items.begin() + position, std::move(data));
    if (m_autoSynchronize)
        SynchronizeMenu();
    return imaged;
}

BOOL CZellMenu::ModifyODMenu(LPCWSTR text, UINT_PTR command, int imageId)
{
    return ModifyItem(text, FindCommandData(command), ImageSource{.resourceId = imageId});
}

BOOL CZellMenu::ModifyODMenu(LPCWSTR text, UINT_PTR command, CImageList* images, int index)
{
    return ModifyItem(text, FindCommandData(command), ImageSource{.list = images, .listIndex = index});
}

BOOL CZellMenu::ModifyODMenu(LPCWSTR text, UINT_PTR command, CBitmap* bitmap)
{
    return ModifyItem(text, FindCommandData(command), ImageSource{.bitmap = bitmap});
}

BOOL CZellMenu::ModifyODMenu(LPCWSTR text, LPCWSTR match, int imageId)
{
    return ModifyItem(text, FindText(match), ImageSource{.resourceId = imageId});
}

BOOL CZellMenu::ModifyODMenu(LPCWSTR text, LPCWSTR match, CImageList* images, int index)
{
    return ModifyItem(text, FindText(match), ImageSource{.list = images, .listIndex = index});
}

BOOL CZellMenu::ModifyODMenu(LPCWSTR text, LPCWSTR match, CBitmap* bitmap)
{
    return ModifyItem(text, FindText(match), ImageSource{.bitmap = bitmap});
}

BOOL CZellMenu::ModifyItem(LPCWSTR text, CZellMenuData* data, const ImageSource& image)
{
    if (data == nullptr)
        return FALSE;
    if (text != nullptr)
        data->text = text;
    data->images.reset();
    data->imageIndex = -1;
    if (!image.Given()) {
        data->globalImageIndex = -1;
        return TRUE;
    }
    return GiveImage(*data, image);
}

CZellMenu* CZellMenu::FindCommand(UINT_PTR command, int& position)
{
    position = ItemPosition(command);
    if (position >= 0)
        return this;
    for (const auto& popup : m_popups) {
        if (CZellMenu* holder = popup->FindCommand(command, position); holder != nullptr)
            return holder;
    }
    return nullptr;
}

CZellMenuData* CZellMenu::FindCommandData(UINT_PTR command)
{
    int position = -1;
    CZellMenu* holder = FindCommand(command, position);
    return holder != nullptr ? holder->m_items[static_cast<std::size_t>(position)].get() : nullptr;
}

CZellMenuData* CZellMenu::FindText(LPCWSTR text)
{
    if (text == nullptr)
        return nullptr;
    for (const auto& item : m_items) {
        if (item->text == text)
            return item.get();
    }
    for (const auto& popup : m_popups) {
        if (CZellMenuData* data = popup->FindText(text); data != nullptr)
            return data;
    }
    return nullptr;
}

CZellMenu* CZellMenu::AppendPopup(LPCWSTR text)
{
    auto popup = std::make_unique<CZellMenu>();
    if (!popup->CreatePopupMenu())
        return nullptr;
    if (m_hMenu == nullptr && !CreatePopupMenu())
        return nullptr;
    popup->m_checkMarks = m_checkMarks;
    popup->m_maskColour = m_maskColour;
    popup->m_maskColourGiven = m_maskColourGiven;
    popup->m_iconImages = m_iconImages;
    CZellMenu* made = popup.get();
    m_popups.push_back(std::move(popup));
    if (!AppendODMenu(text, MF_POPUP, reinterpret_cast<UINT_PTR>(made->m_hMenu))) {
        m_popups.pop_back();
        return nullptr;
    }
    return made;
}

BOOL CZellMenu::LoadMenu(UINT id)
{
    CMenu loaded;
    if (!loaded.LoadMenu(id))
        return FALSE;
    DestroyMenu();
    if (!CreatePopupMenu())
        return FALSE;
    CopyItems(loaded.GetSafeHmenu());
    return TRUE;
}

void CZellMenu::CopyItems(HMENU source)
{
    constexpr UINT kKeptState = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MFT_RADIOCHECK;
    const int count = ::GetMenuItemCount(source);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        ::GetMenuStringW(source, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        if (HMENU sub = ::GetSubMenu(source, i); sub != nullptr) {
            if (CZellMenu* popup = AppendPopup(text); popup != nullptr)
                popup->CopyItems(sub);
            continue;
        }
        const UINT state = ::GetMenuState(source, static_cast<UINT>(i), MF_BYPOSITION) & kKeptState;
        AppendODMenu(text, MF_STRING | state, ::GetMenuItemID(source, i));
    }
}

CZellMenu* CZellMenu::GetSubMenu(int position) const
{
    const CZellMenuData* data = ItemData(position);
    if (data == nullptr || !data->IsPopup())
        return nullptr;
    const auto handle = reinterpret_cast<HMENU>(data->command);
    for (const auto& popup : m_popups) {
        if (popup->m_hMenu == handle)
            return popup.get();
    }
    return nullptr;
}

const CZellMenuData* CZellMenu::ItemData(int position) const
{
    return position >= 0 && position < ItemCount() ? m_items[static_cast<std::size_t>(position)].get() : nullptr;
}

int CZellMenu::ItemPosition(UINT_PTR command) const
{
    for (int i = 0; i < ItemCount(); ++i) {
        const CZellMenuData& data = *m_items[static_cast<std::size_t>(i)];
        if (data.command == command && !data.IsPopup())
            return i;
    }
    return -1;
}

int CZellMenu::FindItem(UINT item, UINT flags) const
{
    if ((flags & MF_BYPOSITION) == 0)
        return ItemPosition(item);
    return static_cast<int>(item) < ItemCount() ? static_cast<int>(item) : -1;
}

std::wstring CZellMenu::GetMenuText(UINT item, UINT flags) const
{
    const CZellMenuData* data = ItemData(FindItem(item, flags));
    return data != nullptr ? data->text : std::wstring();
}

BOOL CZellMenu::GetMenuText(UINT item, std::string& text, UINT flags) const
{
    const CZellMenuData* data = ItemData(FindItem(item, flags));
    text = data != nullptr ? CWideText::Narrow(data->text) : std::string();
    return data != nullptr;
}

CZellMenu* CZellMenu::FindHolder(UINT item, UINT flags, int& position)
{
    position = FindItem(item, flags);
    if (position >= 0)
        return this;
    return (flags & MF_BYPOSITION) == 0 ? FindCommand(item, position) : nullptr;
}

BOOL CZellMenu::SetMenuText(UINT item, LPCWSTR text, UINT flags)
{
    int position = -1;
    CZellMenu* holder = FindHolder(item, flags, position);
    if (holder == nullptr)
        return FALSE;
    holder->m_items[static_cast<std::size_t>(position)]->text = text != nullptr ? text : L"";
    return TRUE;
}

BOOL CZellMenu::DeleteItem(UINT item, UINT flags)
{
    int position = -1;
    CZellMenu* holder = FindHolder(item, flags, position);
    if (holder == nullptr)
        return FALSE;
    holder->RemoveItemAt(position);
    return TRUE;
}

void CZellMenu::RemoveItemAt(int position)
{
    const CZellMenuData& data = *m_items[static_cast<std::size_t>(position)];
    if (data.IsPopup()) {
        // The sub-menu object goes with its item; the menu handle with it.
        const auto handle = reinterpret_cast<HMENU>(data.command);
        ::RemoveMenu(m_hMenu, static_cast<UINT>(position), MF_BYPOSITION);
        std::erase_if(m_popups, [handle](const auto& popup) { return popup->m_hMenu == handle; });
    } else {
        ::DeleteMenu(m_hMenu, static_cast<UINT>(position), MF_BYPOSITION);
    }
    m_items.erase(m_items.begin() + position);
}

int CZellMenu::DeletePopup(LPCWSTR text, int kind)
{
    int position = -1;
    for (int i = 0; i < ItemCount() && position < 0; ++i) {
        const CZellMenuData& data = *m_items[static_cast<std::size_t>(i)];
        if (data.IsPopup() && text != nullptr && data.text == text)
            position = i;
    }
    if (position < 0)
        return -1;
    RemoveItemAt(position);
    // Only the items that are really there before it go with it.
    const int before = kind == 3 ? 2 : (kind == 1 || kind == 2) ? 1 : 0;
    for (int i = 1; i <= before && position - i >= 0; ++i)
        RemoveItemAt(position - i);
    return position;
}

void CZellMenu::SynchronizeMenu()
{
    if (m_hMenu == nullptr)
        return;
    std::unordered_map<const CZellMenuData*, std::unique_ptr<CZellMenuData>> known;
    for (auto& item : m_items)
        known.emplace(item.get(), std::move(item));
    m_items.clear();
    const int count = GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        if (!GetMenuItemInfo(static_cast<UINT>(i), &info, TRUE))
            continue;
        auto found = known.find(reinterpret_cast<const CZellMenuData*>(info.dwItemData));
        if (found != known.end() && (info.fType & MFT_OWNERDRAW) != 0) {
            // Checks and greying done through the plain calls show in the flags too.
            found->second->flags = (found->second->flags & ~kStateFlags) | (info.fState & kStateFlags);
            m_items.push_back(std::move(found->second));
            known.erase(found);
        } else if (auto adopted = AdoptItem(i); adopted != nullptr) {
            m_items.push_back(std::move(adopted));
        }
    }
    DropLostPopups();
}

std::unique_ptr<CZellMenuData> CZellMenu::AdoptItem(int position)
{
    MENUITEMINFOW info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfo(static_cast<UINT>(position), &info, TRUE))
        return nullptr;
    auto data = std::make_unique<CZellMenuData>();
    CString text;
    if ((info.fType & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_BITMAP)) == 0)
        GetMenuString(static_cast<UINT>(position), text, MF_BYPOSITION);
    data->text = static_cast<LPCWSTR>(text);
    data->flags = FlagsOf(info);
    data->command = info.hSubMenu != nullptr ? reinterpret_cast<UINT_PTR>(info.hSubMenu) : info.wID;
    if (!data->IsPopup() && !data->IsSeparator())
        data->globalImageIndex = GlobalImageOf(data->command);
    // Changed in place: a pop-up keeps its sub-menu, the item its state.
    if (!::ModifyMenuW(m_hMenu, static_cast<UINT>(position), data->flags | MF_BYPOSITION, data->command,
                       reinterpret_cast<LPCWSTR>(data.get())))
        return nullptr;
    return data;
}

void CZellMenu::DropLostPopups()
{
    // A pop-up whose item was deleted behind this object's back lost its
    // menu with it; the object must not destroy a handle that is gone.
    for (auto& popup : m_popups) {
        if (popup->m_hMenu != nullptr && !::IsMenu(popup->m_hMenu))
            popup->Detach();
    }
    std::erase_if(m_popups, [](const auto& popup) { return popup->m_hMenu == nullptr; });
}

BOOL CZellMenu::IsMenu(HMENU menu)
{
    return dynamic_cast<CZellMenu*>(CMenu::FromHandlePermanent(menu)) != nullptr;
}

LRESULT CZellMenu::FindKeyboardShortcut(UINT character, UINT flags, CMenu* menu)
{
    auto* zell = dynamic_cast<CZellMenu*>(menu);
    if (zell == nullptr || (flags & MF_POPUP) == 0)
        return 0;
    if (zell->GetMenuItemCount() != zell->ItemCount())
        zell->SynchronizeMenu();
    const std::wstring key = Lower(std::wstring(L"&") + static_cast<wchar_t>(character));
    for (int i = 0; i < zell->ItemCount(); ++i) {
        if (Lower(zell->m_items[static_cast<std::size_t>(i)]->text).find(key) != std::wstring::npos)
            return MAKELRESULT(i, MNC_EXECUTE);
    }
    return 0;
}

BOOL CZellMenu::DestroyMenu()
{
    m_items.clear();
    m_popups.clear();
    return CMenu::DestroyMenu();
}

}  // namespace ZELL::Skin
