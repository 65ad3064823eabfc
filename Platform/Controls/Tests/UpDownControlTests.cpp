#include "ControlTestSupport.h"

#include "Platform/Ui/Tests/WindowText.h"
using namespace ControlTest;

namespace {

constexpr POINT kUpArrow{5, 3};
constexpr POINT kDownArrow{5, 17};
constexpr WORD kThumbPosition = 4;
constexpr WORD kEndScroll = 8;

// A buddy that shows its text: a plain test window, as the up-down control
// only reads and writes the text.
struct Spin {
    Scene& scene;
    UiTest::Handler buddyHandler;
    HWND buddy = nullptr;
    HWND spin = nullptr;

    Spin(Scene& s, DWORD style, LPCWSTR text = L"0") : scene(s)
    {
        buddy = UiTest::Create(&buddyHandler, WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, s.Top(), 1);
        SetWindowTextW(buddy, text);
        spin = s.Add(UPDOWN_CLASSW, L"", style, 0, 0, 16, 20, 2);
        if ((style & UDS_AUTOBUDDY) == 0)
            SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    }
    ~Spin()
    {
        for (HWND hwnd : {spin, buddy})
            if (IsWindow(hwnd))
                DestroyWindow(hwnd);
    }
    Spin(const Spin&) = delete;
    Spin& operator=(const Spin&) = delete;
    std::wstring Text() const { return UiTest::TextOf(buddy); }
    int Position() const { return static_cast<int>(SendMessageW(spin, UDM_GETPOS32, 0, 0)); }
};

}

TEST(UpDownControl, TheDefaultRangeRunsDownwardsAndTheBuddyShowsThePosition)
{
    Scene s;
    Spin spin(s, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY);
    EXPECT_EQ(SendMessageW(spin.spin, UDM_GETBUDDY, 0, 0), reinterpret_cast<LRESULT>(spin.buddy))
        << "UDS_AUTOBUDDY takes the window before it";
    int lower = 0;
    int upper = 0;
    SendMessageW(spin.spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 100);
    EXPECT_EQ(upper, 0);
    // UDS_ALIGNRIGHT: the spin sits at the buddy's right end, which gave up the room.
    RECT buddy{};
    RECT own{};
    GetWindowRect(spin.buddy, &buddy);
    GetWindowRect(spin.spin, &own);
    EXPECT_EQ(buddy.right - buddy.left, 64);
    EXPECT_EQ(own.left, buddy.right);
    EXPECT_EQ(own.top, buddy.top);
    EXPECT_EQ(own.bottom - own.top, 20);

    SetWindowTextW(spin.buddy, L"50");
    s.Click(spin.spin, kDownArrow);
    EXPECT_EQ(spin.Text(), L"51") << "down runs towards the lower end, 100";
    s.Click(spin.spin, kUpArrow);
    s.Click(spin.spin, kUpArrow);
    EXPECT_EQ(spin.Text(), L"49");
    EXPECT_EQ(spin.Position(), 49);
}

TEST(UpDownControl, AStepAsksTheParentThenReports)
{
    Scene s;
    Spin spin(s, UDS_SETBUDDYINT);
    SendMessageW(spin.spin, UDM_SETRANGE32, 0, 10);
    SendMessageW(spin.spin, UDM_SETPOS32, 0, 4);
    s.Clear();
    s.Press(spin.spin, kUpArrow);
    auto notes = s.Notes();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].message, static_cast<UINT>(WM_NOTIFY));
    EXPECT_EQ(notes[0].code, static_cast<WORD>(UDN_DELTAPOS));
    EXPECT_EQ(notes[0].position, 4);
    EXPECT_EQ(notes[0].delta, 1);
    EXPECT_EQ(notes[1].message, static_cast<UINT>(WM_VSCROLL));
    EXPECT_EQ(notes[1].code, kThumbPosition);
    EXPECT_EQ(notes[1].position, 5);
    s.Clear();
    s.Release(spin.spin, kUpArrow);
    EXPECT_EQ(s.Notes(WM_VSCROLL).size(), 1u);
    EXPECT_EQ(s.Notes(WM_VSCROLL)[0].code, kEndScroll);

    // The parent may refuse a step or change its size.
    s.refuseDelta = true;
    s.Click(spin.spin, kUpArrow);
    EXPECT_EQ(spin.Text(), L"5");
    s.refuseDelta = false;
    s.deltaOverride = 3;
    s.Click(spin.spin, kUpArrow);
    EXPECT_EQ(spin.Text(), L"8");
    s.deltaOverride = 0;

    // A buddy text that is no number is reported as an error.
    SetWindowTextW(spin.buddy, L"abc");
    BOOL failed = FALSE;
    EXPECT_EQ(SendMessageW(spin.spin, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)), 8);
    EXPECT_TRUE(failed);
    EXPECT_EQ(HIWORD(static_cast<DWORD>(SendMessageW(spin.spin, UDM_GETPOS, 0, 0))), 1);
}

TEST(UpDownControl, EndsClampOrWrapAndLargeNumbersAreGrouped)
{
    Scene s;
    Spin clamp(s, UDS_SETBUDDYINT);
    SendMessageW(clamp.spin, UDM_SETRANGE32, 0, 3);
    SendMessageW(clamp.spin, UDM_SETPOS32, 0, 3);
    s.Clear();
    s.Click(clamp.spin, kUpArrow);
    EXPECT_EQ(clamp.Text(), L"3");
    for (const Note& n : s.Notes(WM_VSCROLL))
        EXPECT_NE(n.code, kThumbPosition) << "no move to report at the end";
    EXPECT_EQ(SendMessageW(clamp.spin, UDM_SETPOS32, 0, 99), 3);
    EXPECT_EQ(clamp.Position(), 3) << "set positions are clamped too";
    DestroyWindow(clamp.spin);
    DestroyWindow(clamp.buddy);

    Spin wrap(s, UDS_SETBUDDYINT | UDS_WRAP);
    SendMessageW(wrap.spin, UDM_SETRANGE32, 0, 3);
    SendMessageW(wrap.spin, UDM_SETPOS32, 0, 3);
    s.Click(wrap.spin, kUpArrow);
    EXPECT_EQ(wrap.Text(), L"0");
    s.Click(wrap.spin, kDownArrow);
    EXPECT_EQ(wrap.Text(), L"3");
    DestroyWindow(wrap.spin);
    DestroyWindow(wrap.buddy);

    Spin grouped(s, UDS_SETBUDDYINT);
    SendMessageW(grouped.spin, UDM_SETRANGE32, static_cast<WPARAM>(-2000000), 2000000);
    SendMessageW(grouped.spin, UDM_SETPOS32, 0, 1234567);
    EXPECT_EQ(grouped.Text(), L"1,234,567");
    SendMessageW(grouped.spin, UDM_SETPOS32, 0, -1000);
    EXPECT_EQ(grouped.Text(), L"-1,000");
    SetWindowTextW(grouped.buddy, L"1,999,999");
    s.Click(grouped.spin, kUpArrow);
    EXPECT_EQ(grouped.Text(), L"2,000,000") << "the text the user typed is where it steps from";
    SendMessageW(grouped.spin, UDM_SETBASE, 16, 0);
    SendMessageW(grouped.spin, UDM_SETPOS32, 0, 255);
    EXPECT_EQ(grouped.Text(), L"0x00FF");
    DestroyWindow(grouped.spin);
    DestroyWindow(grouped.buddy);

    Spin plain(s, UDS_SETBUDDYINT | UDS_NOTHOUSANDS);
    SendMessageW(plain.spin, UDM_SETRANGE32, 0, 100000);
    SendMessageW(plain.spin, UDM_SETPOS32, 0, 12345);
    EXPECT_EQ(plain.Text(), L"12345");
}

TEST(UpDownControl, HoldingAnArrowRepeatsAndAccelerates)
{
    Scene s;
    Spin spin(s, UDS_SETBUDDYINT);
    SendMessageW(spin.spin, UDM_SETRANGE32, 0, 100000);
    SendMessageW(spin.spin, UDM_SETPOS32, 0, 0);
    const UDACCEL accels[] = {{0, 1}, {1, 10}, {3, 100}};
    EXPECT_TRUE(SendMessageW(spin.spin, UDM_SETACCEL, 3, reinterpret_cast<LPARAM>(accels)));
    EXPECT_FALSE(SendMessageW(spin.spin, UDM_SETACCEL, 0, reinterpret_cast<LPARAM>(accels)));
    UDACCEL back[4]{};
    EXPECT_EQ(SendMessageW(spin.spin, UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(back)), 3);
    EXPECT_EQ(back[2].nInc, 100u);

    s.Press(spin.spin, kUpArrow);
    EXPECT_EQ(spin.Position(), 1) << "one step at once";
    s.Wait(490);
    EXPECT_EQ(spin.Position(), 1) << "nothing more within the first delay";
    s.Wait(500);  // 0.99 s held: steps of 1 every 100 ms
    const int afterOneSecond = spin.Position();
    EXPECT_GE(afterOneSecond, 5);
    EXPECT_LE(afterOneSecond, 7);
    s.Wait(1000);  // up to 2 s: steps of 10
    const int afterTwoSeconds = spin.Position();
    EXPECT_GE(afterTwoSeconds - afterOneSecond, 90);
    EXPECT_LE(afterTwoSeconds - afterOneSecond, 110);
    s.Wait(1500);  // past 3 s: steps of 100
    EXPECT_GE(spin.Position() - afterTwoSeconds, 500);
    // Off the arrow the repeat pauses; released, it stops.
    s.Move(spin.spin, {5, 40});
    const int paused = spin.Position();
    s.Wait(500);
    EXPECT_EQ(spin.Position(), paused);
    s.Release(spin.spin, {5, 40});
    s.Wait(500);
    EXPECT_EQ(spin.Position(), paused);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(UpDownControl, ArrowKeysInTheBuddyStepAndTheBuddyComesBackWhole)
{
    UiTest::Handler other;  // outlives the windows
    Scene s;
    Spin spin(s, UDS_SETBUDDYINT | UDS_ARROWKEYS);
    SendMessageW(spin.spin, UDM_SETRANGE32, 0, 10);
    SendMessageW(spin.spin, UDM_SETPOS32, 0, 5);
    const LONG_PTR ownProc = reinterpret_cast<LONG_PTR>(&UiTest::TestProc);
    EXPECT_NE(GetWindowLongPtrW(spin.buddy, GWLP_WNDPROC), ownProc) << "the buddy is subclassed";
    SetFocus(spin.buddy);
    s.Clear();
    s.Key(VK_UP);
    s.Key(VK_UP);
    s.Key(VK_DOWN);
    EXPECT_EQ(spin.Text(), L"6");
    std::vector<WORD> codes = s.Codes(WM_VSCROLL);
    EXPECT_EQ(codes, (std::vector<WORD>{kThumbPosition, kEndScroll, kThumbPosition, kEndScroll, kThumbPosition, kEndScroll}));
    EXPECT_TRUE(spin.buddyHandler.Of(WM_KEYDOWN).empty()) << "the arrows went to the spin";
    EXPECT_EQ(SendMessageW(spin.spin, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);

    // Another buddy: the first gets its own procedure back.
    HWND second = UiTest::Create(&other, WS_CHILD | WS_VISIBLE, 10, 60, 80, 20, s.Top(), 3);
    EXPECT_EQ(SendMessageW(spin.spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(second), 0),
              reinterpret_cast<LRESULT>(spin.buddy));
    EXPECT_EQ(GetWindowLongPtrW(spin.buddy, GWLP_WNDPROC), ownProc);
    EXPECT_EQ(GetPropW(spin.buddy, L"ZellUpDownOwner"), nullptr);
    // A buddy destroyed first leaves the spin without one, safely.
    DestroyWindow(second);
    EXPECT_EQ(SendMessageW(spin.spin, UDM_GETBUDDY, 0, 0), 0);
    s.Click(spin.spin, kUpArrow);
    EXPECT_EQ(spin.Position(), 7);
}

TEST(UpDownControl, AHorizontalSpinReportsWithHScroll)
{
    Scene s;
    HWND spin = s.Add(UPDOWN_CLASSW, L"", UDS_HORZ, 10, 10, 30, 16, 4);
    SendMessageW(spin, UDM_SETRANGE32, 0, 10);
    s.Click(spin, {25, 8});
    s.Click(spin, {25, 8});
    s.Click(spin, {5, 8});
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 1) << "right is up";
    EXPECT_TRUE(s.Notes(WM_VSCROLL).empty());
    ASSERT_EQ(s.Notes(WM_HSCROLL).size(), 6u);
    EXPECT_EQ(s.Notes(WM_HSCROLL)[0].position, 1);
    EXPECT_EQ(s.Notes(WM_HSCROLL)[0].id, 4);
}

TEST(UpDownControl, RendersTheClassicLook)
{
    UiTest::Handler buddyHandler;  // outlives the windows
    Scene s(160, 60);
    HWND buddy = UiTest::Create(&buddyHandler, WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 60, 22, s.Top(), 1);
    s.Add(UPDOWN_CLASSW, L"", UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_SETBUDDYINT, 0, 0, 16, 22, 2);
    HWND pressed = s.Add(UPDOWN_CLASSW, L"", 0, 80, 10, 16, 22, 3);
    HWND disabled = s.Add(UPDOWN_CLASSW, L"", WS_DISABLED, 100, 10, 16, 22, 4);
    s.Add(UPDOWN_CLASSW, L"", UDS_HORZ, 120, 10, 30, 16, 5);
    (void)buddy;
    (void)disabled;
    s.Press(pressed, {5, 17});
    ExpectGolden(s, "updown");
    s.Release(pressed, {5, 17});
}
