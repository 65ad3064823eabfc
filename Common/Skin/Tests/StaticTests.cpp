#include "Common/Skin/GradientStatic.h"
#include "Common/Skin/IconStatic.h"
#include "Common/Skin/ZellStatic.h"

#include "Common/Skin/Tests/ControlsTestIds.h"
#include "Common/Skin/Tests/ControlsTestSupport.h"
#include "Platform/Shell/Tests/ShellTestSupport.h"

#include <set>

using namespace ZELL::Skin;

using ControlsTest::Area;
using ControlsTest::CScene;

namespace {

constexpr int kLabel = 300;

// Counts what reaches the label's window.
class CCountingStatic : public CZellStatic {
public:
    int paints = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        paints += message == WM_PAINT ? 1 : 0;
        return CZellStatic::WindowProc(message, wParam, lParam);
    }
};

class ZellStatics : public ::testing::Test {
protected:
    CScene scene{400, 200};
    CCountingStatic label;

    void Make(DWORD style, LPCWSTR text = L"Label", int width = 120)
    {
        ASSERT_TRUE(scene.Attach(label, L"Static", text, style, Area(10, 10, width, 30), kLabel));
        UpdateWindow(scene.parent.m_hWnd);
        UiTest::Drain();
        label.paints = 0;
    }
    // The distinct colours along the label's middle row.
    std::set<COLORREF> RowColours(int width) const
    {
        std::set<COLORREF> colours;
        for (int x = 0; x < width; ++x)
            colours.insert(scene.PixelOf(label.m_hWnd, {x, 15}));
        return colours;
    }
};

}

TEST_F(ZellStatics, SettersRedrawOnlyWhenSomethingChanged)
{
    Make(0);
    // The first paint took the window's text.
    EXPECT_EQ(label.GetText(), CString(L"Label"));
    label.SetText(L"Label");
    label.SetFontBold(FALSE);
    label.SetFontItalic(FALSE);
    label.SetFontUnderline(FALSE);
    label.SetTextColor(label.GetTextColor());
    EXPECT_EQ(label.paints, 0);

    label.SetText(L"Other");
    const int afterText = label.paints;
    EXPECT_GT(afterText, 0);
    label.SetText(L"Other");
    EXPECT_EQ(label.paints, afterText);
    label.SetFontBold(TRUE);
    const int afterBold = label.paints;
    EXPECT_GT(afterBold, afterText);
    label.SetFontBold(TRUE);
    EXPECT_EQ(label.paints, afterBold);
    label.SetTextColor(RGB(1, 2, 3));
    const int afterColour = label.paints;
    EXPECT_GT(afterColour, afterBold);
    label.SetTextColor(RGB(1, 2, 3));
    label.SetFontItalic(FALSE);
    EXPECT_EQ(label.paints, afterColour);
    EXPECT_EQ(label.GetLogFont().lfWeight, FW_BOLD);
}

TEST_F(ZellStatics, AWindowTextSetFromOutsideIsDrawnAtOnce)
{
    const auto shown = [&] {
        UiTest::Drain();
        std::set<COLORREF> colours;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x)
                colours.insert(scene.PixelOf(label.m_hWnd, {x, y}));
        return colours;
    };
    Make(0, L"Ready");
    label.SetTransparent(FALSE);
    ASSERT_GT(shown().size(), 1u) << "the text is drawn";
    label.paints = 0;
    ::SetWindowTextW(label.m_hWnd, L"");
    EXPECT_GT(label.paints, 0) << "the label repaints without waiting for anything else";
    EXPECT_TRUE(label.GetText().IsEmpty());
    EXPECT_EQ(shown().size(), 1u) << "the old text is gone from the screen";
    const int afterClear = label.paints;
    label.SetWindowText(L"Reading the device");
    EXPECT_EQ(label.GetText(), CString(L"Reading the device"));
    EXPECT_GT(label.paints, afterClear);
    const int afterSet = label.paints;
    ::SetWindowTextW(label.m_hWnd, L"Reading the device");
    EXPECT_EQ(label.paints, afterSet) << "the same text again draws nothing";
}

TEST(ZellStaticBeforeWindow, SetTextWithoutAWindowDoesNothing)
{
    CZellStatic label;
    label.SetText(L"early");
    EXPECT_TRUE(label.GetText().IsEmpty());
}

TEST_F(ZellStatics, TheStyleDecidesTheDrawTextFormat)
{
    Make(SS_CENTER);
    EXPECT_EQ(label.TextFormat(L"a"), DT_CENTER | DT_WORDBREAK);
    EXPECT_EQ(label.TextFormat(L"a\tb"), DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS);
    label.ModifyStyle(SS_TYPEMASK, SS_RIGHT | SS_CENTERIMAGE);
    EXPECT_EQ(label.TextFormat(L"a"), DT_RIGHT | DT_WORDBREAK | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(label.TextFormat(L"a\r\nb"), DT_RIGHT | DT_WORDBREAK);
    label.ModifyStyle(SS_TYPEMASK | SS_CENTERIMAGE, SS_LEFTNOWORDWRAP);
    EXPECT_EQ(label.TextFormat(L"a"), DT_LEFT);
    label.ModifyStyle(SS_TYPEMASK, SS_ENDELLIPSIS);
    EXPECT_EQ(label.TextFormat(L"a"), DT_WORDBREAK | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_SINGLELINE);
    label.ModifyStyle(SS_ENDELLIPSIS, SS_PATHELLIPSIS);
    EXPECT_EQ(label.TextFormat(L"a"), DT_WORDBREAK | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS | DT_SINGLELINE);
}

TEST_F(ZellStatics, AGradientBackgroundHasOneBandPerPixelUpToAHundred)
{
    Make(0, L"", 40);
    label.SetBackground(RGB(0, 0, 0), RGB(250, 0, 0), TRUE);
    EXPECT_FALSE(label.IsTransparent());
    EXPECT_EQ(RowColours(40).size(), 40u);
    label.MoveWindow(10, 10, 300, 30);
    label.Invalidate();
    EXPECT_EQ(RowColours(300).size(), 100u);
    EXPECT_EQ(scene.PixelOf(label.m_hWnd, {0, 15}), RGB(0, 0, 0));
}

TEST_F(ZellStatics, ASolidBackgroundAndTheTextShadow)
{
    Make(SS_CENTER, L"");
    label.SetBackground(RGB(0, 128, 0));
    EXPECT_EQ(scene.PixelOf(label.m_hWnd, {3, 3}), RGB(0, 128, 0));
    label.SetTransparent(TRUE);
    EXPECT_NE(label.GetExStyle() & WS_EX_TRANSPARENT, 0u);
}

TEST_F(ZellStatics, StoppingEitherBlinkLeavesTheTextVisible)
{
    Make(0);
    label.FlashText(TRUE);
    EXPECT_TRUE(label.IsBlinking());
    EXPECT_FALSE(label.IsBlinkVisible());
    scene.Wait(500);
    EXPECT_TRUE(label.IsBlinkVisible());
    scene.Wait(500);
    EXPECT_FALSE(label.IsBlinkVisible());
    label.FlashText(FALSE);
    EXPECT_FALSE(label.IsBlinking());
    EXPECT_TRUE(label.IsBlinkVisible());
    EXPECT_EQ(label.GetFlashMode(), CZellStatic::kNoFlash);
    scene.Wait(1000);
    EXPECT_TRUE(label.IsBlinkVisible());

    label.FlashBackground(TRUE);
    EXPECT_EQ(label.GetFlashMode(), CZellStatic::kFlashBackground);
    label.FlashBackground(FALSE);
    EXPECT_FALSE(label.IsBlinking());
    EXPECT_TRUE(label.IsBlinkVisible());
}

TEST_F(ZellStatics, BlinkingTextTakesTheBackgroundColourWhileHidden)
{
    Make(SS_CENTER | SS_CENTERIMAGE, L"WWWWWWWW");
    label.SetBackground(RGB(0, 0, 200));
    label.SetTextColor(RGB(255, 255, 0));
    std::set<COLORREF> shown = RowColours(120);
    EXPECT_TRUE(shown.count(RGB(255, 255, 0)) || shown.size() > 1);
    label.FlashText(TRUE);
    label.Invalidate();
    EXPECT_EQ(RowColours(120), std::set<COLORREF>{RGB(0, 0, 200)});
    label.FlashText(FALSE);
}

TEST_F(ZellStatics, LinksOpenTheirTargetOrTheirTextThroughTheShell)
{
    const ShellTest::CStandIns shell;
    shell.StandIn("xdg-open");
    Make(0, L"https://example.com/x y");
    label.SetLink(TRUE, FALSE);
    EXPECT_NE(label.GetStyle() & SS_NOTIFY, 0u);
    scene.Click(label.m_hWnd);
    EXPECT_EQ(ShellTest::WaitForFile(shell.m_log), "call\n[https://example.com/x y]\n");
    std::filesystem::remove(shell.m_log);

    label.SetMailLink(TRUE, FALSE);
    label.SetText(L"service@example.com");
    scene.Click(label.m_hWnd);
    EXPECT_EQ(ShellTest::WaitForFile(shell.m_log), "call\n[mailto:service@example.com]\n");
}

TEST_F(ZellStatics, ANotifyValueTellsTheParentInsteadOfOpening)
{
    Make(0, L"https://example.com");
    label.SetLink(TRUE, TRUE);
    scene.Click(label.m_hWnd);
    EXPECT_EQ(scene.parent.Count(WM_NOTIFY, CZellStatic::kClickNotification, kLabel), 1);
}

TEST_F(ZellStatics, TextsFromTheTableAndFormatted)
{
    Make(0);
    label.SetTextId(ControlsTest::kLabelText);
    EXPECT_EQ(label.GetText(), CString(L"Label from the table"));
    label.FormatTextId(ControlsTest::kCountFormat, 3);
    EXPECT_EQ(label.GetText(), CString(L"3 devices"));
    label.FormatText(L"%s and %d", L"text", 2);
    CString shown;
    label.GetWindowText(shown);
    EXPECT_EQ(shown, CString(L"text and 2"));
    label.Enable(FALSE);
    EXPECT_FALSE(label.IsWindowEnabled());
}

TEST(GradientStatic, WithoutTheLibraryTheGradientIsDrawnIn255Bands)
{
    CScene scene(600, 100);
    CGradientStatic::SetGlobalColors(RGB(0, 0, 0), RGB(0, 0, 255), RGB(255, 255, 255));
    CGradientStatic caption;
    CGradientStatic::SetGlobalColors(0xFF000000u, RGB(255, 0, 0), 0xFF000000u);
    EXPECT_EQ(caption.GetStartColor(), RGB(0, 0, 0));
    EXPECT_EQ(caption.GetEndColor(), RGB(0, 0, 255));
    EXPECT_FALSE(caption.HasGradientFill());
    ASSERT_TRUE(scene.Attach(caption, L"Static", L"", 0, Area(0, 0, 510, 20), 1));
    EXPECT_EQ(caption.GetLogFont().lfWeight, FW_BOLD);
    std::set<COLORREF> colours;
    for (int x = 0; x < 510; ++x)
        colours.insert(scene.PixelOf(caption.m_hWnd, {x, 10}));
    EXPECT_EQ(colours.size(), 255u);
    caption.SwapColors();
    EXPECT_EQ(scene.PixelOf(caption.m_hWnd, {0, 10}), RGB(0, 0, 255));
    CGradientStatic::SetGlobalColors(GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_BTNFACE),
                                     GetSysColor(COLOR_CAPTIONTEXT));
}

TEST(IconStatic, TheSameIconAndSizeAreLoadedOnce)
{
    CScene scene;
    CIconStatic icon;
    ASSERT_TRUE(scene.Attach(icon, L"Static", L"", 0, Area(0, 0, 16, 16), 1));
    icon.SetIcon(ControlsTest::kDiscIcon, 16, 16);
    const HICON first = icon.GetIcon();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(icon.GetStyle() & SS_TYPEMASK, SS_ICON);
    icon.SetIcon(ControlsTest::kDiscIcon, 16, 16);
    EXPECT_EQ(icon.GetIcon(), first);
    EXPECT_EQ(icon.GetIconId(), static_cast<UINT>(ControlsTest::kDiscIcon));
    icon.SetIcon(ControlsTest::kBarIcon, 16, 16);
    EXPECT_NE(icon.GetIcon(), nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(icon.SendMessage(STM_GETICON)), icon.GetIcon());
}
