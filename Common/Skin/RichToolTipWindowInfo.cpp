// The window-information mode: the tip describes the window under the
// pointer, its owner and the pointer's position.
#include "Common/Skin/RichToolTip.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

namespace ZELL::Skin {

namespace {

constexpr std::size_t kLongestValue = 25;
constexpr std::size_t kCutValue = 21;
constexpr int kNameLength = 128;

// Values are shown as text: no '<' may open a tag, and long ones are cut.
std::wstring Shown(std::wstring value)
{
    for (wchar_t& c : value) {
        if (c == L'<')
            c = L'?';
    }
    if (value.size() > kLongestValue)
        value = value.substr(0, kCutValue) + L" ...";
    return value;
}

std::wstring Row(const std::wstring& label, const std::wstring& value)
{
    return L"<tr><td width=70 bgcolor=buttonface>" + label + L"</td><td width=130 bgcolor=window>" + Shown(value) +
           L"</td></tr>";
}

std::wstring Hex(unsigned long long value)
{
    wchar_t text[24] = {};
    std::swprintf(text, 24, L"0x%08llX", value);
    return text;
}

std::wstring ClassNameOf(HWND window)
{
    wchar_t name[kNameLength] = {};
    return window ? std::wstring(name, static_cast<std::size_t>(std::max(0, GetClassNameW(window, name, kNameLength))))
                  : std::wstring();
}

std::wstring TitleOf(HWND window)
{
    wchar_t title[kNameLength] = {};
    return window ? std::wstring(title, static_cast<std::size_t>(std::max(0, GetWindowTextW(window, title, kNameLength))))
                  : std::wstring();
}

std::wstring HandleOf(HWND window)
{
    return window ? Hex(reinterpret_cast<std::uintptr_t>(window)) : std::wstring();
}

std::wstring Section(const std::wstring& title)
{
    return L"<font color=darkblue>" + title + L"</font><table border=1>";
}

} // namespace

std::wstring CRichToolTip::WindowInfoText(HWND window, POINT screen) const
{
    RECT r{};
    ::GetWindowRect(window, &r);
    wchar_t rect[64] = {};
    std::swprintf(rect, 64, L"(%ld, %ld)-(%ld, %ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right), static_cast<long>(r.bottom));
    const HWND owner = ::GetParent(window);
    std::wstring text = L"<table><tr><td>" + Section(L"Window");
    text += Row(L"Class name", ClassNameOf(window));
    text += Row(L"Title", TitleOf(window));
    text += Row(L"Handle", HandleOf(window));
    text += Row(L"Control ID", std::to_wstring(::GetDlgCtrlID(window)));
    text += Row(L"Styles", Hex(static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE))));
    text += Row(L"RECT", rect);
    text += Row(L"Width", std::to_wstring(r.right - r.left));
    text += Row(L"Height", std::to_wstring(r.bottom - r.top));
    text += Row(L"Has Tooltip", m_tools.count(window) != 0 ? L"Yes" : L"No");
    text += L"</table></td><td>" + Section(L"Window Owner");
    text += Row(L"Class name", ClassNameOf(owner));
    text += Row(L"Title", TitleOf(owner));
    text += Row(L"Handle", HandleOf(owner));
    text += L"</table><br>" + Section(L"Mouse Cursor");
    text += Row(L"X", std::to_wstring(screen.x));
    text += Row(L"Y", std::to_wstring(screen.y));
    return text + L"</table></td></tr></table>";
}

// Shown at once for the window under the pointer; the same description
// stays up without being built anew.
void CRichToolTip::ShowWindowInfo(POINT screen)
{
    HWND window = ::WindowFromPoint(screen);
    if (window == m_hWnd)
        return;
    if (window && m_parent && window == m_parent->m_hWnd) {
        // Labels let the pointer through to their parent; they are described all the same.
        POINT client = screen;
        ::ScreenToClient(window, &client);
        if (HWND child = ChildWindowFromPointEx(window, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT))
            window = child;
    }
    if (!window) {
        HideTip();
        return;
    }
    ToolInfo tool;
    tool.text = WindowInfoText(window, screen);
    if (m_hasShown && m_shownWindow == window && m_shown.text == tool.text && m_state == State::Shown)
        return;
    ShowTool(window, tool, false, ShowMode::AtPointer);
}

}  // namespace ZELL::Skin
