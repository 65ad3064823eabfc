#pragma once
// The plain exports of libtessel.so. The library is built with hidden
// visibility; these are the only symbols it offers, under undecorated names.
// Every text is wide; the library copies what it is given and hands back
// nothing for the caller to free.
#include "Platform/Ui/WinUser.h"

#define TESSEL_API extern "C" __attribute__((visibility("default")))

// Flag bits of ZELLMessageBox beyond the system's MB_ values.
constexpr UINT MB_ZELL_DONT_ASK_AGAIN = 0x01000000;   // check box "Don't ask me again"
constexpr UINT MB_ZELL_DONT_TELL_AGAIN = 0x02000000;  // check box "Don't tell me again"
constexpr UINT MB_ZELL_DONT_SHOW_AGAIN = 0x04000000;  // check box "Don't show again"
constexpr UINT MB_ZELL_YES_TO_ALL = 0x08000000;
constexpr UINT MB_ZELL_NO_TO_ALL = 0x10000000;
constexpr UINT MB_ZELL_NO_SOUND = 0x40000000;
constexpr UINT MB_ZELL_OWN_FLAGS = MB_ZELL_DONT_ASK_AGAIN | MB_ZELL_DONT_TELL_AGAIN | MB_ZELL_DONT_SHOW_AGAIN |
                                   MB_ZELL_YES_TO_ALL | MB_ZELL_NO_TO_ALL | MB_ZELL_NO_SOUND;
// The library's own icon kind (bits 4-7).
constexpr UINT MB_ZELL_ICONSTOP = 0x00000050;

// Answers of the buttons that the system box does not have.
constexpr int IDZELL_YESTOALL = 19;
constexpr int IDZELL_NOTOALL = 20;
constexpr int IDZELL_SKIP = 14;
constexpr int IDZELL_SKIPALL = 15;
constexpr int IDZELL_IGNOREALL = 16;

// Balloon icon codes that pick the library's own 16 x 16 icons.
constexpr UINT ZELL_BALLOON_ICON_INFO = 10;
constexpr UINT ZELL_BALLOON_ICON_QUESTION = 11;
constexpr UINT ZELL_BALLOON_ICON_WARNING = 12;
constexpr UINT ZELL_BALLOON_ICON_ERROR = 13;
constexpr UINT ZELL_BALLOON_ICON_STOP = 14;

// `text` is a wide text or a string number of this library (up to 65535);
// an empty caption is the application's name; `iconResId` names an icon of
// the program, 0 the icon of the type's kind. Gives the button's id, with
// the check box's flag OR-ed in when it was ticked.
TESSEL_API int ZELLMessageBox(LPCWSTR text, UINT type, LPCWSTR caption, UINT iconResId);

// Title and text are wide texts or string numbers of `instance` (title:
// 0 none, 0xFFFFFFFF the module's name). Always 0.
TESSEL_API int ZELLBalloonMsg(LPCWSTR title, LPCWSTR text, HWND control, HWND parent, HINSTANCE instance, UINT iconCode,
                              BOOL centre, UINT closeAfterSeconds, const POINT* position, BOOL subclassParent);
TESSEL_API int DestroyZELLBalloonMsg();

// The about dialog, modal over the active window. Empty texts are taken from
// the program's version record; without an icon (null and index -1) the
// library's own shows. `iconIndex` names an icon of this library.
TESSEL_API void ZELLAboutDialog(LPCWSTR executable, LPCWSTR fileVersion, LPCWSTR date, LPCWSTR appName,
                                LPCWSTR productVersion, HICON icon, int iconIndex);

TESSEL_API void TSLXDLL_SetLanguage(WORD language);
TESSEL_API void TSLXDLL_SetAppName(LPCWSTR name);
TESSEL_API void TSLXDLL_SetGuiXmlFile(LPCWSTR path, WORD language);
TESSEL_API void TSLXDLL_GetMainLogfont(LOGFONTW* font);
TESSEL_API int TSLXDLL_GetTitleFontSize();
TESSEL_API int TSLXDLL_GetIconSizeButton();
