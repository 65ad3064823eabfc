#include "Platform/Controls/ComboListBox.h"

namespace ZELL::Controls {

LRESULT CComboListBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        // The combo comes as the creation parameter; only a live window counts.
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto combo = static_cast<HWND>(create->lpCreateParams);
        if (combo != nullptr && IsWindow(combo))
            MakeDropDownOf(combo);
    }
    return CListBoxControl::OnMessage(message, wParam, lParam);
}

HWND CreateComboList(HWND combo, DWORD listStyle, const RECT& screen)
{
    if (!IsWindow(combo))
        return nullptr;
    const DWORD style = (listStyle & ~(WS_CHILD | WS_VISIBLE)) | WS_POPUP | WS_BORDER | LBS_COMBOBOX;
    return CreateWindowExW(WS_EX_TOOLWINDOW, kComboListClass, L"", style, screen.left, screen.top,
                           screen.right - screen.left, screen.bottom - screen.top, combo, nullptr, nullptr,
                           combo);
}

}
