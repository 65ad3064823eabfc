#include "Platform/Framework/ToolTipCtrl.h"

#include <iterator>

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {

TTTOOLINFOW ToolOf(CWnd* window, UINT_PTR toolId)
{
    TTTOOLINFOW tool;
    tool.hwnd = window != nullptr ? window->GetSafeHwnd() : nullptr;
    tool.uId = toolId;
    return tool;
}

}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    return CreateEx(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, parent != nullptr ? parent->GetSafeHwnd() : nullptr, nullptr);
}

BOOL CToolTipCtrl::AddTool(CWnd* window, LPCWSTR text, LPCRECT rect, UINT_PTR toolId)
{
    if (window == nullptr)
        return FALSE;
    TTTOOLINFOW tool = ToolOf(window, toolId);
    if (rect != nullptr)
        tool.rect = *rect;
    else
        window->GetClientRect(&tool.rect);
    tool.lpszText = const_cast<LPWSTR>(text);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
}

void CToolTipCtrl::DelTool(CWnd* window, UINT_PTR toolId)
{
    TTTOOLINFOW tool = ToolOf(window, toolId);
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CToolTipCtrl::UpdateTipText(LPCWSTR text, CWnd* window, UINT_PTR toolId)
{
    TTTOOLINFOW tool = ToolOf(window, toolId);
    tool.lpszText = const_cast<LPWSTR>(text);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CToolTipCtrl::GetText(CString& text, CWnd* window, UINT_PTR toolId) const
{
    WCHAR buffer[1024]{};
    TTTOOLINFOW tool = ToolOf(window, toolId);
    tool.lpszText = buffer;
    SendMessage(TTM_GETTEXTW, std::size(buffer), reinterpret_cast<LPARAM>(&tool));
    text = buffer;
}
