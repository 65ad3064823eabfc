#pragma once
// The module a deliverable takes its resources from: its own until a piece
// of it names another (a satellite library of texts, a library handing out
// its dialogs), which must put the previous one back afterwards
// (CResourceModuleScope does).
//
// Each deliverable keeps its own: the state and the functions here are
// hidden, so every program and shared library that includes this header
// has a copy of them that the dynamic linker does not merge. A wrapper that
// reads or changes it on behalf of its deliverable must be inline or hidden
// as well, or it would reach the copy of whichever module the linker bound
// it to.
#include "Platform/Base/Module.h"

#include <atomic>

namespace Ui::ResourceModuleState {

inline __attribute__((visibility("hidden"))) std::atomic<HINSTANCE> g_current{nullptr};
inline __attribute__((visibility("hidden"))) const char kOwnMarker = 0;

}

namespace Ui {

// The module that holds this deliverable's code.
inline __attribute__((visibility("hidden"))) HINSTANCE OwnModule()
{
    static const HINSTANCE own = Platform::GetModuleOfAddress(&ResourceModuleState::kOwnMarker);
    return own;
}

inline __attribute__((visibility("hidden"))) HINSTANCE GetResourceModule()
{
    HINSTANCE module = ResourceModuleState::g_current.load();
    return module ? module : OwnModule();
}

// Gives the previous module; null goes back to the deliverable's own.
inline __attribute__((visibility("hidden"))) HINSTANCE SetResourceModule(HINSTANCE module)
{
    const HINSTANCE previous = GetResourceModule();
    ResourceModuleState::g_current.store(module);
    return previous;
}

class __attribute__((visibility("hidden"))) CResourceModuleScope {
public:
    explicit CResourceModuleScope(HINSTANCE module) : m_previous(ResourceModuleState::g_current.exchange(module)) {}
    ~CResourceModuleScope() { ResourceModuleState::g_current.store(m_previous); }
    CResourceModuleScope(const CResourceModuleScope&) = delete;
    CResourceModuleScope& operator=(const CResourceModuleScope&) = delete;

private:
    HINSTANCE m_previous = nullptr;
};

}
