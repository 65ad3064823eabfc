#include "Common/Skin/Support/ThemeHelper.h"

namespace ZELL::Skin {

namespace {

// What each function answers when the library or the function is missing.
HTHEME NoOpenThemeData(HWND, LPCWSTR) { return nullptr; }
HRESULT NoCloseThemeData(HTHEME) { return E_FAIL; }
HRESULT NoDrawThemeBackground(HTHEME, HDC, int, int, const RECT*, const RECT*) { return E_FAIL; }
HRESULT NoDrawThemeParentBackground(HWND, HDC, const RECT*) { return E_FAIL; }
HRESULT NoDrawThemeText(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) { return E_FAIL; }
BOOL NoTheme() { return FALSE; }

}

// The visual-style library does not exist on this platform: it is reported
// absent without looking for it, so that no file of its name beside the
// program or in the current folder is ever loaded as code.
CThemeHelper::CThemeHelper() = default;

CThemeHelper::CThemeHelper(LPCWSTR libraryName) : m_module(::LoadLibraryW(libraryName)) {}

CThemeHelper::~CThemeHelper()
{
    if (m_module != nullptr)
        ::FreeLibrary(m_module);
    m_module = nullptr;
}

HTHEME CThemeHelper::OpenThemeData(HWND window, LPCWSTR classList)
{
    return GetProc("OpenThemeData", &NoOpenThemeData)(window, classList);
}

HRESULT CThemeHelper::CloseThemeData(HTHEME theme)
{
    return GetProc("CloseThemeData", &NoCloseThemeData)(theme);
}

HRESULT CThemeHelper::DrawThemeBackground(HTHEME theme, HWND window, HDC dc, int part, int state, const RECT* rect,
                                          const RECT* clip)
{
    if (window != nullptr) {
        if (auto parentBackground = GetProc("DrawThemeParentBackground", decltype(&NoDrawThemeParentBackground){}))
            parentBackground(window, dc, rect);
    }
    return GetProc("DrawThemeBackground", &NoDrawThemeBackground)(theme, dc, part, state, rect, clip);
}

HRESULT CThemeHelper::DrawThemeText(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int count, DWORD flags,
                                    DWORD flags2, const RECT* rect)
{
    return GetProc("DrawThemeText", &NoDrawThemeText)(theme, dc, part, state, text, count, flags, flags2, rect);
}

BOOL CThemeHelper::IsAppThemed()
{
    return GetProc("IsAppThemed", &NoTheme)();
}

BOOL CThemeHelper::IsThemeActive()
{
    return GetProc("IsThemeActive", &NoTheme)();
}

CThemeHelper& ModuleThemeHelper()
{
    static CThemeHelper theme;
    return theme;
}

}  // namespace ZELL::Skin
