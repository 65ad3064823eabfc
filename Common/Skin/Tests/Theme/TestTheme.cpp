// A theme library for the tests: it reports an active theme, hands out one
// theme handle per class list it knows, fills the background of a part with
// a colour that names part and state, and counts what it was asked, so the
// tests can see which themed path ran.
#include "Platform/Gdi/DeviceContext.h"
#include "Platform/Gdi/Draw.h"

#include <cwchar>

namespace {

int g_parentBackgrounds = 0;
int g_openThemes = 0;

HANDLE ThemeFor(LPCWSTR classList)
{
    static int button = 1;
    static int toolbar = 2;
    if (classList != nullptr && std::wcscmp(classList, L"BUTTON") == 0)
        return reinterpret_cast<HANDLE>(&button);
    if (classList != nullptr && std::wcscmp(classList, L"TOOLBAR") == 0)
        return reinterpret_cast<HANDLE>(&toolbar);
    return nullptr;
}

}

#define TEST_THEME_EXPORT extern "C" __attribute__((visibility("default")))

TEST_THEME_EXPORT BOOL IsAppThemed() { return TRUE; }
TEST_THEME_EXPORT BOOL IsThemeActive() { return TRUE; }

TEST_THEME_EXPORT HANDLE OpenThemeData(HWND, LPCWSTR classList)
{
    HANDLE theme = ThemeFor(classList);
    g_openThemes += theme != nullptr ? 1 : 0;
    return theme;
}

TEST_THEME_EXPORT HRESULT CloseThemeData(HANDLE theme)
{
    if (theme == nullptr)
        return E_FAIL;
    --g_openThemes;
    return S_OK;
}

TEST_THEME_EXPORT HRESULT DrawThemeParentBackground(HWND, HDC, const RECT*)
{
    ++g_parentBackgrounds;
    return S_OK;
}

// Part and state as the colour: red the part, green the state x 40, blue the
// class (0x10 button, 0x20 tool bar).
TEST_THEME_EXPORT HRESULT DrawThemeBackground(HANDLE theme, HDC dc, int part, int state, const RECT* rect, const RECT*)
{
    if (theme == nullptr || rect == nullptr)
        return E_FAIL;
    const BYTE kind = *reinterpret_cast<int*>(theme) == 1 ? 0x10 : 0x20;
    HBRUSH brush = CreateSolidBrush(RGB(part, state * 40, kind));
    FillRect(dc, rect, brush);
    DeleteObject(brush);
    return S_OK;
}

TEST_THEME_EXPORT int TestThemeParentBackgrounds() { return g_parentBackgrounds; }
TEST_THEME_EXPORT int TestThemeOpenCount() { return g_openThemes; }
TEST_THEME_EXPORT void TestThemeReset() { g_parentBackgrounds = 0; g_openThemes = 0; }
