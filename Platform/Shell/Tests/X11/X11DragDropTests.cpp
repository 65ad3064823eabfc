// A drag from one window to another on a private Xvfb: the pointer is moved
// and its button pressed by xdotool, as a user would, while the drag loop
// follows the X server's events.
#include "Platform/Display/X11Display.h"
#include "Platform/Shell/Tests/DragDropTestSupport.h"
#include "Platform/Ui/Tests/UiTestSupport.h"
#include "X11TestServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

void PumpFor(int ms)
{
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
        UiTest::Drain();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}

TEST(X11DragDrop, TextMovesBetweenTwoWindowsOfTheProcess)
{
    X11Test::CXvfbServer server;
    ASSERT_TRUE(server.Start()) << server.Error();
    if (X11Test::RunWithDisplay(server.Name(), {"xdotool", "getmouselocation"}) != 0)
        GTEST_SKIP() << "xdotool is not installed";
    auto display = std::make_unique<Display::CX11Display>();
    ASSERT_TRUE(display->Open(server.Name()));
    Display::ReplaceDisplay(std::move(display));

    UiTest::Handler sourceHandler;
    UiTest::Handler targetHandler;
    DragTest::TextData data("over X");
    DragTest::Source source;
    DragTest::Target target;
    std::atomic<bool> finished = false;
    HRESULT result = E_UNEXPECTED;
    DWORD effect = 0xFFFF;
    sourceHandler.m_onMessage = [&](HWND, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_LBUTTONDOWN) {
            result = DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
            finished = true;
        }
        return false;
    };
    {
        UiTest::WindowGuard sourceWindow{UiTest::Create(&sourceHandler, WS_POPUP | WS_VISIBLE, 100, 100, 200, 150)};
        UiTest::WindowGuard targetWindow{UiTest::Create(&targetHandler, WS_POPUP | WS_VISIBLE, 400, 100, 200, 150)};
        ASSERT_EQ(RegisterDragDrop(targetWindow.hwnd, &target), S_OK);
        PumpFor(300);  // mapped and shown

        std::atomic<int> moverStatus = -2;
        std::thread mover([&] {
            moverStatus = X11Test::RunWithDisplay(
                server.Name(), {"xdotool", "mousemove", "150", "150", "sleep", "0.2", "mousedown", "1", "sleep", "0.2",
                                "mousemove", "300", "150", "sleep", "0.2", "mousemove", "450", "150", "sleep", "0.2",
                                "mousemove", "460", "160", "sleep", "0.2", "mouseup", "1"});
        });
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (!finished && Clock::now() < deadline)
            PumpFor(20);
        mover.join();
        EXPECT_EQ(moverStatus, 0);
        RevokeDragDrop(targetWindow.hwnd);
    }
    Display::ReplaceDisplay(nullptr);

    ASSERT_TRUE(finished);
    EXPECT_EQ(result, DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    const std::string kinds = target.Kinds();
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(kinds.front(), 'E');
    EXPECT_EQ(kinds.back(), 'D');
    EXPECT_EQ(target.m_dropped, "over X");
    EXPECT_EQ(target.m_calls.back().point.x, 460) << "screen coordinates from the server";
    EXPECT_EQ(source.m_feedback.front(), DROPEFFECT_NONE) << "the drag starts over the source";
}
