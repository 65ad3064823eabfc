#include "Platform/Framework/Windows/Wnd.h"

#include "Platform/Controls/MessageBox.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/Font.h"
#include "Platform/Framework/Windows/Menu.h"
#include "Platform/Ui/MenuMeasure.h"
#include <utility>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_NCDESTROY()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(WM_COMPAREITEM, OnReflectableMessage)
    ON_MESSAGE(WM_DELETEITEM, OnReflectableMessage)
    ON_MESSAGE(WM_PARENTNOTIFY, OnReflectableMessage)
END_MESSAGE_MAP()

namespace {

// The message each level of the thread's window procedures is handling,
// for Default().
struct CurrentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
thread_local CurrentMessage t_current;

bool IsColorMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

BOOL ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CWnd* control = CWnd::FromHandlePermanent(child);
    return control ? control->OnChildNotify(message, wParam, lParam, result) : FALSE;
}

}

// --- the window procedure ----------------------------------------------------

bool AfxIsHandlingMessage() { return t_current.hwnd != nullptr; }

LRESULT AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return AfxCallWndProc(wnd, hwnd, message, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* wnd, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const CurrentMessage outer = std::exchange(t_current, CurrentMessage{hwnd, message, wParam, lParam});
    ++wnd->m_nHandlers;
    const LRESULT result = wnd->WindowProc(message, wParam, lParam);
    // A class whose own WM_NCDESTROY handler skipped the base one still lets go.
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hwnd) == wnd) {
        wnd->Detach();
        wnd->m_pfnSuper = nullptr;
        wnd->m_bPostNcDestroyDue = true;
    }
    t_current = outer;
    --wnd->m_nHandlers;
    wnd->LetGoAfterHandlers();
    return result;
}

void CWnd::LetGoAfterHandlers()
{
    if (m_nHandlers == 0 && std::exchange(m_bPostNcDestroyDue, false))
        PostNcDestroy();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *result = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, result);
    if (IsColorMessage(message) || message == WM_REFLECT_BASE + WM_CTLCOLOR)
        return HandleColorMessage(message, wParam, lParam, result);
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message);
    if (!entry)
        return FALSE;
    ZellMsgCall call{message, wParam, lParam, 0, nullptr, 0};
    if (!entry->pfn(this, call))
        return FALSE;
    *result = call.result;
    return TRUE;
}

// Every WM_CTLCOLOR* goes to the one WM_CTLCOLOR entry with the kind of control.
BOOL CWnd::HandleColorMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const bool reflected = message >= WM_REFLECT_BASE;
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(reflected ? message : WM_CTLCOLOR);
    if (!entry)
        return FALSE;
    const UINT kind = static_cast<UINT>(reflected ? static_cast<UINT>(t_current.message) : message) - WM_CTLCOLORMSGBOX;
    ZellMsgCall call{message, wParam, lParam, kind, nullptr, 0};
    if (!entry->pfn(this, call))
        return FALSE;
    *result = call.result;
    // A control that gives no brush leaves the colours to its parent.
    return !reflected || call.result != 0;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const CurrentMessage& m = t_current;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

// --- commands, notifications, reflection --------------------------------------

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const auto control = reinterpret_cast<HWND>(lParam);
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    // The control's own reflect entry comes first; handled there, the parent
    // does not see the notification.
    if (control && ReflectToChild(control, WM_COMMAND, wParam, lParam, nullptr))
        return TRUE;
    return OnCmdMsg(id, static_cast<int>(code), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header)
        return FALSE;
    if (header->hwndFrom && ReflectToChild(header->hwndFrom, WM_NOTIFY, 0, lParam, result))
        return TRUE;
    return DispatchCommand(WM_NOTIFY, static_cast<UINT>(header->idFrom), header->code, header, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT ignored = 0;
    LRESULT* answer = result ? result : &ignored;
    switch (message) {
    case WM_COMMAND:
        return DispatchCommand(WM_REFLECT_BASE + WM_COMMAND, 0, HIWORD(wParam), nullptr, answer);
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        return DispatchCommand(WM_REFLECT_BASE + WM_NOTIFY, 0, header->code, header, answer);
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, answer);
    default:
        if (IsColorMessage(message))
            return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, wParam, lParam, answer);
        return FALSE;
    }
}

BOOL CWnd::ReflectLastMsg(HWND child, LRESULT* result)
{
    return ReflectToChild(child, t_current.message, t_current.wParam, t_current.lParam, result);
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* wnd, UINT)
{
    LRESULT brush = 0;
    if (wnd && ReflectLastMsg(wnd->m_hWnd, &brush))
        return reinterpret_cast<HBRUSH>(brush);
    return reinterpret_cast<HBRUSH>(Default());
}

// Menu items go to the menu object that owns the menu (a menu drawn only
// through a temporary wrapper has nobody to draw it); control items go back
// to their control.
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT item)
{
    if (item && item->CtlType == ODT_MENU) {
        if (CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(item->hwndItem))) {
            menu->DrawItem(item);
            return;
        }
    } else if (item && ReflectLastMsg(item->hwndItem)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT item)
{
    if (item && item->CtlType == ODT_MENU) {
        if (CMenu* menu = CMenu::FromHandlePermanent(Ui::MenuBeingMeasured())) {
            menu->MeasureItem(item);
            return;
        }
    } else if (HWND control = item ? ::GetDlgItem(m_hWnd, static_cast<int>(item->CtlID)) : nullptr;
               control && ReflectLastMsg(control)) {
        return;
    }
    Default();
}

// A scroll-bar control's bar is given back to the control.
void CWnd::OnHScroll(UINT, UINT, CScrollBar*)
{
    const auto bar = reinterpret_cast<HWND>(t_current.lParam);
    if (bar && ReflectLastMsg(bar))
        return;
    Default();
}

void CWnd::OnVScroll(UINT code, UINT pos, CScrollBar* bar) { OnHScroll(code, pos, bar); }

LRESULT CWnd::OnReflectableMessage(WPARAM wParam, LPARAM lParam)
{
    HWND child = nullptr;
    if (t_current.message == WM_PARENTNOTIFY)
        child = LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY ? reinterpret_cast<HWND>(lParam) : nullptr;
    else
        child = ::GetDlgItem(m_hWnd, static_cast<int>(wParam));
    LRESULT result = 0;
    if (child && ReflectLastMsg(child, &result))
        return result;
    return Default();
}

void CWnd::OnNcDestroy()
{
    Default();
    Detach();
    m_pfnSuper = nullptr;
    m_bPostNcDestroyDue = true;
    LetGoAfterHandlers();
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep)
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageW(child, message, wParam, lParam);
        if (deep) {
            CWnd descendant;
            descendant.m_hWnd = child;
            descendant.SendMessageToDescendants(message, wParam, lParam, TRUE);
            descendant.m_hWnd = nullptr;
        }
    }
}
