#include "Platform/Shell/DropTargetRegistry.h"

#include "Platform/Base/Thread.h"

#include <iterator>

namespace {

// Parents are followed at most this far: a deeper tree than any dialog has.
constexpr int kMaxAncestors = 64;

bool OwnedByThisThread(HWND window)
{
    return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}

CDropTargetRegistry& CDropTargetRegistry::Get()
{
    static auto* registry = new CDropTargetRegistry;
    return *registry;
}

HRESULT CDropTargetRegistry::Register(HWND window, IDropTarget* target)
{
    if (target == nullptr)
        return E_INVALIDARG;
    if (!IsWindow(window))
        return DRAGDROP_E_INVALIDHWND;
    std::lock_guard lock(m_mutex);
    ForgetGoneWindowsLocked();
    if (!m_targets.emplace(window, target).second)
        return DRAGDROP_E_ALREADYREGISTERED;
    return S_OK;
}

HRESULT CDropTargetRegistry::Revoke(HWND window)
{
    std::lock_guard lock(m_mutex);
    const bool removed = m_targets.erase(window) != 0;
    ForgetGoneWindowsLocked();
    if (removed)
        return S_OK;
    return IsWindow(window) ? DRAGDROP_E_NOTREGISTERED : DRAGDROP_E_INVALIDHWND;
}

IDropTarget* CDropTargetRegistry::TargetAt(HWND window, HWND* registered) const
{
    *registered = nullptr;
    for (int depth = 0; window != nullptr && depth < kMaxAncestors; ++depth) {
        if (IDropTarget* target = TargetOf(window)) {
            if (!OwnedByThisThread(window))
                return nullptr;
            *registered = window;
            return target;
        }
        if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0)
            break;  // a pop-up's owner is no container of it
        window = GetParent(window);
    }
    return nullptr;
}

IDropTarget* CDropTargetRegistry::TargetOf(HWND window) const
{
    if (window == nullptr)
        return nullptr;
    std::lock_guard lock(m_mutex);
    auto it = m_targets.find(window);
    return it != m_targets.end() && IsWindow(window) ? it->second : nullptr;
}

void CDropTargetRegistry::ForgetGoneWindowsLocked()
{
    for (auto it = m_targets.begin(); it != m_targets.end();)
        it = IsWindow(it->first) ? std::next(it) : m_targets.erase(it);
}
