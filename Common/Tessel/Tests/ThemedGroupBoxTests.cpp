// The themed group box: where frame, band and caption go, what its setters
// keep, and how it looks in a window.
#include "Common/Tessel/ThemedGroupBox.h"
#include "Common/Tessel/Tests/TesselTestSupport.h"
#include "Platform/Controls/StandardControls.h"
#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <filesystem>

namespace {

constexpr RECT kBox{1, 1, 199, 99};

class ThemedGroupBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ZELL::Controls::RegisterStandardControls());
        m_parent.hwnd = UiTest::Create(&m_log, WS_POPUP | WS_VISIBLE, 50, 50, 220, 120);
    }
    void TearDown() override
    {
        if (m_box.GetSafeHwnd() != nullptr)
            m_box.DestroyWindow();
    }
    bool CreateBox(LPCWSTR text)
    {
        return m_box.Create(text, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, RECT{10, 10, 210, 110},
                            CWnd::FromHandle(m_parent.hwnd), 1066) != FALSE;
    }
    bool MatchesGolden(const std::string& name) const
    {
        UpdateWindow(m_parent.hwnd);
        UiTest::Drain();
        const std::string png =
            (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()) + ".png")).string();
        EXPECT_TRUE(UiTest::Headless().SaveAsPng(NativeWindowOf(m_parent.hwnd), png));
        const bool same = UiTest::MatchesGolden(png, name, ZELL_TESSEL_GOLDEN_DIR);
        std::filesystem::remove(png);
        return same;
    }

    UiTest::Handler m_log;
    UiTest::WindowGuard m_parent;
    CThemedGroupBox m_box;
};

}

TEST_F(ThemedGroupBoxTest, AClassicFrameRunsThroughTheMiddleOfTheCaption)
{
    const auto g = CThemedGroupBox::Layout(kBox, SIZE{60, 14}, false, CThemedGroupBox::kLeft);
    EXPECT_EQ(g.frame.top, 1 + 7);
    EXPECT_EQ(g.caption.left, 11);
    EXPECT_EQ(g.caption.right, 71);
    EXPECT_EQ(g.caption.top, 1);
    EXPECT_EQ(g.caption.bottom, 15);
    // Without a caption the frame's top line is the box's top.
    const auto empty = CThemedGroupBox::Layout(kBox, SIZE{0, 0}, false, CThemedGroupBox::kLeft);
    EXPECT_EQ(empty.frame.top, 1);
    EXPECT_EQ(empty.caption.right - empty.caption.left, 0);
}

TEST_F(ThemedGroupBoxTest, TheCaptionAlignsLeftCentredOrRight)
{
    const auto right = CThemedGroupBox::Layout(kBox, SIZE{60, 14}, false, CThemedGroupBox::kRight);
    EXPECT_EQ(right.caption.right, 199 - 10);
    const auto centre = CThemedGroupBox::Layout(kBox, SIZE{61, 14}, false, CThemedGroupBox::kCentre);
    EXPECT_EQ(centre.caption.left, 1 + (198 - 61) / 2);
    // A caption wider than the box is centred to the left of the box's left edge.
    const auto wide = CThemedGroupBox::Layout(kBox, SIZE{301, 14}, false, CThemedGroupBox::kCentre);
    EXPECT_EQ(wide.caption.left, 1 + (198 - 301) / 2);
    const auto band = CThemedGroupBox::Layout(kBox, SIZE{60, 14}, true, CThemedGroupBox::kRight);
    EXPECT_EQ(band.caption.right, 199 - 2);
    EXPECT_EQ(band.caption.top, 3);
    EXPECT_EQ(band.body.top, 1 + 14 + 4);
    EXPECT_EQ(band.frame.top, 1);
}

TEST_F(ThemedGroupBoxTest, SettersKeepWhatTheyAreGiven)
{
    // No window yet: the caption stays as it was.
    m_box.SetCaption(L"Early");
    EXPECT_EQ(m_box.GetCaption(), L"");
    ASSERT_TRUE(CreateBox(L""));
    EXPECT_NE(m_box.GetStyle() & CThemedGroupBox::kOwnStyle, 0u);
    m_box.SetCaption(L"Address");
    EXPECT_EQ(m_box.GetCaption(), L" Address ");
    EXPECT_EQ(m_box.SetAlignment(5).GetAlignment(), CThemedGroupBox::kLeft);
    EXPECT_EQ(m_box.SetAlignment(2).GetAlignment(), CThemedGroupBox::kRight);
    m_box.SetFontName(L"A face name much longer than thirty-one characters", DEFAULT_CHARSET);
    EXPECT_EQ(std::wcslen(m_box.GetLogFont().lfFaceName), 31u);
    m_box.SetFontName(L"DejaVu Sans", DEFAULT_CHARSET).SetFontBold(TRUE).SetFontSize(12);
    EXPECT_EQ(m_box.GetLogFont().lfWeight, FW_BOLD);
    EXPECT_LT(m_box.GetLogFont().lfHeight, 0);
    EXPECT_EQ(m_box.SetFontBold(FALSE).GetLogFont().lfWeight, FW_NORMAL);
}

TEST_F(ThemedGroupBoxTest, ClassicAndBandBoxesLookAsTheyShould)
{
    ASSERT_TRUE(CreateBox(L"Address"));
    EXPECT_TRUE(MatchesGolden("GroupBoxClassic"));
    m_box.SetBandStyle(1).SetBackgroundColors(RGB(200, 220, 255), RGB(255, 255, 255)).SetAlignment(1);
    m_box.SetBorderColor(RGB(0, 0, 128)).SetCaptionTextColor(RGB(0, 0, 128));
    EXPECT_TRUE(MatchesGolden("GroupBoxBand"));
}
