#include "Platform/Ui/MenuTracker.h"

#include "Platform/Ui/MenuBar.h"

#include <algorithm>

namespace Ui {

namespace {

thread_local CMenuTracker* g_current = nullptr;

constexpr WORD kMenuClosed = 0xFFFF;
constexpr LPARAM kPreviouslyDown = 1 << 30;

RECT WorkAreaAt(POINT p)
{
    MONITORINFO info;
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool Overlaps(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

LONG ClampStart(LONG start, LONG length, LONG low, LONG high)
{
    return std::max(low, std::min(start, high - length));
}

bool IsMouseMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool IsKeyMessage(UINT message)
{
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

POINT ScreenPointOf(const MSG& msg)
{
    POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && msg.hwnd != nullptr)
        ClientToScreen(msg.hwnd, &p);
    return p;
}

}  // namespace

POINT PlacePopupMenu(SIZE size, POINT anchor, UINT flags, const RECT* exclude, const RECT& work)
{
    LONG x = anchor.x;
    LONG y = anchor.y;
    if (flags & TPM_RIGHTALIGN)
        x -= size.cx;
    else if (flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    if (flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    else if (flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    // Past the right or bottom edge a menu turns round its anchor.
    if (x + size.cx > work.right && (flags & (TPM_RIGHTALIGN | TPM_CENTERALIGN)) == 0)
        x = anchor.x - size.cx;
    if (y + size.cy > work.bottom && (flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN)) == 0)
        y = anchor.y - size.cy;
    x = ClampStart(x, size.cx, work.left, work.right);
    y = ClampStart(y, size.cy, work.top, work.bottom);
    RECT place{x, y, x + size.cx, y + size.cy};
    if (exclude == nullptr || !Overlaps(place, *exclude))
        return {x, y};
    if (flags & TPM_VERTICAL) {
        y = exclude->bottom + size.cy <= work.bottom ? exclude->bottom : exclude->top - size.cy;
        y = std::max(work.top, y);
    } else {
        x = exclude->right + size.cx <= work.right ? exclude->right : exclude->left - size.cx;
        x = std::max(work.left, x);
    }
    return {x, y};
}

CMenuTracker::CMenuTracker(HWND owner, UINT flags, bool systemMenu)
    : m_owner(owner), m_flags(flags), m_systemMenu(systemMenu), m_outer(g_current)
{
    g_current = this;
}

CMenuTracker::~CMenuTracker()
{
    g_current = m_outer;
}

CMenuTracker* CMenuTracker::Current()
{
    return g_current;
}

bool CMenuTracker::ItemRect(HMENU menu, int index, RECT& rect) const
{
    for (const auto& level : m_levels) {
        if (level->Menu() == menu && level->Item(index) != nullptr) {
            rect = level->ItemOnScreen(index);
            return true;
        }
    }
    return false;
}

void CMenuTracker::Notify(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (m_owner != nullptr && (m_flags & TPM_NONOTIFY) == 0)
        SendMessageW(m_owner, message, wParam, lParam);
}

UINT CMenuTracker::TrackPopup(HMENU menu, POINT anchor, const RECT* exclude)
{
    Notify(WM_ENTERMENULOOP, TRUE, 0);
    Notify(WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    if (!OpenFirst(menu, anchor, exclude, 0)) {
        Notify(WM_EXITMENULOOP, TRUE, 0);
        return 0;
    }
    m_capture = m_levels.front()->Hwnd();
    return Run();
}

UINT CMenuTracker::TrackBar(int index, bool open)
{
    m_barMenu = GetMenu(m_owner);
    const int count = GetMenuItemCount(m_barMenu);
    if (count <= 0)
        return 0;
    Notify(WM_ENTERMENULOOP, FALSE, 0);
    Notify(WM_INITMENU, reinterpret_cast<WPARAM>(m_barMenu), 0);
    m_capture = m_owner;
    SelectBar(std::clamp(index, 0, count - 1), open);
    return Run();
}

UINT CMenuTracker::Run()
{
    SetCapture(m_capture);
    // An owner hidden while its menu is open (its dialog ended, closed from
    // another program) takes the menu with it; one hidden from the start
    // (a tray's window) keeps it.
    const bool ownerShown = m_owner != nullptr && IsWindowVisible(m_owner);
    bool idleSent = false;
    MSG msg;
    while (!m_done) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            Idle(idleSent);
            continue;
        }
        idleSent = false;
        if (msg.message == WM_QUIT) {
            m_quit = true;
            m_quitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (CallMsgFilterW(&msg, MSGF_MENU))
            continue;
        OnMessage(msg);
        // Whoever takes the mouse away ends the menu, and so does the owner's end.
        if (!m_done && (GetCapture() != m_capture || (m_owner != nullptr && !IsWindow(m_owner)) ||
                        (ownerShown && !IsWindowVisible(m_owner))))
            m_done = true;
    }
    Finish();
    if (m_quit)
        PostQuitMessage(m_quitCode);
    return m_chose ? m_command : 0;
}

void CMenuTracker::Idle(bool& idleSent) const
{
    if (!idleSent && m_owner != nullptr) {
        idleSent = true;
        CPopupMenuWindow* inner = Innermost();
        SendMessageW(m_owner, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(inner ? inner->Hwnd() : nullptr));
        return;
    }
    WaitMessage();
}

void CMenuTracker::Finish()
{
    Notify(WM_MENUSELECT, MAKEWPARAM(0, kMenuClosed), 0);
    CloseLevelsAfter(0);
    if (BarMode())
        CMenuBar::SetHot(m_owner, -1);
    if (GetCapture() == m_capture)
        ReleaseCapture();
    Notify(WM_EXITMENULOOP, BarMode() ? FALSE : TRUE, 0);
    PostChoice();
}

void CMenuTracker::PostChoice() const
{
    if (!m_chose || m_owner == nullptr || (m_flags & (TPM_RETURNCMD | TPM_NONOTIFY)) != 0)
        return;
    if (m_systemMenu) {
        const LPARAM where = m_choseByMouse ? MAKELPARAM(m_choicePoint.x, m_choicePoint.y) : 0;
        PostMessageW(m_owner, WM_SYSCOMMAND, m_command, where);
    } else {
        PostMessageW(m_owner, WM_COMMAND, MAKEWPARAM(m_command, 0), 0);
    }
}

// ---------------------------------------------------------------------------
// Levels
// ---------------------------------------------------------------------------

bool CMenuTracker::OpenFirst(HMENU menu, POINT anchor, const RECT* exclude, int from)
{
    Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(from, m_systemMenu ? TRUE : FALSE));
    auto level = std::make_unique<CPopupMenuWindow>(menu, m_owner, [this] { Cancel(); });
    if (!level->Prepare()) {
        Notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, m_systemMenu ? MF_SYSMENU : 0));
        return false;
    }
    const POINT at = PlacePopupMenu(level->Size(), anchor, m_flags, exclude, WorkAreaAt(anchor));
    level->m_openedFrom = from;
    if (!level->Show(at, m_owner != nullptr ? GetAncestor(m_owner, GA_ROOT) : nullptr))
        return false;
    m_levels.push_back(std::move(level));
    return true;
}

bool CMenuTracker::OpenSub(int index, bool selectFirst)
{
    CPopupMenuWindow* parent = Innermost();
    const MenuItemBox* item = parent ? parent->Item(index) : nullptr;
    if (item == nullptr || !item->IsPopup() || !item->IsEnabled())
        return false;
    const HMENU sub = item->entry.subMenu;
    const RECT itemRect = parent->ItemOnScreen(index);
    const RECT parentRect = parent->WindowOnScreen();
    Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(index, m_systemMenu ? TRUE : FALSE));
    auto level = std::make_unique<CPopupMenuWindow>(sub, m_owner, [this] { Cancel(); });
    if (!level->Prepare()) {
        Notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(0, m_systemMenu ? MF_SYSMENU : 0));
        return false;
    }
    // Beside the item, overlapping the parent's border; on the left when the right has no room.
    const SIZE size = level->Size();
    const RECT work = WorkAreaAt({itemRect.left, itemRect.top});
    LONG x = parentRect.right - CPopupMenuLayout::kBorder;
    if (x + size.cx > work.right)
        x = parentRect.left - size.cx + CPopupMenuLayout::kBorder;
    const POINT at{ClampStart(x, size.cx, work.left, work.right),
                   ClampStart(itemRect.top - CPopupMenuLayout::kBorder, size.cy, work.top, work.bottom)};
    level->m_openedFrom = index;
    if (!level->Show(at, m_owner != nullptr ? GetAncestor(m_owner, GA_ROOT) : nullptr))
        return false;
    m_levels.push_back(std::move(level));
    if (selectFirst)
        Select(*m_levels.back(), m_levels.back()->Layout().NextSelectable(-1, 1), false);
    return true;
}

void CMenuTracker::CloseLevelsAfter(std::size_t keep)
{
    while (m_levels.size() > keep) {
        const HMENU menu = m_levels.back()->Menu();
        m_levels.pop_back();
        Notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, m_systemMenu ? MF_SYSMENU : 0));
    }
}

CPopupMenuWindow* CMenuTracker::Innermost() const
{
    return m_levels.empty() ? nullptr : m_levels.back().get();
}

void CMenuTracker::Select(CPopupMenuWindow& level, int index, bool byMouse)
{
    if (level.Selected() == index)
        return;
    level.Select(index);
    const MenuItemBox* item = level.Item(index);
    if (item == nullptr)
        return;
    UINT flags = (item->entry.type | item->entry.state | MF_HILITE) & 0xFFFF;
    if (item->IsPopup())
        flags |= MF_POPUP;
    if (byMouse)
        flags |= MF_MOUSESELECT;
    if (m_systemMenu)
        flags |= MF_SYSMENU;
    const UINT what = item->IsPopup() ? static_cast<UINT>(index) : item->entry.id;
    Notify(WM_MENUSELECT, MAKEWPARAM(what, flags), reinterpret_cast<LPARAM>(level.Menu()));
}

void CMenuTracker::Execute(int index)
{
    CPopupMenuWindow* level = Innermost();
    const MenuItemBox* item = level ? level->Item(index) : nullptr;
    if (item == nullptr || item->IsSeparator())
        return;
    Select(*level, index, false);
    if (item->IsPopup())
        OpenSub(index, true);
    else if (item->IsEnabled())
        Choose(*item);
}

void CMenuTracker::Choose(const MenuItemBox& item)
{
    m_command = item.entry.id;
    m_chose = true;
    m_done = true;
}

// ---------------------------------------------------------------------------
// Input
// ---------------------------------------------------------------------------

void CMenuTracker::OnMessage(MSG& msg)
{
    if (IsMouseMessage(msg.message)) {
        OnMouse(msg);
    } else if (IsKeyMessage(msg.message)) {
        OnKey(msg);
    } else {
        DispatchMessageW(&msg);
    }
}

void CMenuTracker::OnKey(MSG& msg)
{
    switch (msg.message) {
    case WM_CHAR:
    case WM_SYSCHAR:
        OnChar(static_cast<wchar_t>(msg.wParam));
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        break;
    default:
        return;  // key releases and dead keys stay with the menu
    }
    CPopupMenuWindow* inner = Innermost();
    const bool onBarOnly = BarMode() && inner == nullptr;
    switch (msg.wParam) {
    case VK_UP:
    case VK_DOWN: {
        if (onBarOnly) {
            SelectBar(m_barIndex, true);
            return;
        }
        if (inner != nullptr)
            Select(*inner, inner->Layout().NextSelectable(inner->Selected(), msg.wParam == VK_DOWN ? 1 : -1), false);
        return;
    }
    case VK_RIGHT:
        if (inner != nullptr && inner->SelectedItem() && inner->SelectedItem()->IsPopup() && inner->SelectedItem()->IsEnabled())
            OpenSub(inner->Selected(), true);
        else if (BarMode())
            MoveInBar(1);
        return;
    case VK_LEFT:
        if (m_levels.size() > 1)
            CloseLevelsAfter(m_levels.size() - 1);
        else if (BarMode())
            MoveInBar(-1);
        return;
    case VK_RETURN:
        if (onBarOnly)
            SelectBar(m_barIndex, true);
        else if (inner != nullptr && inner->Selected() >= 0)
            Execute(inner->Selected());
        return;
    case VK_ESCAPE:
        if (m_levels.size() > 1 || (BarMode() && m_levels.size() == 1))
            CloseLevelsAfter(m_levels.size() - 1);
        else
            Cancel();
        return;
    case VK_MENU:
    case VK_F10:
        // Alt or F10 pressed anew leaves the menu; the repeats of a held key do not.
        if ((msg.lParam & kPreviouslyDown) == 0)
            Cancel();
        return;
    default:
        TranslateMessage(&msg);
        return;
    }
}

void CMenuTracker::OnChar(wchar_t c)
{
    if (c < L' ')
        return;
    CPopupMenuWindow* inner = Innermost();
    if (inner == nullptr) {
        const int index = CMenuBar::MnemonicItem(m_barMenu, c);
        if (index >= 0)
            SelectBar(index, true);
        else
            AskOwnerForChar(c, m_barMenu, true);
        return;
    }
    const std::vector<int> matches = inner->Layout().MnemonicMatches(c);
    if (matches.size() == 1) {
        Execute(matches.front());
        return;
    }
    if (matches.size() > 1) {
        // Several items share the key: each press moves to the next of them.
        auto next = std::upper_bound(matches.begin(), matches.end(), inner->Selected());
        Select(*inner, next == matches.end() ? matches.front() : *next, false);
        return;
    }
    AskOwnerForChar(c, inner->Menu(), false);
}

void CMenuTracker::AskOwnerForChar(wchar_t c, HMENU menu, bool bar)
{
    const UINT kind = (bar ? 0 : MF_POPUP) | (m_systemMenu ? MF_SYSMENU : 0);
    const LRESULT answer = m_owner != nullptr
                               ? SendMessageW(m_owner, WM_MENUCHAR, MAKEWPARAM(c, kind), reinterpret_cast<LPARAM>(menu))
                               : 0;
    const int index = LOWORD(static_cast<DWORD_PTR>(answer));
    switch (HIWORD(static_cast<DWORD_PTR>(answer))) {
    case MNC_EXECUTE:
        if (bar)
            SelectBar(index, true);
        else
            Execute(index);
        return;
    case MNC_SELECT:
        if (bar)
            SelectBar(index, false);
        else if (CPopupMenuWindow* inner = Innermost(); inner && inner->Item(index))
            Select(*inner, index, false);
        return;
    case MNC_CLOSE:
        Cancel();
        return;
    default:
        MessageBeep(0);
        return;
    }
}

void CMenuTracker::OnMouse(const MSG& msg)
{
    const POINT p = ScreenPointOf(msg);
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        OnMouseMove(p);
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        OnButtonDown(p);
        return;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        OnButtonUp(p, true);
        return;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
        OnButtonUp(p, (m_flags & TPM_RIGHTBUTTON) != 0);
        return;
    default:
        return;
    }
}

void CMenuTracker::OnMouseMove(POINT screen)
{
    for (std::size_t i = m_levels.size(); i-- > 0;) {
        CPopupMenuWindow& level = *m_levels[i];
        if (!level.Contains(screen))
            continue;
        const int index = level.ItemAtScreen(screen);
        const MenuItemBox* item = level.Item(index);
        if (item == nullptr || item->IsSeparator())
            return;
        // A sub-menu stays open while the pointer is on the item that opened it.
        const bool keepsChild = i + 1 < m_levels.size() && m_levels[i + 1]->m_openedFrom == index;
        if (!keepsChild)
            CloseLevelsAfter(i + 1);
        Select(level, index, true);
        if (!keepsChild && item->IsPopup())
            OpenSub(index, false);
        return;
    }
    if (BarMode()) {
        const int bar = CMenuBar::ItemAtScreen(m_owner, screen);
        if (bar >= 0 && bar != m_barIndex)
            SelectBar(bar, !m_levels.empty());
        return;
    }
    // Off every menu the innermost loses its highlight, unless it leads on to a sub-menu.
    CPopupMenuWindow* inner = Innermost();
    if (inner != nullptr && !(inner->SelectedItem() && inner->SelectedItem()->IsPopup() && m_levels.size() > 1))
        inner->Select(-1);
}

void CMenuTracker::OnButtonDown(POINT screen)
{
    for (const auto& level : m_levels) {
        if (level->Contains(screen)) {
            OnMouseMove(screen);
            return;
        }
    }
    if (BarMode()) {
        const int bar = CMenuBar::ItemAtScreen(m_owner, screen);
        if (bar >= 0 && !(bar == m_barIndex && !m_levels.empty())) {
            SelectBar(bar, true);
            return;
        }
    }
    // A press outside every menu closes them and goes nowhere else.
    Cancel();
}

void CMenuTracker::OnButtonUp(POINT screen, bool allowed)
{
    for (std::size_t i = m_levels.size(); i-- > 0;) {
        CPopupMenuWindow& level = *m_levels[i];
        if (!level.Contains(screen))
            continue;
        const MenuItemBox* item = level.Item(level.ItemAtScreen(screen));
        if (!allowed || item == nullptr || item->IsPopup() || item->IsSeparator() || !item->IsEnabled())
            return;
        m_choseByMouse = true;
        m_choicePoint = screen;
        Choose(*item);
        return;
    }
}

// ---------------------------------------------------------------------------
// The menu bar
// ---------------------------------------------------------------------------

void CMenuTracker::MoveInBar(int step)
{
    const int count = GetMenuItemCount(m_barMenu);
    if (count <= 0)
        return;
    SelectBar(((m_barIndex + step) % count + count) % count, !m_levels.empty());
}

void CMenuTracker::SelectBar(int index, bool open)
{
    const int count = GetMenuItemCount(m_barMenu);
    if (index < 0 || index >= count)
        return;
    CloseLevelsAfter(0);
    m_barIndex = index;
    CMenuBar::SetHot(m_owner, index);
    const HMENU sub = GetSubMenu(m_barMenu, index);
    const UINT state = GetMenuState(m_barMenu, static_cast<UINT>(index), MF_BYPOSITION);
    UINT flags = (state & 0xFF) | MF_HILITE | (sub ? MF_POPUP : 0);
    Notify(WM_MENUSELECT, MAKEWPARAM(sub ? static_cast<UINT>(index) : GetMenuItemID(m_barMenu, index), flags),
           reinterpret_cast<LPARAM>(m_barMenu));
    if (!open)
        return;
    if (sub == nullptr) {
        // A command on the bar itself is chosen as it opens.
        if ((state & (MF_GRAYED | MF_DISABLED)) == 0) {
            m_command = GetMenuItemID(m_barMenu, index);
            m_chose = true;
            m_done = true;
        }
        return;
    }
    if ((state & (MF_GRAYED | MF_DISABLED)) != 0)
        return;
    const RECT item = CMenuBar::ItemOnScreen(m_owner, index);
    const RECT exclude = item;
    if (OpenFirst(sub, {item.left, item.bottom}, &exclude, index)) {
        CPopupMenuWindow& level = *m_levels.back();
        Select(level, level.Layout().NextSelectable(-1, 1), false);
    }
}

}
