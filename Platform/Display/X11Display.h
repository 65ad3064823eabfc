#pragma once
// The display back end on an X server through Xlib. Each top-level is an X
// window (pop-ups are override-redirect), X events become neutral display
// events, the clipboard is the CLIPBOARD selection and what the user selects
// is offered as PRIMARY.

#include "Platform/Display/DisplayBackend.h"

#include <memory>
#include <string>

namespace Display {

class CX11Display : public CDisplayBackend {
public:
    // How long another client gets to hand over its clipboard text.
    static constexpr int kClipboardTimeoutMs = 1000;

    CX11Display();
    ~CX11Display() override;
    CX11Display(const CX11Display&) = delete;
    CX11Display& operator=(const CX11Display&) = delete;

    // Connects to the named display (empty: $DISPLAY). False when the server
    // cannot be reached; the object is unusable then.
    bool Open(const std::string& displayName);

    const char* Name() const override { return "x11"; }

    NativeId CreateTopLevel(const TopLevelParams& params) override;
    void DestroyTopLevel(NativeId id) override;
    void MoveTopLevel(NativeId id, const RECT& clientRect) override;
    void ShowTopLevel(NativeId id, bool show) override;
    void SetTitle(NativeId id, const std::wstring& title) override;
    void SetOwner(NativeId id, NativeId owner) override;
    void SetTopMost(NativeId id, bool topMost) override;
    void SetModal(NativeId id, bool modal) override;
    void SetIcon(NativeId id, const std::vector<IconImage>& images) override;
    void SetFrameFunctions(NativeId id, bool resizable, bool minimizable, bool maximizable) override;
    void RaiseTopLevel(NativeId id, bool activate) override;
    NativeId FocusedTopLevel() const override;
    FrameExtents FrameFor(TopLevelKind kind, bool resizable) const override;
    void Present(NativeId id, cairo_surface_t* backBuffer, const RECT& area) override;
    void SetCursorShape(NativeId id, CursorShape shape) override;
    void GrabPointer(NativeId id) override;
    void Beep() override;

    SIZE ScreenSize() const override;
    RECT WorkArea() const override;
    int Dpi() const override;
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

    // The X window id of a top-level (0 for an unknown id), for tests and
    // tools that drive the window from outside.
    unsigned long XWindowOf(NativeId id) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}
