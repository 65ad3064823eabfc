// 10^6 messages sent to a window whose class is three message maps deep,
// and the same messages sent to a window with a bare procedure that
// switches on them; prints both and their ratio.
#include "Platform/Framework/Windows/Wnd.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kMessages = 1'000'000;
constexpr UINT kFirst = WM_APP + 1;
constexpr UINT kSecond = WM_APP + 2;
constexpr UINT kThird = WM_APP + 3;

LRESULT g_nSum = 0;

LRESULT BareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kFirst:
        return g_nSum += static_cast<LRESULT>(wParam);
    case kSecond:
        return g_nSum += lParam;
    case kThird:
        return g_nSum += 1;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

class CLevelOne : public CWnd {
protected:
    LRESULT OnFirst(WPARAM wParam, LPARAM) { return g_nSum += static_cast<LRESULT>(wParam); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLevelOne, CWnd)
    ON_MESSAGE(kFirst, OnFirst)
END_MESSAGE_MAP()

class CLevelTwo : public CLevelOne {
protected:
    LRESULT OnSecond(WPARAM, LPARAM lParam) { return g_nSum += lParam; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLevelTwo, CLevelOne)
    ON_MESSAGE(kSecond, OnSecond)
END_MESSAGE_MAP()

class CLevelThree : public CLevelTwo {
protected:
    LRESULT OnThird(WPARAM, LPARAM) { return g_nSum += 1; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLevelThree, CLevelTwo)
    ON_MESSAGE(kThird, OnThird)
END_MESSAGE_MAP()

double Seconds(HWND hwnd)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kMessages; ++i) {
        // The first message is found in the deepest base's map.
        const UINT message = i % 3 == 0 ? kFirst : (i % 3 == 1 ? kSecond : kThird);
        SendMessageW(hwnd, message, 1, 2);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}

int main()
{
    setenv("ZELL_DISPLAY", "headless", 0);
    WNDCLASSEXW wc;
    wc.lpfnWndProc = &BareProc;
    wc.lpszClassName = L"BareBenchmarkWindow";
    RegisterClassExW(&wc);
    HWND bare = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CLevelThree framed;
    if (!bare || !framed.CreateEx(0, nullptr, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr)) {
        std::fprintf(stderr, "FrameworkBenchmark: cannot create the windows\n");
        return 1;
    }
    Seconds(bare);  // warm both paths
    Seconds(framed.m_hWnd);
    const double bareSeconds = Seconds(bare);
    const double mapSeconds = Seconds(framed.m_hWnd);
    std::printf("bare window procedure:      %d messages in %.3f s (%.0f ns each)\n", kMessages, bareSeconds,
                bareSeconds * 1e9 / kMessages);
    std::printf("three-level message maps:   %d messages in %.3f s (%.0f ns each)\n", kMessages, mapSeconds,
                mapSeconds * 1e9 / kMessages);
    std::printf("ratio maps / bare:          %.2f (goal: at most 1.50)\n", mapSeconds / bareSeconds);
    DestroyWindow(bare);
    framed.DestroyWindow();
    return 0;
}
