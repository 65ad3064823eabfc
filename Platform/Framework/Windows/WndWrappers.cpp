// CWnd: the thin members over the window functions.
#include "Platform/Framework/Windows/Wnd.h"

#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/MessageBox.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Framework/Drawing/Font.h"
#include "Platform/Framework/Windows/Menu.h"
#include "Platform/Framework/Controls/ScrollBar.h"

#include <algorithm>
#include <utility>
#include <vector>

CWnd* ZELL::Framework::MsgMap::WndOf(WPARAM handle) { return CWnd::FromHandle(reinterpret_cast<HWND>(handle)); }
CWnd* ZELL::Framework::MsgMap::WndOf(LPARAM handle) { return CWnd::FromHandle(reinterpret_cast<HWND>(handle)); }
CDC* ZELL::Framework::MsgMap::DcOf(WPARAM handle) { return CDC::FromHandle(reinterpret_cast<HDC>(handle)); }
CMenu* ZELL::Framework::MsgMap::MenuOf(WPARAM handle) { return CMenu::FromHandle(reinterpret_cast<HMENU>(handle)); }
CScrollBar* ZELL::Framework::MsgMap::ScrollBarOf(LPARAM handle) { return CScrollBar::FromHandle(reinterpret_cast<HWND>(handle)); }

void CWnd::GetWindowText(CString& text) const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    text = buffer.data();
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND control = ::GetDlgItem(m_hWnd, id);
    text.Empty();
    if (!control)
        return 0;
    FromHandle(control)->GetWindowText(text);
    return text.GetLength();
}

void CWnd::ClientToScreen(LPRECT rect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rect), 2); }
void CWnd::ScreenToClient(LPRECT rect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2); }

void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const
{
    ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, points, count);
}

void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const { MapWindowPoints(to, reinterpret_cast<LPPOINT>(rect), 2); }

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) { ::MoveWindow(m_hWnd, x, y, width, height, repaint); }

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}

// Over the owner (or the parent of a child), else over the screen's work
// area, kept inside that area.
void CWnd::CenterWindow(CWnd* alternateOwner)
{
    const bool child = (GetStyle() & WS_CHILD) != 0;
    HWND over = alternateOwner ? alternateOwner->m_hWnd : (child ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER));
    MONITORINFO monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(over ? over : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT area = child ? RECT{} : monitor.rcWork;
    if (child)
        ::GetClientRect(::GetParent(m_hWnd), &area);
    RECT target = area;
    if (over && !child)
        ::GetWindowRect(over, &target);
    RECT own;
    ::GetWindowRect(m_hWnd, &own);
    if (child)
        ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<LPPOINT>(&own), 2);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int x = (target.left + target.right - width) / 2;
    int y = (target.top + target.bottom - height) / 2;
    if (!child) {
        x = std::max(area.left, std::min(x, area.right - width));
        y = std::max(area.top, std::min(y, area.bottom - height));
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::SetScrollInfo(int bar, LPCSCROLLINFO info, BOOL redraw) { return ::SetScrollInfo(m_hWnd, bar, info, redraw) != 0; }

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) const
{
    info->cbSize = sizeof(SCROLLINFO);
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->GetSafeHandle() : nullptr), redraw);
}

CFont* CWnd::GetFont() const { return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))); }

CWnd* CWnd::GetOwner() const
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    return FromHandle(owner ? owner : ::GetParent(m_hWnd));
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND top = m_hWnd;
    while (top && (::GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD))
        top = ::GetParent(top);
    return FromHandle(top);
}

namespace {

BOOL ChangeStyle(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags)
{
    const auto before = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, index));
    const DWORD after = (before & ~remove) | add;
    if (before == after)
        return FALSE;
    ::SetWindowLongPtrW(hwnd, index, static_cast<LONG_PTR>(after));
    if (flags)
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) { return ChangeStyle(m_hWnd, GWL_STYLE, remove, add, flags); }
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) { return ChangeStyle(m_hWnd, GWL_EXSTYLE, remove, add, flags); }

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }

int CWnd::ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->GetSafeHdc()) : 0; }

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type)
{
    return ::MessageBoxW(m_hWnd, text, caption ? caption : L"Error", type);
}

int CWnd::GetCheckedRadioButton(int first, int last) const
{
    for (int id = first; id <= last; ++id) {
        if (::IsDlgButtonChecked(m_hWnd, id) == static_cast<UINT>(BST_CHECKED))
            return id;
    }
    return 0;
}

CWnd* CWnd::GetDescendantWindow(int id) const
{
    std::vector<HWND> level{m_hWnd};
    while (!level.empty()) {
        std::vector<HWND> next;
        for (HWND parent : level) {
            for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                if (::GetDlgCtrlID(child) == id)
                    return FromHandle(child);
                next.push_back(child);
            }
        }
        level = std::move(next);
    }
    return nullptr;
}
