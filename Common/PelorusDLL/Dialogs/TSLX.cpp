#include "Common/PelorusDLL/Dialogs/TSLX.h"

#include "Common/PelorusDLL/Dialogs/ModulePath.h"
#include "Platform/Base/Module.h"
#include "Platform/Framework/App/WinApp.h"
#include "Platform/Ui/Resource.h"
#include "Platform/Ui/SystemMetrics.h"

#include <cstring>

namespace {

using AboutDialogProc = void (*)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, HICON, int);
using BalloonMsgProc = int (*)(LPCWSTR, LPCWSTR, HWND, HWND, HINSTANCE, UINT, BOOL, UINT, const POINT*, BOOL);
using DestroyBalloonProc = int (*)();
using MessageBoxProc = int (*)(LPCWSTR, UINT, LPCWSTR, UINT);
using SetLanguageProc = void (*)(WORD);
using GetMainLogfontProc = void (*)(LOGFONTW*);
using GetSizeProc = int (*)();

// One process-wide binding, set and cleared on the thread that runs the
// modal dialogs, which is also the only thread that uses it.
struct Binding {
    HMODULE module = nullptr;
    AboutDialogProc aboutDialog = nullptr;
    BalloonMsgProc balloonMsg = nullptr;
    DestroyBalloonProc destroyBalloon = nullptr;
    MessageBoxProc messageBox = nullptr;
    SetLanguageProc setLanguage = nullptr;
    GetMainLogfontProc getMainLogfont = nullptr;
    GetSizeProc getTitleFontSize = nullptr;
    GetSizeProc getIconSizeButton = nullptr;
};

Binding g_binding;

template <typename Proc>
bool Bind(HMODULE module, const char* name, Proc& proc)
{
    proc = reinterpret_cast<Proc>(::GetProcAddress(module, name));
    return proc != nullptr;
}

bool BindAll(HMODULE module)
{
    Binding& b = g_binding;
    bool all = Bind(module, "ZELLAboutDialog", b.aboutDialog);
    all = Bind(module, "ZELLBalloonMsg", b.balloonMsg) && all;
    all = Bind(module, "DestroyZELLBalloonMsg", b.destroyBalloon) && all;
    all = Bind(module, "ZELLMessageBox", b.messageBox) && all;
    all = Bind(module, "TSLXDLL_SetLanguage", b.setLanguage) && all;
    all = Bind(module, "TSLXDLL_GetMainLogfont", b.getMainLogfont) && all;
    all = Bind(module, "TSLXDLL_GetTitleFontSize", b.getTitleFontSize) && all;
    all = Bind(module, "TSLXDLL_GetIconSizeButton", b.getIconSizeButton) && all;
    return all;
}


// A string-resource number stands where a text pointer would (its upper
// bits are 0): the fall-back box shows the resource's text, never reads the
// number as an address.
std::wstring ResolveText(LPCWSTR text, HINSTANCE instance)
{
    const auto value = reinterpret_cast<std::uintptr_t>(text);
    if (value == 0)
        return {};
    if (value >> 16 != 0)
        return text;
    LPCWSTR resource = nullptr;
    const int length = ::LoadStringW(instance ? instance : AfxGetResourceHandle(), static_cast<UINT>(value),
                                     reinterpret_cast<LPWSTR>(&resource), 0);
    return length > 0 && resource ? std::wstring(resource, static_cast<std::size_t>(length)) : std::wstring();
}

// The library's path in the folder of a module; empty when that is unknown.
std::wstring LibraryIn(const CModulePath& module)
{
    return module.Folder().empty() ? std::wstring() : module.Folder() + TSLX::kLibraryFileName;
}

}

std::wstring TSLX::OwnFolderLibraryPath()
{
    static const char marker = 0;
    return LibraryIn(CModulePath::Of(&marker));
}

// The copy the process already holds, when the program links the library
// itself (from its own lib folder, wherever that lies): nothing is loaded to
// find it, and its path is absolute.
std::wstring TSLX::LoadedLibraryPath()
{
    HMODULE loaded = ::GetModuleHandleW(kLibraryFileName);
    if (loaded == nullptr)
        return {};
    const CModulePath path(loaded);
    return path.Folder().empty() ? std::wstring() : path.Folder() + kLibraryFileName;
}

int TSLX::LoadLibrary()
{
    // Loading twice keeps the latest handle; the earlier load is released so
    // that one FreeLibrary undoes it.
    FreeLibrary();
    // Full paths only: a bare name could be found in the current folder.
    HMODULE module = nullptr;
    for (const std::wstring& path : {LoadedLibraryPath(), OwnFolderLibraryPath(), LibraryIn(CModulePath(nullptr))})
        if (module == nullptr && !path.empty())
            module = ::LoadLibraryW(path.c_str());
    if (module == nullptr)
        return 0;
    g_binding.module = module;
    return BindAll(module) ? 1 : 0;
}

BOOL TSLX::FreeLibrary()
{
    if (g_binding.module == nullptr)
        return TRUE;
    const BOOL result = ::FreeLibrary(g_binding.module);
    g_binding = Binding{};
    return result;
}

bool TSLX::IsLoaded() { return g_binding.module != nullptr; }

void TSLX::AboutDialog(LPCWSTR exeName, LPCWSTR fileVersion, LPCWSTR date, LPCWSTR appName, LPCWSTR productVersion,
                       HICON icon, int iconIndex)
{
    if (g_binding.aboutDialog) {
        g_binding.aboutDialog(exeName, fileVersion, date, appName, productVersion, icon, iconIndex);
        return;
    }
    AfxMessageBox(exeName ? exeName : L"", MB_ICONINFORMATION);
}

int TSLX::BalloonMsg(LPCWSTR title, LPCWSTR text, HWND control, HWND parent, HINSTANCE instance, UINT iconCode,
                     BOOL centre, UINT closeAfterSeconds, const POINT* position, BOOL subclassParent)
{
    if (g_binding.balloonMsg)
        return g_binding.balloonMsg(title, text, control, parent, instance, iconCode, centre, closeAfterSeconds,
                                    position, subclassParent);
    AfxMessageBox(ResolveText(text, instance).c_str(), MB_OK);
    return 0;
}

int TSLX::MessageBox(LPCWSTR text, UINT type, LPCWSTR caption, UINT iconResourceId)
{
    if (g_binding.messageBox)
        return g_binding.messageBox(text, type, caption, iconResourceId);
    return AfxMessageBox(ResolveText(text, nullptr).c_str(), MB_OK);
}

void TSLX::SetLanguage(WORD language)
{
    if (g_binding.setLanguage)
        g_binding.setLanguage(language);
}

void TSLX::GetMainLogfont(LOGFONTW* font)
{
    if (font == nullptr)
        return;
    if (g_binding.getMainLogfont) {
        g_binding.getMainLogfont(font);
        return;
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    *font = LOGFONTW{};
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        *font = metrics.lfMessageFont;
}

int TSLX::GetTitleFontSize() { return g_binding.getTitleFontSize ? g_binding.getTitleFontSize() : 0; }

int TSLX::GetIconSizeButton() { return g_binding.getIconSizeButton ? g_binding.getIconSizeButton() : 0; }
