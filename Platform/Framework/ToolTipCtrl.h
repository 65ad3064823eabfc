#pragma once
// The tooltip control: tools over rectangles of a window, their texts, and
// showing on or off.
#include "Platform/Framework/Wnd.h"
#include "Platform/Controls/CommCtrl.h"

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    // A pop-up owned by the parent's window.
    BOOL Create(CWnd* parent, DWORD style = 0);
    // A tool over a rectangle of `window`; a null rectangle is its client area.
    BOOL AddTool(CWnd* window, LPCWSTR text, LPCRECT rect = nullptr, UINT_PTR toolId = 0);
    void DelTool(CWnd* window, UINT_PTR toolId = 0);
    void UpdateTipText(LPCWSTR text, CWnd* window, UINT_PTR toolId = 0);
    // The tool's text; empty when there is no such tool.
    void GetText(CString& text, CWnd* window, UINT_PTR toolId = 0) const;
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(activate)); }
    int SetMaxTipWidth(int width) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    void RelayEvent(LPMSG msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
};
