#include "Platform/Ui/Tests/UiTestSupport.h"

using namespace UiTest;

// The state ShowWindow reports in WM_SIZE is read under the window lock, so
// what a procedure (or another thread) changes while the messages go out is
// not taken for this call's own change.
TEST(ShowWindowState, ARestoreDuringTheShowIsNotOverwrittenByAStaleMinimize)
{
    Handler h;
    WindowGuard g{Create(&h, WS_POPUP, 0, 0, 80, 60)};
    bool restoring = false;
    h.m_onMessage = [&](HWND hwnd, UINT m, WPARAM wParam, LPARAM, LRESULT&) {
        if (m == WM_SHOWWINDOW && wParam == TRUE && !restoring) {
            restoring = true;
            ShowWindow(hwnd, SW_SHOWNORMAL);
        }
        return false;
    };
    h.Clear();
    ShowWindow(g.hwnd, SW_SHOWMINIMIZED);
    EXPECT_FALSE(IsIconic(g.hwnd));
    std::vector<WPARAM> sizes;
    for (const Record& r : h.Of(WM_SIZE))
        sizes.push_back(r.wParam);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), SIZE_RESTORED) << "the last word is the state the window is in";
    EXPECT_EQ(std::count(sizes.begin(), sizes.end(), SIZE_MINIMIZED), 0);
}
