// Menus made by hand and from templates, read back through the menu API.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/MenuTemplate.h"
#include "Platform/Ui/ResourceCompiler.h"
#include "Platform/Ui/Tests/ResourceTestIds.h"
#include "Platform/Ui/WinUser.h"

#include <gtest/gtest.h>

#include <string>

using namespace ResourceTest;

namespace {

std::wstring Text(HMENU menu, UINT item, UINT flags)
{
    wchar_t buffer[64];
    const int length = GetMenuStringW(menu, item, buffer, 64, flags);
    return std::wstring(buffer, static_cast<std::size_t>(length));
}

class Template {
public:
    void Word(unsigned value)
    {
        m_bytes.push_back(static_cast<BYTE>(value & 0xFF));
        m_bytes.push_back(static_cast<BYTE>((value >> 8) & 0xFF));
    }
    void Dword(DWORD value)
    {
        Word(value & 0xFFFF);
        Word(value >> 16);
    }
    void Text(const char* text)
    {
        for (; *text; ++text)
            Word(static_cast<unsigned char>(*text));
        Word(0);
    }
    void Align()
    {
        while (m_bytes.size() % 4)
            m_bytes.push_back(0);
    }
    std::vector<BYTE> m_bytes;
};

}  // namespace

TEST(MenuResources, ATableMenuLoadsWithItsPopupsFlagsAndTexts)
{
    HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCEW(kMenu));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(Text(menu, 0, MF_BYPOSITION), L"&File");
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(-1)); // a pop-up
    EXPECT_EQ(GetMenuItemID(menu, 2), static_cast<UINT>(kHelp));
    EXPECT_TRUE(GetMenuState(menu, kHelp, MF_BYCOMMAND) & MF_HELP);

    HMENU file = GetSubMenu(menu, 0);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(Text(file, kOpen, MF_BYCOMMAND), L"&Open...\tCtrl+O");
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(menu, kExit, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);

    // By command reaches into sub-menus of sub-menus.
    EXPECT_EQ(Text(menu, kDeep, MF_BYCOMMAND), L"&Deep");
    EXPECT_EQ(CheckMenuItem(menu, kWrap, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(GetMenuState(menu, kWrap, MF_BYCOMMAND) & MF_CHECKED, 0u);
    HMENU edit = GetSubMenu(menu, 1);
    EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION) >> 8, 2u); // a pop-up's item count
    HMENU more = GetSubMenu(edit, 1);
    ASSERT_TRUE(IsMenu(more));
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(more)); // gone with its parent
    EXPECT_FALSE(IsMenu(file));
}

TEST(MenuResources, TemplatesOfBothVersionsAndBrokenOnesRefused)
{
    const std::vector<BYTE> plain = Ui::CResourceCompiler::MenuTemplate({
        {.text = L"&View", .items = {{1, L"&Zoom", MF_CHECKED}, {2, L"&Grid"}}},
        {3, L"&Quit"},
    });
    HMENU menu = LoadMenuIndirectW(plain.data());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 2);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 2);
    EXPECT_EQ(GetMenuState(menu, 1, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    DestroyMenu(menu);

    Template extended;
    extended.Word(1);
    extended.Word(4);
    extended.Dword(0);                     // help id
    extended.Dword(0);                     // a pop-up
    extended.Dword(0);
    extended.Dword(0);
    extended.Word(0x01);
    extended.Text("&Tools");
    extended.Align();
    extended.Dword(0);                     // its help id
    extended.Dword(MFT_RADIOCHECK);
    extended.Dword(MFS_CHECKED | MFS_DEFAULT);
    extended.Dword(70000);                 // ids are 32 bits wide here
    extended.Word(0x80);
    extended.Text("&Radio");
    extended.Align();
    extended.Dword(MFT_STRING);            // the last top item
    extended.Dword(MFS_GRAYED);
    extended.Dword(8);
    extended.Word(0x80);
    extended.Text("&Last");
    extended.Align();
    menu = Ui::ParseMenuTemplate(extended.m_bytes.data(), extended.m_bytes.size());
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    MENUITEMINFOW info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(GetSubMenu(menu, 0), 0, TRUE, &info));
    EXPECT_EQ(info.fType, MFT_RADIOCHECK);
    EXPECT_EQ(info.fState, MFS_CHECKED | MFS_DEFAULT);
    EXPECT_EQ(info.wID, 70000u);
    EXPECT_EQ(GetMenuState(menu, 8, MF_BYCOMMAND) & MFS_GRAYED, MFS_GRAYED);
    DestroyMenu(menu);

    // Cut anywhere, the template is refused and nothing is left behind.
    for (std::size_t size = 0; size < extended.m_bytes.size() - 2; size += 2) {
        EXPECT_EQ(Ui::ParseMenuTemplate(extended.m_bytes.data(), size), nullptr) << size;
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    }
    Template deep;
    deep.Word(0);
    deep.Word(0);
    for (int level = 0; level < 40; ++level) {
        deep.Word(MF_POPUP | MF_END);
        deep.Text("x");
    }
    EXPECT_EQ(Ui::ParseMenuTemplate(deep.m_bytes.data(), deep.m_bytes.size()), nullptr);
    // A bitmap flag in a template does not turn its text into a handle.
    Template bitmap;
    bitmap.Word(0);
    bitmap.Word(0);
    bitmap.Word(MF_BITMAP | MF_END);
    bitmap.Word(5);
    bitmap.Text("Picture");
    menu = Ui::ParseMenuTemplate(bitmap.m_bytes.data(), bitmap.m_bytes.size());
    ASSERT_NE(menu, nullptr);
    MENUITEMINFOW picture;
    picture.fMask = MIIM_BITMAP | MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 5, FALSE, &picture));
    EXPECT_EQ(picture.hbmpItem, nullptr);
    EXPECT_EQ(picture.fType & MFT_BITMAP, 0u);
    DestroyMenu(menu);
    const BYTE version2[] = {2, 0, 0, 0, 0x80, 0, 1, 0, 0, 0};
    EXPECT_EQ(Ui::ParseMenuTemplate(version2, sizeof version2), nullptr);
}

TEST(Menus, ItemsAddedChangedAndTakenOut)
{
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(popup, MF_STRING, 10, L"&One"));
    ASSERT_TRUE(AppendMenuW(popup, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(InsertMenuW(popup, 0, MF_BYPOSITION | MF_GRAYED, 11, L"&Zero"));
    ASSERT_TRUE(AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"&Menu"));
    EXPECT_EQ(GetMenuItemID(popup, 0), 11u);
    EXPECT_EQ(GetMenuItemID(popup, 2), 0u); // a separator
    EXPECT_EQ(GetMenuItemID(popup, 3), static_cast<UINT>(-1));
    EXPECT_EQ(GetSubMenu(bar, 0), popup);

    EXPECT_EQ(EnableMenuItem(bar, 11, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
    EXPECT_EQ(EnableMenuItem(bar, 11, MF_BYCOMMAND | MF_GRAYED), static_cast<BOOL>(MF_ENABLED));
    EXPECT_EQ(EnableMenuItem(bar, 99, MF_BYCOMMAND | MF_GRAYED), -1);
    EXPECT_EQ(CheckMenuItem(bar, 99, MF_CHECKED), static_cast<DWORD>(-1));

    MENUITEMINFOW info;
    info.fMask = MIIM_STRING | MIIM_ID | MIIM_DATA;
    wchar_t text[] = L"&Two";
    info.dwTypeData = text;
    info.wID = 12;
    info.dwItemData = 0xABCD;
    ASSERT_TRUE(InsertMenuItemW(popup, 10, FALSE, &info)); // before the item of command 10
    EXPECT_EQ(GetMenuItemID(popup, 1), 12u);

    MENUITEMINFOW read;
    read.fMask = MIIM_STRING | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(bar, 12, FALSE, &read));
    EXPECT_EQ(read.cch, 4u); // the length when no buffer is given
    EXPECT_EQ(read.dwItemData, 0xABCDu);
    wchar_t small[3];
    read.dwTypeData = small;
    read.cch = 3;
    ASSERT_TRUE(GetMenuItemInfoW(bar, 12, FALSE, &read));
    EXPECT_STREQ(small, L"&T");
    EXPECT_EQ(read.cch, 2u);

    MENUITEMINFOW change;
    change.fMask = MIIM_STATE;
    change.fState = MFS_CHECKED;
    ASSERT_TRUE(SetMenuItemInfoW(popup, 1, TRUE, &change));
    EXPECT_EQ(GetMenuState(popup, 12, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(GetMenuStringW(popup, 12, nullptr, 0, MF_BYCOMMAND), 4);
    change.cbSize = 12;
    EXPECT_FALSE(SetMenuItemInfoW(popup, 1, TRUE, &change));

    EXPECT_TRUE(DeleteMenu(bar, 12, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(popup), 3);
    EXPECT_FALSE(DeleteMenu(bar, 12, MF_BYCOMMAND));
    EXPECT_EQ(GetLastError(), ERROR_MENU_ITEM_NOT_FOUND);

    // RemoveMenu leaves the sub-menu alive; DeleteMenu would destroy it.
    EXPECT_TRUE(RemoveMenu(bar, 0, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(bar), 0);
    EXPECT_TRUE(IsMenu(popup));
    EXPECT_TRUE(DestroyMenu(popup));
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(DestroyMenu(bar));
    EXPECT_EQ(GetMenuItemCount(bar), -1);
    EXPECT_FALSE(AppendMenuW(bar, MF_STRING, 1, L"x"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
}

TEST(Menus, OneDefaultItemAtMost)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 0xF120, L"&Restore");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 0xF060, L"&Close\tAlt+F4");
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(-1));
    ASSERT_TRUE(SetMenuDefaultItem(menu, 0xF060, FALSE));
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 0xF060u);
    EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 2u);
    ASSERT_TRUE(SetMenuDefaultItem(menu, 0, TRUE));
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 0xF120u);
    EXPECT_EQ(GetMenuState(menu, 0xF060, MF_BYCOMMAND) & MF_DEFAULT, 0u);
    EXPECT_FALSE(SetMenuDefaultItem(menu, 0x1234, FALSE));
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 0xF120u); // a failed change keeps the default
    ASSERT_TRUE(SetMenuDefaultItem(menu, static_cast<UINT>(-1), FALSE));
    EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), static_cast<UINT>(-1));
    DestroyMenu(menu);
}

TEST(Menus, AMenuPutIntoItselfDoesNotHangTheSearch)
{
    HMENU popup = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"Loop"));
    EXPECT_EQ(GetMenuState(popup, 42, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_TRUE(DestroyMenu(popup));
    EXPECT_FALSE(IsMenu(popup));
}
