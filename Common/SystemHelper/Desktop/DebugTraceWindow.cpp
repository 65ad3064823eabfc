#include "Common/SystemHelper/Desktop/DebugTraceWindow.h"

#include "Platform/Framework/Windows/Wnd.h"
#include "Platform/Ui/Resource.h"
#include "Platform/Ui/ResourceModule.h"

std::wstring SystemHelperDetail::LoadTraceFormat(UINT id)
{
    wchar_t format[kWindowTraceLength] = {};
    const int length = ::LoadStringW(Ui::GetResourceModule(), id, format, static_cast<int>(kWindowTraceLength));
    return length > 0 ? std::wstring(format, static_cast<std::size_t>(length)) : std::wstring();
}

void SystemHelperDetail::WriteTrace(CWnd* window, const wchar_t* text)
{
    OutputDebugStringW(text);
    if (window && window->GetSafeHwnd())
        window->SetWindowText(text);
}
