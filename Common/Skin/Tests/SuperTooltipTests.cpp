// Header, body and footer tips: the mark-up they become, the texts of tool
// bar strings, the program's colours, and the look of a whole tip.
#include "Common/Skin/Tests/ControlsTestSupport.h"
#include "Common/Skin/Tests/SuperTipDemo.h"
#include "Common/Skin/ZellTooltip.h"
#include "Platform/Ui/Tests/GoldenImage.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace ZELL::Skin;

namespace {

using ControlsTest::CScene;
using Info = CSuperTooltip::SuperToolInfo;

class SuperTooltipMarkup : public ::testing::Test {
protected:
    SuperTooltipMarkup()
    {
        control.Attach(scene.Add(L"STATIC", L"field", SS_LEFT, RECT{10, 10, 110, 30}, 5));
        EXPECT_TRUE(tip.Create(&scene.parent));
        record.control = &control;
    }
    ~SuperTooltipMarkup() override
    {
        control.Detach();
        tip.DestroyWindow();
    }
    std::wstring Build()
    {
        CRichToolTip::ToolInfo tool;
        return tip.BuildMarkup(record, tool);
    }

    CScene scene;
    CWnd control;
    CSuperTooltip tip;
    Info record;
};

TEST_F(SuperTooltipMarkup, HeaderAndBodyLines)
{
    record.header = L"Name";
    record.body = L"a\n b \r";
    EXPECT_EQ(Build(), L"<font color=#000000><b>Name</b>\r\n<indent>\r\na</indent>\r\n<indent>\r\nb</indent></font>");
    record.header.clear();
    record.body = L"a\n\nb";
    EXPECT_EQ(Build(), L"<font color=#000000>a\r\n\r\n\r\nb</font>");
    record.body = L"a\nb";
    EXPECT_EQ(Build(), L"<font color=#000000>a\r\n\r\nb</font>");
}

TEST_F(SuperTooltipMarkup, SeparatorsFooterAndColours)
{
    record.header = L"Head";
    record.body = L"Body";
    record.footer = L"Foot";
    record.headerSeparator = true;
    record.textColor = RGB(0x12, 0x34, 0x56);
    const std::wstring text = Build();
    EXPECT_EQ(text, L"<font color=#123456><b>Head</b><br><hr color=#C3C3C3><b>\r\nBody</b></font>\r\n\r\n<b>Foot</b>\r\n");
    record.footerSeparator = true;
    record.colorEnd = RGB(0x80, 0x40, 0x00);
    EXPECT_NE(Build().find(L"<br><hr color=#623100>"), std::wstring::npos);
}

TEST_F(SuperTooltipMarkup, ToolsWithoutWindowOrBodyHaveNoText)
{
    record.body.clear();
    EXPECT_EQ(Build(), L"");
    record.body = L"x";
    record.control = nullptr;
    EXPECT_EQ(Build(), L"");
    record.control = &control;
    record.flags |= CRichToolTip::FOLLOW_POINTER;
    CRichToolTip::ToolInfo tool;
    EXPECT_FALSE(tip.BuildMarkup(record, tool).empty());
    EXPECT_EQ(tool.behaviour & CRichToolTip::FOLLOW_POINTER, 0u);
    EXPECT_TRUE(tool.anchorAtControl);
}

TEST(SuperTooltipText, ResourceTextsSplitIntoPromptHeaderBodyAndFooter)
{
    Info record;
    CSuperTooltip::SplitResourceText(L"Open the file\nOpen\n\nCtrl+O", record);
    EXPECT_EQ(record.header, L"Open");
    EXPECT_EQ(record.body, L"Open the file");
    EXPECT_EQ(record.footer, L"Ctrl+O");
    CSuperTooltip::SplitResourceText(L"Just a header", record);
    EXPECT_EQ(record.header, L"Just a header");
    EXPECT_EQ(record.body, L"Body must not be empty!");
    CSuperTooltip::SplitResourceText(L"p\nh\nb\nf\nmore", record);
    EXPECT_EQ(record.footer, L"f\nmore");
}

TEST(ZellTooltip, GlobalColoursReachWrappersMadeAfterwards)
{
    const COLORREF saved[4] = {CZellTooltip::GlobalColor(0), CZellTooltip::GlobalColor(1),
                               CZellTooltip::GlobalColor(2), CZellTooltip::GlobalColor(3)};
    const COLORREF keep = CZellTooltip::kKeepColor;
    CZellTooltip::SetGlobalColors(keep, keep, keep, keep);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(CZellTooltip::GlobalColor(i), saved[i]);
    CZellTooltip::SetGlobalColors(RGB(1, 2, 3), keep, keep, RGB(4, 5, 6));
    EXPECT_EQ(CZellTooltip::GlobalColor(0), RGB(1, 2, 3));
    EXPECT_EQ(CZellTooltip::GlobalColor(1), saved[1]);
    EXPECT_EQ(CZellTooltip::GlobalColor(3), RGB(4, 5, 6));
    CZellTooltip::SetGlobalColors(saved[0], saved[1], saved[2], saved[3]);
}

TEST(ZellTooltip, DoesNothingBeforeCreate)
{
    CScene scene;
    CZellTooltip wrapper;
    EXPECT_FALSE(wrapper.IsCreated());
    wrapper.AddTool(&scene.parent, 1, L"body");
    wrapper.Hide();
    wrapper.SetMaxWidth(10);
    wrapper.ShowHelpTip(POINT{1, 1}, L"x");
    MSG msg{};
    EXPECT_FALSE(wrapper.RelayEvent(&msg));
}

// A dialog's tips and help tips in the wrapper's colours; adding tools does
// not bring back the red defaults of a bare super tooltip.
class ZellTips : public ::testing::Test {
protected:
    ZellTips()
    {
        field = scene.Add(L"STATIC", L"field", SS_LEFT, RECT{10, 10, 110, 30}, 5);
        CZellTooltip::SetGlobalColors(RGB(0xFF, 0xFF, 0xFF), RGB(0xF0, 0xF7, 0xFF), RGB(0xC0, 0xC0, 0xD0), 0);
        wrapper = std::make_unique<CZellTooltip>();
        EXPECT_TRUE(wrapper->Create(&scene.parent, TRUE));
    }
    ~ZellTips() override { CZellTooltip::SetGlobalColors(0xFFFFFF, 0xF6F2F2, 0xE0D4D4, 0); }

    void Pump()
    {
        MSG msg{};
        for (int n = 0; n < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
            if (wrapper->RelayEvent(&msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    void Pass(DWORD ms)
    {
        for (DWORD done = 0; done < ms; done += 10) {
            Platform::Clock::Advance(10);
            Pump();
        }
    }
    int CountInTip(COLORREF color)
    {
        HWND tip = wrapper->Tooltip()->m_hWnd;
        UpdateWindow(tip);
        Pump();
        RECT r{};
        ::GetWindowRect(tip, &r);
        int count = 0;
        for (int y = 0; y < r.bottom - r.top; ++y)
            for (int x = 0; x < r.right - r.left; ++x)
                count += scene.Display().PixelAt(NativeWindowOf(tip), x, y).value_or(0) == color ? 1 : 0;
        return count;
    }

    CScene scene;
    HWND field = nullptr;
    std::unique_ptr<CZellTooltip> wrapper;
};

TEST_F(ZellTips, HelpTipsKeepTheWrappersColours)
{
    wrapper->AddTool(&scene.parent, 5, L"Body", L"Header");
    CSuperTooltip& tip = *wrapper->Tooltip();
    EXPECT_EQ(tip.GetDefaultColor(0), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(tip.GetDefaultColor(2), RGB(0xC0, 0xC0, 0xD0));
    wrapper->ShowHelpTip(POINT{300, 300}, L"Help text");
    Pump();
    ASSERT_TRUE(tip.IsWindowVisible());
    EXPECT_EQ(CountInTip(RGB(0xFF, 0, 0)), 0);
    // The background between the border and the text: the wrapper's light colours.
    const auto background = scene.Display().PixelAt(NativeWindowOf(tip.m_hWnd), 3, 3);
    ASSERT_TRUE(background.has_value());
    EXPECT_GE(GetRValue(*background), 0xC0);
    EXPECT_GE(GetGValue(*background), 0xC0);
    EXPECT_GE(GetBValue(*background), 0xC0);
}

// The same picture is compared with the tip on a real X server.
TEST(SuperTooltipLook, AHeaderBodyFooterTipWithItsShadowLooksAsKept)
{
    Platform::ManualClockScope clock{20000000};
    ControlsTest::CSuperTipDemo demo;
    ASSERT_TRUE(demo.Create());
    UiTest::Drain();
    CScene::Display().InjectMouseMove(demo.FieldPoint());
    MSG msg{};
    for (int i = 0; i < 60; ++i) {
        Platform::Clock::Advance(10);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!demo.Wrapper().RelayEvent(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    HWND tip = demo.TipWindow();
    ASSERT_TRUE(IsWindowVisible(tip));
    UpdateWindow(tip);
    UiTest::Drain();
    namespace fs = std::filesystem;
    const fs::path outputs = ZELL_CONTROLS_OUTPUT_DIR;
    fs::create_directories(outputs);
    const fs::path shown = outputs / "super-tooltip.png";
    ASSERT_TRUE(CScene::Display().SaveAsPng(NativeWindowOf(tip), shown.string()));
    EXPECT_TRUE(UiTest::MatchesGolden(shown.string(), "super-tooltip", ZELL_CONTROLS_GOLDEN_DIR));
    CZellTooltip::SetGlobalColors(0xFFFFFF, 0xF6F2F2, 0xE0D4D4, 0);
}

} // namespace
