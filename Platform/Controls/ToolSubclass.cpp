#include "Platform/Controls/ToolSubclass.h"

#include "Platform/Base/Clock.h"
#include "Platform/Controls/CommCtrl.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

namespace ZELL::Controls {

namespace {

struct Relay {
    WNDPROC previous = nullptr;
    std::vector<HWND> tips;
};

std::mutex& Lock()
{
    static std::mutex lock;
    return lock;
}

std::map<HWND, Relay>& Relays()
{
    static std::map<HWND, Relay> relays;
    return relays;
}

bool IsMouseMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_MOUSELEAVE;
}

LRESULT RelayProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Relay relay;
    {
        std::lock_guard guard(Lock());
        auto found = Relays().find(hwnd);
        if (found == Relays().end())
            return DefWindowProcW(hwnd, message, wParam, lParam);
        relay = found->second;
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(relay.previous));
            Relays().erase(found);
        }
    }
    if (IsMouseMessage(message)) {
        MSG relayed{hwnd, message, wParam, lParam, GetTickCount(), {}};
        GetCursorPos(&relayed.pt);
        for (HWND tip : relay.tips)
            if (IsWindow(tip))
                SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    return CallWindowProcW(relay.previous, hwnd, message, wParam, lParam);
}

}

void RelayMouseToTip(HWND tool, HWND tip)
{
    if (!IsWindow(tool))
        return;
    std::lock_guard guard(Lock());
    auto found = Relays().find(tool);
    if (found == Relays().end()) {
        Relay relay;
        relay.previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(tool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RelayProcedure)));
        found = Relays().emplace(tool, relay).first;
    }
    if (std::find(found->second.tips.begin(), found->second.tips.end(), tip) == found->second.tips.end())
        found->second.tips.push_back(tip);
}

void StopRelayToTip(HWND tool, HWND tip)
{
    std::lock_guard guard(Lock());
    auto found = Relays().find(tool);
    if (found == Relays().end())
        return;
    std::erase(found->second.tips, tip);
    const bool ours = GetWindowLongPtrW(tool, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&RelayProcedure);
    if (found->second.tips.empty() && ours) {
        SetWindowLongPtrW(tool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.previous));
        Relays().erase(found);
    }
}

}
