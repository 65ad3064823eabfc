#include "Platform/Display/HeadlessDisplay.h"

#include "Platform/Display/VirtualKeys.h"
#include "Platform/Base/Clock.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace Display {

namespace {

// Frame sizes of the headless "window manager"; the window layer's system
// metrics report the same numbers.
constexpr LONG kCaptionHeight = 22;
constexpr LONG kSizingBorder = 4;
constexpr LONG kFixedBorder = 3;

bool Contains(const RECT& r, POINT p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

void Drop(cairo_surface_t*& surface)
{
    if (surface != nullptr)
        cairo_surface_destroy(surface);
    surface = nullptr;
}

bool HasSize(cairo_surface_t* surface, int width, int height)
{
    return cairo_image_surface_get_width(surface) == width && cairo_image_surface_get_height(surface) == height;
}

// The characters of the US layout for the keys whose text differs with Shift.
struct ShiftedPair {
    UINT key;
    wchar_t plain;
    wchar_t shifted;
};
constexpr ShiftedPair kPunctuation[] = {
    {VK_OEM_1, L';', L':'},     {VK_OEM_PLUS, L'=', L'+'},   {VK_OEM_COMMA, L',', L'<'},
    {VK_OEM_MINUS, L'-', L'_'}, {VK_OEM_PERIOD, L'.', L'>'}, {VK_OEM_2, L'/', L'?'},
    {VK_OEM_3, L'`', L'~'},     {VK_OEM_4, L'[', L'{'},      {VK_OEM_5, L'\\', L'|'},
    {VK_OEM_6, L']', L'}'},     {VK_OEM_7, L'\'', L'"'},
};
constexpr wchar_t kShiftedDigits[] = L")!@#$%^&*(";

}

CHeadlessDisplay::CHeadlessDisplay()
{
    MonitorDesc primary;
    primary.monitor = {0, 0, 1280, 1024};
    primary.work = {0, 0, 1280, 984};
    primary.primary = true;
    primary.name = L"HEADLESS-1";
    m_monitors.push_back(primary);
}

int CHeadlessDisplay::DpiFromEnvironment()
{
    constexpr long kDefault = 96;
    const char* text = std::getenv("ZELL_DPI");
    if (text == nullptr || *text == '\0')
        return kDefault;
    char* end = nullptr;
    const long dpi = std::strtol(text, &end, 10);
    return *end == '\0' && dpi >= 48 && dpi <= 480 ? static_cast<int>(dpi) : static_cast<int>(kDefault);
}

CHeadlessDisplay::~CHeadlessDisplay()
{
    for (auto& [id, topLevel] : m_topLevels) {
        Drop(topLevel.screen);
        Drop(topLevel.frame);
    }
    for (cairo_surface_t* spare : m_spareSurfaces)
        cairo_surface_destroy(spare);
}

cairo_surface_t* CHeadlessDisplay::TakeSurfaceLocked(int width, int height, bool clear)
{
    const auto fits = std::find_if(m_spareSurfaces.begin(), m_spareSurfaces.end(),
                                   [&](cairo_surface_t* spare) { return HasSize(spare, width, height); });
    if (fits == m_spareSurfaces.end())
        return cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_surface_t* surface = *fits;
    m_spareSurfaces.erase(fits);
    if (clear) {
        cairo_surface_flush(surface);
        std::fill_n(cairo_image_surface_get_data(surface),
                    static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) * static_cast<std::size_t>(height), 0);
        cairo_surface_mark_dirty(surface);
    }
    return surface;
}

void CHeadlessDisplay::ReleaseSurfaceLocked(cairo_surface_t*& surface)
{
    if (surface == nullptr || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        Drop(surface);
        return;
    }
    m_spareSurfaces.push_back(surface);
    surface = nullptr;
    if (m_spareSurfaces.size() > kMaxSpareSurfaces) {
        cairo_surface_destroy(m_spareSurfaces.front());
        m_spareSurfaces.pop_front();
    }
}

NativeId CHeadlessDisplay::CreateTopLevel(const TopLevelParams& params)
{
    std::lock_guard lock(m_mutex);
    const NativeId id = m_nextId++;
    TopLevel& topLevel = m_topLevels[id];
    topLevel.state.params = params;
    topLevel.state.topMost = params.topMost;
    m_stack.push_back(id);
    return id;
}

void CHeadlessDisplay::DestroyTopLevel(NativeId id)
{
    std::lock_guard lock(m_mutex);
    auto it = m_topLevels.find(id);
    if (it == m_topLevels.end())
        return;
    ReleaseSurfaceLocked(it->second.screen);
    ReleaseSurfaceLocked(it->second.frame);
    m_topLevels.erase(it);
    std::erase(m_stack, id);
    if (m_focus == id)
        m_focus = 0;
    if (m_grab == id)
        m_grab = 0;
    if (m_pointerOver == id)
        m_pointerOver = 0;
    // Events still queued for it are dropped: the window layer no longer knows the id.
    std::erase_if(m_events, [id](const Event& e) { return e.window == id; });
}

void CHeadlessDisplay::MoveTopLevel(NativeId id, const RECT& clientRect)
{
    std::lock_guard lock(m_mutex);
    auto it = m_topLevels.find(id);
    if (it == m_topLevels.end())
        return;
    TopLevelState& state = it->second.state;
    const bool resized = Width(state.params.clientRect) != Width(clientRect) ||
                         Height(state.params.clientRect) != Height(clientRect);
    state.params.clientRect = clientRect;
    if (resized) {
        ReleaseSurfaceLocked(it->second.screen);
        ReleaseSurfaceLocked(it->second.frame);
    }
}

void CHeadlessDisplay::ShowTopLevel(NativeId id, bool show)
{
    std::lock_guard lock(m_mutex);
    auto it = m_topLevels.find(id);
    if (it == m_topLevels.end())
        return;
    it->second.state.visible = show;
    if (!show && m_focus == id)
        SetFocusLocked(0);
}

void CHeadlessDisplay::SetTitle(NativeId id, const std::wstring& title)
{
    std::lock_guard lock(m_mutex);
    if (auto it = m_topLevels.find(id); it != m_topLevels.end())
        it->second.state.params.title = title;
}

void CHeadlessDisplay::SetOwner(NativeId id, NativeId owner)
{
    std::lock_guard lock(m_mutex);
    if (auto it = m_topLevels.find(id); it != m_topLevels.end())
        it->second.state.params.owner = owner;
}

void CHeadlessDisplay::SetModal(NativeId id, bool modal)
{
    std::lock_guard lock(m_mutex);
    if (auto it = m_topLevels.find(id); it != m_topLevels.end())
        it->second.state.params.modal = modal;
}

void CHeadlessDisplay::SetIcon(NativeId id, const std::vector<IconImage>& images)
{
    std::lock_guard lock(m_mutex);
    if (auto it = m_topLevels.find(id); it != m_topLevels.end())
        it->second.state.icons = images;
}

void CHeadlessDisplay::SetTopMost(NativeId id, bool topMost)
{
    std::lock_guard lock(m_mutex);
    if (auto it = m_topLevels.find(id); it != m_topLevels.end()) {
        it->second.state.topMost = topMost;
        StackOnTopLocked(id);
    }
}

void CHeadlessDisplay::RaiseTopLevel(NativeId id, bool activate)
{
    std::lock_guard lock(m_mutex);
    if (m_topLevels.count(id) == 0)
        return;
    StackOnTopLocked(id);
    if (activate)
        SetFocusLocked(id);
}

void CHeadlessDisplay::StackOnTopLocked(NativeId id)
{
    std::erase(m_stack, id);
    // Top-most windows stay above the others.
    auto it = m_stack.begin();
    if (!m_topLevels[id].state.topMost) {
        while (it != m_stack.end() && m_topLevels[*it].state.topMost)
            ++it;
    }
    m_stack.insert(it, id);
}

FrameExtents CHeadlessDisplay::FrameFor(TopLevelKind kind, bool resizable) const
{
    if (kind == TopLevelKind::Popup)
        return {};
    const LONG border = resizable ? kSizingBorder : kFixedBorder;
    return {border, border + kCaptionHeight, border, border};
}

void CHeadlessDisplay::Present(NativeId id, cairo_surface_t* backBuffer, const RECT& area)
{
    if (backBuffer == nullptr || cairo_surface_get_type(backBuffer) != CAIRO_SURFACE_TYPE_IMAGE)
        return;
    std::lock_guard lock(m_mutex);
    auto it = m_topLevels.find(id);
    if (it == m_topLevels.end())
        return;
    TopLevel& topLevel = it->second;
    const int width = cairo_image_surface_get_width(backBuffer);
    const int height = cairo_image_surface_get_height(backBuffer);
    if (topLevel.screen != nullptr && !HasSize(topLevel.screen, width, height))
        ReleaseSurfaceLocked(topLevel.screen);
    if (topLevel.screen == nullptr)
        topLevel.screen = TakeSurfaceLocked(width, height, true);
    cairo_surface_flush(backBuffer);
    cairo_t* cr = cairo_create(topLevel.screen);
    cairo_rectangle(cr, area.left, area.top, Width(area), Height(area));
    cairo_clip(cr);
    cairo_set_source_surface(cr, backBuffer, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(topLevel.screen);
    ++topLevel.state.presentCount;
}

void CHeadlessDisplay::PresentFrame(NativeId id, cairo_surface_t* frame)
{
    if (frame == nullptr || cairo_surface_get_type(frame) != CAIRO_SURFACE_TYPE_IMAGE)
        return;
    std::lock_guard lock(m_mutex);
    auto it = m_topLevels.find(id);
    if (it == m_topLevels.end() || it->second.state.params.kind != TopLevelKind::Framed)
        return;
    cairo_surface_flush(frame);
    const int width = cairo_image_surface_get_width(frame);
    const int height = cairo_image_surface_get_height(frame);
    // The copy below covers every pixel, so a kept surface needs no clearing.
    if (it->second.frame != nullptr && !HasSize(it->second.frame, width, height))
        ReleaseSurfaceLocked(it->second.frame);
    if (it->second.frame == nullptr)
        it->second.frame = TakeSurfaceLocked(width, height, false);
    cairo_t* cr = cairo_create(it->second.frame);
    cairo_set_source_surface(cr, frame, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(it->second.frame);
}

void CHeadlessDisplay::SetCursorShape(NativeId id, CursorShape shape)
{
    std::lock_guard lock(m_mutex);
    if (auto it = m_topLevels.find(id); it != m_topLevels.end())
        it->second.state.cursor = shape;
}

void CHeadlessDisplay::GrabPointer(NativeId id)
{
    std::lock_guard lock(m_mutex);
    m_grab = m_topLevels.count(id) != 0 ? id : 0;
}

void CHeadlessDisplay::Beep()
{
    std::lock_guard lock(m_mutex);
    ++m_beeps;
}

SIZE CHeadlessDisplay::ScreenSize() const
{
    std::lock_guard lock(m_mutex);
    const RECT& r = m_monitors.front().monitor;
    return {Width(r), Height(r)};
}

RECT CHeadlessDisplay::WorkArea() const
{
    std::lock_guard lock(m_mutex);
    return m_monitors.front().work;
}

std::vector<MonitorDesc> CHeadlessDisplay::Monitors() const
{
    std::lock_guard lock(m_mutex);
    return m_monitors;
}

void CHeadlessDisplay::SetMonitors(std::vector<MonitorDesc> monitors)
{
    if (monitors.empty())
        return;
    std::lock_guard lock(m_mutex);
    m_monitors = std::move(monitors);
}

std::optional<std::wstring> CHeadlessDisplay::GetClipboardText()
{
    std::lock_guard lock(m_mutex);
    return m_clipboard;
}

bool CHeadlessDisplay::SetClipboardText(const std::wstring& text)
{
    std::lock_guard lock(m_mutex);
    m_clipboard = text;
    m_clipboardOurs = true;
    return true;
}

bool CHeadlessDisplay::OwnsClipboard() const
{
    std::lock_guard lock(m_mutex);
    return m_clipboardOurs;
}

void CHeadlessDisplay::ReleaseClipboard()
{
    std::lock_guard lock(m_mutex);
    if (!m_clipboardOurs)
        return;
    m_clipboard.reset();
    m_clipboardOurs = false;
}

std::optional<std::wstring> CHeadlessDisplay::GetSelectionText()
{
    std::lock_guard lock(m_mutex);
    return m_selection;
}

bool CHeadlessDisplay::SetSelectionText(const std::wstring& text)
{
    std::lock_guard lock(m_mutex);
    m_selection = text;
    return true;
}

void CHeadlessDisplay::InjectForeignClipboardText(const std::wstring& text)
{
    std::lock_guard lock(m_mutex);
    m_clipboard = text;
    m_clipboardOurs = false;
}

void CHeadlessDisplay::SetEventSink(IEventSink* sink)
{
    std::lock_guard lock(m_mutex);
    m_sink = sink;
}

bool CHeadlessDisplay::PumpEvents(DWORD timeoutMs)
{
    std::unique_lock lock(m_mutex);
    if (m_events.empty() && !m_woken && timeoutMs != 0) {
        auto ready = [this] { return !m_events.empty() || m_woken; };
        if (timeoutMs == INFINITE)
            m_wakeup.wait(lock, ready);
        else
            m_wakeup.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    m_woken = false;
    std::deque<Event> events;
    events.swap(m_events);
    IEventSink* sink = m_sink;
    lock.unlock();
    if (sink == nullptr)
        return false;
    for (const Event& event : events)
        sink->OnDisplayEvent(event);
    return !events.empty();
}

void CHeadlessDisplay::Wake()
{
    {
        std::lock_guard lock(m_mutex);
        m_woken = true;
    }
    m_wakeup.notify_all();
}

void CHeadlessDisplay::Queue(Event event)
{
    {
        std::lock_guard lock(m_mutex);
        QueueLocked(std::move(event));
    }
    m_wakeup.notify_all();
}

void CHeadlessDisplay::QueueLocked(Event event)
{
    event.time = Platform::Clock::NowMs();
    m_events.push_back(std::move(event));
    m_wakeup.notify_all();
}

void CHeadlessDisplay::SetFocusLocked(NativeId id)
{
    if (m_focus == id)
        return;
    if (m_focus != 0) {
        Event out;
        out.kind = EventKind::FocusOut;
        out.window = m_focus;
        QueueLocked(out);
    }
    m_focus = id;
    if (id != 0) {
        Event in;
        in.kind = EventKind::FocusIn;
        in.window = id;
        QueueLocked(in);
    }
}

DWORD CHeadlessDisplay::ModifiersLocked() const
{
    DWORD modifiers = m_buttons;
    if (m_shift)
        modifiers |= ModShift;
    if (m_control)
        modifiers |= ModControl;
    if (m_alt)
        modifiers |= ModAlt;
    return modifiers;
}

std::wstring CHeadlessDisplay::TextForKeyLocked(UINT key) const
{
    // Control and Alt combinations type nothing but the control characters
    // of letters, as a real keyboard does.
    if (m_alt)
        return {};
    if (m_control) {
        if (key >= 'A' && key <= 'Z')
            return std::wstring(1, static_cast<wchar_t>(key - 'A' + 1));
        return {};
    }
    if (key >= 'A' && key <= 'Z')
        return std::wstring(1, static_cast<wchar_t>(m_shift ? key : key - 'A' + 'a'));
    if (key >= '0' && key <= '9')
        return std::wstring(1, m_shift ? kShiftedDigits[key - '0'] : static_cast<wchar_t>(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return std::wstring(1, static_cast<wchar_t>(L'0' + (key - VK_NUMPAD0)));
    switch (key) {
    case VK_SPACE: return L" ";
    case VK_RETURN: return L"\r";
    case VK_TAB: return L"\t";
    case VK_BACK: return L"\b";
    case VK_ESCAPE: return L"\x1b";
    case VK_MULTIPLY: return L"*";
    case VK_ADD: return L"+";
    case VK_SUBTRACT: return L"-";
    case VK_DECIMAL: return L".";
    case VK_DIVIDE: return L"/";
    default: break;
    }
    for (const ShiftedPair& pair : kPunctuation) {
        if (pair.key == key)
            return std::wstring(1, m_shift ? pair.shifted : pair.plain);
    }
    return {};
}

void CHeadlessDisplay::InjectKeyDown(UINT virtualKey, bool repeat)
{
    std::lock_guard lock(m_mutex);
    Event event;
    event.kind = EventKind::KeyDown;
    event.window = m_focus;
    event.virtualKey = virtualKey;
    event.repeat = repeat;
    event.text = TextForKeyLocked(virtualKey);
    if (virtualKey == VK_SHIFT || virtualKey == VK_LSHIFT || virtualKey == VK_RSHIFT)
        m_shift = true;
    if (virtualKey == VK_CONTROL || virtualKey == VK_LCONTROL || virtualKey == VK_RCONTROL)
        m_control = true;
    if (virtualKey == VK_MENU || virtualKey == VK_LMENU || virtualKey == VK_RMENU)
        m_alt = true;
    event.modifiers = ModifiersLocked();
    QueueLocked(event);
}

void CHeadlessDisplay::InjectKeyUp(UINT virtualKey)
{
    std::lock_guard lock(m_mutex);
    if (virtualKey == VK_SHIFT || virtualKey == VK_LSHIFT || virtualKey == VK_RSHIFT)
        m_shift = false;
    if (virtualKey == VK_CONTROL || virtualKey == VK_LCONTROL || virtualKey == VK_RCONTROL)
        m_control = false;
    if (virtualKey == VK_MENU || virtualKey == VK_LMENU || virtualKey == VK_RMENU)
        m_alt = false;
    Event event;
    event.kind = EventKind::KeyUp;
    event.window = m_focus;
    event.virtualKey = virtualKey;
    event.modifiers = ModifiersLocked();
    QueueLocked(event);
}

void CHeadlessDisplay::InjectText(const std::wstring& text)
{
    std::lock_guard lock(m_mutex);
    Event event;
    event.kind = EventKind::TextInput;
    event.window = m_focus;
    event.text = text;
    event.modifiers = ModifiersLocked();
    QueueLocked(event);
}

NativeId CHeadlessDisplay::TopLevelAtLocked(POINT screen) const
{
    for (NativeId id : m_stack) {
        const TopLevelState& state = m_topLevels.at(id).state;
        // Framed windows take the pointer on their frame as well.
        RECT outer = state.params.clientRect;
        const FrameExtents frame = FrameFor(state.params.kind, state.params.resizable);
        outer = {outer.left - frame.left, outer.top - frame.top, outer.right + frame.right, outer.bottom + frame.bottom};
        if (state.visible && Contains(outer, screen))
            return id;
    }
    return 0;
}

NativeId CHeadlessDisplay::MouseTargetLocked(POINT screen) const
{
    return m_grab != 0 ? m_grab : TopLevelAtLocked(screen);
}

void CHeadlessDisplay::QueueMouseLocked(EventKind kind, MouseButton button, POINT screen, int delta)
{
    const NativeId target = MouseTargetLocked(screen);
    const NativeId over = TopLevelAtLocked(screen);
    if (over == 0 && m_pointerOver != 0) {
        Event leave;
        leave.kind = EventKind::MouseLeave;
        leave.window = m_pointerOver;
        leave.screen = screen;
        QueueLocked(leave);
    }
    m_pointerOver = over;
    if (target == 0)
        return;
    Event event;
    event.kind = kind;
    event.window = target;
    event.button = button;
    event.screen = screen;
    event.wheelDelta = delta;
    event.modifiers = ModifiersLocked();
    QueueLocked(event);
}

void CHeadlessDisplay::InjectMouseMove(POINT screen)
{
    std::lock_guard lock(m_mutex);
    QueueMouseLocked(EventKind::MouseMove, MouseButton::Left, screen, 0);
}

namespace {
DWORD ButtonBit(MouseButton button)
{
    switch (button) {
    case MouseButton::Left: return ModLeftButton;
    case MouseButton::Right: return ModRightButton;
    case MouseButton::Middle: return ModMiddleButton;
    }
    return 0;
}
}

void CHeadlessDisplay::InjectMouseDown(MouseButton button, POINT screen)
{
    std::lock_guard lock(m_mutex);
    m_buttons |= ButtonBit(button);
    // A click activates the top-level it lands on, as window managers do.
    const NativeId target = MouseTargetLocked(screen);
    if (target != 0 && target != m_focus && m_topLevels.at(target).state.params.kind == TopLevelKind::Framed) {
        StackOnTopLocked(target);
        SetFocusLocked(target);
    }
    QueueMouseLocked(EventKind::MouseDown, button, screen, 0);
}

void CHeadlessDisplay::InjectMouseUp(MouseButton button, POINT screen)
{
    std::lock_guard lock(m_mutex);
    m_buttons &= ~ButtonBit(button);
    QueueMouseLocked(EventKind::MouseUp, button, screen, 0);
}

void CHeadlessDisplay::InjectWheel(int delta, POINT screen)
{
    std::lock_guard lock(m_mutex);
    QueueMouseLocked(EventKind::MouseWheel, MouseButton::Left, screen, delta);
}

void CHeadlessDisplay::InjectClose(NativeId id)
{
    Event event;
    event.kind = EventKind::CloseRequest;
    event.window = id;
    Queue(event);
}

void CHeadlessDisplay::InjectConfigure(NativeId id, const RECT& clientRect)
{
    std::lock_guard lock(m_mutex);
    auto it = m_topLevels.find(id);
    if (it == m_topLevels.end())
        return;
    it->second.state.params.clientRect = clientRect;
    Event event;
    event.kind = EventKind::Configure;
    event.window = id;
    event.rect = clientRect;
    QueueLocked(event);
}

std::optional<COLORREF> CHeadlessDisplay::PixelAt(NativeId id, int x, int y) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_topLevels.find(id);
    if (it == m_topLevels.end() || it->second.screen == nullptr)
        return std::nullopt;
    cairo_surface_t* screen = it->second.screen;
    if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(screen) || y >= cairo_image_surface_get_height(screen))
        return std::nullopt;
    const unsigned char* data = cairo_image_surface_get_data(screen);
    const int stride = cairo_image_surface_get_stride(screen);
    std::uint32_t pixel = 0;
    std::copy_n(data + static_cast<std::ptrdiff_t>(y) * stride + static_cast<std::ptrdiff_t>(x) * 4, 4,
                reinterpret_cast<unsigned char*>(&pixel));
    return RGB(static_cast<BYTE>((pixel >> 16) & 0xFF), static_cast<BYTE>((pixel >> 8) & 0xFF),
               static_cast<BYTE>(pixel & 0xFF));
}

bool CHeadlessDisplay::SaveAsPng(NativeId id, const std::string& path) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_topLevels.find(id);
    if (it == m_topLevels.end() || it->second.screen == nullptr)
        return false;
    return cairo_surface_write_to_png(it->second.screen, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

bool CHeadlessDisplay::SaveWithFrameAsPng(NativeId id, const std::string& path) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_topLevels.find(id);
    if (it == m_topLevels.end() || it->second.screen == nullptr)
        return false;
    const TopLevel& topLevel = it->second;
    const FrameExtents frame = FrameFor(topLevel.state.params.kind, topLevel.state.params.resizable);
    const int width = cairo_image_surface_get_width(topLevel.screen) + frame.left + frame.right;
    const int height = cairo_image_surface_get_height(topLevel.screen) + frame.top + frame.bottom;
    cairo_surface_t* whole = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(whole);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    if (topLevel.frame != nullptr) {
        cairo_set_source_surface(cr, topLevel.frame, 0, 0);
        cairo_paint(cr);
    }
    cairo_set_source_surface(cr, topLevel.screen, frame.left, frame.top);
    cairo_rectangle(cr, frame.left, frame.top, width - frame.left - frame.right, height - frame.top - frame.bottom);
    cairo_fill(cr);
    cairo_destroy(cr);
    const bool saved = cairo_surface_write_to_png(whole, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(whole);
    return saved;
}

std::optional<CHeadlessDisplay::TopLevelState> CHeadlessDisplay::StateOf(NativeId id) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_topLevels.find(id);
    if (it == m_topLevels.end())
        return std::nullopt;
    return it->second.state;
}

NativeId CHeadlessDisplay::FocusedTopLevel() const
{
    std::lock_guard lock(m_mutex);
    return m_focus;
}

NativeId CHeadlessDisplay::PointerGrab() const
{
    std::lock_guard lock(m_mutex);
    return m_grab;
}

std::vector<NativeId> CHeadlessDisplay::StackingOrder() const
{
    std::lock_guard lock(m_mutex);
    return m_stack;
}

int CHeadlessDisplay::BeepCount() const
{
    std::lock_guard lock(m_mutex);
    return m_beeps;
}

}
