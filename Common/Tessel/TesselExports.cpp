// The library's exports. The dialog exports run in the library's module
// state; the setters and getters only touch the library's settings.
#include "Common/Tessel/TesselExports.h"

#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/Tessel/AboutDlg.h"
#include "Common/Tessel/BalloonMessage.h"
#include "Common/Tessel/LibrarySettings.h"
#include "Common/Tessel/MessageIcons.h"
#include "Common/Tessel/TesselApp.h"
#include "Common/Tessel/ZellMessageBox.h"

#include <cstring>

using Tessel::CLibrarySettings;

TESSEL_API int ZELLMessageBox(LPCWSTR text, UINT type, LPCWSTR caption, UINT iconResId)
{
    EnsureTesselAppStarted();
    const Tessel::CLibraryModuleScope scope;
    return Tessel::ShowZellMessageBox(text, type, caption, iconResId);
}

TESSEL_API int ZELLBalloonMsg(LPCWSTR title, LPCWSTR text, HWND control, HWND parent, HINSTANCE instance, UINT iconCode,
                              BOOL centre, UINT closeAfterSeconds, const POINT* position, BOOL subclassParent)
{
    EnsureTesselAppStarted();
    const Tessel::CLibraryModuleScope scope;
    Tessel::BalloonRequest request;
    request.title = title;
    request.text = text;
    request.control = control;
    request.parent = parent;
    request.instance = instance;
    request.icon = Tessel::CMessageIcons::Instance().IconByCode(iconCode);
    request.centre = centre != FALSE;
    request.closeAfterSeconds = closeAfterSeconds;
    if (position != nullptr)
        request.position = *position;
    request.subclassParent = subclassParent != FALSE;
    Tessel::CBalloonMessage::Instance().Show(request);
    return 0;
}

TESSEL_API int DestroyZELLBalloonMsg()
{
    const Tessel::CLibraryModuleScope scope;
    Tessel::CBalloonMessage::Instance().Close();
    return 0;
}

TESSEL_API void ZELLAboutDialog(LPCWSTR executable, LPCWSTR fileVersion, LPCWSTR date, LPCWSTR appName,
                                LPCWSTR productVersion, HICON icon, int iconIndex)
{
    EnsureTesselAppStarted();
    const Tessel::CLibraryModuleScope scope;
    auto text = [](LPCWSTR given) { return CString(given != nullptr ? given : L""); };
    Tessel::AboutArguments arguments;
    arguments.executable = text(executable);
    arguments.fileVersion = text(fileVersion);
    arguments.date = text(date);
    arguments.appName = text(appName);
    arguments.productVersion = text(productVersion);
    arguments.icon = icon;
    arguments.iconIndex = iconIndex;
    Tessel::CAboutDlg dialog(arguments, CWnd::FromHandle(GetActiveWindow()));
    dialog.DoModal();
}

TESSEL_API void TSLXDLL_SetLanguage(WORD language)
{
    CLibrarySettings::Instance().SetLanguage(language);
}

TESSEL_API void TSLXDLL_SetAppName(LPCWSTR name)
{
    CLibrarySettings::Instance().SetAppName(name);
}

TESSEL_API void TSLXDLL_SetGuiXmlFile(LPCWSTR path, WORD language)
{
    EnsureTesselAppStarted();
    CLibrarySettings::Instance().SetGuiXmlFile(path);
    CLibrarySettings::Instance().SetLanguage(language);
    CString languageText;
    languageText.Format(L"%d", language);
    // Once the application holds a file, its texts keep coming from there.
    TesselApp().LoadLanguage(languageText);
    TesselApp().LoadOemSettings();
}

TESSEL_API void TSLXDLL_GetMainLogfont(LOGFONTW* font)
{
    if (font == nullptr)
        return;
    EnsureTesselAppStarted();
    std::memset(static_cast<void*>(font), 0, sizeof(LOGFONTW));
    *font = TesselApp().GetMainLogfont();
}

TESSEL_API int TSLXDLL_GetTitleFontSize()
{
    EnsureTesselAppStarted();
    return TesselApp().GetTitleFontSize();
}

TESSEL_API int TSLXDLL_GetIconSizeButton()
{
    EnsureTesselAppStarted();
    return TesselApp().GetIconSizeButton();
}
