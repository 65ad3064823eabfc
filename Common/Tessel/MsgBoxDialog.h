#pragma once
// The message box's dialog: created from the template, run modally by its
// own message loop (Ctrl+C copies the whole box as text), ended by the first
// button that gives a result.
#include "Common/Tessel/MsgBoxTemplate.h"

namespace Tessel {

class CMsgBoxDialog {
public:
    explicit CMsgBoxDialog(CMsgBoxTemplate& boxTemplate) : m_template(boxTemplate) {}
    CMsgBoxDialog(const CMsgBoxDialog&) = delete;
    CMsgBoxDialog& operator=(const CMsgBoxDialog&) = delete;

    // The pressed button's id (with the ticked check box's flag); IDCANCEL
    // when the template memory cannot be had, -1 when the dialog cannot be made.
    int Run(HWND owner);

    // The box as the clipboard gets it.
    static CString BoxText(HWND dialog);

private:
    static INT_PTR DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT IconProc(HWND icon, UINT message, WPARAM wParam, LPARAM lParam);

    int RunLoop(HWND dialog);
    bool HandleCopyKey(HWND dialog, const MSG& msg) const;
    INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialog(HWND dialog);
    void SetFonts(HWND dialog) const;
    void GreyCloseItem(HWND dialog) const;
    void PlaceOnScreen(HWND dialog) const;
    INT_PTR OnEraseBackground(HWND dialog, HDC dc) const;
    INT_PTR OnCommand(HWND dialog, int id);
    void ShowHelp(HWND dialog) const;

    CMsgBoxTemplate& m_template;
    int m_result = -1;
    WNDPROC m_iconProc = nullptr;
};

// Where the help of the program is: its path with everything from the last
// "." replaced by ".hlp"; empty when the path has no ".".
CString HelpFileOf(const CString& programPath);

}
