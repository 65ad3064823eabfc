// Control ids and the tab and group order of a dialog's controls.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

}

HWND GetDlgItem(HWND dialog, int id)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(dialog);
    if (!w)
        return nullptr;
    for (HWND child : w->children) {
        auto c = ws.Peek(child);
        if (c && static_cast<int>(c->id) == id)
            return child;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    return w && (w->style & WS_CHILD) != 0 ? static_cast<int>(w->id) : 0;
}

int SetDlgCtrlID(HWND hwnd, int id)
{
    return static_cast<int>(SetWindowLongPtrW(hwnd, GWLP_ID, id));
}

namespace {

// The controls of a dialog in tab order, descending into WS_EX_CONTROLPARENT
// children as the platform does.
void TabOrder(WindowSystem& ws, const Window& parent, std::vector<std::shared_ptr<Window>>& out)
{
    for (HWND child : parent.children) {
        auto c = ws.Peek(child);
        if (!c)
            continue;
        if ((c->exStyle & WS_EX_CONTROLPARENT) != 0 && (c->style & WS_VISIBLE) != 0 && (c->style & WS_DISABLED) == 0)
            TabOrder(ws, *c, out);
        else
            out.push_back(c);
    }
}

bool Usable(const Window& w)
{
    return (w.style & WS_VISIBLE) != 0 && (w.style & WS_DISABLED) == 0;
}

// The controls of a dialog in tab order; false when the dialog is not a window.
bool DialogTabOrder(WindowSystem& ws, HWND dialog, std::vector<std::shared_ptr<Window>>& order)
{
    auto d = ws.Find(dialog);
    if (!d)
        return false;
    TabOrder(ws, *d, order);
    return true;
}

// The control's place in the tab order (its last, should it stand twice), or -1.
std::ptrdiff_t PlaceOf(const std::vector<std::shared_ptr<Window>>& order, HWND control)
{
    std::ptrdiff_t place = -1;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i]->hwnd == control)
            place = static_cast<std::ptrdiff_t>(i);
    }
    return place;
}

// A window inside a control (the edit of a combo box, say) stands in the
// order where that control stands. Bounded by the tree's depth.
std::ptrdiff_t PlaceOfOrAncestor(WindowSystem& ws, const std::vector<std::shared_ptr<Window>>& order, HWND control)
{
    for (int depth = 0; control != nullptr && depth < 64; ++depth) {
        if (const std::ptrdiff_t place = PlaceOf(order, control); place >= 0)
            return place;
        auto w = ws.Peek(control);
        if (!w || (w->style & WS_CHILD) == 0)
            break;
        control = w->parent;
    }
    return -1;
}

}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    std::vector<std::shared_ptr<Window>> order;
    if (!DialogTabOrder(ws, dialog, order))
        return nullptr;
    if (order.empty())
        return nullptr;
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    std::ptrdiff_t start = PlaceOfOrAncestor(ws, order, control);
    if (start < 0)
        start = previous ? 0 : n - 1;
    for (std::ptrdiff_t step = 1; step <= n; ++step) {
        const std::ptrdiff_t i = ((start + (previous ? -step : step)) % n + n) % n;
        const auto& c = order[static_cast<std::size_t>(i)];
        if (Usable(*c) && (c->style & WS_TABSTOP) != 0)
            return c->hwnd;
    }
    return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    std::vector<std::shared_ptr<Window>> order;
    if (!DialogTabOrder(ws, dialog, order))
        return nullptr;
    const auto n = static_cast<std::ptrdiff_t>(order.size());
    const std::ptrdiff_t at = PlaceOfOrAncestor(ws, order, control);
    if (at < 0)
        return n > 0 ? order.front()->hwnd : nullptr;
    // The group runs from a WS_GROUP control up to the next one.
    std::ptrdiff_t first = at;
    while (first > 0 && (order[static_cast<std::size_t>(first)]->style & WS_GROUP) == 0)
        --first;
    std::ptrdiff_t last = at + 1;
    while (last < n && (order[static_cast<std::size_t>(last)]->style & WS_GROUP) == 0)
        ++last;
    const std::ptrdiff_t size = last - first;
    for (std::ptrdiff_t step = 1; step <= size; ++step) {
        const std::ptrdiff_t offset = ((at - first + (previous ? -step : step)) % size + size) % size;
        const auto& c = order[static_cast<std::size_t>(first + offset)];
        if (Usable(*c))
            return c->hwnd;
    }
    return control;
}
