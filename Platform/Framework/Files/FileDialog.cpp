#include "Platform/Framework/Files/FileDialog.h"

#include "Platform/Shell/FileTypeFilter.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {

// Room for any path the file system allows.
constexpr std::size_t kFileBuffer = 4096;
constexpr std::size_t kTitleBuffer = 256;

std::wstring PairsWithNulls(const std::vector<ZELL::Shell::FileType>& types)
{
    std::wstring list;
    for (const auto& type : types) {
        list += type.description;
        list += L'\0';
        list += type.patterns;
        list += L'\0';
    }
    list += L'\0';
    return list;
}

}  // namespace

void CFileDialog::Init(BOOL openFileDialog, LPCWSTR defaultExtension, LPCWSTR fileName, DWORD flags, LPCWSTR filter,
                       CWnd* parent, DWORD, BOOL)
{
    m_bOpenFileDialog = openFileDialog;
    m_pParentWnd = parent;
    m_szFileName.assign(kFileBuffer, L'\0');
    m_szFileTitle.assign(kTitleBuffer, L'\0');
    if (fileName != nullptr) {
        const std::wstring name(fileName);
        name.copy(m_szFileName.data(), std::min(name.size(), kFileBuffer - 1));
    }
    m_ofn.Flags = flags | OFN_EXPLORER;
    m_ofn.lpstrFile = m_szFileName.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_szFileName.size());
    m_ofn.lpstrFileTitle = m_szFileTitle.data();
    m_ofn.nMaxFileTitle = static_cast<DWORD>(m_szFileTitle.size());
    if (defaultExtension != nullptr) {
        m_strDefExt = defaultExtension;
        m_ofn.lpstrDefExt = m_strDefExt.c_str();
    }
    if (filter != nullptr) {
        m_strFilter = PairsWithNulls(ZELL::Shell::CFileTypeFilter::ParseBarSeparated(filter));
        m_ofn.lpstrFilter = m_strFilter.c_str();
    }
}

INT_PTR CFileDialog::DoModal()
{
    if (m_ofn.hwndOwner == nullptr)
        m_ofn.hwndOwner = m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : ::GetActiveWindow();
    const BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    return m_ofn.lpstrFile != nullptr ? CString(m_ofn.lpstrFile) : CString();
}

CString CFileDialog::GetFileName() const
{
    const CString path = GetPathName();
    return path.Mid(std::min<int>(m_ofn.nFileOffset, path.GetLength()));
}

CString CFileDialog::GetFileExt() const
{
    const CString path = GetPathName();
    if (m_ofn.nFileExtension == 0 || m_ofn.nFileExtension > path.GetLength())
        return CString();
    return path.Mid(m_ofn.nFileExtension);
}

CString CFileDialog::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot > 0 ? name.Left(dot) : name;
}

CString CFileDialog::GetFolderPath() const
{
    const CString path = GetPathName();
    const int offset = std::min<int>(m_ofn.nFileOffset, path.GetLength());
    return offset > 1 ? path.Left(offset - 1) : path.Left(offset);
}
