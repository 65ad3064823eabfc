// The edit's context menu: opened by a right click and by the keyboard,
// its items greyed as the edit's state asks, and its commands carried out.
#include "EditTestSupport.h"

#include "Platform/Ui/Tests/MenuScript.h"

#include <gtest/gtest.h>


using namespace EditTest;

namespace {

// The edit subclassed, so that the test acts while the menu waits.
class EditMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_edit = AddEdit(m_scene, ES_AUTOHSCROLL, L"abc");
        ASSERT_NE(m_edit, nullptr);
        s_self = this;
        m_original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditMenuTest::Hook)));
    }
    void TearDown() override
    {
        SetWindowLongPtrW(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
        s_self = nullptr;
    }

    static LRESULT Hook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_ENTERIDLE && s_self->m_script.OnIdle(wParam, lParam))
            return 0;
        return CallWindowProcW(s_self->m_original, hwnd, message, wParam, lParam);
    }
    // The menu the edit shows, while it shows it.
    bool Greyed(UINT command) const
    {
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(m_script.MenuWindow(), MN_GETHMENU, 0, 0));
        m_menu = menu;
        return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }
    void RightClick(POINT client)
    {
        ClientToScreen(m_edit, &client);
        Scene::Display().InjectMouseMove(client);
        Scene::Display().InjectMouseDown(Display::MouseButton::Right, client);
        Scene::Display().InjectMouseUp(Display::MouseButton::Right, client);
        UiTest::Drain();
    }

    static inline EditMenuTest* s_self = nullptr;
    Scene m_scene;
    HWND m_edit = nullptr;
    WNDPROC m_original = nullptr;
    mutable HMENU m_menu = nullptr;
    UiTest::CMenuScript m_script;
};

TEST_F(EditMenuTest, ARightClickOffersPasteAndPasteInsertsTheClipboardText)
{
    PutOnClipboard(L"XYZ");
    SetFocus(m_edit);
    Send(m_edit, EM_SETSEL, 3, 3);
    bool undoGreyed = false;
    bool cutGreyed = false;
    bool pasteGreyed = true;
    bool selectAllGreyed = true;
    m_script.Add([&] {
        undoGreyed = Greyed(WM_UNDO);
        cutGreyed = Greyed(WM_CUT);
        pasteGreyed = Greyed(WM_PASTE);
        selectAllGreyed = Greyed(EM_SETSEL);
        UiTest::CDialogDriver(m_edit).Press('P');
    });
    RightClick(CharPoint(m_edit, 3));
    EXPECT_TRUE(undoGreyed);
    EXPECT_TRUE(cutGreyed);  // nothing selected
    EXPECT_FALSE(pasteGreyed);
    EXPECT_FALSE(selectAllGreyed);
    EXPECT_EQ(TextOf(m_edit), L"abcXYZ");
    EXPECT_FALSE(IsMenu(m_menu));  // the menu is the edit's, and gone again
}

TEST_F(EditMenuTest, ShiftF10OpensItAndSelectAllSelectsEverything)
{
    SetFocus(m_edit);
    Send(m_edit, EM_SETSEL, 1, 2);
    Type(L"Q");  // something to undo
    bool undoGreyed = true;
    bool copyGreyed = true;
    m_script.Add([&] {
        undoGreyed = Greyed(WM_UNDO);
        copyGreyed = Greyed(WM_COPY);
        UiTest::CDialogDriver(m_edit).Press('A');
    });
    Shift(m_scene, VK_F10);
    EXPECT_FALSE(undoGreyed);
    EXPECT_TRUE(copyGreyed);  // the typed letter replaced the selection
    EXPECT_EQ(Selection(m_edit), std::make_pair(0, 3));
    EXPECT_EQ(TextOf(m_edit), L"aQc");
}

TEST_F(EditMenuTest, AReadOnlyEditOffersCopyButNothingThatChangesIt)
{
    Send(m_edit, EM_SETREADONLY, TRUE);
    PutOnClipboard(L"XYZ");
    SetFocus(m_edit);
    Send(m_edit, EM_SETSEL, 0, 2);
    bool pasteGreyed = false;
    bool cutGreyed = false;
    bool deleteGreyed = false;
    bool copyGreyed = true;
    m_script.Add([&] {
        pasteGreyed = Greyed(WM_PASTE);
        cutGreyed = Greyed(WM_CUT);
        deleteGreyed = Greyed(WM_CLEAR);
        copyGreyed = Greyed(WM_COPY);
        UiTest::CDialogDriver(m_edit).Press('C');
    });
    m_scene.Key(VK_APPS);
    UiTest::Drain();
    EXPECT_TRUE(pasteGreyed);
    EXPECT_TRUE(cutGreyed);
    EXPECT_TRUE(deleteGreyed);
    EXPECT_FALSE(copyGreyed);
    EXPECT_EQ(ClipboardNow(), L"ab");
    EXPECT_EQ(TextOf(m_edit), L"abc");
}

}  // namespace
