#pragma once
// What the screen tests share: a window's pixels as the X server has them,
// their comparison with a rendering, and the lines a child program reports.

#include "X11TestServer.h"

#include <cairo.h>

#include <string>
#include <vector>

#include "Platform/Display/X11Xlib.h"

namespace X11Test {

struct Comparison {
    bool sameSize = false;
    double closeShare = 0.0; // pixels whose channels all lie within the tolerance
};

Comparison Compare(cairo_surface_t* a, cairo_surface_t* b, int tolerance);

// The window's pixels as the server has them; null when it cannot be read.
cairo_surface_t* Screenshot(XDisplay* display, Window window);

// Takes screenshots of the window until one is close to `expected` (the
// last repaints may still be on their way to the server) or the attempts
// run out; `shot` gets the last one, which the caller destroys.
Comparison CaptureCloseTo(XDisplay* display, Window window, cairo_surface_t* expected, cairo_surface_t*& shot,
                          int tolerance = 8, double share = 0.995, int attempts = 40);

// What the close box of a window manager sends: WM_DELETE_WINDOW.
void RequestClose(XDisplay* display, Window window);

// How a program's window on a private Xvfb compares with the program's own
// headless rendering.
struct ScreenRun {
    std::string error;  // empty when both pictures were taken
    Comparison same;
    bool closed = false;  // the program reported "CLOSED" after the close request
    int exitCode = -1;
};

// Runs `program` (with `options`) and "--headless FILE" for its rendering, then on a private
// Xvfb, where it reports "READY <X window>"; takes screenshots until the
// window shows the rendering (the last repaints may still be on their way)
// and closes it. Both pictures stay in `outputDir` as NAME-screen.png and
// NAME-headless.png for a person to look at.
ScreenRun CompareWithHeadless(const std::string& program, const std::string& outputDir, const std::string& name,
                              const std::vector<std::string>& options = {});

// Lines of the child's output in the order they came, taken one by one as the test wants them.
class CLines {
public:
    explicit CLines(CChildProcess& child) : m_child(child) {}

    // Waits for a line that begins with `wanted`; false when none came in time.
    bool WaitFor(const std::string& wanted, int timeoutMs, std::string* line = nullptr);

private:
    CChildProcess& m_child;
    std::vector<std::string> m_unread;
};

}
