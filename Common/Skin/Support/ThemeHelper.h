#pragma once
// The visual-style functions, bound at run time. This platform has no theme
// library, so a default helper binds none and every call answers as "no
// theme": its caller draws the classic way. Tests bind a library of their own
// by absolute path to reach the themed paths.
#include "Platform/Base/Module.h"
#include "Platform/Gdi/Gdi.h"

namespace ZELL::Skin {

using HTHEME = HANDLE;

class CThemeHelper {
public:
    CThemeHelper();
    virtual ~CThemeHelper();
    CThemeHelper(const CThemeHelper&) = delete;
    CThemeHelper& operator=(const CThemeHelper&) = delete;

    HTHEME OpenThemeData(HWND window, LPCWSTR classList);
    HRESULT CloseThemeData(HTHEME theme);
    // With a window, the parent's background is drawn under the part first.
    HRESULT DrawThemeBackground(HTHEME theme, HWND window, HDC dc, int part, int state, const RECT* rect,
                                const RECT* clip);
    HRESULT DrawThemeText(HTHEME theme, HDC dc, int part, int state, LPCWSTR text, int count, DWORD flags,
                          DWORD flags2, const RECT* rect);
    BOOL IsAppThemed();
    BOOL IsThemeActive();

    // The library's function of that name, or the fall-back.
    template<typename Function> Function GetProc(LPCSTR name, Function fallBack) const
    {
        FARPROC found = m_module != nullptr ? ::GetProcAddress(m_module, name) : nullptr;
        return found != nullptr ? reinterpret_cast<Function>(found) : fallBack;
    }

protected:
    // Binds the library at that absolute path in the theme library's place (tests).
    explicit CThemeHelper(LPCWSTR libraryName);

private:
    HMODULE m_module = nullptr;
};

// The one theme access of this module (each deliverable has its own).
CThemeHelper& ModuleThemeHelper();

}  // namespace ZELL::Skin
