#pragma once
// The system message box: a caption, a text, an optional picture and one of
// the standard button sets, shown modally on the dialog manager. The result
// is the id of the button pressed, 0 when the box could not be shown (the
// last error then says why).
#include "Platform/Ui/WinUser.h"

#include <string>

// Button sets.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_CANCELTRYCONTINUE = 0x00000006;
constexpr UINT MB_TYPEMASK = 0x0000000F;
// Pictures.
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_USERICON = 0x00000080;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;
// The default button.
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFBUTTON4 = 0x00000300;
constexpr UINT MB_DEFMASK = 0x00000F00;
// Modality and the rest.
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_MODEMASK = 0x00003000;
constexpr UINT MB_HELP = 0x00004000;
constexpr UINT MB_NOFOCUS = 0x00008000;
constexpr UINT MB_MISCMASK = 0x0000C000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_DEFAULT_DESKTOP_ONLY = 0x00020000;
constexpr UINT MB_TOPMOST = 0x00040000;
constexpr UINT MB_RIGHT = 0x00080000;
constexpr UINT MB_RTLREADING = 0x00100000;

// The answers beyond the dialog's standard ids.
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;

// A button set the box does not know.
constexpr DWORD ERROR_INVALID_MSGBOX_STYLE = 1158;

// What WM_HELP carries to the owner when the Help button is pressed.
constexpr int HELPINFO_WINDOW = 0x0001;
struct HELPINFO {
    UINT cbSize = sizeof(HELPINFO);
    int iContextType = HELPINFO_WINDOW;
    int iCtrlId = 0;
    HANDLE hItemHandle = nullptr;
    DWORD_PTR dwContextId = 0;
    POINT MousePos{};
};
using LPHELPINFO = HELPINFO*;

// Called instead of WM_HELP to the owner when the box has one.
using MSGBOXCALLBACK = void (*)(LPHELPINFO help);
struct MSGBOXPARAMSW {
    UINT cbSize = sizeof(MSGBOXPARAMSW);
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    LPCWSTR lpszText = nullptr;
    LPCWSTR lpszCaption = nullptr;
    DWORD dwStyle = 0;
    LPCWSTR lpszIcon = nullptr;  // with MB_USERICON; no picture is drawn for it yet
    DWORD_PTR dwContextHelpId = 0;
    MSGBOXCALLBACK lpfnMsgBoxCallback = nullptr;
    DWORD dwLanguageId = 0;
};
using MSGBOXPARAMS = MSGBOXPARAMSW;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
// The language is the one of the button captions, which are English here
// whatever it asks for.
int MessageBoxExW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD languageId);
// 0 with ERROR_INVALID_PARAMETER for a null or short record.
int MessageBoxIndirectW(const MSGBOXPARAMSW* params);
#define MessageBox MessageBoxW
#define MessageBoxEx MessageBoxExW
#define MessageBoxIndirect MessageBoxIndirectW

