// The window layer's top-levels on an X server without a window manager:
// the window menu that Alt+Space opens, and activation that the server's
// focus events echo back.
#include "Platform/Gdi/Gdi.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/DisplayAccess.h"
#include "Platform/Ui/WinUser.h"
#include "X11TestServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>

// Xlib's macros after the test framework, whose names they would take.
#include "Platform/Display/X11Display.h"
#include "Platform/Display/X11Xlib.h"
#include "X11ScreenCapture.h"

namespace {

using Clock = std::chrono::steady_clock;

X11Test::CLayerOnXvfb* g_server = nullptr;
bool g_started = false;

// What the windows of a test were told.
struct Log {
    int initSystemMenu = 0;
    int activations = 0;
};
Log g_log;

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITMENUPOPUP:
        g_log.initSystemMenu += HIWORD(lParam) != 0 ? 1 : 0;
        break;
    case WM_ENTERIDLE:
        EndMenu();  // the menu is up and the thread waits for the user: enough seen
        return 0;
    case WM_ACTIVATE:
        g_log.activations += LOWORD(wParam) != WA_INACTIVE ? 1 : 0;
        break;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void PumpFor(int ms)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    MSG msg;
    while (Clock::now() < deadline) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) && Clock::now() < deadline)
            DispatchMessageW(&msg);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Ends the program with a message when a test hangs: a deadlocked thread
// cannot fail its own test.
class CWatchdog {
public:
    explicit CWatchdog(int seconds)
        : m_thread([this, seconds] {
              std::unique_lock lock(m_mutex);
              if (!m_done.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_finished; })) {
                  std::fprintf(stderr, "%s hung for %d s\n", testing::UnitTest::GetInstance()->current_test_info()->name(), seconds);
                  std::_Exit(1);
              }
          })
    {
    }
    ~CWatchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

class X11UiWindow : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        g_server = new X11Test::CLayerOnXvfb();
        g_started = g_server->Start();
        WNDCLASSEXW wc;
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = L"X11UiWindow";
        RegisterClassExW(&wc);
    }
    static void TearDownTestSuite()
    {
        delete g_server;
        g_server = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(g_started) << g_server->Error();
        g_log = {};
    }
    HWND Create(DWORD style, int x)
    {
        HWND hwnd = CreateWindowExW(0, L"X11UiWindow", L"test", style, x, 10, 200, 120, nullptr, nullptr, nullptr, nullptr);
        m_windows.push_back(hwnd);
        return hwnd;
    }
    void TearDown() override
    {
        for (HWND hwnd : m_windows)
            DestroyWindow(hwnd);
        PumpFor(50);
    }

    CWatchdog m_watchdog{10};
    std::vector<HWND> m_windows;
};

}

// Without a window manager the layer places the window menu below the
// caption it would have, asking the caption's height on the way.
TEST_F(X11UiWindow, AltSpaceOpensTheWindowMenuWithoutAWindowManager)
{
    HWND hwnd = Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 10);
    ASSERT_NE(hwnd, nullptr);
    PumpFor(100);
    PostMessageW(hwnd, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    PumpFor(200);
    EXPECT_EQ(g_log.initSystemMenu, 1);
    EXPECT_EQ(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0), 4) << "the window still answers";
}

TEST_F(X11UiWindow, TwoWindowsActivatedInQuickSuccessionSettleOnTheLast)
{
    HWND main = Create(WS_POPUP | WS_VISIBLE, 10);
    HWND modeless = Create(WS_POPUP | WS_VISIBLE, 300);
    PumpFor(100);
    g_log = {};
    SetActiveWindow(main);
    SetActiveWindow(modeless);
    PumpFor(500);
    EXPECT_EQ(GetActiveWindow(), modeless);
    EXPECT_LE(g_log.activations, 4) << "the activation went to and fro";
}

// Without a window manager X leaves the keys with whatever window the pointer
// is over unless the program sets the focus: a dialog, activated before it is
// shown, must take it from its disabled owner when it is mapped.
TEST_F(X11UiWindow, ADialogActivatedBeforeItIsShownTakesTheFocusFromItsOwner)
{
    HWND owner = Create(WS_POPUP | WS_VISIBLE, 10);
    PumpFor(100);
    ASSERT_EQ(Display::TheDisplay().FocusedTopLevel(), NativeWindowOf(owner));
    HWND dialog = CreateWindowExW(0, L"X11UiWindow", L"dialog", WS_POPUP, 300, 10, 200, 120, owner, nullptr, nullptr, nullptr);
    m_windows.insert(m_windows.begin(), dialog);
    EnableWindow(owner, FALSE);
    SetActiveWindow(dialog);
    ShowWindow(dialog, SW_SHOWNORMAL);
    PumpFor(200);
    EXPECT_EQ(GetActiveWindow(), dialog);
    EXPECT_EQ(Display::TheDisplay().FocusedTopLevel(), NativeWindowOf(dialog));
}

// The window manager is offered the sizing border and the boxes that the
// window's styles have, when the window is made and when its styles change.
TEST_F(X11UiWindow, TheFrameOffersWhatTheStylesHave)
{
    constexpr long kResize = 2, kMinimize = 8, kMaximize = 16;
    auto* display = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
    ASSERT_NE(display, nullptr);
    XDisplay* raw = XOpenDisplay(g_server->Server().Name().c_str());
    ASSERT_NE(raw, nullptr);
    auto offered = [&](HWND hwnd) {
        const Atom hints = XInternAtom(raw, "_MOTIF_WM_HINTS", False);
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        long functions = -1;
        XGetWindowProperty(raw, display->XWindowOf(NativeWindowOf(hwnd)), hints, 0, 5, False, AnyPropertyType, &type,
                           &format, &count, &after, &data);
        if (data && count >= 2)
            functions = reinterpret_cast<const long*>(data)[1] & (kResize | kMinimize | kMaximize);
        if (data)
            XFree(data);
        return functions;
    };
    const DWORD fixed = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    HWND main = Create(fixed | WS_MINIMIZEBOX, 10);
    HWND box = Create(fixed, 300);
    HWND sizable = Create(WS_OVERLAPPEDWINDOW, 600);
    PumpFor(20);
    EXPECT_EQ(offered(main), kMinimize);
    EXPECT_EQ(offered(box), 0);
    EXPECT_EQ(offered(sizable), kResize | kMinimize | kMaximize);
    // Dropping the boxes after creation takes the buttons away too.
    SetWindowLongPtrW(main, GWL_STYLE, fixed);
    SetWindowLongPtrW(sizable, GWL_STYLE, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    PumpFor(20);
    EXPECT_EQ(offered(main), 0);
    EXPECT_EQ(offered(sizable), kResize);
    XCloseDisplay(raw);
}

namespace {

// A modal dialog that, once its loop runs, has itself closed from outside
// and notes what the window manager was told about it.
struct ClosedFromOutside {
    std::function<void(XDisplay*, Window)> close;
    XDisplay* raw = nullptr;
    bool markedModal = false;
};
ClosedFromOutside* g_closing = nullptr;

std::vector<long> LongsOf(XDisplay* raw, Window window, const char* name)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> values;
    XGetWindowProperty(raw, window, XInternAtom(raw, name, False), 0, 1 << 16, False, AnyPropertyType, &type, &format,
                       &count, &after, &data);
    if (data && format == 32)
        values.assign(reinterpret_cast<const long*>(data), reinterpret_cast<const long*>(data) + count);
    if (data)
        XFree(data);
    return values;
}

INT_PTR ClosingDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetTimer(hwnd, 1, 50, nullptr);
        return TRUE;
    case WM_TIMER: {
        KillTimer(hwnd, 1);
        auto* display = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
        const Window window = display ? display->XWindowOf(NativeWindowOf(hwnd)) : 0;
        XSync(g_closing->raw, False);
        const auto states = LongsOf(g_closing->raw, window, "_NET_WM_STATE");
        const long modal = static_cast<long>(XInternAtom(g_closing->raw, "_NET_WM_STATE_MODAL", False));
        g_closing->markedModal = std::find(states.begin(), states.end(), modal) != states.end();
        g_closing->close(g_closing->raw, window);
        XSync(g_closing->raw, False);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            EndDialog(hwnd, 7);
        return TRUE;
    default: return FALSE;
    }
}

}

// A program's main dialog runs in a modal loop without an owner: closed from
// another client, by the window manager's close request or by destroying its
// window (xdotool windowclose), it ends that loop as Alt+F4 does. Being
// nobody's dialog it is not marked modal; its icon goes to the task bar.
TEST_F(X11UiWindow, AMainDialogClosedFromOutsideEndsItsLoop)
{
    XDisplay* raw = XOpenDisplay(g_server->Server().Name().c_str());
    ASSERT_NE(raw, nullptr);
    Ui::CDialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE | DS_CENTER;
    dialog.cx = 120;
    dialog.cy = 60;
    const std::vector<BYTE> image = dialog.ToImage();
    const struct {
        const char* how;
        std::function<void(XDisplay*, Window)> close;
    } cases[] = {
        {"WM_DELETE_WINDOW", X11Test::RequestClose},
        {"destroyed", [](XDisplay* d, Window w) { XDestroyWindow(d, w); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        ClosedFromOutside closing{c.close, raw};
        g_closing = &closing;
        const INT_PTR result = DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(image.data()), nullptr,
                                                       ClosingDialogProc, 0);
        EXPECT_EQ(result, 7);
        EXPECT_FALSE(closing.markedModal);
    }
    g_closing = nullptr;
    XCloseDisplay(raw);
}

TEST_F(X11UiWindow, AWindowsIconGoesToTheTaskBar)
{
    auto* display = dynamic_cast<Display::CX11Display*>(&Display::TheDisplay());
    ASSERT_NE(display, nullptr);
    XDisplay* raw = XOpenDisplay(g_server->Server().Name().c_str());
    ASSERT_NE(raw, nullptr);
    // A 2 x 2 icon: red, white and two pixels the AND mask lets through.
    const DWORD colour[] = {0x00FF0000u, 0x00FFFFFFu, 0x00000000u, 0x00000000u};
    const DWORD mask[] = {0, 0, 0xFFFFFFu, 0xFFFFFFu};
    HBITMAP colourBitmap = CreateBitmap(2, 2, 1, 32, colour);
    HBITMAP maskBitmap = CreateBitmap(2, 2, 1, 32, mask);
    ICONINFO info{TRUE, 0, 0, maskBitmap, colourBitmap};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    HWND hwnd = Create(WS_OVERLAPPEDWINDOW, 10);
    EXPECT_EQ(SendMessageW(hwnd, WM_SETICON, 1, reinterpret_cast<LPARAM>(icon)), 0);
    EXPECT_EQ(SendMessageW(hwnd, WM_GETICON, 1, 0), reinterpret_cast<LRESULT>(icon));
    PumpFor(20);
    std::vector<long> got = LongsOf(raw, display->XWindowOf(NativeWindowOf(hwnd)), "_NET_WM_ICON");
    for (long& value : got)
        value &= 0xFFFFFFFFL;
    EXPECT_EQ(got, (std::vector<long>{2, 2, 0xFFFF0000L, 0xFFFFFFFFL, 0, 0}));
    DestroyIcon(icon);
    DeleteObject(colourBitmap);
    DeleteObject(maskBitmap);
    XCloseDisplay(raw);
}
