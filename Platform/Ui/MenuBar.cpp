#include "Platform/Ui/MenuBar.h"

#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"
#include "Platform/Gdi/Text.h"
#include "Platform/Ui/PopupMenuLayout.h"
#include "Platform/Ui/WindowSystem.h"

#include <cwctype>

namespace Ui {

namespace {

constexpr int kItemPadding = 6;

struct BarState {
    HMENU menu = nullptr;
    RECT bar{};
    RECT window{};
    int hot = -1;
};

BarState ReadBar(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    std::lock_guard lock(ws.Lock());
    BarState state;
    auto w = ws.Peek(hwnd);
    if (!w || w->menuBar == nullptr || (w->style & WS_CHILD) != 0)
        return state;
    state.menu = w->menuBar;
    state.hot = w->menuBarHot;
    state.window = w->rect;
    state.bar = {w->client.left, w->client.top - CMenuBar::Height(), w->client.right, w->client.top};
    return state;
}

}  // namespace

int CMenuBar::Height()
{
    return GetSystemMetrics(SM_CYMENU);
}

std::vector<MenuBarItem> CMenuBar::Layout(HMENU menu, const RECT& bar)
{
    std::vector<MenuBarItem> items;
    const int count = GetMenuItemCount(menu);
    if (count <= 0)
        return items;
    HFONT font = CreateMenuFont();
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ oldFont = SelectObject(dc, font);
    LONG x = bar.left;
    for (int i = 0; i < count; ++i) {
        MenuBarItem item;
        const int length = GetMenuStringW(menu, static_cast<UINT>(i), nullptr, 0, MF_BYPOSITION);
        item.label.resize(static_cast<std::size_t>(length) + 1);
        GetMenuStringW(menu, static_cast<UINT>(i), item.label.data(), length + 1, MF_BYPOSITION);
        item.label.resize(static_cast<std::size_t>(length));
        item.state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        RECT measure{0, 0, 0, 0};
        DrawTextW(dc, item.label.c_str(), length, &measure, DT_SINGLELINE | DT_CALCRECT);
        item.rect = {x, bar.top, x + (measure.right - measure.left) + 2 * kItemPadding, bar.bottom};
        x = item.rect.right;
        items.push_back(std::move(item));
    }
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    DeleteObject(font);
    return items;
}

void CMenuBar::Paint(HWND hwnd, HDC windowDc)
{
    const BarState state = ReadBar(hwnd);
    if (state.menu == nullptr || state.bar.bottom <= state.bar.top)
        return;
    FillRect(windowDc, &state.bar, GetSysColorBrush(COLOR_MENU));
    const int saved = SaveDC(windowDc);
    HFONT font = CreateMenuFont();
    SelectObject(windowDc, font);
    SetBkMode(windowDc, TRANSPARENT);
    const auto items = Layout(state.menu, state.bar);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuBarItem& item = items[i];
        const bool hot = static_cast<int>(i) == state.hot;
        if (hot)
            FillRect(windowDc, &item.rect, GetSysColorBrush(COLOR_HIGHLIGHT));
        const bool greyed = (item.state & (MF_GRAYED | MF_DISABLED)) != 0;
        SetTextColor(windowDc, GetSysColor(greyed ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
        RECT text = item.rect;
        DrawTextW(windowDc, item.label.c_str(), static_cast<int>(item.label.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    RestoreDC(windowDc, saved);
    DeleteObject(font);
}

int CMenuBar::ItemAtScreen(HWND hwnd, POINT screen)
{
    const BarState state = ReadBar(hwnd);
    if (state.menu == nullptr)
        return -1;
    const POINT p{screen.x - state.window.left, screen.y - state.window.top};
    const auto items = Layout(state.menu, state.bar);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (PtInRect(&items[i].rect, p))
            return static_cast<int>(i);
    }
    return -1;
}

RECT CMenuBar::ItemOnScreen(HWND hwnd, int index)
{
    const BarState state = ReadBar(hwnd);
    const auto items = Layout(state.menu, state.bar);
    if (index < 0 || static_cast<std::size_t>(index) >= items.size())
        return {};
    RECT r = items[static_cast<std::size_t>(index)].rect;
    OffsetRect(&r, state.window.left, state.window.top);
    return r;
}

int CMenuBar::MnemonicItem(HMENU menu, wchar_t c)
{
    const int count = GetMenuItemCount(menu);
    const wint_t wanted = std::towlower(static_cast<wint_t>(c));
    for (int i = 0; i < count; ++i) {
        wchar_t label[256]{};
        GetMenuStringW(menu, static_cast<UINT>(i), label, 256, MF_BYPOSITION);
        const wchar_t mnemonic = MnemonicOf(label);
        if (mnemonic != 0 && std::towlower(static_cast<wint_t>(mnemonic)) == wanted)
            return i;
    }
    return -1;
}

void CMenuBar::SetHot(HWND hwnd, int index)
{
    {
        auto& ws = WindowSystem::Get();
        std::lock_guard lock(ws.Lock());
        auto w = ws.Peek(hwnd);
        if (!w || w->menuBarHot == index)
            return;
        w->menuBarHot = index;
    }
    DrawMenuBar(hwnd);
    UpdateWindow(hwnd);
}

}
