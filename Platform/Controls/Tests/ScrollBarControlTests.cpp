#include "ListTestSupport.h"

#include "Platform/Ui/ScrollBarTracker.h"

using namespace ControlTest;
using namespace ListTest;

namespace {

const int kBar = GetSystemMetrics(SM_CXVSCROLL);

// The SB_ codes the parent got from the bar with `id`, in order.
std::vector<WORD> Requests(const Scene& s, UINT message, int id = 5)
{
    std::vector<WORD> codes;
    for (const Note& n : s.Notes(message))
        if (n.id == id)
            codes.push_back(n.code);
    return codes;
}

HWND AddBar(Scene& s, DWORD style, int id = 5)
{
    const bool vertical = (style & SBS_VERT) != 0;
    HWND bar = s.Add(L"ScrollBar", L"", style, 20, 20, vertical ? kBar : 200, vertical ? 150 : kBar, id);
    SetScrollRange(bar, SB_CTL, 0, 100, FALSE);
    return bar;
}

}

TEST(ScrollBarControl, ArrowPressStepsAndRepeatsOnTheClock)
{
    Scene s;
    HWND bar = AddBar(s, SBS_VERT);
    s.Press(bar, {8, 150 - 4});
    EXPECT_EQ(Requests(s, WM_VSCROLL), std::vector<WORD>{SB_LINEDOWN}) << "at once on the press";
    s.Wait(Ui::ScrollBarTracker::kFirstRepeatMs - 20);
    EXPECT_EQ(Requests(s, WM_VSCROLL).size(), 1u) << "nothing before the first delay";
    s.Wait(20 + 3 * Ui::ScrollBarTracker::kRepeatMs);
    EXPECT_GE(Requests(s, WM_VSCROLL).size(), 3u);
    s.Release(bar, {8, 150 - 4});
    std::vector<WORD> codes = Requests(s, WM_VSCROLL);
    EXPECT_EQ(codes.back(), SB_ENDSCROLL);
    codes.pop_back();
    EXPECT_EQ(codes, std::vector<WORD>(codes.size(), SB_LINEDOWN));
    EXPECT_EQ(GetCapture(), nullptr);
    // The bar reports; its parent moves it.
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
    EXPECT_TRUE(Requests(s, WM_HSCROLL).empty());

    s.Clear();
    s.Click(bar, {8, 4});
    EXPECT_EQ(Requests(s, WM_VSCROLL), (std::vector<WORD>{SB_LINEUP, SB_ENDSCROLL}));
}

TEST(ScrollBarControl, PageAndThumbOfAHorizontalBar)
{
    Scene s;
    HWND bar = AddBar(s, SBS_HORZ);
    SCROLLINFO info;
    info.fMask = SIF_PAGE | SIF_POS;
    info.nPage = 20;
    info.nPos = 40;
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &info, TRUE), 40);
    s.Click(bar, {190 - kBar, 8});
    EXPECT_EQ(Requests(s, WM_HSCROLL), (std::vector<WORD>{SB_PAGERIGHT, SB_ENDSCROLL}));
    s.Clear();
    s.Click(bar, {kBar + 2, 8});
    EXPECT_EQ(Requests(s, WM_HSCROLL), (std::vector<WORD>{SB_PAGELEFT, SB_ENDSCROLL}));

    // The thumb: from its middle to beyond the far end.
    s.Clear();
    Ui::ScrollBarModel model;
    SCROLLINFO all;
    all.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &all);
    model.Set(all);
    RECT client{};
    GetClientRect(bar, &client);
    const RECT shown = Ui::ScrollBarGeometry(client, false, model).Thumb();
    const int thumb = (shown.left + shown.right) / 2;
    ASSERT_GT(thumb, 0);
    s.Press(bar, {thumb, 8});
    s.Move(bar, {thumb + 30, 8});
    s.Move(bar, {400, 8});
    info.fMask = SIF_TRACKPOS | SIF_POS;
    ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
    EXPECT_EQ(info.nTrackPos, 81) << "the last position the page allows";
    EXPECT_EQ(info.nPos, 40);
    s.Release(bar, {400, 8});
    const std::vector<Note> notes = s.Notes(WM_HSCROLL);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].code, SB_THUMBTRACK);
    EXPECT_GT(notes[0].position, 40);
    EXPECT_EQ(notes[1].code, SB_THUMBTRACK);
    EXPECT_EQ(notes[1].position, 81);
    EXPECT_EQ(notes[2].code, SB_THUMBPOSITION);
    EXPECT_EQ(notes[2].position, 81);
    EXPECT_EQ(notes[3].code, SB_ENDSCROLL);
}

TEST(ScrollBarControl, KeysGiveTheirCodesAndTheReleaseEndsThem)
{
    Scene s;
    HWND bar = AddBar(s, SBS_VERT | WS_TABSTOP);
    s.Click(bar, {8, 4});
    EXPECT_EQ(GetFocus(), bar) << "a tab stop takes the focus on a press";
    s.Clear();
    for (UINT key : {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END})
        s.Key(key);
    EXPECT_EQ(Requests(s, WM_VSCROLL),
              (std::vector<WORD>{SB_LINEUP, SB_ENDSCROLL, SB_LINEDOWN, SB_ENDSCROLL, SB_PAGEUP, SB_ENDSCROLL, SB_PAGEDOWN,
                                 SB_ENDSCROLL, SB_TOP, SB_ENDSCROLL, SB_BOTTOM, SB_ENDSCROLL}));
    EXPECT_EQ(Send(bar, WM_GETDLGCODE), DLGC_WANTARROWS);

    HWND plain = AddBar(s, SBS_VERT, 6);
    SetFocus(s.Top());
    s.Click(plain, {8, 4});
    EXPECT_NE(GetFocus(), plain) << "without WS_TABSTOP the focus stays";
}

TEST(ScrollBarControl, RangePositionAndTheArrowsThatAreOff)
{
    Scene s;
    HWND bar = AddBar(s, SBS_HORZ);
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, 70, TRUE), 0);
    EXPECT_EQ(Send(bar, SBM_SETRANGE, 0, 50), 70) << "the position before";
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 50) << "clamped into the new range";
    int low = -1;
    int high = -1;
    EXPECT_TRUE(GetScrollRange(bar, SB_CTL, &low, &high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 50);
    EXPECT_EQ(SetScrollPos(bar, SB_CTL, -5, FALSE), 50);
    EXPECT_EQ(Send(bar, SBM_GETPOS), 0);
    SCROLLINFO bad;
    bad.cbSize = 3;
    bad.fMask = SIF_ALL;
    EXPECT_FALSE(Send(bar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&bad)));

    EXPECT_TRUE(EnableScrollBar(bar, SB_CTL, ESB_DISABLE_LEFT));
    EXPECT_FALSE(EnableScrollBar(bar, SB_CTL, ESB_DISABLE_LEFT)) << "nothing changed";
    s.Click(bar, {4, 8});
    EXPECT_TRUE(Requests(s, WM_HSCROLL).empty()) << "an arrow that is off does nothing";
    s.Click(bar, {196, 8});
    EXPECT_EQ(Requests(s, WM_HSCROLL), (std::vector<WORD>{SB_LINERIGHT, SB_ENDSCROLL}));

    s.Clear();
    EnableWindow(bar, FALSE);
    s.Click(bar, {196, 8});
    SendMessageW(bar, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(Requests(s, WM_HSCROLL).empty()) << "a disabled bar does nothing";
}

TEST(ScrollBarControl, AlignedStylesTakeTheStandardThicknessAtTheirSide)
{
    Scene s;
    HWND bottom = s.Add(L"ScrollBar", L"", SBS_HORZ | SBS_BOTTOMALIGN, 10, 10, 200, 100, 1);
    HWND left = s.Add(L"ScrollBar", L"", SBS_VERT | SBS_LEFTALIGN, 10, 10, 200, 100, 2);
    HWND grip = s.Add(L"ScrollBar", L"", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 10, 10, 200, 100, 3);
    const auto placed = [&s](HWND hwnd) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, s.Top(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    EXPECT_EQ(placed(bottom).top, 110 - GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_EQ(placed(bottom).bottom, 110);
    EXPECT_EQ(placed(bottom).right - placed(bottom).left, 200);
    EXPECT_EQ(placed(left).left, 10);
    EXPECT_EQ(placed(left).right, 10 + GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(placed(grip).left, 210 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(placed(grip).top, 110 - GetSystemMetrics(SM_CYHSCROLL));
    s.Click(grip, {4, 4});
    EXPECT_TRUE(Requests(s, WM_VSCROLL, 3).empty());
    EXPECT_TRUE(Requests(s, WM_HSCROLL, 3).empty());
}

TEST(ScrollBarGolden, HorizontalVerticalDisabledAndGrip)
{
    Scene s(260, 140);
    HWND horizontal = s.Add(L"ScrollBar", L"", SBS_HORZ, 10, 10, 200, kBar, 1);
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    info.nMax = 99;
    info.nPage = 25;
    info.nPos = 30;
    SetScrollInfo(horizontal, SB_CTL, &info, TRUE);
    HWND vertical = s.Add(L"ScrollBar", L"", SBS_VERT, 220, 10, kBar, 120, 2);
    info.nPos = 70;
    SetScrollInfo(vertical, SB_CTL, &info, TRUE);
    HWND disabled = s.Add(L"ScrollBar", L"", SBS_HORZ | WS_DISABLED, 10, 40, 200, kBar, 3);
    SetScrollInfo(disabled, SB_CTL, &info, TRUE);
    HWND arrowOff = s.Add(L"ScrollBar", L"", SBS_HORZ, 10, 70, 200, kBar, 4);
    info.nPos = 0;
    SetScrollInfo(arrowOff, SB_CTL, &info, TRUE);
    EnableScrollBar(arrowOff, SB_CTL, ESB_DISABLE_LEFT);
    s.Add(L"ScrollBar", L"", SBS_SIZEGRIP, 236, 116, kBar, kBar, 5);
    ExpectGolden(s, "scrollbars");
}
