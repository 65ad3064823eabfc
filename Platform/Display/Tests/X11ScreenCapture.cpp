#include "X11ScreenCapture.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <unistd.h>

namespace X11Test {

Comparison CaptureCloseTo(XDisplay* display, Window window, cairo_surface_t* expected, cairo_surface_t*& shot,
                          int tolerance, double share, int attempts)
{
    Comparison same;
    shot = nullptr;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (shot != nullptr)
            cairo_surface_destroy(shot);
        shot = Screenshot(display, window);
        if (shot == nullptr)
            return {};
        same = Compare(shot, expected, tolerance);
        if (same.closeShare >= share)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return same;
}

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

void RequestClose(XDisplay* display, Window window)
{
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &close);
    XSync(display, False);
}

bool CLines::WaitFor(const std::string& wanted, int timeoutMs, std::string* line)
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

ScreenRun CompareWithHeadless(const std::string& program, const std::string& outputDir, const std::string& name,
                              const std::vector<std::string>& options)
{
    ScreenRun run;
    // Per process: two runs of a test at once must not read each other's files.
    const std::string expectedPng = outputDir + "/" + name + "-" + std::to_string(getpid()) + "-headless.png";
    std::vector<std::string> onScreen{program};
    onScreen.insert(onScreen.end(), options.begin(), options.end());
    std::vector<std::string> headless = onScreen;
    headless.push_back("--headless");
    headless.push_back(expectedPng);
    if (RunWithDisplay("", headless, 20000) != 0) {
        run.error = "the headless rendering failed";
        return run;
    }
    cairo_surface_t* expected = cairo_image_surface_create_from_png(expectedPng.c_str());
    std::remove(expectedPng.c_str());
    CXvfbServer server;
    XDisplay* display = nullptr;
    CChildProcess child;
    std::string ready;
    if (cairo_surface_status(expected) != CAIRO_STATUS_SUCCESS)
        run.error = "the headless rendering cannot be read";
    else if (!server.Start())
        run.error = server.Error();
    else if ((display = XOpenDisplay(server.Name().c_str())) == nullptr)
        run.error = "no connection to the X server";
    else if (!child.Start(server.Name(), onScreen))
        run.error = "the program did not start";
    if (!run.error.empty()) {
        cairo_surface_destroy(expected);
        if (display != nullptr)
            XCloseDisplay(display);
        return run;
    }
    CLines lines(child);
    const Window window = lines.WaitFor("READY ", 10000, &ready) ? std::strtoul(ready.c_str() + 6, nullptr, 10) : 0;
    cairo_surface_t* shot = nullptr;
    if (window != 0)
        run.same = CaptureCloseTo(display, window, expected, shot);
    if (shot != nullptr) {
        cairo_surface_write_to_png(shot, (outputDir + "/" + name + "-screen.png").c_str());
        cairo_surface_destroy(shot);
    } else if (window != 0) {
        run.error = "no picture of the window";
    }
    cairo_surface_write_to_png(expected, (outputDir + "/" + name + "-headless.png").c_str());
    cairo_surface_destroy(expected);
    if (window != 0) {
        RequestClose(display, window);
        run.closed = lines.WaitFor("CLOSED", 5000);
    }
    run.exitCode = child.Wait(5000);
    // Say how the program ended: a code of its own, a signal (128 + n), or still running (-1).
    if (window == 0)
        run.error = "the program reported no window; its exit status: " + std::to_string(run.exitCode);
    XCloseDisplay(display);
    server.Stop();
    return run;
}

}
