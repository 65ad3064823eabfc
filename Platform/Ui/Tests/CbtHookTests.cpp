#include "Platform/Ui/Tests/UiTestSupport.h"

#include <cstring>
#include <cwchar>

using namespace UiTest;

namespace {

struct CbtCall {
    int code = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// What the hook saw, and the codes it refuses.
std::vector<CbtCall> g_cbt;
std::vector<int> g_refused;
HHOOK g_cbtHook = nullptr;
std::wstring g_createdClass;
WNDPROC g_classProc = nullptr;
std::vector<UINT> g_subclassed;
HWND g_activeBefore = nullptr;

LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_subclassed.push_back(message);
    return CallWindowProcW(g_classProc, hwnd, message, wParam, lParam);
}

LRESULT CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    g_cbt.push_back({code, wParam, lParam});
    if (code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        g_createdClass = create->lpcs->lpszClass;
        // Subclassing in the hook catches the window's very first message.
        if (std::wcscmp(create->lpcs->lpszName, L"subclass me") == 0) {
            auto hwnd = reinterpret_cast<HWND>(wParam);
            g_classProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
        }
    }
    if (code == HCBT_ACTIVATE)
        g_activeBefore = reinterpret_cast<const CBTACTIVATESTRUCT*>(lParam)->hWndActive;
    if (std::find(g_refused.begin(), g_refused.end(), code) != g_refused.end())
        return 1;
    return CallNextHookEx(g_cbtHook, code, wParam, lParam);
}

std::vector<int> Codes()
{
    std::vector<int> codes;
    for (const CbtCall& call : g_cbt)
        codes.push_back(call.code);
    return codes;
}

class CbtHook : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_cbt.clear();
        g_refused.clear();
        g_subclassed.clear();
        g_cbtHook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, 0);
        ASSERT_NE(g_cbtHook, nullptr);
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(g_cbtHook);
        Drain();
    }
};

}

TEST_F(CbtHook, CreationIsAskedFirstAndARefusalLeavesNoWindow)
{
    Handler h;
    g_refused = {HCBT_CREATEWND};
    EXPECT_EQ(Create(&h, WS_POPUP, 0, 0, 20, 20), nullptr);
    EXPECT_TRUE(h.Messages().empty()) << "a refused window gets no message at all";
    ASSERT_EQ(Codes(), std::vector<int>{HCBT_CREATEWND});
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(g_cbt[0].wParam)));
    EXPECT_EQ(g_createdClass, ClassName());

    g_refused.clear();
    g_cbt.clear();
    WindowGuard g{CreateWindowExW(0, ClassName(), L"subclass me", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, &h)};
    ASSERT_NE(g.hwnd, nullptr);
    ASSERT_FALSE(g_subclassed.empty());
    EXPECT_EQ(g_subclassed.front(), WM_NCCREATE) << "the subclass saw the first message";
    EXPECT_EQ(h.Messages().front().message, WM_NCCREATE) << "and passed it on";
}

TEST_F(CbtHook, DestroyFocusActivateAndMinMaxCanBeRefused)
{
    Handler top;
    Handler child;
    HWND window = Create(&top, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND control = Create(&child, WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, window, 7);
    SetFocus(window);
    Drain();

    g_cbt.clear();
    g_refused = {HCBT_SETFOCUS};
    EXPECT_EQ(SetFocus(control), nullptr);
    EXPECT_EQ(GetFocus(), window);
    ASSERT_EQ(Codes(), std::vector<int>{HCBT_SETFOCUS});
    EXPECT_EQ(g_cbt[0].wParam, reinterpret_cast<WPARAM>(control));
    EXPECT_EQ(g_cbt[0].lParam, reinterpret_cast<LPARAM>(window));

    g_refused = {HCBT_MINMAX};
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(LOWORD(static_cast<DWORD>(g_cbt.back().lParam)), SW_MINIMIZE);

    Handler otherHandler;
    HWND other = Create(&otherHandler, WS_POPUP | WS_VISIBLE, 200, 0, 50, 50);
    SetActiveWindow(window);
    g_cbt.clear();
    g_refused = {HCBT_ACTIVATE};
    EXPECT_EQ(SetActiveWindow(other), nullptr);
    EXPECT_EQ(GetActiveWindow(), window);
    ASSERT_EQ(Codes(), std::vector<int>{HCBT_ACTIVATE});
    EXPECT_EQ(g_cbt[0].wParam, reinterpret_cast<WPARAM>(other));
    EXPECT_EQ(g_activeBefore, window);

    g_refused = {HCBT_DESTROYWND};
    EXPECT_FALSE(DestroyWindow(control));
    EXPECT_TRUE(IsWindow(control));
    g_refused.clear();
    g_cbt.clear();
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(Codes().front(), HCBT_DESTROYWND);
    DestroyWindow(other);
}

namespace {

HHOOK g_filterHook = nullptr;
std::vector<std::pair<int, UINT>> g_filtered;

LRESULT FilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    g_filtered.push_back({code, msg->message});
    if (code == MSGF_DIALOGBOX && msg->message == WM_KEYDOWN)
        return 1;
    return CallNextHookEx(g_filterHook, code, wParam, lParam);
}

}

TEST(MsgFilterHook, ModalLoopsPassTheirMessagesThroughIt)
{
    MSG msg;
    msg.message = WM_KEYDOWN;
    EXPECT_FALSE(CallMsgFilterW(&msg, MSGF_DIALOGBOX)) << "no hook";
    g_filterHook = SetWindowsHookExW(WH_MSGFILTER, FilterProc, nullptr, 0);
    ASSERT_NE(g_filterHook, nullptr);
    EXPECT_TRUE(CallMsgFilterW(&msg, MSGF_DIALOGBOX));
    EXPECT_FALSE(CallMsgFilterW(&msg, MSGF_MENU));
    msg.message = WM_CHAR;
    EXPECT_FALSE(CallMsgFilterW(&msg, MSGF_DIALOGBOX));
    EXPECT_EQ(g_filtered, (std::vector<std::pair<int, UINT>>{{MSGF_DIALOGBOX, WM_KEYDOWN}, {MSGF_MENU, WM_KEYDOWN},
                                                              {MSGF_DIALOGBOX, WM_CHAR}}));
    EXPECT_FALSE(CallMsgFilterW(nullptr, MSGF_DIALOGBOX));
    EXPECT_TRUE(UnhookWindowsHookEx(g_filterHook));
}
