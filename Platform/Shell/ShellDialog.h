#pragma once
// What the shell's dialogs share: a template built in memory in dialog units,
// run modally on the dialog manager with the dialog object as its parameter,
// texts of controls, and the warning box they report problems in.

#include "Platform/Controls/CommCtrl.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/WinUser.h"

#include <string>
#include <system_error>

namespace ZELL::Shell {

class CShellDialog {
public:
    virtual ~CShellDialog() = default;

    // Shows the dialog modally over `owner`: the answer of EndDialog, or -1
    // when the controls could not be registered or the dialog not made.
    INT_PTR RunModal(HWND owner);

    HWND Hwnd() const { return m_dialog; }

    static std::wstring TextOf(HWND window);
    std::wstring ItemText(int id) const;
    void SetItemText(int id, const std::wstring& text) const;
    HWND Item(int id) const { return GetDlgItem(m_dialog, id); }
    // A warning box over the dialog with the dialog's caption.
    void Warn(const std::wstring& text) const;
    // Yes/No question with No as the default; true for Yes.
    bool AskYesNo(const std::wstring& text) const;
    // "<folder>\n\nThe folder cannot be <what>: <reason>." in a warning box.
    void WarnAboutFolder(const std::wstring& folder, const wchar_t* what, const std::error_code& error) const;
    // Makes "New folder" (or "New folder (2)" ...) inside `folder`: its name,
    // or empty when it could not be made (the user was told).
    std::wstring MakeNewFolderIn(const std::wstring& folder) const;

    // `folder` + "/" + `name`, without doubling the root's slash.
    static std::wstring ChildPath(const std::wstring& folder, const std::wstring& name);

protected:
    // The template's frame: a modal, centred dialog of cx by cy dialog units.
    static Ui::CDialogTemplate Frame(const std::wstring& caption, short cx, short cy);
    static Ui::DialogItemTemplate Control(Ui::NameOrOrdinal windowClass, const std::wstring& text, int id, DWORD style,
                                          short x, short y, short cx, short cy);
    static Ui::NameOrOrdinal Predefined(WORD atom) { return Ui::NameOrOrdinal::Ordinal(atom); }

    virtual Ui::CDialogTemplate Template() const = 0;
    // FALSE from WM_INITDIALOG when the hook set the focus itself.
    virtual BOOL OnInitDialog() = 0;
    virtual void OnCommand(int id, int code, HWND control) = 0;
    virtual bool OnNotify(const NMHDR& header) { return false; }
    // Messages the dialog's own ones do not cover; true when handled.
    virtual bool OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) { return false; }

private:
    static INT_PTR Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_dialog = nullptr;
};

}  // namespace ZELL::Shell
