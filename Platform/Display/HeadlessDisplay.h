#pragma once
// The display of tests and CI: no screen at all. Top-levels are records, what
// the window layer presents is kept as pixels that tests read back or save as
// PNG, and input is injected by tests and delivered through the same event
// pump as a real display's.

#include "Platform/Display/DisplayBackend.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <mutex>

namespace Display {

class CHeadlessDisplay : public CDisplayBackend {
public:
    CHeadlessDisplay();
    ~CHeadlessDisplay() override;
    CHeadlessDisplay(const CHeadlessDisplay&) = delete;
    CHeadlessDisplay& operator=(const CHeadlessDisplay&) = delete;

    const char* Name() const override { return "headless"; }

    NativeId CreateTopLevel(const TopLevelParams& params) override;
    void DestroyTopLevel(NativeId id) override;
    void MoveTopLevel(NativeId id, const RECT& clientRect) override;
    void ShowTopLevel(NativeId id, bool show) override;
    void SetTitle(NativeId id, const std::wstring& title) override;
    void SetOwner(NativeId id, NativeId owner) override;
    void SetTopMost(NativeId id, bool topMost) override;
    void SetModal(NativeId id, bool modal) override;
    void SetIcon(NativeId id, const std::vector<IconImage>& images) override;
    void RaiseTopLevel(NativeId id, bool activate) override;
    NativeId FocusedTopLevel() const override;
    FrameExtents FrameFor(TopLevelKind kind, bool resizable) const override;
    bool LayerDrawsFrames() const override { return true; }
    void PresentFrame(NativeId id, cairo_surface_t* frame) override;
    void Present(NativeId id, cairo_surface_t* backBuffer, const RECT& area) override;
    void SetCursorShape(NativeId id, CursorShape shape) override;
    void GrabPointer(NativeId id) override;
    void Beep() override;

    SIZE ScreenSize() const override;
    RECT WorkArea() const override;
    // 96 unless ZELL_DPI (48..480) asks for another when the display is made.
    int Dpi() const override { return m_dpi; }
    std::vector<MonitorDesc> Monitors() const override;

    std::optional<std::wstring> GetClipboardText() override;
    bool SetClipboardText(const std::wstring& text) override;
    bool OwnsClipboard() const override;
    void ReleaseClipboard() override;
    std::optional<std::wstring> GetSelectionText() override;
    bool SetSelectionText(const std::wstring& text) override;

    void SetEventSink(IEventSink* sink) override;
    bool PumpEvents(DWORD timeoutMs) override;
    void Wake() override;

    // --- for tests ----------------------------------------------------------
    // Another application puts text on the clipboard.
    void InjectForeignClipboardText(const std::wstring& text);
    // Replaces the monitors (the first is the primary one); an empty list is ignored.
    void SetMonitors(std::vector<MonitorDesc> monitors);

    // Input as a user gives it. Keys go to the focused top-level; the text a
    // key types follows a US layout and the injected Shift state. Mouse input
    // goes to the top-level under the point, or to the one grabbing the pointer.
    void InjectKeyDown(UINT virtualKey, bool repeat = false);
    void InjectKeyUp(UINT virtualKey);
    void InjectText(const std::wstring& text);
    void InjectMouseMove(POINT screen);
    void InjectMouseDown(MouseButton button, POINT screen);
    void InjectMouseUp(MouseButton button, POINT screen);
    void InjectWheel(int delta, POINT screen);
    void InjectClose(NativeId id);
    // The user moved or resized a top-level by its frame.
    void InjectConfigure(NativeId id, const RECT& clientRect);

    // What the display shows of a top-level: the pixels presented last.
    // Null when there is no such top-level or nothing was presented yet.
    std::optional<COLORREF> PixelAt(NativeId id, int x, int y) const;
    bool SaveAsPng(NativeId id, const std::string& path) const;
    // The whole window as a user sees it: the frame last presented round
    // what the client shows (the client alone for pop-ups).
    bool SaveWithFrameAsPng(NativeId id, const std::string& path) const;

    struct TopLevelState {
        TopLevelParams params;
        bool visible = false;
        bool topMost = false;
        CursorShape cursor = CursorShape::Arrow;
        int presentCount = 0;
        std::vector<IconImage> icons;
    };
    std::optional<TopLevelState> StateOf(NativeId id) const;
    NativeId PointerGrab() const;
    // Top-levels from the top of the stacking order down.
    std::vector<NativeId> StackingOrder() const;
    int BeepCount() const;

private:
    static int DpiFromEnvironment();
    struct TopLevel {
        TopLevelState state;
        cairo_surface_t* screen = nullptr;  // what was presented, client size
        cairo_surface_t* frame = nullptr;   // the frame picture, window size
    };

    void Queue(Event event);
    void QueueLocked(Event event);
    void SetFocusLocked(NativeId id);
    NativeId TopLevelAtLocked(POINT screen) const;
    NativeId MouseTargetLocked(POINT screen) const;
    void StackOnTopLocked(NativeId id);
    DWORD ModifiersLocked() const;
    std::wstring TextForKeyLocked(UINT virtualKey) const;
    void QueueMouseLocked(EventKind kind, MouseButton button, POINT screen, int delta);
    // A surface of that size, from the spares when one fits; cleared to black
    // when asked, as a fresh one is.
    cairo_surface_t* TakeSurfaceLocked(int width, int height, bool clear);
    // Keeps the surface as a spare (the oldest spare goes when there are too many).
    void ReleaseSurfaceLocked(cairo_surface_t*& surface);

    mutable std::mutex m_mutex;
    const int m_dpi = DpiFromEnvironment();
    std::condition_variable m_wakeup;
    std::map<NativeId, TopLevel> m_topLevels;
    std::vector<NativeId> m_stack;  // top first
    NativeId m_nextId = 1;
    NativeId m_focus = 0;
    NativeId m_grab = 0;
    NativeId m_pointerOver = 0;
    std::vector<MonitorDesc> m_monitors;
    std::optional<std::wstring> m_clipboard;
    std::optional<std::wstring> m_selection;
    bool m_clipboardOurs = false;
    std::deque<Event> m_events;
    IEventSink* m_sink = nullptr;
    bool m_woken = false;
    bool m_shift = false;
    bool m_control = false;
    bool m_alt = false;
    DWORD m_buttons = 0;
    int m_beeps = 0;
    // Dialogs come and go at the same sizes; a fresh surface for each costs a
    // page fault per page on its first paint.
    static constexpr std::size_t kMaxSpareSurfaces = 4;
    std::deque<cairo_surface_t*> m_spareSurfaces;  // oldest first
};

}
