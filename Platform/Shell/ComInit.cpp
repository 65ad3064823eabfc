#include "Platform/Shell/ComInit.h"

namespace {

struct ThreadComState {
    int comCount = 0;
    int oleCount = 0;
    bool multithreaded = false;
};

thread_local ThreadComState t_state;

}  // namespace

HRESULT CoInitializeEx(LPVOID, DWORD flags)
{
    const bool multithreaded = (flags & COINIT_APARTMENTTHREADED) == 0;
    if (t_state.comCount > 0 && t_state.multithreaded != multithreaded)
        return RPC_E_CHANGED_MODE;
    t_state.multithreaded = multithreaded;
    return t_state.comCount++ == 0 ? S_OK : S_FALSE;
}

HRESULT CoInitialize(LPVOID reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

void CoUninitialize()
{
    if (t_state.comCount > 0)
        --t_state.comCount;
}

HRESULT OleInitialize(LPVOID reserved)
{
    const HRESULT com = CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
    if (FAILED(com))
        return com;
    return t_state.oleCount++ == 0 ? S_OK : S_FALSE;
}

void OleUninitialize()
{
    if (t_state.oleCount == 0)
        return;
    --t_state.oleCount;
    CoUninitialize();
}
