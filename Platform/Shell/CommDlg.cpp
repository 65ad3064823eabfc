#include "Platform/Shell/CommDlg.h"

#include "Platform/Shell/CommonDialogError.h"

#include "Platform/Shell/FileNameDialog.h"
#include "Platform/Shell/LastFolderStore.h"
#include "Platform/Shell/TypedFileName.h"

#include "Platform/Base/FileSystemPath.h"

#include <cstddef>
#include <unistd.h>

namespace {

// The record's size before the three members the later systems added.
constexpr DWORD kOlderRecordSize = offsetof(OPENFILENAMEW, pvReserved);

BOOL Fail(DWORD error)
{
    ZELL::Shell::SetCommonDialogError(error);
    return FALSE;
}

// Copies `text` with its null into `buffer` of `size` characters.
bool CopyOut(const std::wstring& text, LPWSTR buffer, DWORD size)
{
    if (buffer == nullptr || text.size() + 1 > size)
        return false;
    text.copy(buffer, text.size());
    buffer[text.size()] = L'\0';
    return true;
}

BOOL WriteResult(OPENFILENAMEW& ofn, const std::wstring& path, DWORD typeIndex)
{
    if (!CopyOut(path, ofn.lpstrFile, ofn.nMaxFile)) {
        // The size needed goes where the caller's buffer has room for it.
        if (ofn.lpstrFile != nullptr && ofn.nMaxFile >= 1)
            ofn.lpstrFile[0] = static_cast<wchar_t>(path.size() + 1);
        return Fail(FNERR_BUFFERTOOSMALL);
    }
    const std::wstring name = ZELL::Shell::CTypedFileName::NameOf(path);
    const std::size_t nameOffset = path.size() - name.size();
    const auto dot = name.rfind(L'.');
    ofn.nFileOffset = static_cast<WORD>(nameOffset);
    ofn.nFileExtension = dot == std::wstring::npos || dot == 0 ? 0 : static_cast<WORD>(nameOffset + dot + 1);
    if (ofn.lpstrFileTitle != nullptr)
        CopyOut(name, ofn.lpstrFileTitle, ofn.nMaxFileTitle);
    if (typeIndex != 0)
        ofn.nFilterIndex = typeIndex;
    return TRUE;
}

BOOL RunFileDialog(LPOPENFILENAMEW ofn, bool save)
{
    ZELL::Shell::SetCommonDialogError(0);
    if (ofn == nullptr)
        return Fail(CDERR_INITIALIZATION);
    if (ofn->lStructSize != sizeof(OPENFILENAMEW) && ofn->lStructSize != kOlderRecordSize)
        return Fail(CDERR_STRUCTSIZE);
    if (ofn->lpstrFile == nullptr || ofn->nMaxFile == 0)
        return Fail(FNERR_INVALIDFILENAME);
    ZELL::Shell::CFileNameDialog dialog(*ofn, save);
    const INT_PTR answer = dialog.Run();
    if (answer == -1)
        return Fail(CDERR_DIALOGFAILURE);
    if (answer != IDOK)
        return FALSE;
    const std::wstring& path = dialog.ChosenPath();
    if (!WriteResult(*ofn, path, dialog.TypeIndex()))
        return FALSE;
    if ((ofn->Flags & OFN_HIDEREADONLY) == 0)
        ofn->Flags = dialog.ReadOnlyChecked() ? (ofn->Flags | OFN_READONLY) : (ofn->Flags & ~OFN_READONLY);
    const std::wstring folder = ZELL::Shell::CTypedFileName::ParentOf(path);
    ZELL::Shell::CLastFolderStore::Save(folder);
    if ((ofn->Flags & OFN_NOCHANGEDIR) == 0) {
        // The choice stands even where its folder cannot become the current one.
        [[maybe_unused]] const int changed = ::chdir(Text::WideToFileName(folder).c_str());
    }
    return TRUE;
}

}  // namespace

BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn) { return RunFileDialog(ofn, false); }

BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn) { return RunFileDialog(ofn, true); }

