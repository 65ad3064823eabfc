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
    bool m_bCanPaste = false;
    bool m_bWrapped = true;
    std::vector<UINT> m_arrCommands;
    std::function<void()> m_fnOnIdle;

protected:
    void OnUpdatePaste(CCmdUI* ui) { ui->Enable(m_bCanPaste); }
    void OnUpdateWrap(CCmdUI* ui) { ui->SetCheck(m_bWrapped ? 1 : 0); }
    void OnCut() { m_arrCommands.push_back(kCut); }
    LRESULT OnEnterIdle(WPARAM kind, LPARAM)
    {
        if (kind == MSGF_MENU && m_fnOnIdle)
            m_fnOnIdle();
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
        ASSERT_TRUE(m_wndOwner.CreateEx(0, nullptr, L"Menus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr));
        ::SetForegroundWindow(m_wndOwner.m_hWnd);
        ::SetFocus(m_wndOwner.m_hWnd);
        UiTest::Drain();
        ASSERT_TRUE(m_Menu.CreatePopupMenu());
        m_Menu.AppendMenu(MF_STRING, kCut, L"Cu&t");
        m_Menu.AppendMenu(MF_STRING, kPaste, L"&Paste");
        m_Menu.AppendMenu(MF_SEPARATOR);
        m_Menu.AppendMenu(MF_STRING, kWrap, L"&Wrap");
    }
    void TearDown() override
    {
        m_Menu.DestroyMenu();
        m_wndOwner.DestroyWindow();
        UiTest::Drain();
    }

    CMenuOwner m_wndOwner;
    CMenu m_Menu;
};

TEST_F(FrameworkMenu, UpdateHandlersGreyAndCheckTheItemsAsThePopupOpens)
{
    UINT pasteState = 0;
    UINT wrapState = 0;
    m_wndOwner.m_fnOnIdle = [&] {
        pasteState = m_Menu.GetMenuState(kPaste, MF_BYCOMMAND);
        wrapState = m_Menu.GetMenuState(kWrap, MF_BYCOMMAND);
        ::EndMenu();
    };
    EXPECT_EQ(m_Menu.TrackPopupMenu(TPM_RETURNCMD, 120, 120, &m_wndOwner), 0);
    EXPECT_EQ(pasteState & MF_GRAYED, MF_GRAYED);
    EXPECT_EQ(wrapState & MF_CHECKED, MF_CHECKED);

    m_wndOwner.m_bCanPaste = true;
    m_wndOwner.m_bWrapped = false;
    m_wndOwner.m_fnOnIdle = [&] {
        pasteState = m_Menu.GetMenuState(kPaste, MF_BYCOMMAND);
        wrapState = m_Menu.GetMenuState(kWrap, MF_BYCOMMAND);
        ::EndMenu();
    };
    m_Menu.TrackPopupMenu(TPM_RETURNCMD, 120, 120, &m_wndOwner);
    EXPECT_EQ(pasteState & MF_GRAYED, 0u);
    EXPECT_EQ(wrapState & MF_CHECKED, 0u);
}

TEST_F(FrameworkMenu, AChosenItemReachesTheOwnersCommandHandler)
{
    m_wndOwner.m_fnOnIdle = [&] { UiTest::CDialogDriver(m_wndOwner.m_hWnd).Press('T'); };
    EXPECT_TRUE(m_Menu.TrackPopupMenu(0, 120, 120, &m_wndOwner));
    UiTest::Drain();
    EXPECT_EQ(m_wndOwner.m_arrCommands, std::vector<UINT>{kCut});
}

TEST_F(FrameworkMenu, OneOwnerPerHandleAndTemporaryWrappersNeverDestroy)
{
    EXPECT_EQ(CMenu::FromHandle(m_Menu.m_hMenu), &m_Menu);
    EXPECT_EQ(CMenu::FromHandlePermanent(m_Menu.m_hMenu), &m_Menu);
    CMenu second;
    EXPECT_FALSE(second.Attach(m_Menu.m_hMenu));  // already owned

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
    EXPECT_EQ(m_Menu.GetMenuString(kPaste, text, MF_BYCOMMAND), 6);
    EXPECT_EQ(text, CString(L"&Paste"));
    EXPECT_EQ(m_Menu.GetMenuItemCount(), 4);
    EXPECT_EQ(m_Menu.GetMenuItemID(3), kWrap);

    CMenu sub;
    ASSERT_TRUE(sub.CreatePopupMenu());
    sub.AppendMenu(MF_STRING, kLeft, L"&Left");
    sub.AppendMenu(MF_STRING, kRight, L"&Right");
    const HMENU subHandle = sub.Detach();  // the parent owns it from here
    ASSERT_TRUE(m_Menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(subHandle), L"&Align"));
    EXPECT_EQ(m_Menu.GetSubMenu(4)->m_hMenu, subHandle);
    EXPECT_TRUE(m_Menu.CheckMenuRadioItem(kLeft, kRight, kRight, MF_BYCOMMAND));
    EXPECT_EQ(m_Menu.GetMenuState(kRight, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(m_Menu.GetMenuState(kLeft, MF_BYCOMMAND) & MF_CHECKED, 0u);
    MENUITEMINFOW info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(m_Menu.GetMenuItemInfo(kRight, &info));
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);

    EXPECT_TRUE(m_Menu.SetDefaultItem(kCut));
    EXPECT_EQ(m_Menu.GetDefaultItem(0), kCut);
    EXPECT_TRUE(m_Menu.ModifyMenu(kCut, MF_BYCOMMAND | MF_STRING, kCut, L"Cut &now"));
    EXPECT_EQ(m_Menu.GetMenuString(kCut, text, MF_BYCOMMAND), 8);
    EXPECT_TRUE(m_Menu.DeleteMenu(4, MF_BYPOSITION));
    EXPECT_FALSE(::IsMenu(subHandle));
    EXPECT_EQ(m_Menu.EnableMenuItem(kWrap, MF_GRAYED), MF_ENABLED);
}

// A menu that measures its items by their data and notes what it is asked.
class CRecordingMenu : public CMenu {
public:
    std::vector<UINT> m_arrMeasured;
    std::vector<UINT> m_arrDrawn;

    void MeasureItem(LPMEASUREITEMSTRUCT item) override
    {
        m_arrMeasured.push_back(item->itemID);
        item->itemWidth = 90;
        item->itemHeight = static_cast<UINT>(item->itemData);
    }
    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        if (item->itemAction == ODA_DRAWENTIRE)
            m_arrDrawn.push_back(item->itemID);
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
    m_wndOwner.m_fnOnIdle = [&] { script.OnIdle(MSGF_MENU, 0); };
    script.Key(m_wndOwner.m_hWnd, VK_DOWN);
    script.Key(m_wndOwner.m_hWnd, VK_RIGHT);
    script.Add([&] {
        ::GetMenuItemRect(m_wndOwner.m_hWnd, top.m_hMenu, 1, &leftRect);
        ::GetMenuItemRect(m_wndOwner.m_hWnd, sub.m_hMenu, 0, &rightRect);
        ::EndMenu();
    });
    EXPECT_EQ(top.TrackPopupMenu(TPM_RETURNCMD, 120, 120, &m_wndOwner), 0);

    auto only = [](const std::vector<UINT>& ids, UINT id) {
        return !ids.empty() && std::all_of(ids.begin(), ids.end(), [id](UINT each) { return each == id; });
    };
    EXPECT_TRUE(only(top.m_arrMeasured, kLeft)) << "the string item is measured by the menu itself";
    EXPECT_TRUE(only(sub.m_arrMeasured, kRight)) << "the sub-menu's item goes to the sub-menu";
    EXPECT_EQ(leftRect.bottom - leftRect.top, 27);
    EXPECT_EQ(rightRect.bottom - rightRect.top, 31);
    EXPECT_NE(std::count(top.m_arrDrawn.begin(), top.m_arrDrawn.end(), kLeft), 0);
    EXPECT_NE(std::count(sub.m_arrDrawn.begin(), sub.m_arrDrawn.end(), kRight), 0);
    EXPECT_EQ(std::count(top.m_arrDrawn.begin(), top.m_arrDrawn.end(), kRight), 0);
    top.DestroyMenu();  // with the sub-menu it holds
    sub.Detach();
}

TEST_F(FrameworkMenu, OwnerDrawnItemsOfAMenuWithoutAnObjectKeepTheDefault)
{
    HMENU loose = ::CreatePopupMenu();
    ::AppendMenuW(loose, MF_OWNERDRAW, kLeft, Height(27));
    RECT itemRect{};
    m_wndOwner.m_fnOnIdle = [&] {
        ::GetMenuItemRect(m_wndOwner.m_hWnd, loose, 0, &itemRect);
        ::EndMenu();
    };
    EXPECT_EQ(::TrackPopupMenuEx(loose, TPM_RETURNCMD, 120, 120, m_wndOwner.m_hWnd, nullptr), 0);
    EXPECT_EQ(itemRect.bottom - itemRect.top, ::GetSystemMetrics(SM_CYMENU)) << "nobody measured it";
    ::DestroyMenu(loose);
}

}  // namespace
