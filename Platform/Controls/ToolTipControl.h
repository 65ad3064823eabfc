#pragma once
// The "tooltips_class32" class: a top-most pop-up that never activates and
// shows the text of the tool under the pointer once the pointer rested on it
// for the initial delay, hides it after the autopop delay, and shows the
// next tool's text after the shorter reshow delay. It learns of the pointer
// from TTM_RELAYEVENT, or by subclassing the tool's window (TTF_SUBCLASS).
// A tracking tool (TTF_TRACK) is shown and placed by its owner instead.
// A TTF_PARSELINKS tool shows its <a> marks as links: a click on one is
// told to the owner (TTN_LINKCLICK), and the tip stays while the pointer
// is on it.
#include "Platform/Controls/BalloonShape.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Controls/ControlWindow.h"
#include "Platform/Controls/TipLinks.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

class CToolTipControl : public CControlWindow {
public:
    using CControlWindow::CControlWindow;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    struct Tool {
        UINT flags = 0;
        HWND hwnd = nullptr;
        UINT_PTR id = 0;
        RECT rect{};
        HINSTANCE hinst = nullptr;
        std::wstring text;
        bool callback = false;
        UINT resourceId = 0;
        LPARAM param = 0;
    };

    static bool Readable(const TTTOOLINFOW* info);
    static void SetToolFields(Tool& tool, const TTTOOLINFOW& info);
    static void SetToolText(Tool& tool, const TTTOOLINFOW& info);
    void FillInfo(const Tool& tool, TTTOOLINFOW* info) const;
    int Find(const TTTOOLINFOW* info) const;
    HWND SubclassTarget(const Tool& tool) const;

    LRESULT AddTool(const TTTOOLINFOW* info);
    LRESULT DeleteTool(const TTTOOLINFOW* info);
    LRESULT NewToolRect(const TTTOOLINFOW* info);
    LRESULT GetToolInfo(TTTOOLINFOW* info) const;
    LRESULT SetToolInfo(const TTTOOLINFOW* info);
    LRESULT UpdateTipText(const TTTOOLINFOW* info);
    LRESULT GetText(WPARAM size, TTTOOLINFOW* info) const;
    LRESULT EnumTools(int index, TTTOOLINFOW* info) const;
    LRESULT CurrentTool(TTTOOLINFOW* info) const;
    LRESULT HitTest(TTHITTESTINFOW* info) const;
    LRESULT Activate(bool active);
    LRESULT TrackActivate(bool on, const TTTOOLINFOW* info);
    LRESULT TrackPosition(LPARAM position);
    LRESULT SetDelay(WPARAM which, int value);
    int Delay(WPARAM which) const;
    LRESULT PopupUnderCursor();
    LRESULT SetTitle(WPARAM icon, LPCWSTR title);
    bool Balloon() const { return (Style() & TTS_BALLOON) != 0; }
    SIZE TitleSize(HDC dc) const;
    HFONT CreateTitleFont() const;
    void PaintTitle(HDC dc, RECT& area) const;
    RECT ContentArea() const;
    // The close box of a TTS_CLOSE balloon, at the title line's right end; empty otherwise.
    RECT CloseBox() const;
    bool HasCloseBox() const { return Balloon() && (Style() & TTS_CLOSE) != 0; }
    void OnClick(POINT point);
    // A click on a link is told to the tool's owner; false when it hit none.
    bool OnLinkClick(POINT point);

    LRESULT Relay(const MSG* message);
    int ToolAt(HWND hwnd, POINT client) const;
    void Hover(int index);
    bool OwnerActive(const Tool& tool) const;
    void OnTimer(UINT_PTR id);
    int ToolUnderCursor() const;
    void CheckLeave();
    bool PointerOnTip() const;

    bool Show(int index);
    void Pop();
    void CancelPending();
    void Forget();
    std::wstring TextOf(int index);
    // The tool's text (and its links) for showing.
    void TakeText(int index);
    LRESULT Notify(const Tool& tool, UINT code) const;
    SIZE Measure(const std::wstring& text);
    // The text's own size within the maximum width, as drawn.
    SIZE TextSize(HDC dc, const std::wstring& text);
    UINT TextFormat() const;
    POINT Anchor(const Tool& tool) const;
    // Where the window goes for a tip of `size`; a balloon's shape is set to fit.
    POINT Place(const Tool& tool, SIZE size);
    void MoveTo(const Tool& tool, SIZE size);
    void Resize();

    std::vector<Tool> m_tools;
    int m_current = -1;
    int m_pending = -1;
    int m_tracked = -1;
    int m_blocked = -1;
    bool m_shown = false;
    bool m_active = true;
    bool m_everPopped = false;
    ULONGLONG m_poppedAt = 0;
    POINT m_trackPosition{};
    int m_delays[4] = {-1, -1, -1, -1};
    int m_maxWidth = -1;
    RECT m_margin{};
    COLORREF m_background = CLR_DEFAULT;
    COLORREF m_textColor = CLR_DEFAULT;
    std::wstring m_text;
    CTipLinks m_links;  // of the shown tool, when it parses links
    std::wstring m_title;
    HICON m_titleIcon = nullptr;
    CBalloonShape m_shape;
};

}
