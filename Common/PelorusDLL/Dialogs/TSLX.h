#pragma once
// The user-interface library, bound at run time for as long as one of our
// modal dialogs runs. Every operation works without it: message boxes fall
// back to the framework's box and the main font to the system's message font.

#include "Platform/Controls/MessageBox.h"
#include "Platform/Gdi/GdiTypes.h"
#include "Platform/Ui/WinUser.h"

#include <string>

class TSLX {
public:
    virtual ~TSLX() = default;

    // Loads the library from the folder of the module holding this code, else
    // from the executable's folder; never from the current folder. 1 only when
    // it loaded and all eight entry points exist.
    static int LoadLibrary();
    // 1 when nothing was loaded; otherwise the system call's result.
    static BOOL FreeLibrary();
    static bool IsLoaded();

    static void AboutDialog(LPCWSTR exeName, LPCWSTR fileVersion, LPCWSTR date, LPCWSTR appName,
                            LPCWSTR productVersion, HICON icon, int iconIndex);
    // `title` and `text` are texts or string-resource numbers of `instance`.
    static int BalloonMsg(LPCWSTR title, LPCWSTR text, HWND control, HWND parent, HINSTANCE instance, UINT iconCode,
                          BOOL centre, UINT closeAfterSeconds, const POINT* position, BOOL subclassParent);
    static int MessageBox(LPCWSTR text, UINT type, LPCWSTR caption, UINT iconResourceId);
    static void SetLanguage(WORD language);
    static void GetMainLogfont(LOGFONTW* font);
    static int GetTitleFontSize();
    static int GetIconSizeButton();

    // The file name looked for in each folder.
    static constexpr const wchar_t* kLibraryFileName = L"libtessel.so";
    // The copy the process already holds (empty when none); tried first.
    static std::wstring LoadedLibraryPath();
    // Tried next: our own module's folder and the file name.
    static std::wstring OwnFolderLibraryPath();
};
