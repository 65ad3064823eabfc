// CMenu: owning and temporary wrappers, the item operations through the
// object, a tracked pop-up whose items the owner's ON_UPDATE_COMMAND_UI
// handlers grey and check as it opens, and owner-drawn items that the owner
// window hands to the menu object they belong to.
#include "Platform/Framework/Core/CmdUI.h"
#include "Platform/Framework/Windows/Menu.h"
#include "Platform/Framework/Tests/FrameworkTestSupport.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/MenuScript.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr UINT kCut = 501;
constexpr UINT kPaste = 502;
constexpr UINT kWrap = 503;
constexpr UINT kLeft = 504;
constexpr UINT kRight = 505;

class CMenuOwner : public CWnd {
public:
    bool canPaste = false;
    bool wrapped = true;
    std::vector<UINT> commands;
    std::function<void()> onIdle;

protected:
    void OnUpdatePaste(CCmdUI* ui) { ui->Enable(canPaste); }
    void OnUpdateWrap(CCmdUI* ui) { ui->SetCheck(wrapped ? 1 : 0); }
    void OnCut() { commands.push_back(kCut); }
    LRESULT OnEnterIdle(WPARAM kind, LPARAM)
    {
        if (kind == MSGF_MENU && onIdle)
            onIdle();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuOwner, CWnd)
    ON_UPDATE_COMMAND_UI(kPaste, OnUpdatePaste)
    ON_UPDATE_COMMAND_UI(kWrap, OnUpdateWrap)
    ON_COMMAND(kCut, OnCut)
    ON_MESSAGE(WM_ENTERIDLE, OnEnterIdle)
END_MESSAGE_MAP()

class FrameworkMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"Menus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
        ::SetForegroundWindow(owner.m_hWnd);
        ::SetFocus(owner.m_hWnd);
        UiTest::Drain();
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendMenu(MF_STRING, kCut, L"Cu&t");
        menu.AppendMenu(MF_STRING, kPaste, L"&Paste");
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING, kWrap, L"&Wrap");
    }
    void TearDown() override
    {
        menu.DestroyMenu();
        owner.DestroyWindow();
        UiTest::Drain();
    }

    CMenuOwner owner;
    CMenu menu;
};

TEST_F(FrameworkMenu, UpdateHandlersGreyAndCheckTheItemsAsThePopupOpens)
{
    UINT pasteState = 0;
    UINT wrapState = 0;
    owner.onIdle = [&] {
        pasteState = menu.GetMenuState(kPaste, MF_BYCOMMAND);
        wrapState = menu.GetMenuState(kWrap, MF_BYCOMMAND);
        ::EndMenu();
    };
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 120, 120, &owner), 0);
    EXPECT_EQ(pasteState & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(wrapState & MF_CHECKED, MF_CHECKED);

    owner.canPaste = true;
    owner.wrapped = false;
    owner.onIdle = [&] {
        pasteState = menu.GetMenuState(kPaste, MF_BYCOMMAND);
        wrapState = menu.GetMenuState(kWrap, MF_BYCOMMAND);
        ::EndMenu();
    };
    menu.TrackPopupMenu(TPM_RETURNCMD, 120, 120, &owner);
    EXPECT_EQ(pasteState & MF_GRAYED, 0u);
    EXPECT_EQ(wrapState & MF_CHECKED, 0u);
}

TEST_F(FrameworkMenu, AChosenItemReachesTheOwnersCommandHandler)
{
    owner.onIdle = [&] { UiTest::CDialogDriver(owner.m_hWnd).Press('T'); };
    EXPECT_TRUE(menu.TrackPopupMenu(0, 120, 120, &owner));
    UiTest::Drain();
    EXPECT_EQ(owner.commands, std::vector<UINT>{kCut});
}

TEST_F(FrameworkMenu, OneOwnerPerHandleAndTemporaryWrappersNeverDestroy)
{
    EXPECT_EQ(CMenu::FromHandle(menu.m_hMenu), &menu);
    EXPECT_EQ(CMenu::FromHandlePermanent(menu.m_hMenu), &menu);
    CMenu second;
    EXPECT_FALSE(second.Attach(menu.m_hMenu));  // already owned

    HMENU loose = ::CreatePopupMenu();
    CMenu* temporary = CMenu::FromHandle(loose);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(CMenu::FromHandlePermanent(loose), nullptr);
    AfxDeleteTempObjects();
    EXPECT_TRUE(::IsMenu(loose));
    {
        CMenu owning;
        ASSERT_TRUE(owning.Attach(loose));
    }
    EXPECT_FALSE(::IsMenu(loose));
}

TEST_F(FrameworkMenu, ItemOperationsThroughTheObject)
{
    CString text;
    EXPECT_EQ(menu.GetMenuString(kPaste, text, MF_BYCOMMAND), 6);
    EXPECT_EQ(text, CString(L"&Paste"));
    EXPECT_EQ(menu.GetMenuItemCount(), 4);
    EXPECT_EQ(menu.GetMenuItemID(3), kWrap);

    CMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_STRING, kLeft, L"&Left");
    sub.AppendMenu(MF_STRING, kRight, L"&Right");
    const HMENU subHandle = sub.Detach();  // the parent owns it from here
    ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(subHandle), L"&Align"));
    EXPECT_EQ(menu.GetSubMenu(4)->m_hMenu, subHandle);
    EXPECT_TRUE(menu.CheckMenuRadioItem(kLeft, kRight, kRight, MF_BYCOMMAND));
    EXPECT_EQ(menu.GetMenuState(kRight, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(menu.GetMenuState(kLeft, MF_BYCOMMAND) & MF_CHECKED, 0u);
    MENUITEMINFOW info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(menu.GetMenuItemInfo(kRight, &info));
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);

    EXPECT_TRUE(menu.SetDefaultItem(kCut));
    EXPECT_EQ(menu.GetDefaultItem(0), kCut);
    EXPECT_TRUE(menu.ModifyMenu(kCut, MF_BYCOMMAND | MF_STRING, kCut, L"Cut &now"));
    EXPECT_EQ(menu.GetMenuString(kCut, text, MF_BYCOMMAND), 8);
    EXPECT_TRUE(menu.DeleteMenu(4, MF_BYPOSITION));
    EXPECT_FALSE(::IsMenu(subHandle));
    EXPECT_EQ(menu.EnableMenuItem(kWrap, MF_GRAYED), MF_ENABLED);
}

// A menu that measures its items by their data and notes what it is asked.
class CRecordingMenu : public CMenu {
public:
    std::vector<UINT> measured;
    std::vector<UINT> drawn;

    void MeasureItem(LPMEASUREITEMSTRUCT item) override
    {
        measured.push_back(item->itemID);
        item->itemWidth = 90;
        item->itemHeight = static_cast<UINT>(item->itemData);
    }
    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        if (item->itemAction == ODA_DRAWENTIRE)
            drawn.push_back(item->itemID);
    }
};

LPCWSTR Height(UINT_PTR height)
{
    return reinterpret_cast<LPCWSTR>(height);  // an owner-drawn item's data
}

TEST_F(FrameworkMenu, OwnerDrawnItemsAreMeasuredAndDrawnByTheMenuObjectTheyBelongTo)
{
    CRecordingMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_OWNERDRAW, kRight, Height(31));
    CRecordingMenu top;
    ASSERT_TRUE(top.CreatePopupMenu());
    ASSERT_TRUE(top.AppendMenu(MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub.m_hMenu), L"&Align"));
    top.AppendMenu(MF_OWNERDRAW, kLeft, Height(27));

    RECT leftRect{};
    RECT rightRect{};
    UiTest::CMenuScript script;
    owner.onIdle = [&] { script.OnIdle(MSGF_MENU, 0); };
    script.Key(owner.m_hWnd, VK_DOWN);
    script.Key(owner.m_hWnd, VK_RIGHT);
    script.Add([&] {
        ::GetMenuItemRect(owner.m_hWnd, top.m_hMenu, 1, &leftRect);
        ::GetMenuItemRect(owner.m_hWnd, sub.m_hMenu, 0, &rightRect);
        ::EndMenu();
    });
    EXPECT_EQ(top.TrackPopupMenu(TPM_RETURNCMD, 120, 120, &owner), 0);

    auto only = [](const std::vector<UINT>& ids, UINT id) {
        return !ids.empty() && std::all_of(ids.begin(), ids.end(), [id](UINT each) { return each == id; });
    };
    EXPECT_TRUE(only(top.measured, kLeft)) << "the string item is measured by the menu itself";
    EXPECT_TRUE(only(sub.measured, kRight)) << "the sub-menu's item goes to the sub-menu";
    EXPECT_EQ(leftRect.bottom - leftRect.top, 27);
    EXPECT_EQ(rightRect.bottom - rightRect.top, 31);
    EXPECT_NE(std::count(top.drawn.begin(), top.drawn.end(), kLeft), 0);
    EXPECT_NE(std::count(sub.drawn.begin(), sub.drawn.end(), kRight), 0);
    EXPECT_EQ(std::count(top.drawn.begin(), top.drawn.end(), kRight), 0);
    top.DestroyMenu();  // with the sub-menu it holds
    sub.Detach();
}

TEST_F(FrameworkMenu, OwnerDrawnItemsOfAMenuWithoutAnObjectKeepTheDefault)
{
    HMENU loose = ::CreatePopupMenu();
    ::AppendMenuW(loose, MF_OWNERDRAW, kLeft, Height(27));
    RECT itemRect{};
    owner.onIdle = [&] {
        ::GetMenuItemRect(owner.m_hWnd, loose, 0, &itemRect);
        ::EndMenu();
    };
    EXPECT_EQ(::TrackPopupMenuEx(loose, TPM_RETURNCMD, 120, 120, owner.m_hWnd, nullptr), 0);
    EXPECT_EQ(itemRect.bottom - itemRect.top, ::GetSystemMetrics(SM_CYMENU)) << "nobody measured it";
    ::DestroyMenu(loose);
}

}  // namespace
