#pragma once
// The open and save dialog: the shown folder's path, places (home and the
// desktop's user folders), the folder's sub-folders and the files of the
// chosen type in a report list, the file-name field and the type list. All of
// it works from the keyboard: Enter in the list opens a folder or takes a
// file, Backspace goes up, Enter in the path field goes to the typed folder,
// and the name field takes names, paths, folders and wildcards.

#include "Platform/Shell/CommDlg.h"
#include "Platform/Shell/FileTypeFilter.h"
#include "Platform/Shell/FolderListing.h"
#include "Platform/Shell/ShellDialog.h"

#include <string>
#include <vector>

namespace ZELL::Shell {

class CFileNameDialog : public CShellDialog {
public:
    // Control ids; the name field, type list and file list have the ids
    // the system's file dialogs give them.
    static constexpr int kFolderEdit = 1001;
    static constexpr int kUpButton = 1002;
    static constexpr int kNewFolderButton = 1003;
    static constexpr int kPlacesList = 1004;
    static constexpr int kFileList = 0x0460;
    static constexpr int kTypeCombo = 0x0470;
    static constexpr int kNameEdit = 0x0480;
    static constexpr int kReadOnlyCheck = 0x0410;

    CFileNameDialog(const OPENFILENAMEW& request, bool save);

    // IDOK with ChosenPath() set, IDCANCEL, or -1 when the dialog failed.
    INT_PTR Run() { return RunModal(m_request.hwndOwner); }
    const std::wstring& ChosenPath() const { return m_chosen; }
    // 1-based, as nFilterIndex counts; 0 without types.
    DWORD TypeIndex() const { return m_types.empty() ? 0 : static_cast<DWORD>(m_typeIndex + 1); }
    // The read-only check box as it was left (without OFN_HIDEREADONLY).
    bool ReadOnlyChecked() const { return m_readOnly; }

protected:
    Ui::CDialogTemplate Template() const override;
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnNotify(const NMHDR& header) override;
    bool OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::wstring InitialName() const;
    std::wstring InitialFolder(const std::wstring& initialName) const;
    void FillTypes();
    void FillPlaces();
    void AddColumns() const;

    // Shows `folder`; false (and the user told, now or once the dialog is up)
    // when it cannot be listed.
    bool Navigate(const std::wstring& folder, bool reportLater = false);
    void Refill();
    void InsertRow(int index) const;
    int SelectedRow() const;
    void SelectRow(int row) const;
    int RowOfName(const std::wstring& name) const;

    void OnOk();
    void TakeTypedName();
    void GoToTypedFolder();
    void ActivateSelected();
    void Accept(const std::wstring& path);
    void GoUp();
    void MakeNewFolder();
    void OnTypeChanged();
    void OnPlaceChosen();
    void OnSelectionChanged(int row);

    bool Flag(DWORD flag) const { return (m_request.Flags & flag) != 0; }
    std::wstring DefaultExtension() const;

    OPENFILENAMEW m_request;
    bool m_save = false;
    std::vector<FileType> m_types;
    std::size_t m_typeIndex = 0;
    std::wstring m_pattern;  // what the list shows: the type's or a typed wildcard
    std::wstring m_folder;
    std::vector<FolderEntry> m_entries;
    std::vector<std::wstring> m_places;
    std::wstring m_chosen;
    bool m_readOnly = false;
    std::wstring m_pendingFolder;  // the start folder that could not be listed
    std::error_code m_pendingError;
};

}  // namespace ZELL::Shell
