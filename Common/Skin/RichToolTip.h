#pragma once
// A pop-up window that shows mark-up tips for tools: rectangles of the child
// windows of one parent. The parent hands its mouse and keyboard messages to
// RelayEvent; timers decide when a tip comes up, how long it stays and how it
// fades, and the tip is placed beside its anchor inside the work area of the
// monitor it is on, as a balloon with an anchor or as a plain rectangle,
// with rounded corners and a soft shadow cast on what lies under it. The
// buttons of registered tool bars are tools as well.
#include "Common/Skin/Drawing/MarkupDrawer.h"
#include "Platform/Framework/Windows/Wnd.h"

#include <map>
#include <string>
#include <vector>

namespace ZELL::Skin {

class CRichToolTip : public CWnd {
public:
    // Optional fields of a tool; a field whose bit is clear takes the
    // tooltip's default when the tip shows.
    static constexpr UINT MASK_EFFECT = 0x2;
    static constexpr UINT MASK_COLORS = 0x4;
    static constexpr UINT MASK_DIRECTION = 0x8;
    static constexpr UINT MASK_BEHAVIOUR = 0x10;
    static constexpr UINT MASK_TRANSPARENCY = 0x20;

    // Behaviour flags.
    static constexpr UINT FORGET_ON_HIDE = 0x1;  // pointing at the tool again shows it again
    static constexpr UINT FOLLOW_POINTER = 0x2;  // the tip moves with the pointer
    static constexpr UINT MOVE_RESTARTS = 0x4;   // moving inside the tool restarts the auto-hide
    static constexpr UINT ENTERABLE = 0x8;       // the pointer may enter the tip (for its links)
    static constexpr UINT NO_AUTO_HIDE = 0x10;

    // Direction = side + anchor position along that side.
    static constexpr int SIDE_BELOW = 0x00;
    static constexpr int SIDE_ABOVE = 0x10;
    static constexpr int SIDE_RIGHT = 0x20;
    static constexpr int SIDE_LEFT = 0x30;
    static constexpr int POSITION_START = 0;
    static constexpr int POSITION_END = 1;
    static constexpr int POSITION_CENTER = 2;

    // Delay types of SetDelayTime and GetDelayTime.
    static constexpr int kDelayAutoPop = 2;
    static constexpr int kDelayInitial = 3;
    static constexpr int kDelayFadeIn = 4;
    static constexpr int kDelayFadeOut = 5;
    static constexpr int kDelayAnimation = 6;

    static constexpr UINT_PTR kTimerShow = 256;
    static constexpr UINT_PTR kTimerHide = 257;
    static constexpr UINT_PTR kTimerFadeIn = 258;
    static constexpr UINT_PTR kTimerFadeOut = 259;
    static constexpr UINT_PTR kTimerAnimation = 260;

    static constexpr UINT NOTIFY_BEFORE_SHOW = WM_USER + 100;
    static constexpr UINT MESSAGE_LINK_HOVER = WM_USER + 101;
    static constexpr const wchar_t* kClassName = L"ZellSuperTooltip";

    // What a tool bar answers about its buttons.
    static constexpr UINT TB_GETBUTTON = WM_USER + 23;
    static constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
    static constexpr UINT TB_GETITEMRECT = WM_USER + 29;
    struct ToolBarButton {
        int bitmap = 0;
        int command = 0;
        BYTE state = 0;
        BYTE style = 0;
        BYTE reserved[6] = {};
        DWORD_PTR data = 0;
        INT_PTR string = 0;
    };

    enum class State { Hidden = 0, FadingIn = 1, Shown = 2, Hiding = 3 };

    struct ToolInfo {
        int id = 0;
        RECT rect{};  // client coordinates of the tool's window; empty: the whole window
        std::wstring text;
        UINT mask = 0;
        int direction = SIDE_ABOVE;
        int effect = 0;
        UINT behaviour = 0;
        BYTE granularity = 0;
        BYTE transparency = 0;
        COLORREF colorBegin = 0;
        COLORREF colorMiddle = 0;
        COLORREF colorEnd = 0;
        UINT key = 0;
        UINT keyValue = 0;
        bool anchorAtControl = false;
        bool addRectLeft = false;
    };

    // What the parent gets with NOTIFY_BEFORE_SHOW; it may change the
    // anchor and the tool.
    struct NotifyInfo {
        NMHDR header{};
        HWND toolWindow = nullptr;
        POINT* anchor = nullptr;
        ToolInfo* tool = nullptr;
    };

    CRichToolTip();
    ~CRichToolTip() override;

    BOOL Create(CWnd* parent, BOOL balloon = TRUE);
    BOOL DestroyWindow() override;

    void AddTool(HWND window, const ToolInfo& tool);
    void AddToolText(HWND window, const std::wstring& text, int id = 0, const RECT* rect = nullptr);
    // The icon's handle is written with its full value and read back
    // through the handle table.
    void AddToolIconHandle(HWND window, const std::wstring& text, HICON icon, int id = 0, const RECT* rect = nullptr);
    // The text beside an icon or a bitmap of the program's resources.
    void AddToolIcon(HWND window, const std::wstring& text, UINT iconId, SIZE size, int id = 0,
                     const RECT* rect = nullptr);
    void AddToolBitmap(HWND window, const std::wstring& text, UINT bitmapId, COLORREF mask, SIZE size, int id = 0,
                       const RECT* rect = nullptr);
    // The same with the text from the program's string resources.
    void AddToolText(HWND window, UINT textId, int id = 0, const RECT* rect = nullptr);
    void AddToolIconHandle(HWND window, UINT textId, HICON icon, int id = 0, const RECT* rect = nullptr);
    void AddToolIcon(HWND window, UINT textId, UINT iconId, SIZE size, int id = 0, const RECT* rect = nullptr);
    void AddToolBitmap(HWND window, UINT textId, UINT bitmapId, COLORREF mask, SIZE size, int id = 0,
                       const RECT* rect = nullptr);
    // A window that answers the tool-bar messages: each of its buttons is a
    // tool whose tip is the second line of its command's string resource.
    void AddToolBar(HWND bar);
    void RemoveTool(HWND window, int id);
    void RemoveAllTools();
    bool GetTool(HWND window, int id, ToolInfo& tool) const;
    void UpdateTipText(const std::wstring& text, HWND window, int id);

    void SetDelayTime(int type, UINT milliseconds);
    UINT GetDelayTime(int type) const;
    void SetBalloonForm(bool balloon);
    void SetGeometry(int index, int value);
    void SetColors(COLORREF begin, COLORREF middle, COLORREF end);
    void SetBorder(COLORREF color, int width, int height);
    // Begin, middle and end colour of tools without colours of their own.
    COLORREF GetDefaultColor(int index) const { return index >= 0 && index < 3 ? m_colors[index] : 0; }
    void SetEffect(int effect, BYTE granularity) { m_effect = effect; m_granularity = granularity; }
    void SetBehaviour(UINT flags) { m_behaviour = flags; }
    void SetDirection(int direction) { m_direction = direction; }
    void SetTransparency(int transparency);
    void SetShadow(int offsetX, int offsetY, int darkness, bool gradient, int blurX, int blurY)
    {
        m_shadow.Set(offsetX, offsetY, darkness, gradient, blurX, blurY);
    }
    void SetNotify(bool on) { m_notify = on; }
    // Tips that describe whatever window is under the pointer, for finding
    // one's way around a dialog.
    void SetWindowInfoMode(bool on) { m_windowInfo = on; }
    CMarkupDrawer& Drawer() { return m_drawer; }

    // Screen point; with an icon the text stands beside it.
    void ShowHelpTip(POINT point, const std::wstring& text, HICON icon = nullptr);
    void ShowHelpTip(POINT point, UINT textId, HICON icon = nullptr);
    // The resource text beside an icon of the program's resources.
    void ShowHelpTip(POINT point, UINT textId, UINT iconId, SIZE iconSize);
    // At the centre of the owner's control (0: the owner itself), with the
    // system icon of a message-box icon type (MB_ICONHAND ...).
    void ShowHelpTipAtControl(const std::wstring& text, UINT iconType, int controlId);
    void HideTip();
    void Pop();
    // TRUE when the message was swallowed (the shown tool's key).
    BOOL RelayEvent(MSG* msg);

    State GetState() const { return m_state; }
    int GetTransparency() const { return m_transparency; }
    const ToolInfo* ShownTool() const { return m_hasShown ? &m_shown : nullptr; }
    // Side and anchor position the shown tip took (after flipping).
    int GetActiveDirection() const { return m_activeDirection; }

    // "<table><tr><td><icon handle=...></td><td>text</td></tr></table>".
    static std::wstring IconText(HICON icon, const std::wstring& text);
    // The table the window-information mode shows for the window at the point.
    std::wstring WindowInfoText(HWND window, POINT screen) const;
    // The outline of the shown tip in window coordinates (null when hidden);
    // the window's region also holds its shadow.
    HRGN Outline() const { return m_region; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // The button of a registered tool bar under the point, as a tool.
    virtual bool HitTestToolBar(POINT screen, HWND& window, ToolInfo& tool);
    // The registered bar under the point, its button there (its command id)
    // and the button's rectangle in the bar's client coordinates.
    bool ToolBarButtonAt(POINT screen, HWND& bar, int& command, RECT& rect) const;
    virtual void FrameOutline(HDC dc);

private:
    enum Geometry { CORNER_W, CORNER_H, MARGIN_X, MARGIN_Y, ANCHOR_W, ANCHOR_H, ANCHOR_MARGIN, GEOMETRY_COUNT = 9 };
    enum class ShowMode { AtPointer, FixedPoint };

    bool FindTool(POINT screen, HWND& window, ToolInfo& tool);
    bool FindToolOf(HWND window, POINT screen, ToolInfo& tool) const;
    bool SameTool(HWND window, const ToolInfo& tool) const;
    bool PointerOverTip(POINT screen) const;
    void OnMouseMove(POINT screen);
    void ShowTool(HWND window, const ToolInfo& tool, bool wait, ShowMode mode);
    void OnShowTimer();
    void OnFadeInStep();
    void OnHideTimer();
    void OnFadeOutStep();
    void StartAutoHide();
    void FinishShow();
    bool PlaceOnMonitor();
    void FillDefaults(ToolInfo& tool) const;
    HWND ControlAtPoint() const;
    POINT AnchorPoint() const;
    void Place(SIZE body, POINT anchor, int direction);
    void MakeRegion(const std::vector<POINT>& anchorTriangle);
    void MakeAnchorStrip(bool after, bool vertical, int across);
    LONG AboveControl(LONG top) const;
    void ShowWindowInfo(POINT screen);
    void ForgetShape();
    void TakeUnder(HDC dc, int width, int height);
    void CastShadow(HDC dc);
    void Paint(HDC dc);

    CMarkupDrawer m_drawer;
    CWnd* m_parent = nullptr;
    std::map<HWND, std::vector<ToolInfo>> m_tools;

    UINT m_autoPop = 5000;
    UINT m_initial = 500;
    UINT m_fadeIn = 0;
    UINT m_fadeOut = 0;
    UINT m_behaviour = 0;
    int m_direction = SIDE_ABOVE;
    int m_effect = 0;
    BYTE m_granularity = 0;
    int m_transparencyDefault = 0;
    COLORREF m_colors[3] = {};
    COLORREF m_borderColor = 0;
    int m_borderWidth = 1;
    int m_borderHeight = 1;
    int m_geometry[GEOMETRY_COUNT] = {};
    CShadowSettings m_shadow{6, 6, 50, true, 7, 7};
    bool m_notify = false;
    bool m_windowInfo = false;
    std::vector<HWND> m_toolBars;

    State m_state = State::Hidden;
    ShowMode m_mode = ShowMode::AtPointer;
    POINT m_point{-1, -1};
    HWND m_shownWindow = nullptr;
    ToolInfo m_shown;
    bool m_hasShown = false;
    HWND m_pendingWindow = nullptr;
    ToolInfo m_pending;
    bool m_showPending = false;
    bool m_pendingWait = false;
    int m_transparency = 0;
    RECT m_content{};
    SIZE m_window{};
    RECT m_body{};          // the tip without its anchor, in window coordinates
    RECT m_strip{};         // the anchor's strip beside the body (empty without an anchor)
    RECT m_edge{};          // the body's row or column next to the strip
    HRGN m_region = nullptr;  // the outline: the rounded body and the anchor
    HBITMAP m_under = nullptr;  // what lay under the tip when it came up
    int m_activeDirection = SIDE_ABOVE;
};

}  // namespace ZELL::Skin
