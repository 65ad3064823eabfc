#include "Common/Skin/SkinButton.h"
#include "Common/Skin/Drawing/SkinImage.h"

#include "Common/Skin/Tests/ControlsTestIds.h"
#include "Common/Skin/Tests/ControlsTestSupport.h"
#include "Common/Skin/Tests/DrawingTestSupport.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"

using namespace ZELL::Skin;

using ControlsTest::Area;
using ControlsTest::CScene;

namespace {

constexpr int kButton = 100;

// Counts the hover hooks.
class CCountingButton : public CSkinButton {
public:
    int entered = 0;
    int left = 0;
    void OnHoverEnter() override { ++entered; }
    void OnHoverLeave() override { ++left; }
};

class SkinButtons : public ::testing::Test {
protected:
    CScene scene;
    CCountingButton button;

    void SetUp() override
    {
        ASSERT_TRUE(
            scene.Attach(button, L"Button", L"Read", BS_PUSHBUTTON | WS_TABSTOP, Area(10, 10, 80, 24), kButton));
    }
    void Hover() const
    {
        scene.MoveTo(button.m_hWnd, {20, 10});
        ASSERT_TRUE(button.IsHovered());
    }
};

}

TEST(SkinButtonKinds, TheExactTypeDecidesCheckBoxRadioOrPush)
{
    for (UINT type : {0u, 2u, 3u, 5u, 6u}) {
        EXPECT_EQ(CSkinButton::IsCheckBoxType(type), type != 0) << type;
        EXPECT_FALSE(CSkinButton::IsRadioType(type)) << type;
    }
    for (UINT type : {4u, 9u}) {
        EXPECT_TRUE(CSkinButton::IsRadioType(type)) << type;
        EXPECT_FALSE(CSkinButton::IsCheckBoxType(type)) << type;
    }
    // Owner-drawn, push box, group box and the rest are push buttons.
    for (UINT type : {1u, 7u, 8u, 0xAu, 0xBu, 0xCu, 0xFu}) {
        EXPECT_FALSE(CSkinButton::IsCheckBoxType(type)) << type;
        EXPECT_FALSE(CSkinButton::IsRadioType(type)) << type;
    }
}

TEST(SkinButtonKinds, AttachingReadsKindAlignmentAndDefaultAndDrawsItself)
{
    CScene scene;
    CSkinButton check;
    CSkinButton radio;
    CSkinButton def;
    CSkinButton owner;
    ASSERT_TRUE(scene.Attach(check, L"Button", L"c", BS_AUTOCHECKBOX, Area(0, 0, 60, 20), 1));
    ASSERT_TRUE(scene.Attach(radio, L"Button", L"r", BS_AUTORADIOBUTTON | BS_RIGHT, Area(0, 30, 60, 20), 2));
    ASSERT_TRUE(scene.Attach(def, L"Button", L"d", BS_DEFPUSHBUTTON | BS_CENTER, Area(0, 60, 60, 20), 3));
    ASSERT_TRUE(scene.Attach(owner, L"Button", L"o", BS_OWNERDRAW, Area(0, 90, 60, 20), 4));
    EXPECT_TRUE(check.IsCheckBox());
    EXPECT_EQ(check.GetAlign(), CSkinButton::kAlignLeft);
    EXPECT_TRUE(radio.IsRadio());
    EXPECT_EQ(radio.GetAlign(), CSkinButton::kAlignRight);
    EXPECT_TRUE(def.GetDefault());
    EXPECT_EQ(def.GetAlign(), CSkinButton::kAlignCenter);
    EXPECT_FALSE(owner.IsCheckBox());
    EXPECT_FALSE(owner.IsRadio());
    for (CSkinButton* b : {&check, &radio, &def, &owner})
        EXPECT_EQ(b->GetStyle() & 0xF, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_EQ(check.SendMessage(WM_GETDLGCODE), DLGC_BUTTON | DLGC_WANTCHARS);
    EXPECT_EQ(radio.SendMessage(WM_GETDLGCODE), DLGC_BUTTON | DLGC_RADIOBUTTON);
    EXPECT_NE(def.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON, 0);
    EXPECT_NE(owner.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON, 0);
    // A new style keeps the button owner-drawn and says whether it is the default.
    owner.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(owner.GetDefault());
    EXPECT_EQ(owner.GetStyle() & 0xF, static_cast<DWORD>(BS_OWNERDRAW));
}

TEST_F(SkinButtons, HoverComesWithThePointerAndGoesWhenItLeaves)
{
    Hover();
    EXPECT_EQ(button.entered, 1);
    // Moving on the button changes nothing.
    scene.MoveTo(button.m_hWnd, {30, 12});
    EXPECT_EQ(button.entered, 1);
    scene.MoveTo(scene.parent.m_hWnd, {200, 150});
    EXPECT_FALSE(button.IsHovered());
    EXPECT_EQ(button.left, 1);
}

TEST_F(SkinButtons, FocusLossCancelModeDeactivationAndDisablingEndTheHover)
{
    CSkinButton other;
    ASSERT_TRUE(scene.Attach(other, L"Button", L"Other", WS_TABSTOP, Area(100, 10, 80, 24), kButton + 1));
    button.SetFocus();
    Hover();
    other.SetFocus();
    UiTest::Drain();
    EXPECT_FALSE(button.IsHovered());

    Hover();
    button.SendMessage(WM_CANCELMODE);
    EXPECT_FALSE(button.IsHovered());

    Hover();
    button.SendMessage(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_FALSE(button.IsHovered());

    Hover();
    button.SetFocus();
    button.EnableWindow(FALSE);
    UiTest::Drain();
    EXPECT_FALSE(button.IsHovered());
    // The focus the disabled button held moves on to the next tab stop.
    EXPECT_EQ(GetFocus(), other.m_hWnd);
}

TEST_F(SkinButtons, OnlyFlatButtonsHoverAndAPressedPointerDoesNotStartIt)
{
    button.SetFlat(FALSE);
    scene.MoveTo(button.m_hWnd, {20, 10});
    EXPECT_FALSE(button.IsHovered());
    button.SetFlat(TRUE);
    scene.MoveTo(scene.parent.m_hWnd, {250, 150});
    scene.Press(scene.parent.m_hWnd, {250, 150});
    scene.MoveTo(button.m_hWnd, {20, 10});
    EXPECT_FALSE(button.IsHovered());
    scene.Release(button.m_hWnd, {20, 10});
}

TEST(SkinButtonStates, CheckBoxesToggleAndRadioButtonsUncheckTheirGroupOnly)
{
    CScene scene;
    CSkinButton check;
    CSkinButton first;
    CSkinButton second;
    CSkinButton otherGroup;
    ASSERT_TRUE(scene.Attach(check, L"Button", L"c", BS_AUTOCHECKBOX | WS_GROUP, Area(0, 0, 60, 20), 1));
    ASSERT_TRUE(scene.Attach(first, L"Button", L"1", BS_AUTORADIOBUTTON | WS_GROUP, Area(0, 30, 60, 20), 2));
    ASSERT_TRUE(scene.Attach(second, L"Button", L"2", BS_AUTORADIOBUTTON, Area(0, 60, 60, 20), 3));
    ASSERT_TRUE(scene.Attach(otherGroup, L"Button", L"3", BS_AUTORADIOBUTTON | WS_GROUP, Area(0, 90, 60, 20), 4));
    scene.Click(check.m_hWnd);
    EXPECT_EQ(check.GetCheck(), 1);
    scene.Click(check.m_hWnd);
    EXPECT_EQ(check.GetCheck(), 0);
    EXPECT_EQ(scene.parent.Count(WM_COMMAND, BN_CLICKED, 1), 2);

    otherGroup.SetCheck(TRUE);
    scene.Click(first.m_hWnd);
    EXPECT_EQ(first.GetCheck(), 1);
    scene.Click(second.m_hWnd);
    EXPECT_EQ(second.GetCheck(), 1);
    EXPECT_EQ(first.GetCheck(), 0);
    EXPECT_EQ(otherGroup.GetCheck(), 1);
    // Already checked: stays checked.
    scene.Click(second.m_hWnd);
    EXPECT_EQ(second.GetCheck(), 1);
    EXPECT_EQ(second.SendMessage(BM_GETCHECK), 1);
    second.SendMessage(BM_SETCHECK, BST_UNCHECKED);
    EXPECT_EQ(second.GetCheck(), 0);
}

TEST(SkinButtonStates, CheckingAHiddenOrDisabledRadioEndsItsGroupWalk)
{
    CScene scene;
    CSkinButton hidden;
    CSkinButton disabled;
    CSkinButton visible;
    ASSERT_TRUE(scene.Attach(hidden, L"Button", L"h", BS_AUTORADIOBUTTON | WS_GROUP, Area(0, 0, 60, 20), 1));
    ASSERT_TRUE(scene.Attach(disabled, L"Button", L"d", BS_AUTORADIOBUTTON | WS_DISABLED, Area(0, 30, 60, 20), 2));
    ASSERT_TRUE(scene.Attach(visible, L"Button", L"v", BS_AUTORADIOBUTTON, Area(0, 60, 60, 20), 3));
    hidden.ShowWindow(SW_HIDE);
    visible.SetCheck(TRUE);
    // The walk skips the hidden and the disabled button, so it never meets
    // them again; it must end all the same.
    hidden.SetCheck(TRUE);
    EXPECT_EQ(visible.GetCheck(), 0);
    visible.SetCheck(TRUE);
    disabled.SetCheck(TRUE);
    EXPECT_EQ(visible.GetCheck(), 0);
    EXPECT_EQ(disabled.GetCheck(), 1);
}

TEST_F(SkinButtons, AutoRepeatClicksAtTheKeyboardRates)
{
    EXPECT_EQ(button.SetAutoRepeat(TRUE), CSkinButton::kOk);
    scene.Press(button.m_hWnd, {20, 10});
    UpdateWindow(button.m_hWnd);
    UiTest::Drain();
    // Delay 1 and speed 31: 500 ms first, then every 1000 / 30 ms.
    EXPECT_EQ(button.GetInitialDelay(), 500u);
    EXPECT_EQ(button.GetRepeatInterval(), 33u);
    EXPECT_EQ(button.GetRepeatTimer(), CSkinButton::kAutoRepeatTimer);
    scene.Wait(490);
    EXPECT_EQ(scene.parent.Count(WM_COMMAND, BN_CLICKED, kButton), 0);
    scene.Wait(20);
    EXPECT_EQ(scene.parent.Count(WM_COMMAND, BN_CLICKED, kButton), 1);
    scene.Wait(100);
    EXPECT_EQ(scene.parent.Count(WM_COMMAND, BN_CLICKED, kButton), 4);
    scene.Release(button.m_hWnd, {20, 10});
    UpdateWindow(button.m_hWnd);
    UiTest::Drain();
    EXPECT_EQ(button.GetRepeatTimer(), 0u);
    const int afterRelease = scene.parent.Count(WM_COMMAND, BN_CLICKED, kButton);
    scene.Wait(200);
    EXPECT_EQ(scene.parent.Count(WM_COMMAND, BN_CLICKED, kButton), afterRelease);
}

TEST(SkinButtonStates, CheckBoxesAndRadioButtonsRefuseAutoRepeat)
{
    CScene scene;
    CSkinButton check;
    ASSERT_TRUE(scene.Attach(check, L"Button", L"c", BS_AUTOCHECKBOX, Area(0, 0, 60, 20), 1));
    EXPECT_EQ(check.SetAutoRepeat(TRUE), CSkinButton::kNoAutoRepeat);
}

TEST_F(SkinButtons, SettersCheckTheirArguments)
{
    EXPECT_EQ(button.SetAlign(3), CSkinButton::kInvalidAlign);
    EXPECT_EQ(button.GetAlign(), CSkinButton::kAlignCenter);
    EXPECT_EQ(button.SetIconAlign(4), CSkinButton::kInvalidAlign);
    EXPECT_EQ(button.SetPressedStyle(3), CSkinButton::kInvalidPressedStyle);
    EXPECT_EQ(button.SetColor(6, 0), CSkinButton::kInvalidIndex);
    COLORREF color = 0;
    EXPECT_EQ(button.GetColor(6, &color), CSkinButton::kInvalidIndex);
    EXPECT_EQ(button.OffsetColor(0, 300), CSkinButton::kBadParam);

    button.SetColor(CSkinButton::kBackOut, RGB(200, 100, 50));
    EXPECT_EQ(button.OffsetColor(CSkinButton::kBackOut, 100), CSkinButton::kOk);
    button.GetColor(CSkinButton::kBackOut, &color);
    EXPECT_EQ(color, RGB(255, 155, 105));
    button.OffsetColor(CSkinButton::kBackOut, -200);
    button.GetColor(CSkinButton::kBackOut, &color);
    EXPECT_EQ(color, RGB(150, 50, 0));
    // Only the colours still taken from the system follow it.
    button.SetDefaultColors();
    button.GetColor(CSkinButton::kBackOut, &color);
    EXPECT_EQ(color, RGB(150, 50, 0));
    button.GetColor(CSkinButton::kForeOut, &color);
    EXPECT_EQ(color, GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(button.SetBackgroundFromDC(nullptr), CSkinButton::kBadParam);
}

TEST_F(SkinButtons, ALinkOpensThroughTheShellAndTheParentIsToldOfTheClick)
{
    const ShellTest::CStandIns shell;
    shell.StandIn("xdg-open");
    button.SetURL(L"https://example.com/a b?c=\"d\"");
    scene.Click(button.m_hWnd);
    EXPECT_EQ(ShellTest::WaitForFile(shell.m_log), "call\n[https://example.com/a b?c=\"d\"]\n");
    EXPECT_EQ(scene.parent.Count(WM_COMMAND, BN_CLICKED, kButton), 1);
    EXPECT_EQ(GetFocus(), button.m_hWnd);
}

TEST_F(SkinButtons, TheTooltipHasOneToolWithTheText)
{
    button.SetTooltipText(L"first");
    ASSERT_NE(button.GetToolTip().GetSafeHwnd(), nullptr);
    button.SetTooltipText(L"second");
    EXPECT_EQ(button.GetToolTip().GetToolCount(), 1);
    CString text;
    button.GetToolTip().GetText(text, &button, 1);
    EXPECT_EQ(text, CString(L"second"));
    button.SetTooltipText(ControlsTest::kTipText);
    button.GetToolTip().GetText(text, &button, 1);
    EXPECT_EQ(text, CString(L"Reads the settings"));
    EXPECT_EQ(button.GetToolTip().GetStyle() & TTS_BALLOON, 0u);
}

TEST_F(SkinButtons, ADoubleClickCountsAsASecondPress)
{
    MSG msg{};
    msg.hwnd = button.m_hWnd;
    msg.message = WM_LBUTTONDBLCLK;
    button.SetTooltipText(L"tip");
    EXPECT_FALSE(button.PreTranslateMessage(&msg));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONDOWN));
    // Another window's message is left alone.
    msg.hwnd = scene.parent.m_hWnd;
    msg.message = WM_LBUTTONDBLCLK;
    button.PreTranslateMessage(&msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONDBLCLK));
}

TEST_F(SkinButtons, IconsComeFromResourcesAndTheirCopiesAreDerived)
{
    EXPECT_EQ(button.SetIcon(ControlsTest::kDiscIcon, 16, 16, CSkinButton::kDarkerCopy, 16, 16), CSkinButton::kOk);
    EXPECT_NE(button.GetIconIn(), nullptr);
    EXPECT_EQ(button.SetIcon(9999, 16, 16, 0, 0, 0), CSkinButton::kInvalidResource);
    EXPECT_EQ(button.GetIconIn(), nullptr);
    EXPECT_EQ(button.SetBitmaps(ControlsTest::kDiscBitmap, RGB(0, 0, 0), CSkinButton::kGrayCopy, 0),
              CSkinButton::kOk);
    EXPECT_EQ(button.SetBitmaps(nullptr, 0, nullptr, 0), CSkinButton::kInvalidResource);
    button.SetIcon(ControlsTest::kDiamondIcon);
    button.SizeToContent();
    CRect size;
    button.GetClientRect(&size);
    EXPECT_EQ(size.Width(), 16);
    EXPECT_EQ(size.Height(), 16);
}

TEST_F(SkinButtons, NothingIsDrawnBeforeTheFirstErase)
{
    ControlsTest::CCanvas canvas(40, 20);
    button.SetColor(CSkinButton::kBackOut, RGB(0, 0, 255));
    button.SetWindowText(L"");
    CSkinButton fresh;
    ASSERT_TRUE(fresh.SubclassWindow(scene.Add(L"Button", L"", 0, Area(0, 100, 40, 20), 7)));
    fresh.SetColor(CSkinButton::kBackOut, RGB(0, 0, 255));
    ControlsTest::DrawInto(fresh, canvas, 0);
    EXPECT_EQ(canvas.At(20, 10), RGB(255, 255, 255));
    fresh.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()));
    ControlsTest::DrawInto(fresh, canvas, 0);
    EXPECT_EQ(canvas.At(20, 10), RGB(0, 0, 255));
}

TEST_F(SkinButtons, PressedBordersFollowTheFlatLook)
{
    button.SetWindowText(L"");
    button.SendMessage(WM_ERASEBKGND, 0);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    ControlsTest::CCanvas canvas(40, 20);
    button.SetFlat(TRUE);
    button.SetDrawBorder(FALSE);
    ControlsTest::DrawInto(button, canvas, ODS_SELECTED);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_BTNFACE));
    button.SetDrawBorder(TRUE);
    ControlsTest::DrawInto(button, canvas, ODS_SELECTED);
    EXPECT_EQ(canvas.At(0, 5), shadow);
    EXPECT_EQ(canvas.At(39, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
    button.SetFlat(FALSE);
    ControlsTest::DrawInto(button, canvas, ODS_SELECTED);
    EXPECT_EQ(canvas.At(0, 5), shadow);
    EXPECT_EQ(canvas.At(39, 5), shadow);
    EXPECT_EQ(canvas.At(1, 5), GetSysColor(COLOR_BTNFACE));
}

TEST(SkinImages, DarkerAndGrayCopiesSpareTheTransparentColourAndTheMaskShowsIt)
{
    const COLORREF key = RGB(255, 0, 255);
    HBITMAP picture = ControlsTest::BitmapOf(3, 1, {RGB(200, 100, 40), key, RGB(255, 0, 0)});
    HBITMAP darker = SkinImage::CopyBitmap(picture, key, &SkinImage::Darker);
    EXPECT_EQ(ControlsTest::PixelsOf(darker), (std::vector<COLORREF>{RGB(150, 75, 30), key, RGB(191, 0, 0)}));
    HBITMAP gray = SkinImage::CopyBitmap(picture, key, &SkinImage::Gray);
    EXPECT_EQ(ControlsTest::PixelsOf(gray), (std::vector<COLORREF>{RGB(123, 123, 123), key, RGB(76, 76, 76)}));
    HBITMAP mask = SkinImage::MakeMask(picture, key);
    EXPECT_EQ(ControlsTest::PixelsOf(mask),
              (std::vector<COLORREF>{RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)}));
    // The transparent pixels of the picture itself turn black, for the OR.
    EXPECT_EQ(ControlsTest::PixelsOf(picture)[1], RGB(0, 0, 0));
    for (HBITMAP b : {picture, darker, gray, mask})
        DeleteObject(b);
}

// A keyboard user must see the focus on every button: the dotted rectangle
// three pixels inside the edge, on the flat look too.
TEST_F(SkinButtons, AFocusedButtonShowsItsFocusRectangleFlatOrNot)
{
    button.SetWindowText(L"");
    button.SendMessage(WM_ERASEBKGND, 0);
    button.SetColor(CSkinButton::kBackFocus, RGB(255, 255, 255));
    button.SetColor(CSkinButton::kBackOut, RGB(255, 255, 255));
    ControlsTest::CCanvas canvas(40, 20);
    const auto dots = [&] {
        int dark = 0;
        for (int x = 4; x < 36; ++x)
            dark += canvas.At(x, 3) != RGB(255, 255, 255) ? 1 : 0;
        return dark;
    };
    for (const BOOL flat : {TRUE, FALSE}) {
        SCOPED_TRACE(flat);
        button.SetFlat(flat);
        ControlsTest::DrawInto(button, canvas, 0);
        EXPECT_EQ(dots(), 0);
        ControlsTest::DrawInto(button, canvas, ODS_FOCUS);
        EXPECT_GE(dots(), 12);
    }
}
