#pragma once
// Which window takes drops through which target. The registry does not own
// the targets: whoever registers one revokes it before the target goes. A
// window destroyed without that leaves a stale entry, which is never found
// again (a window handle comes back only after a very long time) and is
// dropped on the next change.

#include "Platform/Shell/DropTarget.h"
#include "Platform/Ui/WinUser.h"

#include <map>
#include <mutex>

class CDropTargetRegistry {
public:
    static CDropTargetRegistry& Get();

    // E_INVALIDARG for a null target, DRAGDROP_E_INVALIDHWND for no window,
    // DRAGDROP_E_ALREADYREGISTERED when the window has a target already.
    HRESULT Register(HWND window, IDropTarget* target);
    // DRAGDROP_E_NOTREGISTERED when the window has no target.
    HRESULT Revoke(HWND window);

    // The target of the window, or of its nearest ancestor that has one;
    // `registered` gets that window. Only windows of the calling thread take
    // drops: their targets run on the thread that made them.
    IDropTarget* TargetAt(HWND window, HWND* registered) const;
    // The target registered for exactly this window, null when it has gone.
    IDropTarget* TargetOf(HWND window) const;

private:
    void ForgetGoneWindowsLocked();

    mutable std::mutex m_mutex;
    std::map<HWND, IDropTarget*> m_targets;
};
