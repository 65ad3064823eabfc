#pragma once
// A window as an object. A CWnd made by Create/CreateEx or attached with
// SubclassWindow is permanent: the thread's map finds it for the window's
// messages until the window is destroyed (WM_NCDESTROY detaches it, then
// PostNcDestroy runs, where a self-owning window deletes itself). FromHandle
// of any other window gives a temporary CWnd that the thread's idle step frees.

#include "Platform/Base/CString.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Framework/CmdTarget.h"
#include "Platform/Framework/Rect.h"

class CDC;
class CFont;
class CMenu;
class CScrollBar;

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;  // destroys a window it still owns
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // --- handle maps ---------------------------------------------------------
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    BOOL Attach(HWND hwnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // --- creation and destruction --------------------------------------------
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                        UINT id, void* createParam = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, void* createParam = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU idOrMenu, void* createParam = nullptr);
    virtual BOOL DestroyWindow();
    // The class name of plain framework windows (registered on first use).
    static LPCWSTR DefaultClassName();

    // --- messages --------------------------------------------------------------
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message being handled, passed on to the default procedure.
    LRESULT Default();
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Gives the child the message the parent received (the parent's defaults do).
    static BOOL ReflectLastMsg(HWND child, LRESULT* result = nullptr);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    // Runs the ON_UPDATE_COMMAND_UI handlers of `target` for this window's
    // child controls; without handler, a control is disabled when asked.
    void UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler);

    // --- wrappers ---------------------------------------------------------------
    void SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(LPRECT rect) const;
    void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
    void MapWindowPoints(CWnd* to, LPRECT rect) const;
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void CenterWindow(CWnd* alternateOwner = nullptr);
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT update = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, update, region, flags);
    }
    void SetRedraw(BOOL redraw = TRUE) { SendMessage(WM_SETREDRAW, static_cast<WPARAM>(redraw), 0); }
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }
    int GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw);
    }
    BOOL SetScrollInfo(int bar, LPCSCROLLINFO info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL) const;
    void ShowScrollBar(UINT bar, BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, static_cast<int>(bar), show); }
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetDlgItemText(int id, LPCWSTR text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, id, translated, isSigned);
    }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckRadioButton(int first, int last, int checked) { ::CheckRadioButton(m_hWnd, first, last, checked); }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
    }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT command) const { return FromHandle(::GetWindow(m_hWnd, command)); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    CDC* GetDC();
    int ReleaseDC(CDC* dc);
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK);
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }

protected:
    DECLARE_MESSAGE_MAP()
public:
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}
    // The parent's defaults: each gives the control its reflected message first.
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnNcDestroy();
    LRESULT OnReflectableMessage(WPARAM wParam, LPARAM lParam);
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);

    WNDPROC m_pfnSuper = nullptr;  // the procedure the window had before

private:
    friend LRESULT AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend class CWndCreationHook;
    void AttachForCreation(HWND hwnd);
    BOOL HandleColorMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

// The window procedure of every permanent CWnd.
LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Frees the calling thread's temporary windows and drawing objects.
void AfxDeleteTempWindows();
std::size_t AfxTempWindowCount();
