#include "Platform/Framework/Controls/ToolTipCtrl.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

#include <vector>

namespace {

// A tool's text is read back through a buffer of this many characters.
constexpr std::size_t kTextBuffer = 1024;

}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    const RECT none{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, none, parent, 0);
}

TOOLINFOW CToolTipCtrl::ToolOf(CWnd* wnd, UINT_PTR toolId)
{
    TOOLINFOW info;
    if (wnd == nullptr)
        return info;
    if (toolId == 0) {
        info.hwnd = ::GetParent(wnd->GetSafeHwnd());
        info.uFlags = TTF_IDISHWND;
        info.uId = reinterpret_cast<UINT_PTR>(wnd->GetSafeHwnd());
    } else {
        info.hwnd = wnd->GetSafeHwnd();
        info.uId = toolId;
    }
    return info;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCWSTR text, LPCRECT toolRect, UINT_PTR toolId)
{
    if (wnd == nullptr)
        return FALSE;
    TOOLINFOW info = ToolOf(wnd, toolId);
    info.uFlags |= TTF_SUBCLASS;
    if (toolRect != nullptr)
        info.rect = *toolRect;
    else if (toolId != 0)
        ::GetClientRect(wnd->GetSafeHwnd(), &info.rect);
    info.lpszText = const_cast<LPWSTR>(text);
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR toolId)
{
    TOOLINFOW info = ToolOf(wnd, toolId);
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(LPCWSTR text, CWnd* wnd, UINT_PTR toolId)
{
    TOOLINFOW info = ToolOf(wnd, toolId);
    info.lpszText = const_cast<LPWSTR>(text);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::GetText(CString& text, CWnd* wnd, UINT_PTR toolId) const
{
    std::vector<wchar_t> buffer(kTextBuffer, L'\0');
    TOOLINFOW info = ToolOf(wnd, toolId);
    info.lpszText = buffer.data();
    SendMessage(TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&info));
    buffer.back() = L'\0';
    text = buffer.data();
}

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR toolId, LPCRECT rect)
{
    if (rect == nullptr)
        return;
    TOOLINFOW info = ToolOf(wnd, toolId);
    info.rect = *rect;
    SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFOW& info, CWnd* wnd, UINT_PTR toolId) const
{
    info = ToolOf(wnd, toolId);
    info.lpszText = nullptr;
    return SendMessage(TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

BOOL CToolTipCtrl::HitTest(CWnd* wnd, POINT at, TOOLINFOW* info) const
{
    if (wnd == nullptr || info == nullptr)
        return FALSE;
    TTHITTESTINFOW hit;
    hit.hwnd = wnd->GetSafeHwnd();
    hit.pt = at;
    if (SendMessage(TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)) == 0)
        return FALSE;
    *info = hit.ti;
    return TRUE;
}
