#pragma once
// A window class for tests: each window forwards its messages to a handler
// object, which records them and may answer them itself.
#include "Platform/Base/Thread.h"
#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/WinUser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <thread>
#include <mutex>
#include <string>
#include <vector>

namespace UiTest {

struct Record {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class Handler {
public:
    virtual ~Handler() = default;
    // Returns true when it answered; `result` is then the answer.
    std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> m_onMessage;

    std::vector<Record> Messages() const
    {
        std::lock_guard lock(m_mutex);
        return m_log;
    }
    std::vector<UINT> Ids(std::initializer_list<UINT> only = {}) const
    {
        std::vector<UINT> ids;
        for (const Record& r : Messages()) {
            if (only.size() == 0 || std::find(only.begin(), only.end(), r.message) != only.end())
                ids.push_back(r.message);
        }
        return ids;
    }
    std::vector<Record> Of(UINT message) const
    {
        std::vector<Record> result;
        for (const Record& r : Messages()) {
            if (r.message == message)
                result.push_back(r);
        }
        return result;
    }
    void Clear()
    {
        std::lock_guard lock(m_mutex);
        m_log.clear();
    }
    void Log(const Record& r)
    {
        std::lock_guard lock(m_mutex);
        m_log.push_back(r);
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Record> m_log;
};

inline LRESULT TestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* handler = reinterpret_cast<Handler*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (handler != nullptr) {
        handler->Log({hwnd, message, wParam, lParam});
        LRESULT result = 0;
        if (handler->m_onMessage && handler->m_onMessage(hwnd, message, wParam, lParam, result))
            return result;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

inline LPCWSTR ClassName(bool doubleClicks = false)
{
    static const bool registered = [] {
        WNDCLASSEXW wc;
        wc.lpfnWndProc = TestProc;
        wc.lpszClassName = L"UiTestWindow";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassExW(&wc);
        wc.style = CS_DBLCLKS;
        wc.lpszClassName = L"UiTestWindowDbl";
        RegisterClassExW(&wc);
        return true;
    }();
    (void)registered;
    return doubleClicks ? L"UiTestWindowDbl" : L"UiTestWindow";
}

inline HWND Create(Handler* handler, DWORD style, int x, int y, int w, int h, HWND parent = nullptr, int id = 0,
                   DWORD exStyle = 0, bool doubleClicks = false)
{
    return CreateWindowExW(exStyle, ClassName(doubleClicks), L"test", style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, handler);
}

// Takes everything from the calling thread's queue and dispatches it.
inline int Drain(int limit = 1000)
{
    MSG msg;
    int n = 0;
    while (n < limit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ++n;
    }
    return n;
}

inline Display::CHeadlessDisplay& Headless()
{
    auto* headless = dynamic_cast<Display::CHeadlessDisplay*>(&Display::TheDisplay());
    if (headless == nullptr)
        throw std::runtime_error("the tests need the headless display (ZELL_DISPLAY=headless)");
    return *headless;
}

// Destroys the window at the end of a scope.
struct WindowGuard {
    HWND hwnd = nullptr;
    ~WindowGuard()
    {
        if (hwnd != nullptr && IsWindow(hwnd))
            DestroyWindow(hwnd);
        Drain();
    }
};

}
