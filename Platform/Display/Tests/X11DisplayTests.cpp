#include "Platform/Display/VirtualKeys.h"
#include "Platform/Display/X11Display.h"
#include "X11TestServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

#include "Platform/Display/X11Xlib.h"
#include "Platform/Display/X11Clipboard.h"

using namespace Display;
using Clock = std::chrono::steady_clock;

namespace {

class CRecordingSink : public IEventSink {
public:
    void OnDisplayEvent(const Event& event) override
    {
        std::lock_guard lock(m_lock);
        m_events.push_back(event);
    }
    std::vector<Event> Events() const
    {
        std::lock_guard lock(m_lock);
        return m_events;
    }
    void Clear()
    {
        std::lock_guard lock(m_lock);
        m_events.clear();
    }

private:
    mutable std::mutex m_lock;
    std::vector<Event> m_events;
};

// A raw second client, to look at and act on the back end's windows from outside.
class CRawClient {
public:
    explicit CRawClient(const std::string& name) : m_display(XOpenDisplay(name.c_str())) {}
    ~CRawClient()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    XDisplay* Get() const { return m_display; }
    Atom AtomOf(const char* name) const { return XInternAtom(m_display, name, False); }

    std::string Property(Window window, const char* name, Atom* typeOut = nullptr) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        std::string value;
        if (XGetWindowProperty(m_display, window, AtomOf(name), 0, 1 << 20, False, AnyPropertyType, &type, &format,
                               &count, &after, &data) == Success &&
            data) {
            const std::size_t unit = format == 8 ? 1 : format == 16 ? sizeof(short) : sizeof(long);
            value.assign(reinterpret_cast<const char*>(data), count * unit);
        }
        if (data)
            XFree(data);
        if (typeOut)
            *typeOut = type;
        return value;
    }
    std::vector<long> Longs(Window window, const char* name) const
    {
        const std::string raw = Property(window, name);
        std::vector<long> values(raw.size() / sizeof(long));
        if (!values.empty())
            std::memcpy(values.data(), raw.data(), values.size() * sizeof(long));
        return values;
    }
    void SetCardinals(const char* name, const std::vector<long>& values) const
    {
        XChangeProperty(m_display, DefaultRootWindow(m_display), AtomOf(name), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(values.data()), static_cast<int>(values.size()));
        XSync(m_display, False);
    }

private:
    XDisplay* m_display = nullptr;
};

class X11DisplayTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_server = new X11Test::CXvfbServer();
        s_started = s_server->Start();
    }
    static void TearDownTestSuite()
    {
        delete s_server;
        s_server = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_started) << s_server->Error();
        m_display = OpenDisplay(m_sink);
        ASSERT_NE(m_display, nullptr);
        m_raw = std::make_unique<CRawClient>(Name());
        ASSERT_NE(m_raw->Get(), nullptr);
    }

    static const std::string& Name() { return s_server->Name(); }

    static std::unique_ptr<CX11Display> OpenDisplay(CRecordingSink& sink)
    {
        auto display = std::make_unique<CX11Display>();
        if (!display->Open(Name()))
            return nullptr;
        display->SetEventSink(&sink);
        return display;
    }

    // Pumps until an event matches, at most `timeoutMs`.
    static std::optional<Event> PumpUntil(CX11Display& display, CRecordingSink& sink,
                                          const std::function<bool(const Event&)>& match, int timeoutMs = 3000)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        std::size_t seen = 0;
        while (Clock::now() < deadline) {
            display.PumpEvents(50);
            const auto events = sink.Events();
            for (; seen < events.size(); ++seen) {
                if (match(events[seen]))
                    return events[seen];
            }
        }
        return std::nullopt;
    }
    std::optional<Event> PumpUntil(const std::function<bool(const Event&)>& match, int timeoutMs = 3000)
    {
        return PumpUntil(*m_display, m_sink, match, timeoutMs);
    }
    // Requests are only flushed; a call with a reply is a round trip, after
    // which the server has carried out everything the back end sent before.
    void Sync() { (void)m_display->WorkArea(); }

    void PumpFor(int ms)
    {
        PumpUntil([](const Event&) { return false; }, ms);
    }
    static std::function<bool(const Event&)> Kind(EventKind kind, NativeId id = 0)
    {
        return [kind, id](const Event& e) { return e.kind == kind && (id == 0 || e.window == id); };
    }

    NativeId CreateTopLevel(const RECT& rect, TopLevelKind kind = TopLevelKind::Framed)
    {
        TopLevelParams params;
        params.kind = kind;
        params.clientRect = rect;
        return m_display->CreateTopLevel(params);
    }

    NativeId ShowFocused(const RECT& rect)
    {
        TopLevelParams params;
        params.clientRect = rect;
        params.title = L"test";
        const NativeId id = m_display->CreateTopLevel(params);
        m_display->ShowTopLevel(id, true);
        m_display->RaiseTopLevel(id, true);
        EXPECT_TRUE(PumpUntil(Kind(EventKind::FocusIn, id)).has_value());
        return id;
    }

    int Xdotool(const std::vector<std::string>& args)
    {
        std::vector<std::string> argv{"xdotool"};
        argv.insert(argv.end(), args.begin(), args.end());
        return X11Test::RunWithDisplay(Name(), argv);
    }

    static X11Test::CXvfbServer* s_server;
    static bool s_started;
    CRecordingSink m_sink;
    std::unique_ptr<CX11Display> m_display;
    std::unique_ptr<CRawClient> m_raw;
};

X11Test::CXvfbServer* X11DisplayTest::s_server = nullptr;
bool X11DisplayTest::s_started = false;

std::vector<Event> OfKind(const std::vector<Event>& events, EventKind kind)
{
    std::vector<Event> out;
    for (const Event& e : events) {
        if (e.kind == kind)
            out.push_back(e);
    }
    return out;
}

}

TEST_F(X11DisplayTest, TopLevelsCarryTitleOwnerAndProtocols)
{
    TopLevelParams mainParams;
    mainParams.clientRect = {10, 20, 310, 220};
    mainParams.title = L"Ger\u00e4t \u2713 \u30c6\u30b9\u30c8";
    const NativeId main = m_display->CreateTopLevel(mainParams);
    ASSERT_NE(main, 0u);
    const Window mainWindow = m_display->XWindowOf(main);

    TopLevelParams dialogParams;
    dialogParams.clientRect = {50, 60, 250, 160};
    dialogParams.owner = main;
    dialogParams.resizable = false;
    const NativeId dialog = m_display->CreateTopLevel(dialogParams);
    const Window dialogWindow = m_display->XWindowOf(dialog);

    const NativeId popup = CreateTopLevel({5, 5, 105, 55}, TopLevelKind::Popup);
    const Window popupWindow = m_display->XWindowOf(popup);
    Sync();

    EXPECT_EQ(m_raw->Property(mainWindow, "_NET_WM_NAME"), "Ger\xc3\xa4t \xe2\x9c\x93 \xe3\x83\x86\xe3\x82\xb9\xe3\x83\x88");
    EXPECT_EQ(m_raw->Property(mainWindow, "WM_NAME"), "Ger\xe4t ? ???");
    m_display->SetTitle(main, L"Neu");
    Sync();
    EXPECT_EQ(m_raw->Property(mainWindow, "_NET_WM_NAME"), "Neu");

    const auto protocols = m_raw->Longs(mainWindow, "WM_PROTOCOLS");
    ASSERT_EQ(protocols.size(), 1u);
    EXPECT_EQ(static_cast<Atom>(protocols[0]), m_raw->AtomOf("WM_DELETE_WINDOW"));

    const auto transientFor = m_raw->Longs(dialogWindow, "WM_TRANSIENT_FOR");
    ASSERT_EQ(transientFor.size(), 1u);
    EXPECT_EQ(static_cast<Window>(transientFor[0]), mainWindow);
    m_display->SetOwner(dialog, 0);
    Sync();
    EXPECT_TRUE(m_raw->Longs(dialogWindow, "WM_TRANSIENT_FOR").empty());
    // A window cannot own itself.
    m_display->SetOwner(main, main);
    Sync();
    EXPECT_TRUE(m_raw->Longs(mainWindow, "WM_TRANSIENT_FOR").empty());

    // A fixed-size dialog tells the window manager so.
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(m_raw->Get(), dialogWindow, &hints, &supplied));
    EXPECT_TRUE(hints.flags & PMinSize);
    EXPECT_EQ(hints.min_width, 200);
    EXPECT_EQ(hints.max_height, 100);

    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(m_raw->Get(), popupWindow, &attributes));
    EXPECT_TRUE(attributes.override_redirect);
    EXPECT_EQ(attributes.width, 100);
    ASSERT_TRUE(XGetWindowAttributes(m_raw->Get(), mainWindow, &attributes));
    EXPECT_FALSE(attributes.override_redirect);
    EXPECT_EQ(attributes.map_state, IsUnmapped); // created hidden

    m_display->DestroyTopLevel(popup);
    Sync();
    EXPECT_EQ(m_display->XWindowOf(popup), 0u);
    // Calls on a destroyed or unknown id do nothing.
    m_display->ShowTopLevel(popup, true);
    m_display->Present(popup, nullptr, {0, 0, 10, 10});
    m_display->SetTitle(12345, L"x");
}

// The window manager offers a button or a sizing border only where the
// window's styles have it, when the window is made and when its styles change.
TEST_F(X11DisplayTest, TheFrameOffersOnlyWhatTheStylesAllow)
{
    // Motif functions and the decoration that shows each.
    constexpr long kResize = 2, kMinimize = 8, kMaximize = 16;
    constexpr long kResizeHandle = 4, kMinimizeBox = 32, kMaximizeBox = 64;
    struct Case {
        bool resizable, minimizable, maximizable;
        long functions;
    };
    const Case cases[] = {
        {true, true, true, kResize | kMinimize | kMaximize},
        {false, true, false, kMinimize},  // a fixed-size main window
        {false, false, false, 0},         // a message box
        {false, true, true, kMinimize},   // what cannot change its size cannot be maximised
        {true, false, true, kResize | kMaximize},
    };
    auto offered = [&](Window window, long& decorations) {
        const auto hints = m_raw->Longs(window, "_MOTIF_WM_HINTS");
        if (hints.size() < 3)
            return -1L;
        decorations = hints[2] & (kResizeHandle | kMinimizeBox | kMaximizeBox);
        return hints[0] == 3 ? hints[1] & (kResize | kMinimize | kMaximize) : -1L;
    };
    auto expectOffers = [&](Window window, const Case& c, const char* when) {
        SCOPED_TRACE(testing::Message() << when << " resizable " << c.resizable << " minimizable " << c.minimizable
                                        << " maximizable " << c.maximizable);
        long decorations = 0;
        EXPECT_EQ(offered(window, decorations), c.functions);
        EXPECT_EQ(decorations, ((c.functions & kResize) ? kResizeHandle : 0) |
                                   ((c.functions & kMinimize) ? kMinimizeBox : 0) |
                                   ((c.functions & kMaximize) ? kMaximizeBox : 0));
        XSizeHints hints{};
        long supplied = 0;
        ASSERT_TRUE(XGetWMNormalHints(m_raw->Get(), window, &hints, &supplied));
        EXPECT_EQ((hints.flags & PMaxSize) != 0, !c.resizable);
        if (!c.resizable) {
            EXPECT_EQ(hints.min_width, hints.max_width);
            EXPECT_EQ(hints.min_height, hints.max_height);
        }
        // The same for window managers that read no Motif hints.
        const auto actions = m_raw->Longs(window, "_NET_WM_ALLOWED_ACTIONS");
        auto allows = [&](const char* name) {
            return std::find(actions.begin(), actions.end(), static_cast<long>(m_raw->AtomOf(name))) != actions.end();
        };
        EXPECT_TRUE(allows("_NET_WM_ACTION_CLOSE"));
        EXPECT_EQ(allows("_NET_WM_ACTION_RESIZE"), (c.functions & kResize) != 0);
        EXPECT_EQ(allows("_NET_WM_ACTION_MINIMIZE"), (c.functions & kMinimize) != 0);
        EXPECT_EQ(allows("_NET_WM_ACTION_MAXIMIZE_HORZ"), (c.functions & kMaximize) != 0);
        EXPECT_EQ(allows("_NET_WM_ACTION_MAXIMIZE_VERT"), (c.functions & kMaximize) != 0);
    };
    const std::size_t count = std::size(cases);
    for (std::size_t i = 0; i < count; ++i) {
        TopLevelParams params;
        params.clientRect = {10, 20, 310, 220};
        params.resizable = cases[i].resizable;
        params.minimizable = cases[i].minimizable;
        params.maximizable = cases[i].maximizable;
        const NativeId id = m_display->CreateTopLevel(params);
        ASSERT_NE(id, 0u);
        const Window window = m_display->XWindowOf(id);
        Sync();
        expectOffers(window, cases[i], "made");
        const Case& next = cases[(i + 1) % count];
        m_display->SetFrameFunctions(id, next.resizable, next.minimizable, next.maximizable);
        Sync();
        expectOffers(window, next, "changed to");
        m_display->DestroyTopLevel(id);
    }
}

TEST_F(X11DisplayTest, AModalDialogIsMarkedModalForTheWindowManager)
{
    TopLevelParams mainParams;
    mainParams.clientRect = {10, 20, 310, 220};
    const NativeId main = m_display->CreateTopLevel(mainParams);
    TopLevelParams dialogParams;
    dialogParams.clientRect = {50, 60, 250, 160};
    dialogParams.owner = main;
    dialogParams.toolWindow = true;
    const NativeId dialog = m_display->CreateTopLevel(dialogParams);
    const Window dialogWindow = m_display->XWindowOf(dialog);
    auto states = [&] {
        std::vector<Atom> atoms;
        for (long value : m_raw->Longs(dialogWindow, "_NET_WM_STATE"))
            atoms.push_back(static_cast<Atom>(value));
        return atoms;
    };
    const Atom modal = m_raw->AtomOf("_NET_WM_STATE_MODAL");
    const Atom skipTaskbar = m_raw->AtomOf("_NET_WM_STATE_SKIP_TASKBAR");
    Sync();
    EXPECT_EQ(states(), std::vector<Atom>{skipTaskbar});

    m_display->SetModal(dialog, true);
    Sync();
    EXPECT_EQ(states(), (std::vector<Atom>{skipTaskbar, modal}));
    const auto transientFor = m_raw->Longs(dialogWindow, "WM_TRANSIENT_FOR");
    ASSERT_EQ(transientFor.size(), 1u);
    EXPECT_EQ(static_cast<Window>(transientFor[0]), m_display->XWindowOf(main));
    // Asked twice, it is there once.
    m_display->SetModal(dialog, true);
    Sync();
    EXPECT_EQ(states().size(), 2u);
    // Taken back, the other states stay.
    m_display->SetModal(dialog, false);
    Sync();
    EXPECT_EQ(states(), std::vector<Atom>{skipTaskbar});
    m_display->SetModal(12345, true);

    // A modal top-level without an owner (a program's main dialog) would be
    // modal for the whole program: it is marked only once it has an owner.
    const Window mainWindow = m_display->XWindowOf(main);
    auto mainModal = [&] {
        const auto values = m_raw->Longs(mainWindow, "_NET_WM_STATE");
        return std::find(values.begin(), values.end(), static_cast<long>(modal)) != values.end();
    };
    m_display->SetModal(main, true);
    Sync();
    EXPECT_FALSE(mainModal());
    m_display->SetModal(dialog, true);
    m_display->SetOwner(dialog, 0);
    Sync();
    EXPECT_EQ(states(), std::vector<Atom>{skipTaskbar});
    m_display->SetOwner(dialog, main);
    Sync();
    EXPECT_EQ(states(), (std::vector<Atom>{skipTaskbar, modal}));
}

// The task bar and the window switcher show the program's own icon.
TEST_F(X11DisplayTest, TheIconGoesToTheWindowManager)
{
    const NativeId id = CreateTopLevel({10, 20, 110, 120});
    const Window window = m_display->XWindowOf(id);
    IconImage small{2, 1, {0xFF102030u, 0x00000000u}};
    IconImage large{2, 2, {0xFFFFFFFFu, 0x80FF0000u, 0x00000000u, 0xFF00FF00u}};
    IconImage broken{3, 3, {0xFFFFFFFFu}};  // fewer pixels than its size: left out
    m_display->SetIcon(id, {small, broken, large});
    Sync();
    const std::vector<long> expected{2, 1, 0xFF102030L, 0, 2, 2, 0xFFFFFFFFL, 0x80FF0000L, 0, 0xFF00FF00L};
    // Xlib hands 32-bit items out as longs, which may carry the sign.
    std::vector<long> got = m_raw->Longs(window, "_NET_WM_ICON");
    for (long& value : got)
        value &= 0xFFFFFFFFL;
    EXPECT_EQ(got, expected);
    m_display->SetIcon(id, {});
    Sync();
    EXPECT_TRUE(m_raw->Longs(window, "_NET_WM_ICON").empty());
    m_display->SetIcon(12345, {small});
}

// What the user selects is offered as PRIMARY, which another client pastes
// with the middle button; the clipboard is not touched.
TEST_F(X11DisplayTest, TheSelectionIsOfferedAsPrimary)
{
    // An owner answers the requests for its selection from its event pump.
    class CPumping {
    public:
        explicit CPumping(CX11Display& display)
            : m_thread([this, &display] {
                  while (!m_stop)
                      display.PumpEvents(20);
              })
        {
        }
        ~CPumping()
        {
            m_stop = true;
            m_thread.join();
        }

    private:
        std::atomic<bool> m_stop{false};
        std::thread m_thread;
    };
    CRecordingSink otherSink;
    auto other = OpenDisplay(otherSink);
    ASSERT_NE(other, nullptr);
    {
        CPumping owner(*m_display);
        ASSERT_TRUE(m_display->SetClipboardText(L"clipboard"));
        ASSERT_TRUE(m_display->SetSelectionText(L"192.168.1.\u00fc"));
        EXPECT_EQ(other->GetSelectionText(), std::optional<std::wstring>(L"192.168.1.\u00fc"));
        EXPECT_EQ(other->GetClipboardText(), std::optional<std::wstring>(L"clipboard"));
    }
    // Another client's selection replaces ours.
    CPumping theirs(*other);
    ASSERT_TRUE(other->SetSelectionText(L"theirs"));
    m_display->PumpEvents(100);
    EXPECT_EQ(m_display->GetSelectionText(), std::optional<std::wstring>(L"theirs"));
}

TEST_F(X11DisplayTest, CloseRequestComesFromWmDeleteWindow)
{
    TopLevelParams params;
    params.clientRect = {0, 0, 100, 100};
    const NativeId id = m_display->CreateTopLevel(params);
    const Window window = m_display->XWindowOf(id);

    auto sendProtocol = [&](Atom protocol) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = m_raw->AtomOf("WM_PROTOCOLS");
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(protocol);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_raw->Get(), window, False, NoEventMask, &event);
        XSync(m_raw->Get(), False);
    };
    // An unknown protocol message is no close request.
    sendProtocol(m_raw->AtomOf("ZELL_SOMETHING_ELSE"));
    sendProtocol(m_raw->AtomOf("WM_DELETE_WINDOW"));
    const auto close = PumpUntil(Kind(EventKind::CloseRequest));
    ASSERT_TRUE(close.has_value());
    EXPECT_EQ(close->window, id);
    EXPECT_EQ(OfKind(m_sink.Events(), EventKind::CloseRequest).size(), 1u);
    // The request only asks: the window is still there.
    EXPECT_EQ(m_display->XWindowOf(id), window);
}

// Another client destroys the window (xdotool windowclose): that is a close
// request too, and a new X window stands in for the one that went, in its
// place and with its title, so that the program can still ask before it closes.
TEST_F(X11DisplayTest, AWindowDestroyedFromOutsideAsksToCloseAndComesBack)
{
    TopLevelParams params;
    params.clientRect = {30, 40, 230, 140};
    params.title = L"Hauptfenster";
    const NativeId main = m_display->CreateTopLevel(params);
    m_display->ShowTopLevel(main, true);
    TopLevelParams dialogParams;
    dialogParams.clientRect = {60, 70, 160, 120};
    dialogParams.owner = main;
    const NativeId dialog = m_display->CreateTopLevel(dialogParams);
    const Window old = m_display->XWindowOf(main);
    Sync();
    XDestroyWindow(m_raw->Get(), old);
    XSync(m_raw->Get(), False);
    const auto close = PumpUntil(Kind(EventKind::CloseRequest));
    ASSERT_TRUE(close.has_value());
    EXPECT_EQ(close->window, main);
    const Window replacement = m_display->XWindowOf(main);
    ASSERT_NE(replacement, 0u);
    EXPECT_NE(replacement, old);
    Sync();
    EXPECT_EQ(m_raw->Property(replacement, "_NET_WM_NAME"), "Hauptfenster");
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(m_raw->Get(), replacement, &attributes));
    EXPECT_EQ(attributes.width, 200);
    EXPECT_NE(attributes.map_state, IsUnmapped);
    // Its dialog now belongs to the new window.
    const auto transientFor = m_raw->Longs(m_display->XWindowOf(dialog), "WM_TRANSIENT_FOR");
    ASSERT_EQ(transientFor.size(), 1u);
    EXPECT_EQ(static_cast<Window>(transientFor[0]), replacement);
    // Our own destruction is no request.
    m_sink.Clear();
    m_display->DestroyTopLevel(dialog);
    m_display->DestroyTopLevel(main);
    PumpFor(100);
    EXPECT_TRUE(OfKind(m_sink.Events(), EventKind::CloseRequest).empty());
}

// Under a window manager the new window is on the screen only when the
// manager has framed and mapped it; a question the close request raises
// before then has no managed owner and ends up beneath the window.
TEST_F(X11DisplayTest, TheCloseRequestOfADestroyedWindowWaitsUntilItsReplacementIsMapped)
{
    TopLevelParams params;
    params.clientRect = {30, 40, 230, 140};
    const NativeId main = m_display->CreateTopLevel(params);
    m_display->ShowTopLevel(main, true);
    Sync();
    XDisplay* manager = m_raw->Get();
    XSelectInput(manager, DefaultRootWindow(manager), SubstructureRedirectMask);
    XDestroyWindow(manager, m_display->XWindowOf(main));
    XSync(manager, False);
    PumpFor(300);
    EXPECT_TRUE(OfKind(m_sink.Events(), EventKind::CloseRequest).empty());
    XEvent request{};
    for (int tries = 0; tries < 100 && XCheckTypedEvent(manager, MapRequest, &request) == False; ++tries)
        PumpFor(20);
    ASSERT_EQ(request.type, MapRequest);
    EXPECT_EQ(request.xmaprequest.window, m_display->XWindowOf(main));
    XMapWindow(manager, request.xmaprequest.window);
    XSync(manager, False);
    const auto close = PumpUntil(Kind(EventKind::CloseRequest));
    ASSERT_TRUE(close.has_value());
    EXPECT_EQ(close->window, main);
}

TEST_F(X11DisplayTest, PresentPutsBackBufferPixelsOnTheWindow)
{
    const NativeId id = ShowFocused({40, 30, 240, 130});
    const Window window = m_display->XWindowOf(id);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 200, 100);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.0, 0.0, 1.0);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 1.0, 0.5, 0.0);
    cairo_rectangle(cr, 20, 10, 50, 30);
    cairo_fill(cr);
    cairo_destroy(cr);
    m_display->Present(id, surface, {0, 0, 200, 100});

    auto pixelAt = [&](int x, int y) {
        XImage* image = XGetImage(m_raw->Get(), window, x, y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long pixel = image ? XGetPixel(image, 0, 0) & 0xFFFFFF : 0xDEADBEEF;
        if (image)
            XDestroyImage(image);
        return pixel;
    };
    EXPECT_EQ(pixelAt(0, 0), 0x0000FFu);
    EXPECT_EQ(pixelAt(199, 99), 0x0000FFu);
    EXPECT_EQ(pixelAt(20, 10), 0xFF8000u);
    EXPECT_EQ(pixelAt(69, 39), 0xFF8000u);
    EXPECT_EQ(pixelAt(70, 40), 0x0000FFu);

    // Only the presented area changes; an area reaching past the buffer is cut to it.
    cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.0, 1.0, 0.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    m_display->Present(id, surface, {150, 50, 400, 400});
    EXPECT_EQ(pixelAt(199, 99), 0x00FF00u);
    EXPECT_EQ(pixelAt(149, 99), 0x0000FFu);
    EXPECT_EQ(pixelAt(0, 0), 0x0000FFu);
    // Empty, inverted and wholly outside areas, and surfaces that are no images, are ignored.
    m_display->Present(id, surface, {10, 10, 10, 50});
    m_display->Present(id, surface, {100, 50, 20, 10});
    m_display->Present(id, surface, {-500, -500, -100, -100});
    m_display->Present(id, nullptr, {0, 0, 10, 10});
    cairo_surface_t* a8 = cairo_image_surface_create(CAIRO_FORMAT_A8, 200, 100);
    m_display->Present(id, a8, {0, 0, 200, 100});
    EXPECT_EQ(pixelAt(0, 0), 0x0000FFu);
    cairo_surface_destroy(a8);
    cairo_surface_destroy(surface);
}

TEST_F(X11DisplayTest, ExposeAsksForTheUncoveredPart)
{
    const NativeId id = ShowFocused({0, 0, 300, 200});
    const auto expose = PumpUntil(Kind(EventKind::Expose, id));
    ASSERT_TRUE(expose.has_value());
    EXPECT_GE(expose->rect.right, expose->rect.left);
    EXPECT_LE(expose->rect.right, 300);
    EXPECT_LE(expose->rect.bottom, 200);
    // Another window over ours and away again uncovers a part of it.
    m_sink.Clear();
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    const Window cover = XCreateWindow(m_raw->Get(), DefaultRootWindow(m_raw->Get()), 50, 40, 60, 30, 0, CopyFromParent,
                                       InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
    XMapRaised(m_raw->Get(), cover);
    XSync(m_raw->Get(), False);
    XDestroyWindow(m_raw->Get(), cover);
    XSync(m_raw->Get(), False);
    const auto uncovered = PumpUntil(Kind(EventKind::Expose, id));
    ASSERT_TRUE(uncovered.has_value());
    EXPECT_EQ(uncovered->rect.left, 50);
    EXPECT_EQ(uncovered->rect.top, 40);
    EXPECT_EQ(uncovered->rect.right, 110);
    EXPECT_EQ(uncovered->rect.bottom, 70);
}

TEST_F(X11DisplayTest, KeysBecomeVirtualKeysAndText)
{
    const NativeId id = ShowFocused({0, 0, 200, 100});
    m_sink.Clear();
    ASSERT_EQ(Xdotool({"key", "--delay", "5", "a", "shift+b", "F5", "Return", "BackSpace", "Delete", "ctrl+c", "Up",
                       "KP_Enter", "alt+x"}),
              0);
    PumpFor(800);
    const auto downs = OfKind(m_sink.Events(), EventKind::KeyDown);
    auto find = [&](UINT vk) -> std::optional<Event> {
        for (const Event& e : downs) {
            if (e.virtualKey == vk)
                return e;
        }
        return std::nullopt;
    };
    ASSERT_TRUE(find('A'));
    EXPECT_EQ(find('A')->text, L"a");
    EXPECT_EQ(find('A')->window, id);
    EXPECT_EQ(find('A')->scanCode, 0x1Eu);
    EXPECT_FALSE(find('A')->repeat);
    ASSERT_TRUE(find('B'));
    EXPECT_EQ(find('B')->text, L"B");
    EXPECT_TRUE(find('B')->modifiers & ModShift);
    ASSERT_TRUE(find(VK_SHIFT));
    EXPECT_TRUE(find(VK_SHIFT)->modifiers & ModShift); // the state after the key went down
    ASSERT_TRUE(find(VK_F5));
    EXPECT_TRUE(find(VK_F5)->text.empty());
    ASSERT_TRUE(find(VK_RETURN));
    EXPECT_EQ(find(VK_RETURN)->text, L"\r");
    ASSERT_TRUE(find(VK_BACK));
    EXPECT_EQ(find(VK_BACK)->text, L"\b");
    ASSERT_TRUE(find(VK_DELETE));
    EXPECT_TRUE(find(VK_DELETE)->text.empty());
    ASSERT_TRUE(find('C'));
    EXPECT_EQ(find('C')->text, L"\x03");
    EXPECT_TRUE(find('C')->modifiers & ModControl);
    ASSERT_TRUE(find(VK_UP));
    EXPECT_EQ(find(VK_UP)->scanCode, 0x48u);
    ASSERT_TRUE(find('X'));
    EXPECT_TRUE(find('X')->text.empty());
    EXPECT_TRUE(find('X')->modifiers & ModAlt);

    const auto ups = OfKind(m_sink.Events(), EventKind::KeyUp);
    bool shiftUp = false;
    for (const Event& e : ups) {
        if (e.virtualKey == VK_SHIFT) {
            shiftUp = true;
            EXPECT_FALSE(e.modifiers & ModShift);
        }
    }
    EXPECT_TRUE(shiftUp);
    EXPECT_GE(ups.size(), 10u);
}

TEST_F(X11DisplayTest, KeysOfOtherLayoutsTypeTheirCharacters)
{
    // Put characters beyond ASCII on spare key codes, as a German or Japanese layout would.
    int minCode = 0;
    int maxCode = 0;
    XDisplayKeycodes(m_raw->Get(), &minCode, &maxCode);
    KeySym symbols[] = {XK_adiaeresis, XK_Adiaeresis, 0x1000000 + 0x20AC /* euro */, 0x1000000 + 0x30C6 /* katakana te */};
    const int first = maxCode - 3;
    XChangeKeyboardMapping(m_raw->Get(), first, 2, symbols, 2);
    XSync(m_raw->Get(), False);
    const NativeId id = ShowFocused({0, 0, 200, 100});
    PumpFor(100); // the mapping change
    m_sink.Clear();
    ASSERT_EQ(Xdotool({"key", "--delay", "5", std::to_string(first), "shift+" + std::to_string(first),
                       std::to_string(first + 1), "shift+" + std::to_string(first + 1)}),
              0);
    PumpFor(500);
    std::vector<std::wstring> typed;
    for (const Event& e : OfKind(m_sink.Events(), EventKind::KeyDown)) {
        EXPECT_EQ(e.window, id);
        if (!e.text.empty())
            typed.push_back(e.text);
    }
    EXPECT_EQ(typed, (std::vector<std::wstring>{L"\u00e4", L"\u00c4", L"\u20ac", L"\u30c6"}));
    KeySym none[] = {NoSymbol, NoSymbol, NoSymbol, NoSymbol};
    XChangeKeyboardMapping(m_raw->Get(), first, 2, none, 2);
    XSync(m_raw->Get(), False);
}

TEST_F(X11DisplayTest, HeldKeyRepeats)
{
    ShowFocused({0, 0, 200, 100});
    m_sink.Clear();
    // XTest presses have no auto-repeat; a second press without release is how the server reports one.
    ASSERT_EQ(Xdotool({"keydown", "g", "keydown", "g", "keyup", "g"}), 0);
    PumpUntil(Kind(EventKind::KeyUp), 2000);
    const auto downs = OfKind(m_sink.Events(), EventKind::KeyDown);
    ASSERT_GE(downs.size(), 1u);
    EXPECT_FALSE(downs.front().repeat);
    for (std::size_t i = 1; i < downs.size(); ++i)
        EXPECT_TRUE(downs[i].repeat);
}

TEST_F(X11DisplayTest, MouseButtonsAndWheel)
{
    const NativeId id = ShowFocused({100, 100, 300, 250});
    m_sink.Clear();
    ASSERT_EQ(Xdotool({"mousemove", "150", "160", "click", "1", "click", "3", "click", "2", "click", "4", "click", "5",
                       "click", "5"}),
              0);
    PumpFor(600);
    const auto events = m_sink.Events();
    const auto downs = OfKind(events, EventKind::MouseDown);
    const auto ups = OfKind(events, EventKind::MouseUp);
    ASSERT_EQ(downs.size(), 3u);
    ASSERT_EQ(ups.size(), 3u);
    EXPECT_EQ(downs[0].button, MouseButton::Left);
    EXPECT_EQ(downs[1].button, MouseButton::Right);
    EXPECT_EQ(downs[2].button, MouseButton::Middle);
    EXPECT_EQ(downs[0].window, id);
    EXPECT_EQ(downs[0].screen.x, 150);
    EXPECT_EQ(downs[0].screen.y, 160);
    EXPECT_TRUE(downs[0].modifiers & ModLeftButton);
    EXPECT_FALSE(ups[0].modifiers & ModLeftButton);
    const auto wheels = OfKind(events, EventKind::MouseWheel);
    ASSERT_EQ(wheels.size(), 3u);
    EXPECT_EQ(wheels[0].wheelDelta, 120);
    EXPECT_EQ(wheels[1].wheelDelta, -120);
    EXPECT_EQ(wheels[2].wheelDelta, -120);

    // Leaving the window, and with it every window of ours, is reported.
    m_sink.Clear();
    ASSERT_EQ(Xdotool({"mousemove", "600", "600"}), 0);
    const auto leave = PumpUntil(Kind(EventKind::MouseLeave));
    ASSERT_TRUE(leave.has_value());
    EXPECT_EQ(leave->window, id);
}

TEST_F(X11DisplayTest, PointerGrabRoutesEverythingToTheCapture)
{
    const NativeId id = ShowFocused({0, 0, 100, 100});
    TopLevelParams other;
    other.clientRect = {300, 300, 400, 400};
    const NativeId second = m_display->CreateTopLevel(other);
    m_display->ShowTopLevel(second, true);
    m_display->PumpEvents(100);
    m_display->GrabPointer(id);
    m_sink.Clear();
    ASSERT_EQ(Xdotool({"mousemove", "350", "350", "click", "1"}), 0);
    const auto down = PumpUntil(Kind(EventKind::MouseDown));
    ASSERT_TRUE(down.has_value());
    EXPECT_EQ(down->window, id);
    EXPECT_EQ(down->screen.x, 350);
    m_display->GrabPointer(0);
    m_sink.Clear();
    ASSERT_EQ(Xdotool({"mousemove", "360", "360", "click", "1"}), 0);
    const auto free = PumpUntil(Kind(EventKind::MouseDown));
    ASSERT_TRUE(free.has_value());
    EXPECT_EQ(free->window, second);
}

TEST_F(X11DisplayTest, FocusMovesBetweenTopLevels)
{
    const NativeId first = ShowFocused({0, 0, 100, 100});
    const NativeId second = ShowFocused({200, 0, 300, 100});
    const auto events = m_sink.Events();
    const auto outs = OfKind(events, EventKind::FocusOut);
    ASSERT_EQ(outs.size(), 1u);
    EXPECT_EQ(outs[0].window, first);
    EXPECT_EQ(OfKind(events, EventKind::FocusIn).back().window, second);
}

TEST_F(X11DisplayTest, ConfigureReportsOnlyChangesFromOutside)
{
    const NativeId id = ShowFocused({10, 10, 110, 110});
    m_display->MoveTopLevel(id, {20, 30, 220, 130});
    m_display->PumpEvents(200);
    Sync();
    EXPECT_TRUE(OfKind(m_sink.Events(), EventKind::Configure).empty());
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(m_raw->Get(), m_display->XWindowOf(id), &attributes));
    EXPECT_EQ(attributes.x, 20);
    EXPECT_EQ(attributes.width, 200);

    XMoveResizeWindow(m_raw->Get(), m_display->XWindowOf(id), 50, 60, 150, 80);
    XSync(m_raw->Get(), False);
    const auto configure = PumpUntil(Kind(EventKind::Configure, id));
    ASSERT_TRUE(configure.has_value());
    EXPECT_EQ(configure->rect.left, 50);
    EXPECT_EQ(configure->rect.top, 60);
    EXPECT_EQ(configure->rect.right, 200);
    EXPECT_EQ(configure->rect.bottom, 140);
}

// The server's word on a move that a later one of ours replaced is no
// change from outside: told to the window layer, it would put the window back.
TEST_F(X11DisplayTest, MovesInQuickSuccessionReportNoConfigure)
{
    for (const TopLevelKind kind : {TopLevelKind::Popup, TopLevelKind::Framed}) {
        TopLevelParams params;
        params.kind = kind;
        params.clientRect = {10, 10, 143, 124};
        const NativeId id = m_display->CreateTopLevel(params);
        m_display->ShowTopLevel(id, true);
        PumpFor(100);
        m_sink.Clear();
        m_display->MoveTopLevel(id, {200, 300, 333, 414});
        m_display->MoveTopLevel(id, {200, 300, 333, 407});
        PumpFor(200);
        EXPECT_TRUE(OfKind(m_sink.Events(), EventKind::Configure).empty()) << static_cast<int>(kind);
        XWindowAttributes attributes{};
        ASSERT_TRUE(XGetWindowAttributes(m_raw->Get(), m_display->XWindowOf(id), &attributes));
        EXPECT_EQ(attributes.height, 107);
        m_display->DestroyTopLevel(id);
    }
}

// A window manager carries our requests out when it gets to them, long after
// the server numbered the events: a raise asked before a move may come back
// after it, from the place the move left. Told to the window layer, that
// would put a dialog centred before it is shown back where it was made.
TEST_F(X11DisplayTest, AWindowMovedBeforeItIsShownAppearsWhereItWasPut)
{
    CRawClient manager(Name());
    XDisplay* wm = manager.Get();
    ASSERT_NE(wm, nullptr);
    XSelectInput(wm, DefaultRootWindow(wm), SubstructureRedirectMask);
    XSync(wm, False);
    const NativeId id = CreateTopLevel({256, 222, 645, 597});
    const Window window = m_display->XWindowOf(id);
    // Made after it, a list of the dialog's lies above it: the raise changes the stacking.
    const NativeId list = CreateTopLevel({300, 300, 400, 400}, TopLevelKind::Popup);
    m_display->RaiseTopLevel(id, false);
    m_display->MoveTopLevel(id, {446, 346, 835, 721});
    m_display->ShowTopLevel(id, true);
    Sync();
    // A slow manager: the display reads what each request did before the manager gets to the next one.
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    for (bool mapped = false; !mapped && Clock::now() < deadline;) {
        if (XPending(wm) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        XEvent event{};
        XNextEvent(wm, &event);
        if (event.type == ConfigureRequest) {
            const XConfigureRequestEvent& request = event.xconfigurerequest;
            XWindowChanges changes{request.x, request.y, request.width, request.height, 0, request.above, request.detail};
            XConfigureWindow(wm, request.window, static_cast<unsigned>(request.value_mask) & ~CWBorderWidth, &changes);
        } else if (event.type == MapRequest) {
            XMapWindow(wm, event.xmaprequest.window);
            mapped = true;
        }
        XSync(wm, False);
        PumpFor(50);
    }
    EXPECT_TRUE(OfKind(m_sink.Events(), EventKind::Configure).empty());
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(m_raw->Get(), window, &attributes));
    EXPECT_EQ(attributes.map_state, IsViewable);
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(m_raw->Get(), window, &hints, &supplied));
    for (const auto& [x, y] : {std::pair{attributes.x, attributes.y}, std::pair{hints.x, hints.y}}) {
        EXPECT_EQ(x, 446);
        EXPECT_EQ(y, 346);
    }
    m_display->DestroyTopLevel(list);
    m_display->DestroyTopLevel(id);
}

TEST_F(X11DisplayTest, ClipboardRoundTripBetweenTwoClients)
{
    CRecordingSink otherSink;
    auto other = OpenDisplay(otherSink);
    ASSERT_NE(other, nullptr);
    std::atomic<bool> stop{false};
    // The owner answers requests from its event pump.
    std::thread ownerPump([&] {
        while (!stop)
            m_display->PumpEvents(20);
    });
    const std::wstring text = L"line 1\r\nZeile 2 \u00fc\u20ac \u30c6\r\n";
    ASSERT_TRUE(m_display->SetClipboardText(text));
    const auto read = other->GetClipboardText();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, text);
    // Our own text comes back without asking the server.
    EXPECT_EQ(m_display->GetClipboardText(), text);
    stop = true;
    ownerPump.join();

    // X clients get LF line ends; an 8-bit STRING gets '?' for what Latin-1 lacks.
    Window requestor = XCreateSimpleWindow(m_raw->Get(), DefaultRootWindow(m_raw->Get()), 0, 0, 1, 1, 0, 0, 0);
    const Atom property = m_raw->AtomOf("RAW_PASTE");
    auto rawRead = [&](Atom target) -> std::string {
        XConvertSelection(m_raw->Get(), m_raw->AtomOf("CLIPBOARD"), target, property, requestor, CurrentTime);
        XFlush(m_raw->Get());
        const auto deadline = Clock::now() + std::chrono::seconds(3);
        while (Clock::now() < deadline) {
            m_display->PumpEvents(20);
            XEvent event{};
            if (XCheckTypedWindowEvent(m_raw->Get(), requestor, SelectionNotify, &event))
                return event.xselection.property ? m_raw->Property(requestor, "RAW_PASTE") : std::string("<refused>");
        }
        return "<timeout>";
    };
    EXPECT_EQ(rawRead(m_raw->AtomOf("UTF8_STRING")), "line 1\nZeile 2 \xc3\xbc\xe2\x82\xac \xe3\x83\x86\n");
    EXPECT_EQ(rawRead(XA_STRING), "line 1\nZeile 2 \xfc? ?\n");
    EXPECT_EQ(rawRead(m_raw->AtomOf("image/png")), "<refused>");
    const std::string targets = rawRead(m_raw->AtomOf("TARGETS"));
    ASSERT_EQ(targets.size() % sizeof(long), 0u);
    std::vector<long> offered(targets.size() / sizeof(long));
    if (!offered.empty())
        std::memcpy(offered.data(), targets.data(), targets.size());
    auto offers = [&](Atom atom) { return std::find(offered.begin(), offered.end(), static_cast<long>(atom)) != offered.end(); };
    EXPECT_TRUE(offers(m_raw->AtomOf("UTF8_STRING")));
    EXPECT_TRUE(offers(XA_STRING));
    EXPECT_FALSE(offers(m_raw->AtomOf("image/png")));

    // The other client takes the clipboard over: ours is gone, theirs is read.
    stop = false;
    std::thread otherPump([&] {
        while (!stop)
            other->PumpEvents(20);
    });
    ASSERT_TRUE(other->SetClipboardText(L"theirs"));
    m_display->PumpEvents(100); // the SelectionClear
    EXPECT_EQ(m_display->GetClipboardText(), std::optional<std::wstring>(L"theirs"));
    stop = true;
    otherPump.join();
    XDestroyWindow(m_raw->Get(), requestor);
}

TEST_F(X11DisplayTest, LargeClipboardTextCrossesIntact)
{
    CRecordingSink otherSink;
    auto other = OpenDisplay(otherSink);
    ASSERT_NE(other, nullptr);
    std::atomic<bool> stop{false};
    std::thread ownerPump([&] {
        while (!stop)
            m_display->PumpEvents(20);
    });
    std::wstring text;
    for (int i = 0; i < 60000; ++i)
        text += L"Zeile " + std::to_wstring(i) + L"\r\n";
    ASSERT_TRUE(m_display->SetClipboardText(text));
    const auto read = other->GetClipboardText();
    stop = true;
    ownerPump.join();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->size(), text.size());
    EXPECT_TRUE(*read == text);
}

namespace {

// A foreign owner on a connection of its own that answers one text request
// the way `answer` says, with the incremental protocol when asked to.
class CForeignOwner {
public:
    CForeignOwner(const std::string& display, std::function<void(CForeignOwner&, const XSelectionRequestEvent&)> answer)
        : m_client(display), m_answer(std::move(answer))
    {
        XDisplay* d = m_client.Get();
        m_window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
        XSetSelectionOwner(d, m_client.AtomOf("CLIPBOARD"), m_window, CurrentTime);
        XSync(d, False);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CForeignOwner()
    {
        m_stop = true;
        m_thread.join();
    }
    XDisplay* Get() const { return m_client.Get(); }
    Atom AtomOf(const char* name) const { return m_client.AtomOf(name); }

    void Reply(const XSelectionRequestEvent& request, bool granted)
    {
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.property = granted ? request.property : 0;
        reply.xselection.time = request.time;
        XSendEvent(Get(), request.requestor, False, NoEventMask, &reply);
        XFlush(Get());
    }
    // Sends `text` in chunks of `chunk` bytes, each after the reader deleted the last.
    void ReplyIncrementally(const XSelectionRequestEvent& request, const std::string& text, std::size_t chunk)
    {
        XSelectInput(Get(), request.requestor, PropertyChangeMask);
        const long size = static_cast<long>(text.size());
        XChangeProperty(Get(), request.requestor, request.property, AtomOf("INCR"), 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&size), 1);
        Reply(request, true);
        std::size_t sent = 0;
        bool done = false;
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (!done && Clock::now() < deadline) {
            XEvent event{};
            if (!XCheckTypedWindowEvent(Get(), request.requestor, PropertyNotify, &event)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                continue;
            }
            if (event.xproperty.atom != request.property || event.xproperty.state != PropertyDelete)
                continue;
            const std::size_t n = std::min(chunk, text.size() - sent);
            XChangeProperty(Get(), request.requestor, request.property, request.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text.data() + sent), static_cast<int>(n));
            XFlush(Get());
            sent += n;
            done = n == 0;
        }
        XSelectInput(Get(), request.requestor, NoEventMask);
        XFlush(Get());
    }

private:
    void Serve()
    {
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (!m_stop && Clock::now() < deadline) {
            XEvent event{};
            if (XCheckTypedWindowEvent(Get(), m_window, SelectionRequest, &event))
                m_answer(*this, event.xselectionrequest);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    CRawClient m_client;
    std::function<void(CForeignOwner&, const XSelectionRequestEvent&)> m_answer;
    Window m_window = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}

TEST_F(X11DisplayTest, ClipboardReadsIncrementalTransfers)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "Zeile " + std::to_string(i) + " \xc3\xbc\n";
    {
        CForeignOwner owner(Name(), [&](CForeignOwner& self, const XSelectionRequestEvent& request) {
            if (request.target == self.AtomOf("UTF8_STRING"))
                self.ReplyIncrementally(request, text, 4000);
            else
                self.Reply(request, false);
        });
        const auto read = m_display->GetClipboardText();
        ASSERT_TRUE(read.has_value());
        std::wstring expected;
        for (int i = 0; i < 5000; ++i)
            expected += L"Zeile " + std::to_wstring(i) + L" \u00fc\r\n";
        EXPECT_TRUE(*read == expected) << read->size() << " vs " << expected.size();
    }
    {
        // An owner that refuses UTF-8 is asked for Latin-1 next.
        CForeignOwner owner(Name(), [&](CForeignOwner& self, const XSelectionRequestEvent& request) {
            if (request.target != XA_STRING) {
                self.Reply(request, false);
                return;
            }
            const std::string latin1 = "gr\xfc\xdf";
            XChangeProperty(self.Get(), request.requestor, request.property, XA_STRING, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(latin1.data()), static_cast<int>(latin1.size()));
            self.Reply(request, true);
        });
        EXPECT_EQ(m_display->GetClipboardText(), std::optional<std::wstring>(L"gr\u00fc\u00df"));
    }
    {
        // Text in 32-bit units is no text.
        CForeignOwner owner(Name(), [&](CForeignOwner& self, const XSelectionRequestEvent& request) {
            const long words[] = {0x41414141, 0x42424242};
            XChangeProperty(self.Get(), request.requestor, request.property, request.target, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(words), 2);
            self.Reply(request, true);
        });
        EXPECT_FALSE(m_display->GetClipboardText().has_value());
    }
    {
        // An incremental transfer that stalls half-way ends with the timeout, not a hang.
        CForeignOwner owner(Name(), [&](CForeignOwner& self, const XSelectionRequestEvent& request) {
            const long size = 100000;
            XChangeProperty(self.Get(), request.requestor, request.property, self.AtomOf("INCR"), 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&size), 1);
            self.Reply(request, true);
        });
        const auto start = Clock::now();
        EXPECT_FALSE(m_display->GetClipboardText().has_value());
        EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(),
                  CX11Display::kClipboardTimeoutMs * 3);
    }
}

TEST_F(X11DisplayTest, ClipboardReadGivesUpOnSilentOwner)
{
    // An owner that never answers must not hang the reader.
    Window silent = XCreateSimpleWindow(m_raw->Get(), DefaultRootWindow(m_raw->Get()), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(m_raw->Get(), m_raw->AtomOf("CLIPBOARD"), silent, CurrentTime);
    XSync(m_raw->Get(), False);
    const auto start = Clock::now();
    EXPECT_FALSE(m_display->GetClipboardText().has_value());
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_GE(took, CX11Display::kClipboardTimeoutMs - 50);
    EXPECT_LT(took, CX11Display::kClipboardTimeoutMs * 3);

    // Events that came meanwhile are still delivered afterwards.
    TopLevelParams params;
    params.clientRect = {0, 0, 50, 50};
    const NativeId id = m_display->CreateTopLevel(params);
    m_display->ShowTopLevel(id, true);
    EXPECT_TRUE(PumpUntil(Kind(EventKind::Expose, id)).has_value());

    // With no owner at all there is nothing to wait for.
    XDestroyWindow(m_raw->Get(), silent);
    XSync(m_raw->Get(), False);
    const auto quick = Clock::now();
    EXPECT_FALSE(m_display->GetClipboardText().has_value());
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - quick).count(), 500);
}

TEST_F(X11DisplayTest, WakeEndsAnEndlessPumpFromAnotherThread)
{
    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        m_display->Wake();
    });
    const auto start = Clock::now();
    EXPECT_FALSE(m_display->PumpEvents(INFINITE));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    waker.join();
    EXPECT_GE(took, 50);
    EXPECT_LT(took, 2000);
    // A wake-up given while nobody pumps ends the next wait at once.
    m_display->Wake();
    const auto next = Clock::now();
    m_display->PumpEvents(5000);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - next).count(), 1000);
}

TEST_F(X11DisplayTest, PumpKeepsItsTimeout)
{
    const auto start = Clock::now();
    EXPECT_FALSE(m_display->PumpEvents(150));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_GE(took, 140);
    EXPECT_LT(took, 1500);
    const auto zero = Clock::now();
    EXPECT_FALSE(m_display->PumpEvents(0));
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - zero).count(), 100);
}

TEST_F(X11DisplayTest, WorkAreaFollowsTheWindowManagerWithinTheScreen)
{
    EXPECT_EQ(m_display->ScreenSize().cx, 1024);
    EXPECT_EQ(m_display->ScreenSize().cy, 768);
    auto expectWork = [&](LONG l, LONG t, LONG r, LONG b) {
        const RECT work = m_display->WorkArea();
        EXPECT_EQ(work.left, l);
        EXPECT_EQ(work.top, t);
        EXPECT_EQ(work.right, r);
        EXPECT_EQ(work.bottom, b);
    };
    expectWork(0, 0, 1024, 768);
    m_raw->SetCardinals("_NET_WORKAREA", {0, 30, 1024, 700, 0, 0, 800, 600});
    m_raw->SetCardinals("_NET_CURRENT_DESKTOP", {0});
    expectWork(0, 30, 1024, 730);
    m_raw->SetCardinals("_NET_CURRENT_DESKTOP", {1});
    expectWork(0, 0, 800, 600);
    // A desktop without an entry, an empty area, one off the screen: the screen stands.
    m_raw->SetCardinals("_NET_CURRENT_DESKTOP", {5});
    expectWork(0, 0, 1024, 768);
    m_raw->SetCardinals("_NET_CURRENT_DESKTOP", {0});
    m_raw->SetCardinals("_NET_WORKAREA", {0, 30, 0, 700});
    expectWork(0, 0, 1024, 768);
    m_raw->SetCardinals("_NET_WORKAREA", {2000, 2000, 100, 100});
    expectWork(0, 0, 1024, 768);
    m_raw->SetCardinals("_NET_WORKAREA", {-50, 0, 5000, 700});
    expectWork(0, 0, 1024, 700);
    m_raw->SetCardinals("_NET_WORKAREA", {1, 2});
    expectWork(0, 0, 1024, 768);
    const auto monitors = m_display->Monitors();
    ASSERT_EQ(monitors.size(), 1u);
    EXPECT_TRUE(monitors[0].primary);
    EXPECT_EQ(monitors[0].monitor.right, 1024);
    XDeleteProperty(m_raw->Get(), DefaultRootWindow(m_raw->Get()), m_raw->AtomOf("_NET_WORKAREA"));
    XDeleteProperty(m_raw->Get(), DefaultRootWindow(m_raw->Get()), m_raw->AtomOf("_NET_CURRENT_DESKTOP"));
    XSync(m_raw->Get(), False);
}

TEST_F(X11DisplayTest, DpiComesFromTheDesktopResources)
{
    EXPECT_EQ(m_display->Dpi(), 96);
    auto dpiWith = [&](const std::string& resources) {
        XChangeProperty(m_raw->Get(), DefaultRootWindow(m_raw->Get()), XA_RESOURCE_MANAGER, XA_STRING, 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(resources.data()),
                        static_cast<int>(resources.size()));
        XSync(m_raw->Get(), False);
        // The resources are read when a client connects.
        CRecordingSink sink;
        auto display = OpenDisplay(sink);
        return display ? display->Dpi() : -1;
    };
    EXPECT_EQ(dpiWith("Xft.antialias:\t1\nXft.dpi:\t144\n"), 144);
    EXPECT_EQ(dpiWith("Xft.dpi:\t120.4"), 120);
    EXPECT_EQ(dpiWith("Xft.dpi:\tlots\n"), 96);
    EXPECT_EQ(dpiWith("Xft.dpi:\t100000\n"), 96);
    EXPECT_EQ(dpiWith("Xft.dpi:\t-5\n"), 96);
    // Without Xft.dpi the server's resolution counts: Xvfb reports 100 dpi by default, a plain screen.
    EXPECT_EQ(dpiWith("Xft.antialias:\t1\n"), 96);
    XDeleteProperty(m_raw->Get(), DefaultRootWindow(m_raw->Get()), XA_RESOURCE_MANAGER);
    XSync(m_raw->Get(), False);
}

namespace {

// Just enough of a window manager: it maps what asks to be mapped, tells
// frame sizes and notes activation requests.
class CFakeWindowManager {
public:
    explicit CFakeWindowManager(const std::string& display) : m_client(display)
    {
        XDisplay* d = m_client.Get();
        const Window root = DefaultRootWindow(d);
        XSelectInput(d, root, SubstructureRedirectMask | SubstructureNotifyMask);
        m_check = XCreateSimpleWindow(d, root, 0, 0, 1, 1, 0, 0, 0);
        const long check = static_cast<long>(m_check);
        for (Window w : {root, m_check})
            XChangeProperty(d, w, m_client.AtomOf("_NET_SUPPORTING_WM_CHECK"), XA_WINDOW, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&check), 1);
        XSync(d, False);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CFakeWindowManager()
    {
        m_stop = true;
        m_thread.join();
    }
    // Ends the manager as a crash would: the root property stays, the check window goes.
    void Vanish()
    {
        m_stop = true;
        m_thread.join();
        m_thread = std::thread([] {});
        XDestroyWindow(m_client.Get(), m_check);
        XSelectInput(m_client.Get(), DefaultRootWindow(m_client.Get()), NoEventMask);
        XSync(m_client.Get(), False);
    }
    std::vector<Window> Mapped() const
    {
        std::lock_guard lock(m_lock);
        return m_mapped;
    }
    std::vector<Window> Activated() const
    {
        std::lock_guard lock(m_lock);
        return m_activated;
    }

private:
    void SetExtents(Window window, long left, long right, long top, long bottom)
    {
        const long extents[] = {left, right, top, bottom};
        XChangeProperty(m_client.Get(), window, m_client.AtomOf("_NET_FRAME_EXTENTS"), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(extents), 4);
    }
    void Serve()
    {
        XDisplay* d = m_client.Get();
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        while (!m_stop && Clock::now() < deadline) {
            if (XPending(d) == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                continue;
            }
            XEvent event{};
            XNextEvent(d, &event);
            std::lock_guard lock(m_lock);
            if (event.type == MapRequest) {
                m_mapped.push_back(event.xmaprequest.window);
                SetExtents(event.xmaprequest.window, 2, 2, 20, 2);
                XMapWindow(d, event.xmaprequest.window);
            } else if (event.type == ConfigureRequest) {
                XWindowChanges changes{};
                changes.x = event.xconfigurerequest.x;
                changes.y = event.xconfigurerequest.y;
                changes.width = event.xconfigurerequest.width;
                changes.height = event.xconfigurerequest.height;
                XConfigureWindow(d, event.xconfigurerequest.window,
                                 static_cast<unsigned>(event.xconfigurerequest.value_mask) & (CWX | CWY | CWWidth | CWHeight),
                                 &changes);
            } else if (event.type == ClientMessage && event.xclient.message_type == m_client.AtomOf("_NET_REQUEST_FRAME_EXTENTS")) {
                SetExtents(event.xclient.window, 4, 4, 24, 4);
            } else if (event.type == ClientMessage && event.xclient.message_type == m_client.AtomOf("_NET_ACTIVE_WINDOW")) {
                m_activated.push_back(event.xclient.window);
            }
            XFlush(d);
        }
    }

    CRawClient m_client;
    Window m_check = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_lock;
    std::vector<Window> m_mapped;
    std::vector<Window> m_activated;
    std::thread m_thread;
};

bool SameFrame(const FrameExtents& a, const FrameExtents& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}

TEST_F(X11DisplayTest, UnderAWindowManagerFramesAndActivationAreItsBusiness)
{
    // Without a window manager there is no frame.
    EXPECT_TRUE(SameFrame(m_display->FrameFor(TopLevelKind::Framed, true), {}));
    {
        CFakeWindowManager manager(Name());
        CRecordingSink sink;
        auto display = OpenDisplay(sink);
        ASSERT_NE(display, nullptr);
        // Known before any window is shown.
        EXPECT_TRUE(SameFrame(display->FrameFor(TopLevelKind::Framed, true), {4, 24, 4, 4}));
        EXPECT_TRUE(SameFrame(display->FrameFor(TopLevelKind::Popup, false), {}));

        TopLevelParams params;
        params.clientRect = {100, 100, 300, 200};
        const NativeId id = display->CreateTopLevel(params);
        display->ShowTopLevel(id, true);
        ASSERT_TRUE(PumpUntil(*display, sink, Kind(EventKind::Expose, id)).has_value());
        EXPECT_EQ(manager.Mapped(), std::vector<Window>{display->XWindowOf(id)});
        // The frame the manager put on a real window counts from then on.
        PumpUntil(*display, sink, [&](const Event&) { return SameFrame(display->FrameFor(TopLevelKind::Framed, true), {2, 20, 2, 2}); }, 1000);
        EXPECT_TRUE(SameFrame(display->FrameFor(TopLevelKind::Framed, true), {2, 20, 2, 2}));

        // Activation is asked of the manager, not taken.
        display->RaiseTopLevel(id, true);
        const auto deadline = Clock::now() + std::chrono::seconds(2);
        while (manager.Activated().empty() && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(manager.Activated(), std::vector<Window>{display->XWindowOf(id)});

        // A manager that died leaves a stale hint behind, which is not believed.
        manager.Vanish();
        CRecordingSink afterSink;
        const auto start = Clock::now();
        auto after = OpenDisplay(afterSink);
        ASSERT_NE(after, nullptr);
        EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(), 250);
        EXPECT_TRUE(SameFrame(after->FrameFor(TopLevelKind::Framed, true), {}));
    }
    XDeleteProperty(m_raw->Get(), DefaultRootWindow(m_raw->Get()), m_raw->AtomOf("_NET_SUPPORTING_WM_CHECK"));
    XSync(m_raw->Get(), False);
}

TEST_F(X11DisplayTest, OpeningAnAbsentServerFails)
{
    CX11Display display;
    // A name without a display number is refused before any connection is tried.
    EXPECT_FALSE(display.Open("no-display-here"));
    EXPECT_EQ(display.CreateTopLevel({}), 0u);
    EXPECT_FALSE(display.PumpEvents(0));
    EXPECT_FALSE(display.GetClipboardText().has_value());
    EXPECT_FALSE(display.SetClipboardText(L"x"));
    display.Wake();
}

TEST_F(X11DisplayTest, ClipboardTextOutlivesItsOwnerThroughAManager)
{
    XDisplay* raw = m_raw->Get();
    const Atom clipboard = m_raw->AtomOf("CLIPBOARD");
    const Atom manager = m_raw->AtomOf("CLIPBOARD_MANAGER");
    const Atom saveTargets = m_raw->AtomOf("SAVE_TARGETS");
    const Window managerWindow = XCreateSimpleWindow(raw, DefaultRootWindow(raw), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(raw, manager, managerWindow, CurrentTime);
    ASSERT_EQ(XGetSelectionOwner(raw, manager), managerWindow);
    ASSERT_TRUE(m_display->SetClipboardText(L"keep me \u00fc"));

    // A clipboard manager: asked to save, it reads the text, takes the
    // clipboard over and says it is done.
    std::string saved;
    bool answered = false;
    std::thread managerThread([&] {
        auto waitFor = [&](int type, XEvent& event) {
            const auto deadline = Clock::now() + std::chrono::seconds(5);
            while (Clock::now() < deadline) {
                if (XCheckTypedWindowEvent(raw, managerWindow, type, &event))
                    return true;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            return false;
        };
        XEvent event{};
        if (!waitFor(SelectionRequest, event) || event.xselectionrequest.target != saveTargets)
            return;
        const XSelectionRequestEvent request = event.xselectionrequest;
        XConvertSelection(raw, clipboard, m_raw->AtomOf("UTF8_STRING"), m_raw->AtomOf("ZELL_TEST_SAVED"), managerWindow,
                          CurrentTime);
        XFlush(raw);
        if (!waitFor(SelectionNotify, event) || event.xselection.property == 0)
            return;
        saved = m_raw->Property(managerWindow, "ZELL_TEST_SAVED");
        XSetSelectionOwner(raw, clipboard, managerWindow, CurrentTime);
        XSelectionEvent answer{};
        answer.type = SelectionNotify;
        answer.display = raw;
        answer.requestor = request.requestor;
        answer.selection = request.selection;
        answer.target = request.target;
        answer.property = request.property;
        answer.time = request.time;
        XSendEvent(raw, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&answer));
        XFlush(raw);
        answered = true;
    });
    const auto start = Clock::now();
    m_display.reset();  // the owner goes
    const auto closing = Clock::now() - start;
    managerThread.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(saved, "keep me \xc3\xbc");
    EXPECT_EQ(XGetSelectionOwner(raw, clipboard), managerWindow) << "the manager holds the text now";
    EXPECT_LT(closing, std::chrono::milliseconds(X11::CX11Clipboard::kHandOverMs)) << "the answer ended the wait";
    XSetSelectionOwner(raw, manager, 0, CurrentTime);
    XSetSelectionOwner(raw, clipboard, 0, CurrentTime);
    XDestroyWindow(raw, managerWindow);
    XFlush(raw);
}

TEST_F(X11DisplayTest, ClipboardOwnerWithoutAManagerClosesAtOnce)
{
    ASSERT_EQ(XGetSelectionOwner(m_raw->Get(), m_raw->AtomOf("CLIPBOARD_MANAGER")), 0u);
    ASSERT_TRUE(m_display->SetClipboardText(L"gone with us"));
    EXPECT_TRUE(m_display->OwnsClipboard());
    const auto start = Clock::now();
    m_display.reset();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(XGetSelectionOwner(m_raw->Get(), m_raw->AtomOf("CLIPBOARD")), 0u);
}
