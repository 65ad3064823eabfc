#pragma once
// The folder browser's dialog: the levels from the file system's root down to
// the shown folder, then the shown folder's sub-folders, in one list. Picking
// a row selects that folder; Enter (or a double click) on a row that is not
// the shown folder opens it, Enter on the shown folder takes it. The edit
// field (BIF_EDITBOX) takes a typed path, the new-folder button makes a
// folder inside the selected one, and the caller's callback hears of the
// start and of every selection change and may move the selection or disable OK.

#include "Platform/Shell/FolderBrowser.h"
#include "Platform/Shell/ShellDialog.h"

#include <string>
#include <vector>

namespace ZELL::Shell {

class CFolderBrowserDialog : public CShellDialog {
public:
    static constexpr int kLevelList = 0x3741;
    static constexpr int kPathEdit = 0x3744;
    static constexpr int kNewFolderButton = 0x3746;

    explicit CFolderBrowserDialog(const BROWSEINFOW& request) : m_request(request) {}

    // IDOK with ChosenFolder() set, IDCANCEL, or -1 when the dialog failed.
    INT_PTR Run() { return RunModal(m_request.hwndOwner); }
    const std::wstring& ChosenFolder() const { return m_chosen; }

protected:
    Ui::CDialogTemplate Template() const override;
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Flag(UINT flag) const { return (m_request.ulFlags & flag) != 0; }
    // Shows `folder` with its sub-folders and selects it; false (the user
    // told when `report`) when it cannot be listed.
    bool Show(const std::wstring& folder, bool report);
    void Select(const std::wstring& folder);
    void OnRowChosen();
    void OnOk();
    void Accept(const std::wstring& folder);
    void MakeNewFolder();
    bool SetSelectionFromCaller(WPARAM isPath, LPARAM what);
    void Tell(UINT message, LPARAM lParam) const;
    void TellSelection();

    BROWSEINFOW m_request;
    std::wstring m_shown;
    std::wstring m_selected;
    std::vector<std::wstring> m_rows;
    std::wstring m_chosen;
    bool m_started = false;    // the caller has heard BFFM_INITIALIZED
    unsigned m_selections = 0;  // selection changes told to the caller
};

}  // namespace ZELL::Shell
