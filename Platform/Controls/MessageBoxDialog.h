#pragma once
// One message box while it is shown: its template built in memory, the
// layout measured with the dialog's font, the answers of its buttons and of
// Esc and the close box, Help and Ctrl+C.
#include "Platform/Controls/MessageBox.h"
#include "Platform/Ui/DialogTemplate.h"

#include <string>
#include <vector>

namespace ZELL::Controls {

struct MessageBoxButton {
    int id = 0;
    const wchar_t* caption = L"";
};

class CMessageBoxDialog {
public:
    // The id of the box's text, as the platform gives it.
    static constexpr int kTextId = 0xFFFF;

    CMessageBoxDialog(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
    CMessageBoxDialog(const CMessageBoxDialog&) = delete;
    CMessageBoxDialog& operator=(const CMessageBoxDialog&) = delete;

    // Help then goes to the callback, with the context id, instead of the owner.
    void SetHelp(MSGBOXCALLBACK callback, DWORD_PTR contextId);

    // Shows the box and waits for the answer; 0, with the last error set,
    // when the type names no button set, the owner is no window, or the box
    // cannot be made.
    int Run();

    // The buttons of a type's set in their order, Help last with MB_HELP;
    // empty for a set that does not exist.
    static std::vector<MessageBoxButton> ButtonsOf(UINT type);
    // The box as text, the way Ctrl+C hands it on.
    std::wstring AsText() const;

private:
    static INT_PTR Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    Ui::CDialogTemplate Template() const;
    int DefaultIndex() const;
    void OnInit(HWND dialog);
    void Layout(HWND dialog);
    void PlaceWindow(HWND dialog, SIZE client) const;
    void OnCommand(HWND dialog, int id, WORD code);
    // What Esc and the close box give; 0 where the set has no way out but its buttons.
    int CloseAnswer() const;
    void SendHelp(HWND dialog) const;
    void Paint(HWND dialog) const;
    void HookCopyKeys(HWND dialog) const;
    static LRESULT ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
    void DisableTaskWindows();
    void EnableTaskWindows();

    bool m_ownerGone = false;  // an owner was named, but it is no window
    HWND m_owner = nullptr;
    std::wstring m_text;
    std::wstring m_caption;
    UINT m_type = 0;
    std::vector<MessageBoxButton> m_buttons;
    POINT m_iconAt{};
    std::vector<HWND> m_disabledByTask;
    MSGBOXCALLBACK m_helpCallback = nullptr;
    DWORD_PTR m_helpContext = 0;
};

}
