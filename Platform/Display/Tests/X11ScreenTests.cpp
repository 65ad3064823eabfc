// The demo window on a real X server (a private Xvfb), driven with synthetic
// input, must look like the same window rendered by the headless display.

#include "X11DemoLayout.h"
#include "X11UiDemoLayout.h"
#include "X11TestServer.h"

#include <gtest/gtest.h>

#include <cairo.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <string>
#include <thread>

#include "Platform/Display/X11Xlib.h"

namespace {

const std::string kOutput = ZELL_X11_OUTPUT_DIR;

struct Comparison {
    bool sameSize = false;
    double closeShare = 0.0; // pixels whose channels all lie within the tolerance
};

Comparison Compare(cairo_surface_t* a, cairo_surface_t* b, int tolerance)
{
    Comparison result;
    const int width = cairo_image_surface_get_width(a);
    const int height = cairo_image_surface_get_height(a);
    if (width != cairo_image_surface_get_width(b) || height != cairo_image_surface_get_height(b) || width == 0)
        return result;
    result.sameSize = true;
    cairo_surface_flush(a);
    cairo_surface_flush(b);
    long close = 0;
    for (int y = 0; y < height; ++y) {
        const auto* ra = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(a) + y * cairo_image_surface_get_stride(a));
        const auto* rb = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(b) + y * cairo_image_surface_get_stride(b));
        for (int x = 0; x < width; ++x) {
            bool within = true;
            for (int shift = 0; shift < 24; shift += 8) {
                const int ca = static_cast<int>((ra[x] >> shift) & 0xFF);
                const int cb = static_cast<int>((rb[x] >> shift) & 0xFF);
                within = within && std::abs(ca - cb) <= tolerance;
            }
            close += within ? 1 : 0;
        }
    }
    result.closeShare = static_cast<double>(close) / (static_cast<double>(width) * height);
    return result;
}

// The window's pixels as the server has them.
cairo_surface_t* Screenshot(XDisplay* display, Window window)
{
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes))
        return nullptr;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image)
        return nullptr;
    cairo_surface_t* shot = cairo_image_surface_create(CAIRO_FORMAT_RGB24, attributes.width, attributes.height);
    auto* data = cairo_image_surface_get_data(shot);
    const int stride = cairo_image_surface_get_stride(shot);
    for (int y = 0; y < attributes.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < attributes.width; ++x)
            row[x] = static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
    }
    cairo_surface_mark_dirty(shot);
    XDestroyImage(image);
    return shot;
}

// Lines of the child's output in the order they came, taken one by one as the test wants them.
class CLines {
public:
    explicit CLines(X11Test::CChildProcess& child) : m_child(child) {}

    bool WaitFor(const std::string& wanted, int timeoutMs, std::string* line = nullptr)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            for (auto it = m_unread.begin(); it != m_unread.end(); ++it) {
                if (it->rfind(wanted, 0) == 0) {
                    if (line)
                        *line = *it;
                    m_unread.erase(it);
                    return true;
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            std::string got;
            if (left.count() <= 0 || !m_child.ReadLine(got, static_cast<int>(left.count())))
                return false;
            m_unread.push_back(got);
        }
    }

private:
    X11Test::CChildProcess& m_child;
    std::vector<std::string> m_unread;
};

// One demo program and what the test needs to know of its window.
struct DemoCase {
    std::string program;
    std::string name;  // prefix of the pictures left in the build folder
    POINT clientOrigin; // screen position of the client area
    SIZE clientSize;
    POINT click;        // screen point on the switch
    POINT switchProbe;  // client point inside the switch, away from its text
};

int Headless(const DemoCase& demo, const std::string& png, bool input)
{
    std::vector<std::string> argv{demo.program, "--headless", png};
    if (!input)
        argv.push_back("--no-input");
    return X11Test::RunWithDisplay("", argv, 20000);
}

void RunScreenCase(const DemoCase& demo)
{
    X11Test::CXvfbServer server;
    ASSERT_TRUE(server.Start()) << server.Error();
    XDisplay* display = XOpenDisplay(server.Name().c_str());
    ASSERT_NE(display, nullptr);

    X11Test::CChildProcess child;
    ASSERT_TRUE(child.Start(server.Name(), {demo.program}));
    CLines lines(child);
    std::string ready;
    ASSERT_TRUE(lines.WaitFor("READY ", 10000, &ready));
    const Window window = std::strtoul(ready.c_str() + 6, nullptr, 10);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(lines.WaitFor("FOCUS", 5000));

    // The window sits where it asked to be, at its size: no window manager moves it.
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display, window, &attributes));
    EXPECT_EQ(attributes.x, demo.clientOrigin.x);
    EXPECT_EQ(attributes.y, demo.clientOrigin.y);
    EXPECT_EQ(attributes.width, demo.clientSize.cx);
    EXPECT_EQ(attributes.height, demo.clientSize.cy);
    EXPECT_EQ(attributes.map_state, IsViewable);

    ASSERT_EQ(X11Test::RunWithDisplay(server.Name(), {"xdotool", "mousemove", std::to_string(demo.click.x),
                                                      std::to_string(demo.click.y), "click", "1"}),
              0);
    ASSERT_TRUE(lines.WaitFor("CLICKED", 5000));
    ASSERT_EQ(X11Test::RunWithDisplay(server.Name(), {"xdotool", "key", "k"}), 0);
    ASSERT_TRUE(lines.WaitFor("KEY", 5000));
    // Out of the way, so that no cursor could ever be part of the picture.
    X11Test::RunWithDisplay(server.Name(), {"xdotool", "mousemove", "1000", "750"});

    // The key's repaint may still be on its way to the server.
    cairo_surface_t* shot = nullptr;
    // Per process: two runs of the test at once must not read each other's half-written files.
    const std::string stem = kOutput + "/" + demo.name + "-" + std::to_string(getpid());
    const std::string expectedPng = stem + "-headless.png";
    const std::string initialPng = stem + "-headless-initial.png";
    ASSERT_EQ(Headless(demo, expectedPng, true), 0);
    ASSERT_EQ(Headless(demo, initialPng, false), 0);
    cairo_surface_t* expected = cairo_image_surface_create_from_png(expectedPng.c_str());
    cairo_surface_t* initial = cairo_image_surface_create_from_png(initialPng.c_str());
    ASSERT_EQ(cairo_surface_status(expected), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_surface_status(initial), CAIRO_STATUS_SUCCESS);
    Comparison same;
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (shot)
            cairo_surface_destroy(shot);
        shot = Screenshot(display, window);
        ASSERT_NE(shot, nullptr);
        same = Compare(shot, expected, 8);
        if (same.closeShare >= 0.99)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    cairo_surface_write_to_png(shot, (kOutput + "/" + demo.name + "-screen.png").c_str());

    // The user's close button: WM_DELETE_WINDOW ends the program.
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &close);
    XSync(display, False);
    EXPECT_TRUE(lines.WaitFor("CLOSED", 5000));
    EXPECT_EQ(child.Wait(5000), 0);
    XCloseDisplay(display);
    server.Stop();

    EXPECT_TRUE(same.sameSize);
    EXPECT_GE(same.closeShare, 0.99) << "see " << kOutput << "/" << demo.name << "-screen.png";
    // And the input did change what is shown: the switch and the texts.
    const Comparison before = Compare(shot, initial, 8);
    EXPECT_TRUE(before.sameSize);
    EXPECT_LT(before.closeShare, 0.95);
    const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(shot) +
                                                             demo.switchProbe.y * cairo_image_surface_get_stride(shot));
    const std::uint32_t green = row[demo.switchProbe.x];
    EXPECT_GT((green >> 8) & 0xFF, 150u);
    EXPECT_LT((green >> 16) & 0xFF, 80u);

    // The screenshot and the rendering it is compared with stay for a person to look at.
    cairo_surface_write_to_png(expected, (kOutput + "/" + demo.name + "-headless.png").c_str());
    std::remove(expectedPng.c_str());
    std::remove(initialPng.c_str());
    cairo_surface_destroy(initial);
    cairo_surface_destroy(expected);
    cairo_surface_destroy(shot);
}

}

// The back end alone: a cairo drawing that the program presents itself.
TEST(X11Screen, PresentedDrawingMatchesItsHeadlessRendering)
{
    DemoCase demo;
    demo.program = ZELL_X11_DEMO;
    demo.name = "x11-backend";
    demo.clientOrigin = {X11Demo::kWindowRect.left, X11Demo::kWindowRect.top};
    demo.clientSize = {X11Demo::Width(), X11Demo::Height()};
    demo.click = X11Demo::SwitchCentreOnScreen();
    demo.switchProbe = {(X11Demo::kSwitchRect.left + X11Demo::kSwitchRect.right) / 2, X11Demo::kSwitchRect.top + 5};
    RunScreenCase(demo);
}

#ifdef ZELL_X11_UI_DEMO
// The window layer on top: child windows painted through the drawing layer.
TEST(X11Screen, WindowLayerDemoMatchesItsHeadlessRendering)
{
    DemoCase demo;
    demo.program = ZELL_X11_UI_DEMO;
    demo.name = "x11-ui";
    demo.clientOrigin = {X11UiDemo::kClientOnScreen.left, X11UiDemo::kClientOnScreen.top};
    demo.clientSize = {X11UiDemo::kClientOnScreen.right - X11UiDemo::kClientOnScreen.left,
                       X11UiDemo::kClientOnScreen.bottom - X11UiDemo::kClientOnScreen.top};
    demo.click = X11UiDemo::SwitchCentreOnScreen();
    demo.switchProbe = {(X11UiDemo::kSwitchRect.left + X11UiDemo::kSwitchRect.right) / 2, X11UiDemo::kSwitchRect.top + 5};
    RunScreenCase(demo);
}
#endif
