#include "Platform/Ui/Tests/GoldenImage.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

#include <filesystem>

using namespace UiTest;

namespace {

LRESULT HitAt(HWND hwnd, POINT screen)
{
    return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
}

// The client rectangle in window coordinates.
RECT ClientInWindow(HWND hwnd)
{
    RECT window{};
    GetWindowRect(hwnd, &window);
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    return {origin.x - window.left, origin.y - window.top, origin.x - window.left + client.right,
            origin.y - window.top + client.bottom};
}

void Click(POINT p, Display::MouseButton button = Display::MouseButton::Left)
{
    Headless().InjectMouseDown(button, p);
    Headless().InjectMouseUp(button, p);
    Drain();
}

std::string SavedPicture(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("zell-" + name + "-" + std::to_string(::getpid()) + ".png")).string();
}

// A pop-up at screen (100, 100) holding a child at (10, 10), 200 x 150, whose
// window coordinates start at screen (110, 110).
struct ChildScene {
    Handler top;
    Handler child;
    WindowGuard guard;
    HWND hwnd = nullptr;

    ChildScene(DWORD style, DWORD exStyle)
    {
        guard.hwnd = Create(&top, WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
        hwnd = Create(&child, WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 150, guard.hwnd, 1, exStyle);
        SetActiveWindow(guard.hwnd);
        Drain();
        child.Clear();
        top.Clear();
    }
    static POINT At(int x, int y) { return {110 + x, 110 + y}; }
};

}

TEST(NonClient, ClientRectangleShrinksByBordersEdgesAndBars)
{
    struct Case {
        DWORD style;
        DWORD exStyle;
        RECT client;  // in window coordinates of a 200 x 150 child
    };
    const Case cases[] = {
        {0, 0, {0, 0, 200, 150}},
        {WS_BORDER, 0, {1, 1, 199, 149}},
        {0, WS_EX_CLIENTEDGE, {2, 2, 198, 148}},
        {0, WS_EX_STATICEDGE, {1, 1, 199, 149}},
        {0, WS_EX_WINDOWEDGE, {0, 0, 200, 150}},
        {WS_DLGFRAME, 0, {3, 3, 197, 147}},
        {WS_THICKFRAME, 0, {4, 4, 196, 146}},
        {WS_BORDER, WS_EX_CLIENTEDGE, {3, 3, 197, 147}},
        {WS_VSCROLL, 0, {0, 0, 183, 150}},
        {WS_HSCROLL, 0, {0, 0, 200, 133}},
        {WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE, {2, 2, 181, 131}},
        {WS_THICKFRAME | WS_VSCROLL, WS_EX_STATICEDGE, {5, 5, 178, 145}},
    };
    for (const Case& c : cases) {
        ChildScene s(c.style, c.exStyle);
        const RECT got = ClientInWindow(s.hwnd);
        EXPECT_TRUE(EqualRect(&got, &c.client)) << std::hex << "style " << c.style << " ex " << c.exStyle << std::dec << ": "
                                                << got.left << "," << got.top << "," << got.right << "," << got.bottom;
        // The default answer to WM_NCCALCSIZE is what the window got.
        RECT asked{10, 10, 210, 160};
        SendMessageW(s.hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&asked));
        EXPECT_EQ(asked.left - 10, c.client.left);
        EXPECT_EQ(asked.bottom - 10, c.client.bottom);
    }
}

TEST(NonClient, WindowsAnswerWmNcCalcSizeThemselves)
{
    Handler top;
    Handler child;
    bool asked = false;
    child.m_onMessage = [&](HWND, UINT m, WPARAM wp, LPARAM lp, LRESULT& r) {
        if (m != WM_NCCALCSIZE)
            return false;
        RECT* rect = wp != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
        asked = asked || wp != 0;
        *rect = {rect->left + 5, rect->top + 8, rect->right - 5, rect->bottom - 5};
        r = 0;
        return true;
    };
    WindowGuard g{Create(&top, WS_POPUP | WS_VISIBLE, 100, 100, 300, 200)};
    const HWND hwnd = Create(&child, WS_CHILD | WS_VISIBLE, 10, 10, 100, 60, g.hwnd, 1);
    RECT expected{5, 8, 95, 55};
    RECT got = ClientInWindow(hwnd);
    EXPECT_TRUE(EqualRect(&got, &expected)) << "at creation";
    EXPECT_EQ(HitAt(hwnd, {110 + 2, 110 + 2}), HTBORDER) << "the window's own non-client area";
    SetWindowPos(hwnd, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(asked) << "resizing asks with NCCALCSIZE_PARAMS";
    expected = {5, 8, 115, 75};
    got = ClientInWindow(hwnd);
    EXPECT_TRUE(EqualRect(&got, &expected)) << "after a resize";
    const auto sizes = child.Of(WM_SIZE);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(LOWORD(sizes.back().lParam), 110);
    EXPECT_EQ(HIWORD(sizes.back().lParam), 67);
}

TEST(NonClient, HitTestNamesTheParts)
{
    ChildScene s(WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE);
    EXPECT_EQ(HitAt(s.hwnd, s.At(50, 50)), HTCLIENT);
    EXPECT_EQ(HitAt(s.hwnd, s.At(189, 50)), HTVSCROLL);
    EXPECT_EQ(HitAt(s.hwnd, s.At(50, 140)), HTHSCROLL);
    EXPECT_EQ(HitAt(s.hwnd, s.At(0, 50)), HTBORDER) << "the client edge";
    EXPECT_EQ(HitAt(s.hwnd, s.At(199, 149)), HTBORDER);
    EXPECT_EQ(HitAt(s.hwnd, s.At(190, 140)), HTBORDER) << "the square between the bars";
    EXPECT_EQ(HitAt(s.hwnd, s.At(200, 50)), HTNOWHERE);
    EXPECT_EQ(HitAt(s.hwnd, s.At(-1, -1)), HTNOWHERE);
    EXPECT_EQ(WindowFromPoint(s.At(189, 50)), s.hwnd) << "the bar belongs to the child";
}

TEST(NonClient, HeadlessFramesHaveCaptionCloseButtonAndBorders)
{
    Handler h;
    WindowGuard fixed{Create(&h, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 200, 200, 240, 120)};
    // A fixed frame: 3 pixels of border, a caption of 22 under it.
    EXPECT_EQ(HitAt(fixed.hwnd, {300, 210}), HTCAPTION);
    EXPECT_EQ(HitAt(fixed.hwnd, {200 + 240 - 14, 213}), HTCLOSE);
    EXPECT_EQ(HitAt(fixed.hwnd, {201, 260}), HTBORDER);
    EXPECT_EQ(HitAt(fixed.hwnd, {300, 260}), HTCLIENT);
    Handler t;
    WindowGuard sizing{Create(&t, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 200, 240, 120)};
    EXPECT_EQ(HitAt(sizing.hwnd, {501, 260}), HTLEFT);
    EXPECT_EQ(HitAt(sizing.hwnd, {738, 260}), HTRIGHT);
    EXPECT_EQ(HitAt(sizing.hwnd, {600, 318}), HTBOTTOM);
    EXPECT_EQ(HitAt(sizing.hwnd, {738, 318}), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(sizing.hwnd, {501, 201}), HTTOPLEFT);

    // A click on the close button closes the window.
    h.Clear();
    Click({200 + 240 - 14, 213});
    const auto commands = h.Of(WM_SYSCOMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam & 0xFFF0, static_cast<WPARAM>(SC_CLOSE));
    EXPECT_FALSE(IsWindow(fixed.hwnd));
}

TEST(NonClient, MouseOnTheNonClientAreaComesAsNonClientMessages)
{
    ChildScene s(WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE);
    Headless().InjectMouseMove(s.At(50, 140));
    Drain();
    auto moves = s.child.Of(WM_NCMOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].wParam, static_cast<WPARAM>(HTHSCROLL));
    EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 160) << "screen coordinates";
    EXPECT_EQ(GET_Y_LPARAM(moves[0].lParam), 250);
    EXPECT_TRUE(s.child.Of(WM_MOUSEMOVE).empty());
    auto cursors = s.child.Of(WM_SETCURSOR);
    ASSERT_FALSE(cursors.empty());
    EXPECT_EQ(LOWORD(cursors.back().lParam), HTHSCROLL);
    EXPECT_EQ(HIWORD(cursors.back().lParam), WM_NCMOUSEMOVE);

    s.child.Clear();
    Click(s.At(0, 60), Display::MouseButton::Right);
    EXPECT_EQ(s.child.Ids({WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}),
              (std::vector<UINT>{WM_NCRBUTTONDOWN, WM_NCRBUTTONUP}));
    EXPECT_EQ(s.child.Of(WM_NCRBUTTONDOWN)[0].wParam, static_cast<WPARAM>(HTBORDER));

    // In the client area everything stays as it was, in client coordinates.
    s.child.Clear();
    Click(s.At(12, 22));
    const auto downs = s.child.Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 10);
    EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), 20);
    EXPECT_TRUE(s.child.Of(WM_NCLBUTTONDOWN).empty());
}

TEST(NonClient, MouseActivateCarriesTheHitCode)
{
    ChildScene s(WS_VSCROLL, 0);
    Handler other;
    WindowGuard o{Create(&other, WS_POPUP | WS_VISIBLE, 600, 600, 50, 50)};
    ASSERT_NE(GetActiveWindow(), s.guard.hwnd);
    s.child.Clear();
    Click(s.At(190, 60));
    const auto activates = s.child.Of(WM_MOUSEACTIVATE);
    ASSERT_EQ(activates.size(), 1u);
    EXPECT_EQ(LOWORD(activates[0].lParam), HTVSCROLL);
    EXPECT_EQ(GetActiveWindow(), s.guard.hwnd);
}

TEST(NonClient, TransparentWindowsPassTheInputBelow)
{
    ChildScene s(0, 0);
    Handler cover;
    cover.m_onMessage = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_NCHITTEST)
            return false;
        r = HTTRANSPARENT;
        return true;
    };
    // Over the child, on top of the Z-order.
    WindowGuard glassGuard{Create(&cover, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, s.guard.hwnd, 2)};
    const HWND glass = glassGuard.hwnd;
    SetWindowPos(glass, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Drain();
    cover.Clear();
    Click({130, 140});
    EXPECT_TRUE(cover.Of(WM_LBUTTONDOWN).empty());
    const auto downs = s.child.Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u) << "the sibling below takes the click";
    EXPECT_EQ(GET_X_LPARAM(downs[0].lParam), 20);
    EXPECT_EQ(GET_Y_LPARAM(downs[0].lParam), 30);
    // Where nothing is below but the parent, the parent takes it.
    Click({105, 105});
    EXPECT_EQ(s.top.Of(WM_LBUTTONDOWN).size(), 1u);
    // The window found under a point looks through the glass the same way.
    EXPECT_EQ(WindowFromPoint({130, 140}), s.hwnd);
    EXPECT_EQ(WindowFromPoint({105, 105}), s.guard.hwnd);
}

TEST(NonClient, ErrorAndNowhereAnswers)
{
    ChildScene s(0, 0);
    LRESULT answer = HTERROR;
    s.child.m_onMessage = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_NCHITTEST)
            return false;
        r = answer;
        return true;
    };
    const int beeps = Headless().BeepCount();
    Click(s.At(50, 50));
    EXPECT_TRUE(s.child.Of(WM_LBUTTONDOWN).empty() && s.child.Of(WM_NCLBUTTONDOWN).empty());
    EXPECT_EQ(Headless().BeepCount(), beeps + 1) << "a press where the window takes none beeps";
    answer = HTNOWHERE;
    s.child.Clear();
    Click(s.At(50, 50));
    const auto downs = s.child.Of(WM_NCLBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(HTNOWHERE));
}

TEST(NonClient, ChildWithBarsAndClientEdgeLooksClassic)
{
    Handler top;
    Handler child;
    WindowGuard g{Create(&top, WS_POPUP | WS_VISIBLE, 40, 40, 240, 190)};
    const HWND hwnd = Create(&child, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 10, 10, 200, 150, g.hwnd, 1,
                             WS_EX_CLIENTEDGE);
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = 99;
    si.nPage = 20;
    si.nPos = 30;
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
    si.nMax = 49;
    si.nPage = 25;
    si.nPos = 0;
    SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
    EnableScrollBar(hwnd, SB_HORZ, ESB_DISABLE_LEFT);
    UpdateWindow(g.hwnd);
    Drain();
    const std::string saved = SavedPicture("bars");
    ASSERT_TRUE(Headless().SaveAsPng(NativeWindowOf(g.hwnd), saved));
    EXPECT_TRUE(MatchesGolden(saved, "ChildScrollBarsClientEdge"));
    std::filesystem::remove(saved);
}

TEST(NonClient, HeadlessTopLevelShowsCaptionAndFrame)
{
    Handler top;
    Handler child;
    WindowGuard g{CreateWindowExW(0, ClassName(), L"Device settings", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                  60, 60, 260, 140, nullptr, nullptr, nullptr, &top)};
    Create(&child, WS_CHILD | WS_VISIBLE | WS_VSCROLL, 20, 20, 120, 70, g.hwnd, 1, WS_EX_STATICEDGE);
    SetActiveWindow(g.hwnd);
    UpdateWindow(g.hwnd);
    Drain();
    const std::string saved = SavedPicture("frame");
    ASSERT_TRUE(Headless().SaveWithFrameAsPng(NativeWindowOf(g.hwnd), saved));
    EXPECT_TRUE(MatchesGolden(saved, "HeadlessTopLevelFrame"));
    std::filesystem::remove(saved);

    // A new title shows at once.
    SetWindowTextW(g.hwnd, L"Renamed");
    Drain();
    ASSERT_TRUE(Headless().SaveWithFrameAsPng(NativeWindowOf(g.hwnd), saved));
    EXPECT_FALSE(MatchesGolden(saved, "HeadlessTopLevelFrame"));
    std::filesystem::remove(saved);
    std::filesystem::remove(std::filesystem::current_path() / "golden-failures" / "HeadlessTopLevelFrame.diff.png");
    std::filesystem::remove(std::filesystem::current_path() / "golden-failures" / "HeadlessTopLevelFrame.actual.png");
}
