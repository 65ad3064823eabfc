#include "Platform/Framework/Controls/ToolTipCtrl.h"

#include "Platform/Framework/Tests/FrameworkTestSupport.h"

TEST(ToolTipCtrl, ToolsAreAddedRenamedAndRemoved)
{
    FrameworkTest::RegisterControls();
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, CWnd::DefaultClassName(), L"owner", WS_POPUP, 0, 0, 100, 40, nullptr, nullptr));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&owner, TTS_ALWAYSTIP));
    EXPECT_EQ(tip.GetToolCount(), 0);
    ASSERT_TRUE(tip.AddTool(&owner, L"first", nullptr, 1));
    EXPECT_EQ(tip.GetToolCount(), 1);
    CString text;
    tip.GetText(text, &owner, 1);
    EXPECT_EQ(text, CString(L"first"));
    tip.UpdateTipText(L"second", &owner, 1);
    tip.GetText(text, &owner, 1);
    EXPECT_EQ(text, CString(L"second"));
    tip.SetMaxTipWidth(400);
    EXPECT_EQ(tip.SendMessage(TTM_GETMAXTIPWIDTH), 400);
    tip.DelTool(&owner, 1);
    EXPECT_EQ(tip.GetToolCount(), 0);
    tip.GetText(text, &owner, 1);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(tip.AddTool(nullptr, L"x"));
    tip.DestroyWindow();
    owner.DestroyWindow();
}
