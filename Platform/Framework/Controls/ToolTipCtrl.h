#pragma once
// The tooltip control. A tool is named by a window and an id: id 0 means the
// window itself is the tool (its parent gets the notifications), any other id
// a rectangle of that window.
#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Controls/CommCtrl.h"

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    // A pop-up owned by `parent`, shown even while its owner is inactive.
    BOOL Create(CWnd* parent, DWORD style = 0);

    BOOL AddTool(CWnd* wnd, LPCWSTR text = LPSTR_TEXTCALLBACK, LPCRECT toolRect = nullptr, UINT_PTR toolId = 0);
    void DelTool(CWnd* wnd, UINT_PTR toolId = 0);
    void UpdateTipText(LPCWSTR text, CWnd* wnd, UINT_PTR toolId = 0);
    void GetText(CString& text, CWnd* wnd, UINT_PTR toolId = 0) const;
    void SetToolRect(CWnd* wnd, UINT_PTR toolId, LPCRECT rect);
    BOOL GetToolInfo(TOOLINFOW& info, CWnd* wnd, UINT_PTR toolId = 0) const;
    void SetToolInfo(const TOOLINFOW* info) { SendMessage(TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(info)); }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    BOOL HitTest(CWnd* wnd, POINT at, TOOLINFOW* info) const;

    void RelayEvent(LPMSG message) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message)); }
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(activate)); }
    void Pop() { SendMessage(TTM_POP); }
    void Popup() { SendMessage(TTM_POPUP); }
    void Update() { SendMessage(TTM_UPDATE); }
    void TrackActivate(BOOL activate, TOOLINFOW* info)
    {
        SendMessage(TTM_TRACKACTIVATE, static_cast<WPARAM>(activate), reinterpret_cast<LPARAM>(info));
    }
    void TrackPosition(int x, int y) { SendMessage(TTM_TRACKPOSITION, 0, MAKELPARAM(x, y)); }

    // TTDT_AUTOMATIC: the initial delay is `delay`, the others follow from it.
    void SetDelayTime(UINT delay) { SetDelayTime(static_cast<DWORD>(TTDT_AUTOMATIC), static_cast<int>(delay)); }
    void SetDelayTime(DWORD duration, int milliseconds)
    {
        SendMessage(TTM_SETDELAYTIME, duration, MAKELPARAM(milliseconds, 0));
    }
    int GetDelayTime(DWORD duration) const { return static_cast<int>(SendMessage(TTM_GETDELAYTIME, duration)); }
    int SetMaxTipWidth(int width) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
    int GetMaxTipWidth() const { return static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH)); }
    void SetTipBkColor(COLORREF color) { SendMessage(TTM_SETTIPBKCOLOR, color); }
    COLORREF GetTipBkColor() const { return static_cast<COLORREF>(SendMessage(TTM_GETTIPBKCOLOR)); }
    void SetTipTextColor(COLORREF color) { SendMessage(TTM_SETTIPTEXTCOLOR, color); }
    COLORREF GetTipTextColor() const { return static_cast<COLORREF>(SendMessage(TTM_GETTIPTEXTCOLOR)); }
    void SetMargin(LPRECT rect) { SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(rect)); }
    void GetMargin(LPRECT rect) const { SendMessage(TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(rect)); }
    // TTI_NONE/INFO/WARNING/ERROR or an icon handle.
    BOOL SetTitle(UINT_PTR icon, LPCWSTR title)
    {
        return SendMessage(TTM_SETTITLEW, icon, reinterpret_cast<LPARAM>(title)) != 0;
    }

private:
    // The tool record that names a tool, as the control looks tools up.
    static TOOLINFOW ToolOf(CWnd* wnd, UINT_PTR toolId);
};
