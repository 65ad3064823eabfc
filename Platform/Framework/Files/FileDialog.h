#pragma once
// The open and save dialogs as a framework object: the filter in the
// framework's "Description|*.ext|...||" form, a default extension and an
// initial file name; DoModal shows the system's dialog, and the chosen
// file's path and parts are read from the object afterwards. m_ofn is the
// record the dialog gets and fills, so callers may adjust it before DoModal.
#include "Platform/Framework/Windows/Dialog.h"
#include "Platform/Shell/CommDlg.h"

#include <string>
#include <vector>

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    __attribute__((visibility("hidden"))) explicit CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt = nullptr,
        LPCWSTR lpszFileName = nullptr, DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
        LPCWSTR lpszFilter = nullptr, CWnd* pParentWnd = nullptr, DWORD dwSize = 0, BOOL bVistaStyle = TRUE)
        : CDialog()
    {
        Init(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd, dwSize, bVistaStyle);
    }
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    OPENFILENAMEW m_ofn;

    // IDOK when a file was chosen, IDCANCEL on cancel or failure
    // (CommDlgExtendedError tells which).
    INT_PTR DoModal() override;

    // After IDOK: the chosen file's full path, its name, its extension
    // (without the dot) and its name without the extension.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    // The folder of the chosen file.
    CString GetFolderPath() const;

private:
    void Init(BOOL openFileDialog, LPCWSTR defaultExtension, LPCWSTR fileName, DWORD flags, LPCWSTR filter,
              CWnd* parent, DWORD size, BOOL vistaStyle);

    BOOL m_bOpenFileDialog = TRUE;
    std::wstring m_strDefExt;
    std::wstring m_strFilter;  // description and pattern pairs, each ended by a null
    std::vector<wchar_t> m_szFileName;
    std::vector<wchar_t> m_szFileTitle;
};
