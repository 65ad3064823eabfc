#include "ControlTestSupport.h"

#include "Platform/Base/Module.h"
#include "Platform/Controls/BalloonShape.h"
#include "Platform/Ui/ResourceTable.h"
#include "Platform/Ui/Tests/GoldenImage.h"

using namespace ControlTest;

namespace {

constexpr UINT kTipString = 4711;
const Ui::Res::StringTable kStrings{LANG_NEUTRAL, {{kTipString, L"Text from the string table"}}};
const Ui::Res::ResourceTable kResources{.strings = {&kStrings}};
const Ui::Res::Registration kRegistration{kResources};

constexpr WORD Code(UINT code)
{
    return static_cast<WORD>(code);
}

// A window that owns tools: it answers TTN_GETDISPINFO, keeps the codes it
// is told, and relays its mouse messages when asked to.
struct Owner {
    UiTest::Handler handler;
    HWND hwnd = nullptr;
    HWND relayTo = nullptr;
    std::vector<WORD> codes;
    std::wstring callbackText = L"From the owner";

    Owner(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE)
    {
        handler.m_onMessage = [this](HWND self, UINT m, WPARAM w, LPARAM l, LRESULT& result) {
            if (relayTo != nullptr && m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) {
                MSG relayed{self, m, w, l, 0, {}};
                SendMessageW(relayTo, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
            }
            if (m != WM_NOTIFY)
                return false;
            auto* header = reinterpret_cast<NMHDR*>(l);
            codes.push_back(Code(header->code));
            if (header->code == TTN_GETDISPINFOW)
                reinterpret_cast<NMTTDISPINFOW*>(l)->lpszText = callbackText.data();
            result = 0;
            return true;
        };
        hwnd = UiTest::Create(&handler, style, x, y, w, h, parent, 5);
        UiTest::Drain();
    }
    ~Owner()
    {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    long Count(UINT code) const { return std::count(codes.begin(), codes.end(), Code(code)); }
};

struct Tip {
    UiTest::WindowGuard guard;
    HWND hwnd = nullptr;
    explicit Tip(HWND owner, DWORD style = 0)
    {
        hwnd = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, 0, 0, 0, 0, owner, nullptr,
                               nullptr, nullptr);
        guard.hwnd = hwnd;
    }
    bool Add(HWND owner, UINT_PTR id, UINT flags, RECT rect, LPCWSTR text) const
    {
        TTTOOLINFOW info;
        info.uFlags = flags;
        info.hwnd = owner;
        info.uId = id;
        info.rect = rect;
        info.lpszText = const_cast<LPWSTR>(text);
        return SendMessageW(hwnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
    }
    bool Shown() const { return IsWindowVisible(hwnd) != FALSE; }
    RECT Window() const
    {
        RECT r{};
        GetWindowRect(hwnd, &r);
        return r;
    }
    UINT_PTR CurrentId() const
    {
        TTTOOLINFOW info;
        return SendMessageW(hwnd, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&info)) ? info.uId : 0;
    }
    // Starts tracking the tool at `at`.
    void Track(HWND owner, UINT_PTR id, POINT at) const
    {
        TTTOOLINFOW info;
        info.hwnd = owner;
        info.uId = id;
        SendMessageW(hwnd, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
        SendMessageW(hwnd, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    }
    int Delay(WPARAM which) const { return static_cast<int>(SendMessageW(hwnd, TTM_GETDELAYTIME, which, 0)); }
};

// The tip's own pop-up against Golden/<name>.png.
void ExpectTipGolden(HWND tip, const std::string& name)
{
    UpdateWindow(tip);
    UiTest::Drain();
    const std::string shown = std::string(ZELL_CONTROLS_OUTPUT_DIR) + "/" + name + ".png";
    std::filesystem::create_directories(ZELL_CONTROLS_OUTPUT_DIR);
    ASSERT_TRUE(Scene::Display().SaveAsPng(NativeWindowOf(tip), shown));
    EXPECT_TRUE(UiTest::MatchesGolden(shown, name, ZELL_CONTROLS_GOLDEN_DIR));
}

}

TEST(ToolTipControl, ASubclassedToolShowsAfterTheInitialDelayAndPopsAfterTheAutopop)
{
    Scene s;
    Owner owner(s.Top(), 20, 20, 100, 40);
    Tip tip(s.Top());
    const int doubleClick = static_cast<int>(GetDoubleClickTime());
    EXPECT_EQ(tip.Delay(TTDT_INITIAL), doubleClick);
    EXPECT_EQ(tip.Delay(TTDT_AUTOPOP), doubleClick * 10);
    EXPECT_EQ(tip.Delay(TTDT_RESHOW), doubleClick / 5);
    SendMessageW(tip.hwnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 200);
    EXPECT_EQ(tip.Delay(TTDT_INITIAL), 200);
    EXPECT_EQ(tip.Delay(TTDT_AUTOPOP), 2000);
    EXPECT_EQ(tip.Delay(TTDT_RESHOW), 40);

    ASSERT_TRUE(tip.Add(s.Top(), reinterpret_cast<UINT_PTR>(owner.hwnd), TTF_IDISHWND | TTF_SUBCLASS, {}, L"Owner"));
    EXPECT_EQ(SendMessageW(tip.hwnd, TTM_GETTOOLCOUNT, 0, 0), 1);
    s.Move(owner.hwnd, POINT{10, 10});
    s.Wait(180);
    EXPECT_FALSE(tip.Shown()) << "still within the initial delay";
    s.Wait(40);
    ASSERT_TRUE(tip.Shown());
    EXPECT_EQ(tip.CurrentId(), reinterpret_cast<UINT_PTR>(owner.hwnd));
    EXPECT_EQ(s.Codes(WM_NOTIFY), (std::vector<WORD>{Code(TTN_SHOW)})) << "the tool's owner window hears of it";
    const RECT shown = tip.Window();
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_GT(shown.top, cursor.y) << "below the pointer";

    s.Move(owner.hwnd, POINT{12, 10});
    s.Wait(1900);
    EXPECT_TRUE(tip.Shown()) << "moving within the tool keeps it";
    s.Wait(150);
    EXPECT_FALSE(tip.Shown()) << "gone after the autopop delay";
    EXPECT_EQ(s.Codes(WM_NOTIFY), (std::vector<WORD>{Code(TTN_SHOW), Code(TTN_POP)}));
    s.Move(owner.hwnd, POINT{14, 10});
    s.Wait(400);
    EXPECT_FALSE(tip.Shown()) << "not again until the pointer leaves the tool";

    // A click hides a shown tip.
    s.Move(s.Top(), POINT{5, 5});
    s.Wait(60);
    s.Move(owner.hwnd, POINT{20, 10});
    s.Wait(300);
    ASSERT_TRUE(tip.Shown());
    s.Press(owner.hwnd, POINT{20, 10});
    EXPECT_FALSE(tip.Shown());
    s.Release(owner.hwnd, POINT{20, 10});
}

TEST(ToolTipControl, RelayedToolsByRectangleReshowQuicklyAndAskForTheirText)
{
    Scene s;
    Owner owner(s.Top(), 20, 20, 200, 40);
    Tip tip(s.Top());
    owner.relayTo = tip.hwnd;
    ASSERT_TRUE(tip.Add(owner.hwnd, 1, 0, RECT{0, 0, 100, 40}, L"Left half"));
    ASSERT_TRUE(tip.Add(owner.hwnd, 2, 0, RECT{100, 0, 200, 40}, LPSTR_TEXTCALLBACKW));
    EXPECT_FALSE(tip.Add(owner.hwnd, 2, 0, RECT{}, L"again")) << "one tool per window and id";

    s.Move(owner.hwnd, POINT{50, 20});
    s.Wait(GetDoubleClickTime() + 20);
    ASSERT_TRUE(tip.Shown());
    EXPECT_EQ(tip.CurrentId(), 1u);
    EXPECT_EQ(owner.Count(TTN_GETDISPINFOW), 0);

    s.Move(owner.hwnd, POINT{150, 20});
    s.Wait(GetDoubleClickTime() / 5 + 20);
    ASSERT_TRUE(tip.Shown()) << "the second tool after the reshow delay";
    EXPECT_EQ(tip.CurrentId(), 2u);
    EXPECT_EQ(owner.Count(TTN_GETDISPINFOW), 1) << "its text asked when shown";
    const int callbackWidth = tip.Window().right - tip.Window().left;
    owner.callbackText = L"A much longer text from the owner";
    SendMessageW(tip.hwnd, TTM_UPDATE, 0, 0);
    EXPECT_GT(tip.Window().right - tip.Window().left, callbackWidth) << "asked again and sized to the new text";

    // Off both tools, onto a window that relays nothing, the tip goes soon; the tool's rectangle can move.
    s.Move(s.Top(), POINT{5, 5});
    s.Wait(60);
    EXPECT_FALSE(tip.Shown());
    TTTOOLINFOW moved;
    moved.hwnd = owner.hwnd;
    moved.uId = 1;
    moved.rect = RECT{0, 0, 10, 10};
    SendMessageW(tip.hwnd, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&moved));
    TTHITTESTINFOW hit;
    hit.hwnd = owner.hwnd;
    hit.pt = POINT{50, 20};
    EXPECT_FALSE(SendMessageW(tip.hwnd, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
    hit.pt = POINT{5, 5};
    EXPECT_TRUE(SendMessageW(tip.hwnd, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
    EXPECT_EQ(hit.ti.uId, 1u);

    wchar_t text[5]{};
    TTTOOLINFOW read;
    read.hwnd = owner.hwnd;
    read.uId = 1;
    read.lpszText = text;
    SendMessageW(tip.hwnd, TTM_GETTEXTW, 5, reinterpret_cast<LPARAM>(&read));
    EXPECT_STREQ(text, L"Left") << "cut to the buffer";

    SendMessageW(tip.hwnd, TTM_ACTIVATE, FALSE, 0);
    s.Move(owner.hwnd, POINT{150, 20});
    s.Wait(GetDoubleClickTime() + 20);
    EXPECT_FALSE(tip.Shown()) << "an inactive tooltip shows nothing";
    SendMessageW(tip.hwnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&read));
    EXPECT_EQ(SendMessageW(tip.hwnd, TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST(ToolTipControl, ATrackingToolStaysWhereItsOwnerPutsIt)
{
    Scene s;
    Tip tip(s.Top());
    ASSERT_TRUE(tip.Add(s.Top(), 9, TTF_TRACK | TTF_ABSOLUTE, {}, L"Tracking"));
    TTTOOLINFOW info;
    info.hwnd = s.Top();
    info.uId = 9;
    SendMessageW(tip.hwnd, TTM_TRACKPOSITION, 0, MAKELPARAM(400, 300));
    SendMessageW(tip.hwnd, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    ASSERT_TRUE(tip.Shown()) << "at once, without a delay";
    EXPECT_EQ(tip.Window().left, 400);
    EXPECT_EQ(tip.Window().top, 300);
    SendMessageW(tip.hwnd, TTM_TRACKPOSITION, 0, MAKELPARAM(420, 310));
    EXPECT_EQ(tip.Window().left, 420);
    EXPECT_EQ(tip.Window().top, 310);
    s.Wait(GetDoubleClickTime() * 11, 100);
    EXPECT_TRUE(tip.Shown()) << "no autopop for a tracking tip";
    SendMessageW(tip.hwnd, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
    EXPECT_FALSE(tip.Shown());
}

TEST(ToolTipControl, TheMaximumWidthWrapsTheText)
{
    Scene s;
    Tip tip(s.Top());
    const LPCWSTR text = L"The address is kept by the coupler until the next restart of the device.";
    ASSERT_TRUE(tip.Add(s.Top(), 1, TTF_TRACK | TTF_ABSOLUTE, {}, text));
    TTTOOLINFOW info;
    info.hwnd = s.Top();
    info.uId = 1;
    SendMessageW(tip.hwnd, TTM_TRACKPOSITION, 0, MAKELPARAM(320, 260));
    SendMessageW(tip.hwnd, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
    const RECT single = tip.Window();
    EXPECT_EQ(SendMessageW(tip.hwnd, TTM_SETMAXTIPWIDTH, 0, 150), -1);
    SendMessageW(tip.hwnd, TTM_UPDATE, 0, 0);
    const RECT wrapped = tip.Window();
    EXPECT_LE(wrapped.right - wrapped.left, 150);
    EXPECT_GE(wrapped.bottom - wrapped.top, 3 * (single.bottom - single.top) - 10) << "four lines or so";

    info.lpszText = const_cast<LPWSTR>(L"First line\r\nSecond");
    SendMessageW(tip.hwnd, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_GT(tip.Window().bottom - tip.Window().top, single.bottom - single.top) << "a line break starts a line";
    ExpectTipGolden(tip.hwnd, "tooltip-multiline");
}

TEST(ToolTipControl, ATipNearTheScreenEdgeStaysOnTheWorkArea)
{
    Scene s;
    MONITORINFO monitor;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT work = monitor.rcWork;
    Owner owner(nullptr, work.right - 40, work.bottom - 30, 40, 30, WS_POPUP | WS_VISIBLE);
    Tip tip(owner.hwnd, TTS_ALWAYSTIP);
    ASSERT_TRUE(tip.Add(owner.hwnd, reinterpret_cast<UINT_PTR>(owner.hwnd), TTF_IDISHWND | TTF_SUBCLASS, {},
                        L"A tip that is wider than the room left on the right"));
    s.Move(owner.hwnd, POINT{30, 20});
    s.Wait(GetDoubleClickTime() + 20);
    ASSERT_TRUE(tip.Shown()) << "TTS_ALWAYSTIP shows it for an inactive window";
    const RECT r = tip.Window();
    EXPECT_LE(r.right, work.right);
    EXPECT_LE(r.bottom, work.bottom);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_LE(r.bottom, cursor.y) << "above the pointer, as there is no room below";
}

TEST(ToolTipControl, ABalloonPointsItsStemAtTheAnchorAndShowsItsTitle)
{
    Scene s;
    Tip tip(s.Top(), TTS_BALLOON);
    ASSERT_TRUE(tip.Add(s.Top(), 3, TTF_TRACK, {}, L"The coupler answers on port 502.\r\nChange it on the Network page."));
    EXPECT_TRUE(SendMessageW(tip.hwnd, TTM_SETTITLEW, TTI_INFO, reinterpret_cast<LPARAM>(L"Service port")));
    tip.Track(s.Top(), 3, POINT{360, 240});
    ASSERT_TRUE(tip.Shown());
    const RECT r = tip.Window();
    EXPECT_EQ(r.top, 240) << "hanging below its anchor, the stem's point on it";
    EXPECT_LT(r.left, 360);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(tip.hwnd, shape), ERROR);
    const int stemX = 360 - r.left;
    EXPECT_TRUE(PtInRegion(shape, stemX + 1, 2)) << "the stem near its point";
    EXPECT_FALSE(PtInRegion(shape, r.right - r.left - 3, 2)) << "beside the stem, above the body";
    DeleteObject(shape);

    ExpectTipGolden(tip.hwnd, "tooltip-balloon");

    // Near the bottom of the work area it sits above the anchor, the stem below.
    MONITORINFO monitor;
    GetMonitorInfoW(MonitorFromPoint(POINT{360, 240}, MONITOR_DEFAULTTONEAREST), &monitor);
    SendMessageW(tip.hwnd, TTM_TRACKPOSITION, 0, MAKELPARAM(360, monitor.rcWork.bottom - 5));
    EXPECT_EQ(tip.Window().bottom, monitor.rcWork.bottom - 5);
}

TEST(ToolTipControl, TextFromAStringResourceAndAnOwnerThatPlacesTheTip)
{
    Scene s;
    Owner owner(s.Top(), 20, 20, 100, 40);
    Tip tip(s.Top());
    owner.relayTo = tip.hwnd;
    TTTOOLINFOW info;
    info.uFlags = TTF_IDISHWND | TTF_TRANSPARENT;
    info.hwnd = owner.hwnd;
    info.uId = reinterpret_cast<UINT_PTR>(owner.hwnd);
    info.hinst = GetModuleHandleW(nullptr);
    info.lpszText = MAKEINTRESOURCEW(kTipString);
    ASSERT_TRUE(SendMessageW(tip.hwnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
    wchar_t text[64]{};
    TTTOOLINFOW read = info;
    read.lpszText = text;
    SendMessageW(tip.hwnd, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&read));
    EXPECT_STREQ(text, L"Text from the string table");

    // The owner moves the tip in TTN_SHOW and says so; the tip stays there.
    owner.handler.m_onMessage = [&, relay = owner.handler.m_onMessage](HWND self, UINT m, WPARAM w, LPARAM l, LRESULT& r) {
        if (m == WM_NOTIFY && reinterpret_cast<NMHDR*>(l)->code == TTN_SHOW) {
            SetWindowPos(reinterpret_cast<NMHDR*>(l)->hwndFrom, nullptr, 11, 22, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            r = TRUE;
            return true;
        }
        return relay(self, m, w, l, r);
    };
    s.Move(owner.hwnd, POINT{10, 10});
    s.Wait(GetDoubleClickTime() + 20);
    ASSERT_TRUE(tip.Shown());
    EXPECT_EQ(tip.Window().left, 11);
    EXPECT_EQ(tip.Window().top, 22);
    EXPECT_EQ(SendMessageW(tip.hwnd, WM_NCHITTEST, 0, MAKELPARAM(15, 25)), HTTRANSPARENT)
        << "a transparent tool's tip lets the pointer through";
}

TEST(ToolTipControl, TheCloseBoxOfABalloonHidesIt)
{
    Scene s;
    Tip tip(s.Top(), TTS_BALLOON | TTS_CLOSE);
    ASSERT_TRUE(tip.Add(s.Top(), 3, TTF_TRACK, {}, L"Closable"));
    SendMessageW(tip.hwnd, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(L"Warning"));
    tip.Track(s.Top(), 3, POINT{360, 240});
    ASSERT_TRUE(tip.Shown());
    RECT client{};
    GetClientRect(tip.hwnd, &client);
    s.Click(tip.hwnd, POINT{20, client.bottom - 12});
    EXPECT_TRUE(tip.Shown()) << "a tracking balloon stays when its body is clicked";
    // The box sits at the body's top right, inside the padding.
    s.Click(tip.hwnd, POINT{client.right - 8 - 7, ZELL::Controls::CBalloonShape::kStemHeight + 8 + 7});
    EXPECT_FALSE(tip.Shown());
    EXPECT_EQ(s.Codes(WM_NOTIFY), (std::vector<WORD>{Code(TTN_SHOW), Code(TTN_POP)}));
}

TEST(ToolTipControl, ALinkOfAParsingToolIsShownWithoutItsMarksAndToldWhenClicked)
{
    Scene s;
    Owner owner(s.Top(), 20, 20, 100, 40);
    Tip tip(s.Top());
    ASSERT_TRUE(tip.Add(owner.hwnd, 4, TTF_TRACK | TTF_ABSOLUTE | TTF_PARSELINKS, {}, L"Read the <a href=\"x\">manual</a> now"));
    tip.Track(owner.hwnd, 4, POINT{360, 240});
    ASSERT_TRUE(tip.Shown());

    // The tip is as wide as the text without its marks, plus its padding on both sides.
    HDC dc = GetDC(tip.hwnd);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(tip.hwnd, WM_GETFONT, 0, 0)));
    auto width = [dc](const std::wstring& text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    const int whole = width(L"Read the manual now");
    const int linkFrom = width(L"Read the ");
    const int linkTo = width(L"Read the manual");
    const int marked = width(L"<a>plain</a>");
    SelectObject(dc, old);
    ReleaseDC(tip.hwnd, dc);
    RECT client{};
    GetClientRect(tip.hwnd, &client);
    const int inset = (client.right - whole) / 2;
    ASSERT_GT(inset, 0);
    ASSERT_LT(inset, 12);
    const int middle = client.bottom / 2;

    owner.codes.clear();
    s.Click(tip.hwnd, POINT{inset + whole - 3, middle});
    EXPECT_EQ(owner.Count(TTN_LINKCLICK), 0) << "the text after the link";
    s.Click(tip.hwnd, POINT{inset + (linkFrom + linkTo) / 2, middle});
    EXPECT_EQ(owner.Count(TTN_LINKCLICK), 1);
    EXPECT_TRUE(tip.Shown()) << "a click on a link keeps the tip";

    // Without TTF_PARSELINKS the marks are plain text.
    ASSERT_TRUE(tip.Add(owner.hwnd, 5, TTF_TRACK | TTF_ABSOLUTE, {}, L"<a>plain</a>"));
    tip.Track(owner.hwnd, 5, POINT{360, 240});
    RECT plain{};
    GetClientRect(tip.hwnd, &plain);
    EXPECT_EQ(plain.right, 2 * inset + marked);
}
