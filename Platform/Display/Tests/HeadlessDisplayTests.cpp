#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/VirtualKeys.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

using namespace Display;

namespace {

struct Collector : IEventSink {
    std::vector<Event> events;
    void OnDisplayEvent(const Event& e) override { events.push_back(e); }
    std::vector<Event> Of(EventKind kind) const
    {
        std::vector<Event> result;
        for (const Event& e : events) {
            if (e.kind == kind)
                result.push_back(e);
        }
        return result;
    }
};

NativeId Make(CHeadlessDisplay& d, RECT r, TopLevelKind kind = TopLevelKind::Framed)
{
    TopLevelParams p;
    p.kind = kind;
    p.clientRect = r;
    const NativeId id = d.CreateTopLevel(p);
    d.ShowTopLevel(id, true);
    return id;
}

}

TEST(HeadlessDisplay, PresentedPixelsAreReadBackAndSavedAsPng)
{
    CHeadlessDisplay d;
    const NativeId id = Make(d, {0, 0, 40, 30});
    EXPECT_FALSE(d.PixelAt(id, 0, 0).has_value()) << "nothing presented yet";
    cairo_surface_t* buffer = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 30);
    cairo_t* cr = cairo_create(buffer);
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    d.Present(id, buffer, {0, 0, 20, 30});  // only the left half
    EXPECT_EQ(d.PixelAt(id, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(d.PixelAt(id, 30, 5), RGB(0, 0, 0));
    EXPECT_FALSE(d.PixelAt(id, 40, 0).has_value());
    EXPECT_FALSE(d.PixelAt(id, -1, 0).has_value());
    const auto path = std::filesystem::temp_directory_path() / "zell-headless-test.png";
    ASSERT_TRUE(d.SaveAsPng(id, path.string()));
    cairo_surface_t* loaded = cairo_image_surface_create_from_png(path.string().c_str());
    EXPECT_EQ(cairo_surface_status(loaded), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(loaded), 40);
    cairo_surface_destroy(loaded);
    std::filesystem::remove(path);
    EXPECT_FALSE(d.SaveAsPng(9999, path.string()));
    cairo_surface_destroy(buffer);
}

TEST(HeadlessDisplay, KeysTypeUsLayoutTextWithShift)
{
    CHeadlessDisplay d;
    Collector sink;
    d.SetEventSink(&sink);
    const NativeId id = Make(d, {0, 0, 10, 10});
    d.RaiseTopLevel(id, true);
    d.InjectKeyDown('A');
    d.InjectKeyDown(VK_SHIFT);
    d.InjectKeyDown('A');
    d.InjectKeyDown('1');
    d.InjectKeyDown(VK_OEM_2);
    d.InjectKeyUp(VK_SHIFT);
    d.InjectKeyDown(VK_CONTROL);
    d.InjectKeyDown('C');
    d.PumpEvents(0);
    auto downs = sink.Of(EventKind::KeyDown);
    ASSERT_EQ(downs.size(), 7u);
    EXPECT_EQ(downs[0].text, L"a");
    EXPECT_EQ(downs[0].window, id);
    EXPECT_EQ(downs[2].text, L"A");
    EXPECT_NE(downs[2].modifiers & ModShift, 0u);
    EXPECT_EQ(downs[3].text, L"!");
    EXPECT_EQ(downs[4].text, L"?");
    EXPECT_EQ(downs[6].text, L"\x03") << "Ctrl+C types the control character";
    EXPECT_EQ(sink.Of(EventKind::FocusIn).size(), 1u);
}

TEST(HeadlessDisplay, MouseGoesToTheTopmostVisibleTopLevelOrTheGrab)
{
    CHeadlessDisplay d;
    Collector sink;
    d.SetEventSink(&sink);
    const NativeId below = Make(d, {0, 0, 100, 100});
    const NativeId above = Make(d, {50, 50, 150, 150});
    d.RaiseTopLevel(above, false);
    d.InjectMouseMove({60, 60});
    d.InjectMouseMove({10, 10});
    d.GrabPointer(above);
    d.InjectMouseMove({10, 10});
    d.GrabPointer(0);
    d.InjectMouseMove({500, 500});
    d.PumpEvents(0);
    auto moves = sink.Of(EventKind::MouseMove);
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_EQ(moves[0].window, above);
    EXPECT_EQ(moves[1].window, below);
    EXPECT_EQ(moves[2].window, above) << "the grab wins";
    EXPECT_EQ(sink.Of(EventKind::MouseLeave).size(), 1u);
}

TEST(HeadlessDisplay, ClickActivatesAndTopMostStaysOnTop)
{
    CHeadlessDisplay d;
    const NativeId a = Make(d, {0, 0, 100, 100});
    const NativeId b = Make(d, {200, 0, 300, 100});
    d.SetTopMost(b, true);
    d.InjectMouseDown(MouseButton::Left, {10, 10});
    EXPECT_EQ(d.FocusedTopLevel(), a);
    EXPECT_EQ(d.StackingOrder().front(), b) << "a top-most window stays above";
    const NativeId popup = Make(d, {10, 10, 20, 20}, TopLevelKind::Popup);
    d.RaiseTopLevel(popup, false);
    d.InjectMouseDown(MouseButton::Left, {15, 15});
    EXPECT_EQ(d.FocusedTopLevel(), a) << "pop-ups do not take the focus by a click";
}

TEST(HeadlessDisplay, DestroyedTopLevelsLoseTheirQueuedEvents)
{
    CHeadlessDisplay d;
    Collector sink;
    d.SetEventSink(&sink);
    const NativeId id = Make(d, {0, 0, 10, 10});
    d.InjectClose(id);
    d.DestroyTopLevel(id);
    d.PumpEvents(0);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_FALSE(d.StateOf(id).has_value());
}

TEST(HeadlessDisplay, WakeEndsAWaitingPumpFromAnotherThread)
{
    CHeadlessDisplay d;
    Collector sink;
    d.SetEventSink(&sink);
    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        d.Wake();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(d.PumpEvents(INFINITE));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    waker.join();
    // A wake given while nobody pumps is kept for the next pump.
    d.Wake();
    EXPECT_FALSE(d.PumpEvents(5000));
}

TEST(HeadlessDisplay, MonitorsAndFramesAndClipboard)
{
    CHeadlessDisplay d;
    EXPECT_EQ(d.Monitors().size(), 1u);
    EXPECT_TRUE(d.Monitors()[0].primary);
    d.SetMonitors({});
    EXPECT_EQ(d.Monitors().size(), 1u) << "an empty list is refused";
    const FrameExtents framed = d.FrameFor(TopLevelKind::Framed, true);
    EXPECT_GT(framed.top, framed.bottom);
    const FrameExtents popup = d.FrameFor(TopLevelKind::Popup, true);
    EXPECT_EQ(popup.top, 0);
    EXPECT_FALSE(d.GetClipboardText().has_value());
    EXPECT_TRUE(d.SetClipboardText(L"192.168.1.1"));
    EXPECT_EQ(d.GetClipboardText(), std::wstring(L"192.168.1.1"));
}

TEST(DisplaySelection, HeadlessWhenAskedFor)
{
    // Tests run with ZELL_DISPLAY=headless.
    auto display = CreateDisplayBackend();
    ASSERT_NE(display, nullptr);
    EXPECT_STREQ(display->Name(), "headless");
}

TEST(HeadlessDisplay, FramedTopLevelsTakeThePointerOnTheirFrameAndSaveWithIt)
{
    CHeadlessDisplay d;
    Collector c;
    d.SetEventSink(&c);
    const NativeId framed = Make(d, {100, 100, 140, 130});
    const NativeId popup = Make(d, {300, 100, 340, 130}, TopLevelKind::Popup);
    const FrameExtents f = d.FrameFor(TopLevelKind::Framed, true);
    d.InjectMouseMove({120, 100 - f.top + 1});  // on the caption
    d.InjectMouseMove({320, 99});               // just above the pop-up: nothing there
    d.PumpEvents(0);
    const auto moves = c.Of(EventKind::MouseMove);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].window, framed);

    // The frame picture covers the whole window; the client shows inside it.
    cairo_surface_t* client = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 30);
    cairo_t* cr = cairo_create(client);
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_t* frame = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40 + f.left + f.right, 30 + f.top + f.bottom);
    cr = cairo_create(frame);
    cairo_set_source_rgb(cr, 0, 1, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    d.Present(framed, client, {0, 0, 40, 30});
    d.PresentFrame(framed, frame);
    d.PresentFrame(popup, frame);  // pop-ups have no frame: ignored
    const auto path = std::filesystem::temp_directory_path() / "zell-headless-frame-test.png";
    ASSERT_TRUE(d.SaveWithFrameAsPng(framed, path.string()));
    cairo_surface_t* loaded = cairo_image_surface_create_from_png(path.string().c_str());
    ASSERT_EQ(cairo_surface_status(loaded), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(loaded), 40 + f.left + f.right);
    EXPECT_EQ(cairo_image_surface_get_height(loaded), 30 + f.top + f.bottom);
    auto pixel = [&](int x, int y) {
        const auto* row = cairo_image_surface_get_data(loaded) + static_cast<std::size_t>(y) * cairo_image_surface_get_stride(loaded);
        return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFFu;
    };
    EXPECT_EQ(pixel(1, 1), 0x00FF00u) << "frame";
    EXPECT_EQ(pixel(f.left + 5, f.top + 5), 0x0000FFu) << "client";
    EXPECT_EQ(pixel(f.left + 39, f.top + 29), 0x0000FFu);
    EXPECT_EQ(pixel(f.left + 40, f.top + 29), 0x00FF00u) << "the client ends where it ends";
    cairo_surface_destroy(loaded);
    cairo_surface_destroy(client);
    cairo_surface_destroy(frame);
    std::filesystem::remove(path);
}

namespace {

cairo_surface_t* Filled(int width, int height, double r, double g, double b)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_paint(cr);
    cairo_destroy(cr);
    return surface;
}

}

// Surfaces of gone top-levels are kept for new ones of the same size; none of
// the old pixels may show through what the new one has not presented yet.
TEST(HeadlessDisplay, ATopLevelOfAGoneOnesSizeStartsClean)
{
    CHeadlessDisplay d;
    const FrameExtents f = d.FrameFor(TopLevelKind::Framed, true);
    cairo_surface_t* red = Filled(40, 30, 1, 0, 0);
    cairo_surface_t* redFrame = Filled(40 + f.left + f.right, 30 + f.top + f.bottom, 1, 0, 0);
    cairo_surface_t* blue = Filled(40, 30, 0, 0, 1);
    cairo_surface_t* greenFrame = Filled(40 + f.left + f.right, 30 + f.top + f.bottom, 0, 1, 0);

    const NativeId first = Make(d, {0, 0, 40, 30});
    d.Present(first, red, {0, 0, 40, 30});
    d.PresentFrame(first, redFrame);
    d.DestroyTopLevel(first);

    const NativeId second = Make(d, {0, 0, 40, 30});
    EXPECT_FALSE(d.PixelAt(second, 0, 0).has_value()) << "nothing presented yet";
    d.Present(second, blue, {0, 0, 20, 30});  // only the left half
    EXPECT_EQ(d.PixelAt(second, 5, 5), RGB(0, 0, 255));
    EXPECT_EQ(d.PixelAt(second, 30, 5), RGB(0, 0, 0)) << "the gone top-level's pixels show";
    EXPECT_EQ(d.PixelAt(second, 39, 29), RGB(0, 0, 0));
    EXPECT_EQ(d.PixelAt(first, 5, 5), std::nullopt);

    // A frame presented again at the same size replaces the last one wholly.
    d.PresentFrame(second, redFrame);
    d.PresentFrame(second, greenFrame);
    const auto path = std::filesystem::temp_directory_path() / "zell-headless-reuse-test.png";
    ASSERT_TRUE(d.SaveWithFrameAsPng(second, path.string()));
    cairo_surface_t* loaded = cairo_image_surface_create_from_png(path.string().c_str());
    ASSERT_EQ(cairo_surface_status(loaded), CAIRO_STATUS_SUCCESS);
    const auto* row = cairo_image_surface_get_data(loaded);
    EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(row)[1] & 0xFFFFFFu, 0x00FF00u) << "frame";
    cairo_surface_destroy(loaded);
    std::filesystem::remove(path);

    // Resizing keeps nothing of the old size either, also past the few kept.
    std::vector<NativeId> others;
    for (int i = 0; i < 6; ++i) {
        others.push_back(Make(d, {0, 0, 40, 30}));
        d.Present(others.back(), red, {0, 0, 40, 30});
    }
    for (NativeId other : others)
        d.DestroyTopLevel(other);
    d.MoveTopLevel(second, {0, 0, 50, 30});
    cairo_surface_t* wide = Filled(50, 30, 0, 0, 1);
    d.Present(second, wide, {0, 0, 10, 30});
    EXPECT_EQ(d.PixelAt(second, 45, 5), RGB(0, 0, 0));
    d.MoveTopLevel(second, {0, 0, 40, 30});
    d.Present(second, blue, {0, 0, 10, 30});
    EXPECT_EQ(d.PixelAt(second, 30, 5), RGB(0, 0, 0)) << "a kept surface of this size was not cleared";

    for (cairo_surface_t* s : {red, redFrame, blue, greenFrame, wide})
        cairo_surface_destroy(s);
}
