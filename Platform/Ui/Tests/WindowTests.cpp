#include "Platform/Base/LastError.h"
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Ui/Tests/UiTestSupport.h"

using namespace UiTest;

namespace {

constexpr UINT WM_TEST = WM_USER + 20;

WNDPROC g_previous = nullptr;
std::vector<std::string> g_chain;

LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_TEST) {
        g_chain.push_back("subclass");
        return CallWindowProcW(g_previous, hwnd, message, w + 1, l) + 1000;
    }
    return CallWindowProcW(g_previous, hwnd, message, w, l);
}

}

TEST(Windows, CreationAndDestructionSendTheirMessagesInOrder)
{
    Handler parent;
    Handler child;
    HWND top = Create(&parent, WS_OVERLAPPEDWINDOW, 10, 10, 300, 200);
    ASSERT_NE(top, nullptr);
    HWND c = Create(&child, WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, top, 100);
    ASSERT_NE(c, nullptr);
    const auto created = child.Ids({WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW});
    ASSERT_GE(created.size(), 4u);
    EXPECT_EQ(created[0], static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(created[1], static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(parent.Of(WM_PARENTNOTIFY).size(), 1u);

    parent.Clear();
    child.Clear();
    std::vector<std::pair<HWND, UINT>> order;
    auto note = [&](HWND hwnd, UINT m, WPARAM, LPARAM, LRESULT&) {
        if (m == WM_DESTROY || m == WM_NCDESTROY)
            order.emplace_back(hwnd, m);
        return false;
    };
    parent.m_onMessage = note;
    child.m_onMessage = note;
    EXPECT_TRUE(DestroyWindow(top));
    const std::vector<std::pair<HWND, UINT>> expected{{top, WM_DESTROY}, {c, WM_DESTROY}, {c, WM_NCDESTROY}, {top, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(c));
    EXPECT_FALSE(DestroyWindow(top));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST(Windows, CreateFailsWhenTheProcedureRefuses)
{
    Handler h;
    Handler c;
    h.m_onMessage = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
        if (m != WM_CREATE)
            return false;
        r = -1;
        return true;
    };
    EXPECT_EQ(Create(&h, WS_POPUP, 0, 0, 10, 10), nullptr);
    ASSERT_FALSE(h.Messages().empty());
    EXPECT_EQ(h.Of(WM_NCDESTROY).size(), 1u) << "a refused window is still cleaned up";
    EXPECT_EQ(CreateWindowExW(0, L"NoSuchClass", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_EQ(Create(&c, WS_CHILD, 0, 0, 1, 1, nullptr), nullptr) << "a child needs a parent";
}

TEST(Windows, ClassesAreRegisteredOncePerName)
{
    WNDCLASSEXW wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"Zell.Test.Class";
    wc.cbWndExtra = 16;
    wc.cbClsExtra = 8;
    const ATOM atom = RegisterClassExW(&wc);
    ASSERT_NE(atom, 0);
    wc.lpszClassName = L"ZELL.TEST.CLASS";
    EXPECT_EQ(RegisterClassExW(&wc), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    WNDCLASSEXW info;
    EXPECT_TRUE(GetClassInfoExW(nullptr, L"zell.test.class", &info));
    EXPECT_EQ(info.cbWndExtra, 16);
    HWND w = CreateWindowExW(0, MAKEINTRESOURCEW(atom), L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(SetWindowLongPtrW(w, 8, 77), 0);
    EXPECT_EQ(GetWindowLongPtrW(w, 8), 77);
    EXPECT_EQ(GetWindowLongPtrW(w, 16), 0) << "past the extra bytes";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    // The last four bytes hold a 32-bit value only.
    EXPECT_EQ(SetWindowLongPtrW(w, 12, -5), 0);
    EXPECT_EQ(GetWindowLongPtrW(w, 12), -5);
    EXPECT_EQ(SetWindowLongPtrW(w, 14, 1), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);

    EXPECT_EQ(SetClassLongPtrW(w, 0, 99), 0u);
    EXPECT_EQ(SetClassLongPtrW(w, 0, 98), 99u);
    EXPECT_EQ(GetClassLongPtrW(w, 0), 98u);
    EXPECT_EQ(GetClassLongPtrW(w, 4), 0u) << "past the class bytes";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    const auto brush = reinterpret_cast<LONG_PTR>(GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SetClassLongPtrW(w, GCLP_HBRBACKGROUND, brush), 0u);
    EXPECT_EQ(GetClassLongPtrW(w, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(brush));
    EXPECT_FALSE(UnregisterClassW(L"Zell.Test.Class", nullptr)) << "still has a window";
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassW(L"Zell.Test.Class", nullptr));
    wc.lpfnWndProc = nullptr;
    EXPECT_EQ(RegisterClassExW(&wc), 0);
}

TEST(Windows, SubclassingChainsThroughCallWindowProc)
{
    Handler h;
    h.m_onMessage = [](HWND, UINT m, WPARAM w, LPARAM, LRESULT& r) {
        if (m != WM_TEST)
            return false;
        g_chain.push_back("original");
        r = static_cast<LRESULT>(w);
        return true;
    };
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 10, 10)};
    g_chain.clear();
    g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(g.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    ASSERT_EQ(g_previous, &TestProc);
    EXPECT_EQ(SendMessageW(g.hwnd, WM_TEST, 1, 0), 1002);
    EXPECT_EQ(g_chain, (std::vector<std::string>{"subclass", "original"}));
    // Taking the subclass out restores the original behaviour.
    SetWindowLongPtrW(g.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
    EXPECT_EQ(SendMessageW(g.hwnd, WM_TEST, 1, 0), 1);
}

TEST(Windows, PropertiesAndUserData)
{
    Handler h;
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 10, 10)};
    int a = 0;
    int b = 0;
    EXPECT_TRUE(SetPropW(g.hwnd, L"Owner", reinterpret_cast<HANDLE>(&a)));
    EXPECT_EQ(GetPropW(g.hwnd, L"OWNER"), reinterpret_cast<HANDLE>(&a));
    EXPECT_TRUE(SetPropW(g.hwnd, L"owner", reinterpret_cast<HANDLE>(&b)));
    EXPECT_EQ(GetPropW(g.hwnd, L"Owner"), reinterpret_cast<HANDLE>(&b));
    EXPECT_EQ(RemovePropW(g.hwnd, L"Owner"), reinterpret_cast<HANDLE>(&b));
    EXPECT_EQ(GetPropW(g.hwnd, L"Owner"), nullptr);
    EXPECT_EQ(RemovePropW(g.hwnd, L"Owner"), nullptr);
    EXPECT_EQ(GetWindowLongPtrW(g.hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&h));
}

TEST(Windows, TextRoundTripsAndIsCutToTheBuffer)
{
    Handler h;
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 10, 10)};
    EXPECT_TRUE(SetWindowTextW(g.hwnd, L"Settings – Ä"));
    EXPECT_EQ(GetWindowTextLengthW(g.hwnd), 12);
    wchar_t buffer[6];
    EXPECT_EQ(GetWindowTextW(g.hwnd, buffer, 6), 5);
    EXPECT_STREQ(buffer, L"Setti");
    EXPECT_EQ(GetWindowTextW(g.hwnd, buffer, 0), 0);
}

TEST(Windows, ChildGeometryWithBordersAndMapping)
{
    Handler h;
    Handler c;
    WindowGuard top{Create(&h, WS_POPUP | WS_VISIBLE, 100, 50, 400, 300)};
    HWND child = Create(&c, WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 20, 100, 60, top.hwnd, 1, WS_EX_CLIENTEDGE);
    RECT client{};
    ASSERT_TRUE(GetClientRect(child, &client));
    EXPECT_EQ(client.right, 100 - 2 * 3);
    EXPECT_EQ(client.bottom, 60 - 2 * 3);
    RECT window{};
    GetWindowRect(child, &window);
    EXPECT_EQ(window.left, 110);
    EXPECT_EQ(window.top, 70);
    POINT p{0, 0};
    ClientToScreen(child, &p);
    EXPECT_EQ(p.x, 113);
    EXPECT_EQ(p.y, 73);
    ScreenToClient(child, &p);
    EXPECT_EQ(p.x, 0);
    POINT pts[2] = {{0, 0}, {5, 5}};
    MapWindowPoints(child, top.hwnd, pts, 2);
    EXPECT_EQ(pts[0].x, 13);
    EXPECT_EQ(pts[1].y, 28);
    // Moving reports the client origin in the parent's client coordinates.
    c.Clear();
    MoveWindow(child, 30, 40, 100, 60, TRUE);
    auto moves = c.Of(WM_MOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 33);
    EXPECT_EQ(GET_Y_LPARAM(moves[0].lParam), 43);
    EXPECT_TRUE(c.Of(WM_SIZE).empty()) << "the size did not change";
}

TEST(Windows, FramedTopLevelsGetTheDisplaysFrame)
{
    RECT wanted{0, 0, 200, 100};
    const DWORD style = WS_OVERLAPPEDWINDOW;
    ASSERT_TRUE(AdjustWindowRectEx(&wanted, style, FALSE, 0));
    Handler h;
    WindowGuard g{Create(&h, style, 50, 50, wanted.right - wanted.left, wanted.bottom - wanted.top)};
    RECT client{};
    GetClientRect(g.hwnd, &client);
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
    POINT origin{0, 0};
    ClientToScreen(g.hwnd, &origin);
    EXPECT_EQ(origin.x, 50 - wanted.left);
    EXPECT_EQ(origin.y, 50 - wanted.top);
    auto state = Headless().StateOf(NativeWindowOf(g.hwnd));
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->params.clientRect.left, origin.x) << "the display places the client area";
    EXPECT_EQ(state->params.kind, Display::TopLevelKind::Framed);
}

TEST(Windows, StyleChangesWithFrameChangedMoveTheClientArea)
{
    Handler h;
    Handler c;
    WindowGuard top{Create(&h, WS_POPUP, 0, 0, 200, 200)};
    HWND child = Create(&c, WS_CHILD, 0, 0, 50, 50, top.hwnd, 1);
    RECT client{};
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 50);
    SetWindowLongPtrW(child, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    EXPECT_EQ(c.Of(WM_STYLECHANGED).size(), 1u);
    SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 46);
}

TEST(Windows, TreeNavigationAndZOrder)
{
    Handler h;
    WindowGuard top{Create(&h, WS_POPUP, 0, 0, 200, 200)};
    HWND a = Create(&h, WS_CHILD, 0, 0, 10, 10, top.hwnd, 1);
    HWND b = Create(&h, WS_CHILD, 0, 0, 10, 10, top.hwnd, 2);
    EXPECT_EQ(GetWindow(top.hwnd, GW_CHILD), a) << "new children go to the bottom";
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetParent(a), top.hwnd);
    EXPECT_TRUE(IsChild(top.hwnd, b));
    EXPECT_EQ(GetDlgItem(top.hwnd, 2), b);
    EXPECT_EQ(GetDlgItem(top.hwnd, 3), nullptr);
    EXPECT_EQ(GetDlgCtrlID(b), 2);
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(top.hwnd, GW_CHILD), b);
    EXPECT_EQ(GetAncestor(b, GA_ROOT), top.hwnd);

    HWND owned = Create(&h, WS_POPUP, 0, 0, 10, 10, b);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), top.hwnd) << "the owner is always a top-level";
    HWND topmost = Create(&h, WS_POPUP, 0, 0, 10, 10, nullptr, 0, WS_EX_TOPMOST);
    SetWindowPos(owned, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetTopWindow(nullptr), topmost) << "top-most windows stay above";
    DestroyWindow(top.hwnd);
    EXPECT_FALSE(IsWindow(owned)) << "owned pop-ups go with their owner";
    DestroyWindow(topmost);
}

// A pop-up made with a parent is owned, not a child: the parent's children
// never lead to it, and raising it over the others leaves every walk over
// the parent's children finite (it once led back to the top-levels).
TEST(Windows, AnOwnedPopUpIsATopLevelAndNeverAChildOfItsOwner)
{
    Handler h;
    WindowGuard top{Create(&h, WS_POPUP | WS_VISIBLE, 0, 0, 200, 200)};
    HWND child = Create(&h, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top.hwnd, 1);
    const auto children = [](HWND parent) {
        std::vector<HWND> found;
        for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr && found.size() < 10; c = GetWindow(c, GW_HWNDNEXT))
            found.push_back(c);
        return found;
    };
    for (HWND parent : {top.hwnd, child}) {
        HWND owned = Create(&h, WS_POPUP, 0, 0, 10, 10, parent);
        EXPECT_FALSE(IsChild(parent, owned));
        SetWindowPos(owned, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        EXPECT_EQ(children(top.hwnd), std::vector<HWND>{child});
        EXPECT_EQ(children(child), std::vector<HWND>{});
        EXPECT_EQ(GetTopWindow(nullptr), owned);
        EXPECT_EQ(GetWindow(owned, GW_OWNER), top.hwnd);
        EXPECT_EQ(GetAncestor(owned, GA_ROOT), owned);
        DestroyWindow(owned);
    }
}

TEST(Windows, TabAndGroupWalkSkipsHiddenAndDisabledControls)
{
    Handler h;
    WindowGuard dlg{Create(&h, WS_POPUP, 0, 0, 200, 200)};
    HWND e1 = Create(&h, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, 0, 10, 10, dlg.hwnd, 1);
    HWND hidden = Create(&h, WS_CHILD | WS_TABSTOP, 0, 0, 10, 10, dlg.hwnd, 2);
    HWND r1 = Create(&h, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, 0, 10, 10, dlg.hwnd, 3);
    HWND r2 = Create(&h, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, dlg.hwnd, 4);
    HWND r3 = Create(&h, WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0, 10, 10, dlg.hwnd, 5);
    HWND e2 = Create(&h, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0, 0, 10, 10, dlg.hwnd, 6);
    (void)hidden;
    (void)r3;
    EXPECT_EQ(GetNextDlgTabItem(dlg.hwnd, e1, FALSE), r1);
    EXPECT_EQ(GetNextDlgTabItem(dlg.hwnd, r1, FALSE), e2);
    EXPECT_EQ(GetNextDlgTabItem(dlg.hwnd, e2, FALSE), e1) << "wraps around";
    EXPECT_EQ(GetNextDlgTabItem(dlg.hwnd, e1, TRUE), e2);
    EXPECT_EQ(GetNextDlgGroupItem(dlg.hwnd, r1, FALSE), r2);
    EXPECT_EQ(GetNextDlgGroupItem(dlg.hwnd, r2, FALSE), r1) << "skips the disabled one and stays in the group";
    EXPECT_EQ(GetNextDlgGroupItem(dlg.hwnd, r1, TRUE), r2);
}

TEST(Windows, AStaleHandleIsNeverTakenForANewWindow)
{
    Handler h;
    HWND first = Create(&h, WS_POPUP, 0, 0, 10, 10);
    DestroyWindow(first);
    HWND second = Create(&h, WS_POPUP, 0, 0, 10, 10);
    EXPECT_NE(first, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(GetWindowLongPtrW(first, GWLP_USERDATA), 0);
    DestroyWindow(second);
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0xDEADBEEF))));
}

TEST(Windows, DestroyFromAnotherThreadIsRefused)
{
    Handler h;
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 10, 10)};
    BOOL result = TRUE;
    DWORD error = 0;
    std::thread([&] {
        result = DestroyWindow(g.hwnd);
        error = GetLastError();
    }).join();
    EXPECT_FALSE(result);
    EXPECT_EQ(error, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(IsWindow(g.hwnd));
}
