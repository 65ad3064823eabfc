// The window layer's clipboard on an X server: its text is the CLIPBOARD
// selection that other X clients read, and their copies come back through it.
#include "Platform/Display/X11Display.h"
#include "Platform/Ui/WinUser.h"
#include "X11TestServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

X11Test::CLayerOnXvfb* g_server = nullptr;
bool g_started = false;

void PumpOurs(int ms)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    MSG msg;
    while (Clock::now() < deadline) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

HGLOBAL WideBlock(const std::wstring& text)
{
    const SIZE_T size = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), text.c_str(), size);
    GlobalUnlock(block);
    return block;
}

class X11UiClipboard : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        g_server = new X11Test::CLayerOnXvfb();
        g_started = g_server->Start();
    }
    static void TearDownTestSuite()
    {
        delete g_server;
        g_server = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(g_started) << g_server->Error();
        WNDCLASSEXW wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = L"X11UiClipboardOwner";
        RegisterClassExW(&wc);
        m_owner = CreateWindowExW(0, wc.lpszClassName, L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_owner, nullptr);
        ASSERT_TRUE(m_other.Open(g_server->Server().Name()));
    }
    void TearDown() override { DestroyWindow(m_owner); }

    HWND m_owner = nullptr;
    Display::CX11Display m_other;
};

}

TEST_F(X11UiClipboard, OurTextIsTheSelectionAndTheirsComesBack)
{
    ASSERT_TRUE(OpenClipboard(m_owner));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, WideBlock(L"\u00fcber X\r\nzwei"));
    ASSERT_TRUE(CloseClipboard());

    // Another client reads it while our thread serves the request in its message loop.
    std::optional<std::wstring> read;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        read = m_other.GetClipboardText();
        done = true;
    });
    for (int i = 0; i < 400 && !done; ++i)
        PumpOurs(10);
    reader.join();
    EXPECT_EQ(read, std::optional<std::wstring>(L"\u00fcber X\r\nzwei"));

    // Their copy takes the clipboard from us; our store lets go of its data.
    std::atomic<bool> stop{false};
    ASSERT_TRUE(m_other.SetClipboardText(L"theirs"));
    std::thread theirPump([&] {
        while (!stop)
            m_other.PumpEvents(20);
    });
    for (int i = 0; i < 300 && GetClipboardOwner() != nullptr; ++i)
        PumpOurs(10);
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    ASSERT_TRUE(OpenClipboard(m_owner));
    HANDLE text = GetClipboardData(CF_TEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(text)), "theirs");
    GlobalUnlock(text);
    CloseClipboard();
    stop = true;
    theirPump.join();
}
