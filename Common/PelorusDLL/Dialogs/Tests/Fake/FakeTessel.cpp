// A stand-in for the user-interface library with seven of its eight exports
// (no TSLXDLL_GetIconSizeButton): it records what it was called with and
// answers with values no fall-back would give.
#include "Platform/Gdi/GdiTypes.h"
#include "Platform/Ui/WinUser.h"

#include <cwchar>
#include <string>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::wstring g_calls;
}

FAKE_EXPORT const wchar_t* FakeTesselCalls() { return g_calls.c_str(); }

FAKE_EXPORT void ZELLAboutDialog(LPCWSTR exe, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, HICON, int index)
{
    g_calls += L"about(" + std::wstring(exe) + L"," + std::to_wstring(index) + L");";
}

FAKE_EXPORT int ZELLBalloonMsg(LPCWSTR title, LPCWSTR text, HWND, HWND, HINSTANCE, UINT icon, BOOL, UINT, const POINT*,
                               BOOL)
{
    g_calls += L"balloon(" + std::wstring(title) + L"," + std::wstring(text) + L"," + std::to_wstring(icon) + L");";
    return 0;
}

FAKE_EXPORT int DestroyZELLBalloonMsg() { return 0; }

FAKE_EXPORT int ZELLMessageBox(LPCWSTR text, UINT type, LPCWSTR caption, UINT)
{
    g_calls += L"box(" + std::wstring(text) + L"," + std::to_wstring(type) + L"," + std::wstring(caption) + L");";
    return IDRETRY;
}

FAKE_EXPORT void TSLXDLL_SetLanguage(WORD language) { g_calls += L"language(" + std::to_wstring(language) + L");"; }

FAKE_EXPORT void TSLXDLL_GetMainLogfont(LOGFONTW* font)
{
    *font = LOGFONTW{};
    font->lfHeight = -77;
    std::wcscpy(font->lfFaceName, L"Fake Sans");
}

FAKE_EXPORT int TSLXDLL_GetTitleFontSize() { return 17; }
