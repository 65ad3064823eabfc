// The balloon message: what shows it, what closes it, and that the library's
// end leaves no hook, timer or window class behind.
#include "Common/SystemHelper/Desktop/SystemInfo.h"
#include "Common/Tessel/BalloonMessage.h"
#include "Common/Tessel/MessageIcons.h"
#include "Common/Tessel/Tests/TesselTestSupport.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Base/Clock.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Controls/ToolTipStyles.h"
#include "Platform/Ui/Tests/DialogDriver.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

using namespace Tessel;
using UiTest::CDialogDriver;

namespace {

constexpr int kFieldId = 101;

class BalloonMessageTest : public TesselTest::CFreshLibrary {
protected:
    void SetUp() override
    {
        CFreshLibrary::SetUp();
        ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
        m_wasEnabled = SetBalloonTipsEnabled(true);
        m_parent.hwnd = UiTest::Create(&m_parentLog, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300);
        m_field = CreateWindowExW(0, L"Edit", L"300", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 40, 120, 24,
                                  m_parent.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFieldId)), nullptr,
                                  nullptr);
        SetActiveWindow(m_parent.hwnd);
        SetFocus(m_field);
        UiTest::Drain();
    }
    void TearDown() override
    {
        DestroyZELLBalloonMsg();
        UiTest::Drain();
        SetBalloonTipsEnabled(m_wasEnabled);
        CFreshLibrary::TearDown();
    }

    int ShowAtField(LPCWSTR text, BOOL centre = TRUE, UINT seconds = 0, BOOL subclass = TRUE,
                    LPCWSTR title = L"Invalid value")
    {
        return ZELLBalloonMsg(title, text, m_field, m_parent.hwnd, GetModuleHandleW(nullptr), ZELL_BALLOON_ICON_ERROR,
                              centre, seconds, nullptr, subclass);
    }
    static bool IsUp()
    {
        const CBalloonMessage& balloon = CBalloonMessage::Instance();
        return IsWindow(balloon.Tooltip()) && IsWindow(balloon.Host());
    }
    UiTest::Handler m_parentLog;
    UiTest::WindowGuard m_parent;
    HWND m_field = nullptr;
    bool m_wasEnabled = true;
};

}

TEST_F(BalloonMessageTest, ABalloonPointsAtTheFieldWithItsTitleTextAndHooks)
{
    EXPECT_EQ(ShowAtField(L"Enter a value from 1 to 255."), 0);
    ASSERT_TRUE(IsUp());
    const CBalloonMessage& balloon = CBalloonMessage::Instance();
    EXPECT_EQ(balloon.Text(), L"Enter a value from 1 to 255.");
    EXPECT_EQ(balloon.Title(), L"Invalid value");
    EXPECT_TRUE(balloon.HasHooks());
    EXPECT_EQ(balloon.TimerId(), 0u);
    EXPECT_NE(GetWindowLongPtrW(balloon.Tooltip(), GWL_STYLE) & TTS_BALLOON, 0);
    EXPECT_EQ(CMessageIcons::Instance().LoadedCount(), 1);
    // One balloon per process: the next one replaces it.
    const HWND first = balloon.Host();
    ShowAtField(L"Second");
    EXPECT_NE(balloon.Host(), first);
    EXPECT_FALSE(IsWindow(first));
    DestroyZELLBalloonMsg();
    EXPECT_FALSE(IsUp());
    EXPECT_FALSE(balloon.HasHooks());
}

TEST_F(BalloonMessageTest, BadArgumentsShowNothingButAMissingStringStillClosesTheLastBalloon)
{
    EXPECT_EQ(ZELLBalloonMsg(nullptr, nullptr, m_field, m_parent.hwnd, nullptr, 0, TRUE, 0, nullptr, TRUE), 0);
    EXPECT_FALSE(IsUp());
    EXPECT_EQ(ZELLBalloonMsg(nullptr, L"x", nullptr, m_parent.hwnd, nullptr, 0, TRUE, 0, nullptr, TRUE), 0);
    EXPECT_FALSE(IsUp());
    ShowAtField(L"Up");
    ASSERT_TRUE(IsUp());
    // String 4321 exists nowhere in this program.
    ShowAtField(MAKEINTRESOURCEW(4321));
    EXPECT_FALSE(IsUp());
    EXPECT_FALSE(CBalloonMessage::Instance().HasHooks());
}

TEST_F(BalloonMessageTest, TheModuleNameTitleDropsFolderAndExtension)
{
    ShowAtField(L"Text", TRUE, 0, TRUE, reinterpret_cast<LPCWSTR>(std::uintptr_t{0xFFFFFFFF}));
    EXPECT_EQ(CBalloonMessage::Instance().Title(), L"TesselTests");
    ShowAtField(L"Text", TRUE, 0, TRUE, nullptr);
    EXPECT_EQ(CBalloonMessage::Instance().Title(), L"");
    const std::wstring longTitle(600, L't');
    ShowAtField(L"Text", TRUE, 0, TRUE, longTitle.c_str());
    EXPECT_EQ(CBalloonMessage::Instance().Title().GetLength(), 498);
    const std::wstring longText(5000, L'x');
    ShowAtField(longText.c_str());
    EXPECT_EQ(CBalloonMessage::Instance().Text().GetLength(), 3998);
}

TEST_F(BalloonMessageTest, ShiftLeavesItUpEscapeClosesItUnseenOtherKeysCloseItAndGoOn)
{
    CDialogDriver driver(m_parent.hwnd);
    ShowAtField(L"Wrong");
    driver.Press(VK_SHIFT);
    driver.PumpUntilIdle();
    EXPECT_TRUE(IsUp());
    m_parentLog.Clear();
    driver.Press(VK_ESCAPE);
    driver.PumpUntilIdle();
    EXPECT_FALSE(IsUp());
    EXPECT_FALSE(CBalloonMessage::Instance().HasHooks());
    EXPECT_EQ(GetWindowTextLengthW(m_field), 3);

    ShowAtField(L"Wrong");
    driver.PumpUntilIdle();
    EXPECT_EQ(GetFocus(), m_field) << "the balloon leaves the keyboard with the field";
    driver.Press('7');
    driver.PumpUntilIdle();
    EXPECT_FALSE(IsUp());
    EXPECT_EQ(GetWindowTextLengthW(m_field), 4) << "the key that closed the balloon reached the field";
    // The parent has the activation back.
    EXPECT_EQ(GetActiveWindow(), m_parent.hwnd);
}

TEST_F(BalloonMessageTest, AClickClosesIt)
{
    ShowAtField(L"Wrong");
    CDialogDriver(m_parent.hwnd).Click(kFieldId);
    CDialogDriver(m_parent.hwnd).PumpUntilIdle();
    EXPECT_FALSE(IsUp());
}

TEST_F(BalloonMessageTest, WithoutBalloonTipsTheTipIsRectangularAtTheFieldsCorner)
{
    SetBalloonTipsEnabled(false);
    ShowAtField(L"Wrong", TRUE);
    ASSERT_TRUE(IsUp());
    EXPECT_EQ(GetWindowLongPtrW(CBalloonMessage::Instance().Tooltip(), GWL_STYLE) & TTS_BALLOON, 0);
    RECT field{};
    RECT tip{};
    GetWindowRect(m_field, &field);
    GetWindowRect(CBalloonMessage::Instance().Tooltip(), &tip);
    EXPECT_EQ(tip.left, field.left);
    EXPECT_GE(tip.top, field.bottom);
}

TEST_F(BalloonMessageTest, ACloseDelayEndsItOnTime)
{
    Platform::ManualClockScope clock;
    ShowAtField(L"Wrong", TRUE, 5);
    ASSERT_TRUE(IsUp());
    EXPECT_NE(CBalloonMessage::Instance().TimerId(), 0u);
    Platform::Clock::Advance(4900);
    UiTest::Drain();
    EXPECT_TRUE(IsUp());
    Platform::Clock::Advance(100);
    UiTest::Drain();
    EXPECT_FALSE(IsUp());
    EXPECT_EQ(CBalloonMessage::Instance().TimerId(), 0u);
    // No delay: up until something closes it.
    ShowAtField(L"Wrong", TRUE, 0);
    Platform::Clock::Advance(60000);
    UiTest::Drain();
    EXPECT_TRUE(IsUp());
}

TEST_F(BalloonMessageTest, TheSubclassedParentKeepsItsTimersAndLosesTheBalloonOnDeactivation)
{
    ShowAtField(L"Wrong", TRUE, 0, TRUE);
    ASSERT_TRUE(IsUp());
    EXPECT_NE(GetWindowLongPtrW(m_parent.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&UiTest::TestProc));
    m_parentLog.Clear();
    SetTimer(m_parent.hwnd, 9, 1, nullptr);
    CDialogDriver(m_parent.hwnd).PumpUntil([&] { return !m_parentLog.Of(WM_TIMER).empty(); });
    KillTimer(m_parent.hwnd, 9);
    EXPECT_FALSE(m_parentLog.Of(WM_TIMER).empty());
    EXPECT_TRUE(IsUp());

    UiTest::Handler otherLog;
    UiTest::WindowGuard other;
    other.hwnd = UiTest::Create(&otherLog, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 200, 100);
    SetActiveWindow(other.hwnd);
    UiTest::Drain();
    EXPECT_FALSE(IsUp());
    // The parent has its own procedure back.
    EXPECT_EQ(GetWindowLongPtrW(m_parent.hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&UiTest::TestProc));
}

// A page shows the balloon and then reopens the editor on the field: the
// balloon must neither take the focus nor close when it moves in the window.
TEST_F(BalloonMessageTest, TheFieldsWindowStaysActiveAndMovingTheFocusInItKeepsTheBalloon)
{
    const HWND editor = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 80, 120, 24,
                                        m_parent.hwnd, nullptr, nullptr, nullptr);
    for (const BOOL subclass : {TRUE, FALSE}) {
        SCOPED_TRACE(subclass);
        SetFocus(m_field);
        ShowAtField(L"Wrong", FALSE, 0, subclass);
        UiTest::Drain();
        ASSERT_TRUE(IsUp());
        EXPECT_EQ(GetActiveWindow(), m_parent.hwnd);
        EXPECT_EQ(GetFocus(), m_field);
        SetFocus(editor);
        UiTest::Drain();
        EXPECT_TRUE(IsUp());
        DestroyZELLBalloonMsg();
    }
}

TEST_F(BalloonMessageTest, TheLibrarysEndClosesTheBalloonAndUnregistersItsClass)
{
    Platform::ManualClockScope clock;
    ShowAtField(L"Wrong", TRUE, 5);
    ASSERT_TRUE(IsUp());
    const HWND tooltip = CBalloonMessage::Instance().Tooltip();
    WNDCLASSW wc{};
    EXPECT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), kBalloonHostClass, &wc));
    TesselApp().ExitInstance();
    UiTest::Drain();
    EXPECT_FALSE(IsWindow(tooltip));
    EXPECT_FALSE(IsUp());
    EXPECT_FALSE(CBalloonMessage::Instance().HasHooks());
    EXPECT_EQ(CBalloonMessage::Instance().TimerId(), 0u);
    EXPECT_EQ(CMessageIcons::Instance().LoadedCount(), 0);
    EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), kBalloonHostClass, &wc));
    // The timer is gone with it: time passing closes nothing and calls nothing.
    Platform::Clock::Advance(10000);
    UiTest::Drain();
    // A later start registers the class again.
    ShowAtField(L"Again");
    EXPECT_TRUE(IsUp());
}

TEST_F(BalloonMessageTest, IconCodesPickTheLibrarysIconsOnceAndPassOthersOn)
{
    CMessageIcons& icons = CMessageIcons::Instance();
    EXPECT_EQ(icons.IconByCode(2), 2u);
    EXPECT_EQ(icons.IconByCode(15), 15u);
    const UINT_PTR info = icons.IconByCode(ZELL_BALLOON_ICON_INFO);
    EXPECT_GT(info, 0xFFFFu);
    EXPECT_EQ(icons.IconByCode(ZELL_BALLOON_ICON_INFO), info);
    for (UINT code = ZELL_BALLOON_ICON_INFO; code <= ZELL_BALLOON_ICON_STOP; ++code)
        EXPECT_NE(icons.IconByCode(code), 0u) << code;
    EXPECT_EQ(icons.LoadedCount(), 5);
    icons.DestroyAll();
    EXPECT_EQ(icons.LoadedCount(), 0);
}
