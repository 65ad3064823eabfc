// The window tree: parents, owners, siblings in Z-order, enumeration and search.
#include "Platform/Base/LastError.h"
#include "Platform/Ui/WindowSystem.h"

#include <algorithm>
#include <functional>
#include <unistd.h>

using namespace Ui;

namespace {

using Lock = std::unique_lock<WindowLock>;

}

HWND GetParent(HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return nullptr;
    if ((w->style & WS_CHILD) != 0)
        return w->parent;
    return (w->style & WS_POPUP) != 0 ? w->owner : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return nullptr;
    switch (flags) {
    case GA_PARENT: return w->parent;
    case GA_ROOT: {
        auto root = RootOf(ws, *w);
        return root ? root->hwnd : nullptr;
    }
    case GA_ROOTOWNER: {
        auto root = RootOf(ws, *w);
        for (int depth = 0; root && root->owner != nullptr && depth < 1000; ++depth) {
            auto owner = ws.Peek(root->owner);
            if (!owner)
                break;
            root = owner;
        }
        return root ? root->hwnd : nullptr;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HWND SetParent(HWND hwnd, HWND newParent)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return nullptr;
    std::shared_ptr<Window> parent;
    if (newParent != nullptr) {
        parent = ws.Find(newParent);
        if (!parent)
            return nullptr;
        // No cycles.
        for (auto p = parent; p; p = ws.Peek(p->parent)) {
            if (p->hwnd == hwnd) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return nullptr;
            }
        }
    }
    if (IsTopLevel(*w) || !parent) {
        // Only children move between parents here; top-levels would need a native window change.
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HWND old = w->parent;
    if (auto oldParent = ws.Peek(old))
        std::erase(oldParent->children, hwnd);
    parent->children.insert(parent->children.begin(), hwnd);
    w->parent = newParent;
    cairo_region_t* all = cairo_region_create_rectangle(nullptr);
    InvalidateLocked(ws, *parent, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    cairo_region_destroy(all);
    return old;
}

const std::vector<HWND>* Ui::SiblingList(WindowSystem& ws, const Window& w)
{
    if (w.parent != nullptr) {
        auto parent = ws.Peek(w.parent);
        return parent ? &parent->children : nullptr;
    }
    if (w.messageOnly)
        return nullptr;
    return &ws.TopLevels();
}

HWND Ui::EnabledPopupLocked(WindowSystem& ws, HWND owner, bool followChain, int depth)
{
    for (HWND top : ws.TopLevels()) {
        auto owned = ws.Peek(top);
        if (!owned || owned->owner != owner || (owned->style & WS_VISIBLE) == 0)
            continue;
        if ((owned->style & WS_DISABLED) == 0)
            return top;
        if (HWND deeper = followChain && depth < 16 ? EnabledPopupLocked(ws, top, true, depth + 1) : nullptr)
            return deeper;
    }
    return nullptr;
}

HWND GetWindow(HWND hwnd, UINT command)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return nullptr;
    if (command == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    if (command == GW_OWNER)
        return w->owner;
    if (command == GW_ENABLEDPOPUP)
        return EnabledPopupLocked(ws, hwnd, false);
    const std::vector<HWND>* siblings = SiblingList(ws, *w);
    if (siblings == nullptr || siblings->empty())
        return nullptr;
    auto it = std::find(siblings->begin(), siblings->end(), hwnd);
    switch (command) {
    case GW_HWNDFIRST: return siblings->front();
    case GW_HWNDLAST: return siblings->back();
    case GW_HWNDNEXT: return it == siblings->end() || it + 1 == siblings->end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == siblings->end() || it == siblings->begin() ? nullptr : *(it - 1);
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd)
{
    if (hwnd == nullptr) {
        auto& ws = WindowSystem::Get();
        Lock lock(ws.Lock());
        return ws.TopLevels().empty() ? nullptr : ws.TopLevels().front();
    }
    return GetWindow(hwnd, GW_CHILD);
}

HWND GetNextWindow(HWND hwnd, UINT command)
{
    return GetWindow(hwnd, command);
}

BOOL IsChild(HWND parent, HWND hwnd)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Peek(hwnd);
    for (int depth = 0; w && depth < 1000; ++depth) {
        if ((w->style & WS_CHILD) == 0 || w->parent == nullptr)
            return FALSE;
        if (w->parent == parent)
            return TRUE;
        w = ws.Peek(w->parent);
    }
    return FALSE;
}

HWND GetDesktopWindow()
{
    // There is no desktop window object; null stands for the screen in the
    // functions that take one.
    return nullptr;
}

namespace {

std::vector<HWND> Snapshot(HWND parent, bool deep)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    std::vector<HWND> result;
    std::function<void(const std::vector<HWND>&)> walk = [&](const std::vector<HWND>& list) {
        for (HWND child : list) {
            result.push_back(child);
            if (deep) {
                if (auto c = ws.Peek(child))
                    walk(c->children);
            }
        }
    };
    if (parent == nullptr) {
        result = ws.TopLevels();
    } else if (auto p = ws.Find(parent)) {
        walk(p->children);
    }
    return result;
}

}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam)
{
    if (proc == nullptr)
        return FALSE;
    for (HWND child : Snapshot(parent, true)) {
        if (IsWindow(child) && !proc(child, lParam))
            return FALSE;
    }
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam)
{
    if (proc == nullptr)
        return FALSE;
    for (HWND top : Snapshot(nullptr, false)) {
        if (IsWindow(top) && !proc(top, lParam))
            return FALSE;
    }
    return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam)
{
    if (proc == nullptr)
        return FALSE;
    for (HWND top : Snapshot(nullptr, false)) {
        if (GetWindowThreadProcessId(top, nullptr) == threadId && !proc(top, lParam))
            return FALSE;
    }
    return TRUE;
}

HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName)
{
    std::vector<HWND> candidates = Snapshot(parent, false);
    auto start = candidates.begin();
    if (childAfter != nullptr) {
        start = std::find(candidates.begin(), candidates.end(), childAfter);
        if (start != candidates.end())
            ++start;
    }
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    for (auto it = start; it != candidates.end(); ++it) {
        auto w = ws.Peek(*it);
        if (!w)
            continue;
        if (className != nullptr) {
            if (IS_INTRESOURCE(className) ? w->windowClass->atom != reinterpret_cast<std::uintptr_t>(className)
                                          : UpperName(className) != UpperName(w->windowClass->name))
                continue;
        }
        if (windowName != nullptr && w->text != windowName)
            continue;
        return *it;
    }
    return nullptr;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName)
{
    return FindWindowExW(nullptr, nullptr, className, windowName);
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId)
{
    auto& ws = WindowSystem::Get();
    Lock lock(ws.Lock());
    auto w = ws.Find(hwnd);
    if (!w)
        return 0;
    if (processId != nullptr)
        *processId = static_cast<DWORD>(::getpid());
    return w->queue->threadId;
}
