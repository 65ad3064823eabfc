// A small program for the screen test: one top-level with a few panels,
// text and shapes. A click on the switch panel turns it from red to green, the
// K key replaces the status text. It runs on the display that the environment
// selects and reports on stdout what it did; with --headless it runs on the
// headless display instead, gives itself the same click and key, and saves
// what it shows as a PNG.
//
//   X11DemoWindow                       show, wait for input, exit on close
//   X11DemoWindow --headless OUT.png    the same window, rendered offscreen
//   X11DemoWindow --headless OUT.png --no-input

#include "Platform/Display/DisplayBackend.h"
#include "Platform/Display/HeadlessDisplay.h"
#include "Platform/Display/VirtualKeys.h"
#include "Platform/Display/X11Display.h"
#include "X11DemoLayout.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

using namespace Display;

namespace {

class CDemo : public IEventSink {
public:
    explicit CDemo(CDisplayBackend& display) : m_display(display) {}
    ~CDemo() override
    {
        if (m_buffer)
            cairo_surface_destroy(m_buffer);
    }

    NativeId Open()
    {
        TopLevelParams params;
        params.clientRect = X11Demo::kWindowRect;
        params.title = L"Demo \u00e4\u00f6\u00fc";
        params.resizable = false;
        m_id = m_display.CreateTopLevel(params);
        if (!m_id)
            return 0;
        m_buffer = cairo_image_surface_create(CAIRO_FORMAT_RGB24, X11Demo::Width(), X11Demo::Height());
        m_display.SetEventSink(this);
        Repaint();
        m_display.ShowTopLevel(m_id, true);
        m_display.RaiseTopLevel(m_id, true);
        return m_id;
    }

    void OnDisplayEvent(const Event& event) override
    {
        if (event.window != m_id)
            return;
        switch (event.kind) {
        case EventKind::Expose: m_display.Present(m_id, m_buffer, event.rect); break;
        case EventKind::MouseDown: {
            const POINT client{event.screen.x - X11Demo::kWindowRect.left, event.screen.y - X11Demo::kWindowRect.top};
            if (event.button == MouseButton::Left && X11Demo::InSwitch(client)) {
                m_state.switchedOn = !m_state.switchedOn;
                Repaint();
                Say("CLICKED");
            }
            break;
        }
        case EventKind::KeyDown:
            if (event.virtualKey == 'K') {
                m_state.keyPressed = true;
                Repaint();
                Say("KEY");
            }
            break;
        case EventKind::FocusIn: Say("FOCUS"); break;
        case EventKind::CloseRequest: m_closed = true; break;
        default: break;
        }
    }

    void Repaint()
    {
        cairo_t* cr = cairo_create(m_buffer);
        X11Demo::Paint(cr, m_state);
        cairo_destroy(cr);
        m_display.Present(m_id, m_buffer, {0, 0, X11Demo::Width(), X11Demo::Height()});
    }

    bool Closed() const { return m_closed; }
    static void Say(const char* what)
    {
        std::printf("%s\n", what);
        std::fflush(stdout);
    }

private:
    CDisplayBackend& m_display;
    NativeId m_id = 0;
    cairo_surface_t* m_buffer = nullptr;
    X11Demo::State m_state;
    bool m_closed = false;
};

int RunHeadless(const char* png, bool input)
{
    CHeadlessDisplay display;
    CDemo demo(display);
    const NativeId id = demo.Open();
    if (!id)
        return 3;
    display.PumpEvents(0);
    if (input) {
        const POINT click = X11Demo::SwitchCentreOnScreen();
        display.InjectMouseDown(MouseButton::Left, click);
        display.InjectMouseUp(MouseButton::Left, click);
        display.InjectKeyDown('K');
        display.InjectKeyUp('K');
        display.PumpEvents(0);
    }
    return display.SaveAsPng(id, png) ? 0 : 4;
}

int RunOnScreen()
{
    auto display = CreateDisplayBackend();
    if (std::strcmp(display->Name(), "x11") != 0) {
        std::fprintf(stderr, "no X display\n");
        return 5;
    }
    CDemo demo(*display);
    const NativeId id = demo.Open();
    if (!id)
        return 3;
    const auto* x11 = dynamic_cast<CX11Display*>(display.get());
    std::printf("READY %lu\n", x11 ? x11->XWindowOf(id) : 0ul);
    std::fflush(stdout);
    // Bounded: a driver that died must not leave us running.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!demo.Closed() && std::chrono::steady_clock::now() < deadline)
        display->PumpEvents(100);
    if (!demo.Closed())
        return 2;
    display->DestroyTopLevel(id);
    CDemo::Say("CLOSED");
    return 0;
}

}

// Fontconfig keeps its caches for the life of the process; under the leak
// checker of sanitized builds they are no leak of ours.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--headless") == 0)
        return RunHeadless(argv[2], !(argc >= 4 && std::strcmp(argv[3], "--no-input") == 0));
    return RunOnScreen();
}
