#include "Platform/Shell/ComInit.h"

namespace {

struct ThreadComState {
    int comCount = 0;
    int oleCount = 0;
    bool multithreaded = false;
};

thread_local ThreadComState g_state;

}  // namespace

HRESULT CoInitializeEx(LPVOID, DWORD flags)
{
    const bool multithreaded = (flags & COINIT_APARTMENTTHREADED) == 0;
    if (g_state.comCount > 0 && g_state.multithreaded != multithreaded)
        return RPC_E_CHANGED_MODE;
    g_state.multithreaded = multithreaded;
    return g_state.comCount++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(LPVOID reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize()
{
    if (g_state.comCount > 0)
        --g_state.comCount;
}

HRESULT OleInitialize(LPVOID reserved)
{
    const HRESULT com = CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
    if (FAILED(com))
        return com;
    return g_state.oleCount++ == 0 ? S_OK : S_FALSE;
}

void OleUninitialize()
{
    if (g_state.oleCount == 0)
        return;
    --g_state.oleCount;
    CoUninitialize();
}
