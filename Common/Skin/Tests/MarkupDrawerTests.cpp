// The mark-up drawer on memory pictures: what it draws, the images it
// resolves, its links and how it opens them.
#include "Common/Skin/Drawing/MarkupDrawer.h"
#include "Common/Skin/RichToolTip.h"
#include "Common/Skin/Tests/ControlsTestIds.h"
#include "Common/Skin/Tests/DrawingTestSupport.h"
#include "Platform/Base/HandleTable.h"
#include "Platform/Base/Tests/ScopedEnvironment.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Registry/Registry.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

using namespace ZELL::Skin;

namespace {

using ControlsTest::CCanvas;

// Pixels near the colour: text is drawn with smoothed edges.
int CountColor(const CCanvas& canvas, COLORREF color, const RECT* within = nullptr)
{
    const RECT all{0, 0, canvas.Width(), canvas.Height()};
    const RECT& area = within ? *within : all;
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = canvas.At(x, y);
            count += std::abs(GetRValue(c) - GetRValue(color)) < 64 && std::abs(GetGValue(c) - GetGValue(color)) < 64 &&
                             std::abs(GetBValue(c) - GetBValue(color)) < 64
                         ? 1
                         : 0;
        }
    }
    return count;
}

SIZE MeasureText(CMarkupDrawer& drawer, HDC dc, const std::wstring& text)
{
    SIZE size{};
    drawer.Measure(dc, text, size);
    return size;
}

TEST(MarkupDrawer, DrawsTextInItsColourWithinTheMeasuredSize)
{
    CCanvas canvas(200, 60);
    CMarkupDrawer drawer;
    const SIZE size = MeasureText(drawer, canvas.Dc(), L"<font color=#ff0000><b>Wide text</b></font>");
    EXPECT_GT(size.cx, 20);
    EXPECT_GT(size.cy, 8);
    drawer.DrawMeasured(canvas.Dc(), RECT{0, 0, size.cx, size.cy});
    EXPECT_GT(CountColor(canvas, RGB(255, 0, 0)), 20);
    // Nothing outside the measured size.
    for (int x = size.cx; x < canvas.Width(); ++x)
        EXPECT_EQ(canvas.At(x, size.cy / 2), RGB(255, 255, 255));

    const SIZE empty = MeasureText(drawer, canvas.Dc(), L"<b></b>");
    EXPECT_EQ(empty.cx, 1);
    EXPECT_EQ(empty.cy, 1);
    EXPECT_TRUE(drawer.GetText().empty());
}

TEST(MarkupDrawer, RulesSpanTheAreaInTheirColour)
{
    CCanvas canvas(200, 60);
    CMarkupDrawer drawer;
    SIZE size{};
    drawer.Measure(canvas.Dc(), L"Title<br><hr color=#0000ff size=2>Text", size);
    drawer.DrawMeasured(canvas.Dc(), RECT{0, 0, 150, size.cy});
    EXPECT_GE(CountColor(canvas, RGB(0, 0, 255)), 2 * 140);
}

TEST(MarkupDrawer, WrapsAtTheMaximumWidth)
{
    CCanvas canvas(10, 10);
    CMarkupDrawer drawer;
    const SIZE one = MeasureText(drawer, canvas.Dc(), L"alpha beta gamma delta epsilon");
    drawer.SetMaxWidth(60);
    const SIZE wrapped = MeasureText(drawer, canvas.Dc(), L"alpha beta gamma delta epsilon");
    EXPECT_LE(wrapped.cx, 61);
    EXPECT_GE(wrapped.cy, 2 * (one.cy - 1));
}

TEST(MarkupDrawer, SystemColourNamesAreTheSystemsColours)
{
    for (const auto& [name, index] : {std::pair{L"buttonface", COLOR_BTNFACE}, {L"threedshadow", COLOR_3DSHADOW},
                                      {L"highlight", COLOR_HIGHLIGHT}, {L"infobackground", COLOR_INFOBK}}) {
        SCOPED_TRACE(name);
        CCanvas canvas(60, 60);
        CMarkupDrawer drawer;
        drawer.MeasureAndDraw(canvas.Dc(),
                              std::wstring(L"<table><tr><td width=40 height=20 bgcolor=") + name +
                                  L"></td></tr></table><font color=" + name + L">WWWW</font>",
                              POINT{0, 0});
        const COLORREF color = GetSysColor(index);
        EXPECT_EQ(canvas.At(20, 10), color) << "the cell's background";
        const RECT text{0, 21, 60, 60};
        EXPECT_GT(CountColor(canvas, color, &text), 20) << "the text";
    }
}

// "em" and "ex" count in the font where they are written, not in the
// message font everything starts from.
TEST(MarkupDrawer, RelativeLengthsCountInTheCurrentFont)
{
    CCanvas canvas(10, 10);
    CMarkupDrawer drawer;
    for (const auto& [relative, absolute] :
         {std::pair{L"<font size=20px><font size=2em>x", L"<font size=40px>x"},
          {L"<font size=20px><font size=2ex>x", L"<font size=40px>x"},
          {L"<h1><font size=2em>x", L"<h1><font size=36px>x"}}) {
        SCOPED_TRACE(relative);
        EXPECT_NEAR(MeasureText(drawer, canvas.Dc(), relative).cy, MeasureText(drawer, canvas.Dc(), absolute).cy, 2);
    }
}

TEST(MarkupDrawer, IconHandlesResolveThroughTheHandleTable)
{
    CCanvas canvas(200, 60);
    CMarkupDrawer drawer;
    // A copy of its own, which destroying really destroys.
    HICON icon = CopyIcon(LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(ControlsTest::kDiscIcon)));
    ASSERT_NE(icon, nullptr);
    const SIZE withIcon = MeasureText(drawer, canvas.Dc(), CRichToolTip::IconText(icon, L"x"));
    const auto iconWithNumber = [](std::uint64_t number) {
        return L"<table><tr><td><icon handle=" + Platform::FormatHandleNumber(number) + L"></td><td>x</td></tr></table>";
    };
    const LONG withoutIcon = MeasureText(drawer, canvas.Dc(), iconWithNumber(0)).cx;
    EXPECT_GE(withIcon.cx, withoutIcon + 16);

    // The full value as written: one with bits above 32 is another number,
    // not the icon cut down, and an unknown number draws nothing.
    const std::uint64_t number = reinterpret_cast<std::uintptr_t>(icon);
    EXPECT_EQ(MeasureText(drawer, canvas.Dc(), iconWithNumber(number)).cx, withIcon.cx);
    for (const std::uint64_t forged : {number | (std::uint64_t{1} << 32), std::uint64_t{0x12345678}})
        EXPECT_EQ(MeasureText(drawer, canvas.Dc(), iconWithNumber(forged)).cx, withoutIcon);
    DestroyIcon(icon);
    EXPECT_EQ(MeasureText(drawer, canvas.Dc(), CRichToolTip::IconText(icon, L"x")).cx, withoutIcon);
}

TEST(MarkupDrawer, ImageStripsNeedACellOfSomeSize)
{
    CCanvas canvas(100, 40);
    CMarkupDrawer drawer;
    HBITMAP strip = CreateBitmap(48, 16, 1, 32, nullptr);
    const std::wstring handle = Platform::FormatHandleNumber(reinterpret_cast<std::uintptr_t>(strip));
    const int plain = MeasureText(drawer, canvas.Dc(), L"x").cx;
    auto widthOf = [&](const std::wstring& attributes) {
        return MeasureText(drawer, canvas.Dc(), L"<ilst handle=" + handle + L" " + attributes + L">x").cx - plain;
    };
    EXPECT_EQ(widthOf(L"cx=16 cy=16 index=2"), 16);
    EXPECT_EQ(widthOf(L"cx=16 cy=16 index=3"), 0);  // past the last frame
    EXPECT_EQ(widthOf(L"cx=0 cy=16"), 0);
    EXPECT_EQ(widthOf(L"cx=16 cy=0"), 0);
    EXPECT_EQ(widthOf(L"cx=16 cy=16 width=50%"), 8);
    drawer.DrawMeasured(canvas.Dc(), RECT{0, 0, 100, 40});
    DeleteObject(strip);
}

TEST(MarkupDrawer, AnimatedStripsStepTheirFrames)
{
    CCanvas canvas(100, 40);
    CMarkupDrawer drawer;
    HBITMAP strip = CreateBitmap(32, 16, 1, 32, nullptr);
    const std::wstring handle = Platform::FormatHandleNumber(reinterpret_cast<std::uintptr_t>(strip));
    EXPECT_FALSE(drawer.AnimateImages());
    MeasureText(drawer, canvas.Dc(), L"<ilst handle=" + handle + L" cx=16 cy=16 speed=2>");
    EXPECT_FALSE(drawer.AnimateImages());
    EXPECT_TRUE(drawer.AnimateImages());
    EXPECT_FALSE(drawer.AnimateImages());
    EXPECT_TRUE(drawer.AnimateImages());
    DeleteObject(strip);
}

TEST(MarkupDrawer, StyleSheetsFromStringResources)
{
    CCanvas canvas(200, 40);
    CMarkupDrawer drawer;
    // No such string, no such library: the sheet stays.
    EXPECT_FALSE(drawer.SetStyleSheetFromResource(9999));
    EXPECT_FALSE(drawer.SetStyleSheetFromResource(ControlsTest::kTipText, L"/nonexistent/library.so"));
    MeasureText(drawer, canvas.Dc(), L"<h2>x</h2>");
    // A string that is no style sheet gives an empty one: "h2" then looks
    // like the body text.
    ASSERT_TRUE(drawer.SetStyleSheetFromResource(ControlsTest::kTipText));
    const SIZE plain = MeasureText(drawer, canvas.Dc(), L"x");
    EXPECT_EQ(MeasureText(drawer, canvas.Dc(), L"<h2>x</h2>").cy, plain.cy);
}

// A window that notes the drawer's callbacks.
class MarkupLinks : public ::testing::Test {
protected:
    static constexpr UINT kHover = WM_USER + 7;
    static constexpr UINT kLink = WM_USER + 8;

    void SetUp() override
    {
        handler.m_onMessage = [this](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
            if (message == kHover)
                hovers.push_back(static_cast<int>(static_cast<INT_PTR>(wParam)));
            if (message == kLink)
                links.emplace_back(reinterpret_cast<const wchar_t*>(wParam), lParam);
            return false;
        };
        window = UiTest::Create(&handler, WS_POPUP, 0, 0, 10, 10);
        drawer.SetHoverCallback(window, kHover, 0);
        drawer.SetHyperlinkCallback(window, kLink, 0);
    }
    void TearDown() override { DestroyWindow(window); }

    void Show(const std::wstring& text)
    {
        SIZE size{};
        drawer.Measure(canvas.Dc(), text, size);
        drawer.DrawMeasured(canvas.Dc(), RECT{0, 0, size.cx, size.cy});
    }
    POINT CentreOf(int link) const
    {
        for (const auto& area : drawer.HotAreas())
            if (area.number == link)
                return POINT{(area.rect.left + area.rect.right) / 2, (area.rect.top + area.rect.bottom) / 2};
        ADD_FAILURE() << "no hot area for the link";
        return POINT{-100, -100};
    }

    UiTest::Handler handler;
    HWND window = nullptr;
    CCanvas canvas{300, 60};
    CMarkupDrawer drawer;
    std::vector<int> hovers;
    std::vector<std::pair<std::wstring, LPARAM>> links;
};

TEST_F(MarkupLinks, HoverReportsEachChangeOnce)
{
    Show(L"<a href=x>one</a> two <a msg=m>three</a>");
    ASSERT_EQ(drawer.HotAreas().size(), 2u);
    const RECT& one = drawer.HotAreas()[0].rect;
    const POINT outside{one.right + 10, (one.top + one.bottom) / 2};
    EXPECT_EQ(drawer.HitTestLink(outside), -1);
    EXPECT_FALSE(drawer.OnLinkHover(outside));
    EXPECT_TRUE(hovers.empty());  // nothing was hovered before

    EXPECT_TRUE(drawer.OnLinkHover(CentreOf(0)));
    EXPECT_TRUE(drawer.OnLinkHover(CentreOf(0)));
    EXPECT_TRUE(drawer.OnLinkHover(CentreOf(1)));
    EXPECT_FALSE(drawer.OnLinkHover(outside));
    EXPECT_FALSE(drawer.OnLinkHover(outside));
    EXPECT_EQ(hovers, (std::vector<int>{0, 1, CMarkupDrawer::kNoLink}));
}

TEST_F(MarkupLinks, MessageLinksSendTheirTextAndTheClickValue)
{
    Show(L"<a msg=7>go</a> <a>bare</a>");
    drawer.OnLinkClick(CentreOf(0), 12);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].first, L"7");
    EXPECT_EQ(links[0].second, 12);
    // A link without a target: its number is reported, but no hand and no action.
    EXPECT_FALSE(drawer.OnLinkHover(CentreOf(1)));
    EXPECT_EQ(hovers.back(), 1);
    drawer.OnLinkClick(CentreOf(1), 13);
    EXPECT_EQ(links.size(), 1u);
}

TEST_F(MarkupLinks, OnlyTheHoveredLinkTakesTheHoverRule)
{
    drawer.SetStyleRule(L"a:hover", L"color:#00ff00");
    Show(L"<a msg=a>first</a> <a msg=b>second</a>");
    EXPECT_EQ(CountColor(canvas, RGB(0, 255, 0)), 0);
    drawer.OnLinkHover(CentreOf(1));
    PatBlt(canvas.Dc(), 0, 0, canvas.Width(), canvas.Height(), WHITENESS);
    drawer.DrawMeasured(canvas.Dc(), RECT{0, 0, 300, 60});
    const RECT first = drawer.HotAreas()[0].rect;
    EXPECT_EQ(CountColor(canvas, RGB(0, 255, 0), &first), 0);
    EXPECT_GT(CountColor(canvas, RGB(0, 255, 0)), 10);
}

// Opening a link: the target reaches the program as one argument, with
// xdg-open and with the registered program the fall-back starts.
class OpenLink : public ::testing::Test {
protected:
    // A program that writes each argument on a line of its own and exits.
    std::filesystem::path Recorder(const std::string& name, int exitCode) const
    {
        const auto path = m_folder.Write(name, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                                                   (m_folder / (name + ".args")).string() + "'\nexit " +
                                                   std::to_string(exitCode) + "\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }
    std::string ArgumentsOf(const std::string& name) const
    {
        const auto path = m_folder / (name + ".args");
        for (int i = 0; i < 200 && !std::filesystem::exists(path); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return TestSupport::ReadFile(path);
    }
    static void Register(const std::wstring& command)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".htm", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const std::wstring page = L"TestPage";
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(page.c_str()),
                       static_cast<DWORD>((page.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"TestPage\\shell\\open\\command", 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }

    TestSupport::CTempFolder m_folder{"zell-openlink"};
    TestSupport::CScopedVariable m_path{"PATH", m_folder.Path().string() + ":/usr/bin:/bin"};
};

TEST_F(OpenLink, TheTargetIsOneArgumentOfTheOpener)
{
    Recorder("xdg-open", 0);
    const std::wstring target = L"http://host/a b;echo x \"q\"";
    EXPECT_GT(CMarkupDrawer::OpenLink(target, SW_SHOW), 32);
    EXPECT_EQ(ArgumentsOf("xdg-open"), "http://host/a b;echo x \"q\"\n");
}

TEST_F(OpenLink, TheFallBackPassesTheTargetAsOneArgument)
{
    Recorder("xdg-open", 4);
    const auto browser = Recorder("browser", 0);
    Register(L"\"" + browser.wstring() + L"\" --new-window \"%1\" --tail");
    const std::wstring target = L"http://host/a b \"c\"";
    EXPECT_GT(CMarkupDrawer::OpenLink(target, SW_SHOW), 32);
    EXPECT_EQ(ArgumentsOf("browser"), "--new-window\nhttp://host/a b \"c\"\n");
}

} // namespace
