#include "Platform/Ui/PopupMenuWindow.h"

#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Ui/PopupMenuPainter.h"

#include <utility>

namespace Ui {

CPopupMenuWindow::CPopupMenuWindow(HMENU menu, HWND owner, std::function<void()> onCancelMode)
    : m_menu(menu), m_owner(owner), m_onCancelMode(std::move(onCancelMode))
{
}

CPopupMenuWindow::~CPopupMenuWindow()
{
    if (m_hwnd != nullptr && IsWindow(m_hwnd)) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

void CPopupMenuWindow::RegisterMenuClass()
{
    static const bool registered = [] {
        WNDCLASSEXW wc;
        wc.style = CS_SAVEBITS | CS_DBLCLKS;
        wc.lpfnWndProc = &CPopupMenuWindow::Proc;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = ClassName();
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

bool CPopupMenuWindow::Prepare()
{
    return m_layout.Build(m_menu, m_owner) && !m_layout.Items().empty();
}

bool CPopupMenuWindow::Show(POINT at, HWND ownerTopLevel)
{
    RegisterMenuClass();
    const SIZE size = m_layout.Size();
    m_hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, ClassName(), L"", WS_POPUP | WS_CLIPSIBLINGS, at.x, at.y,
                             size.cx, size.cy, ownerTopLevel, nullptr, nullptr, nullptr);
    if (m_hwnd == nullptr)
        return false;
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowPos(m_hwnd, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(m_hwnd);
    return true;
}

void CPopupMenuWindow::Select(int index)
{
    if (index < -1 || index >= static_cast<int>(m_layout.Items().size()) || index == m_selected)
        return;
    const int old = std::exchange(m_selected, index);
    RepaintItem(old);
    RepaintItem(m_selected);
}

const MenuItemBox* CPopupMenuWindow::Item(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_layout.Items().size()))
        return nullptr;
    return &m_layout.Items()[static_cast<std::size_t>(index)];
}

const MenuItemBox* CPopupMenuWindow::SelectedItem() const
{
    return Item(m_selected);
}

RECT CPopupMenuWindow::WindowOnScreen() const
{
    RECT r{};
    GetWindowRect(m_hwnd, &r);
    return r;
}

bool CPopupMenuWindow::Contains(POINT screen) const
{
    const RECT r = WindowOnScreen();
    return PtInRect(&r, screen) != FALSE;
}

int CPopupMenuWindow::ItemAtScreen(POINT screen) const
{
    POINT client = screen;
    ScreenToClient(m_hwnd, &client);
    return m_layout.ItemAt(client);
}

RECT CPopupMenuWindow::ItemOnScreen(int index) const
{
    const MenuItemBox* item = Item(index);
    if (item == nullptr)
        return {};
    RECT r = item->rect;
    MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CPopupMenuWindow::RepaintItem(int index)
{
    const MenuItemBox* item = Item(index);
    if (item == nullptr || m_hwnd == nullptr)
        return;
    InvalidateRect(m_hwnd, &item->rect, FALSE);
    UpdateWindow(m_hwnd);
}

void CPopupMenuWindow::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hwnd, &ps);
    if (dc != nullptr)
        CPopupMenuPainter(dc, m_layout, m_menu, m_owner).PaintAll(m_selected);
    EndPaint(m_hwnd, &ps);
}

LRESULT CPopupMenuWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CPopupMenuWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_MOUSEACTIVATE:
        // The window keeps its keyboard focus while its menu is open.
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        if (self == nullptr)
            break;
        self->Paint();
        return 0;
    case MN_GETHMENU:
        return self != nullptr ? reinterpret_cast<LRESULT>(self->m_menu) : 0;
    case WM_CANCELMODE:
        if (self != nullptr && self->m_onCancelMode)
            self->m_onCancelMode();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}
