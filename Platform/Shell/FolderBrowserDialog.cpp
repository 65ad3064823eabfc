#include "Platform/Shell/FolderBrowserDialog.h"

#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Shell/FolderListing.h"
#include "Platform/Shell/TypedFileName.h"
#include "Platform/Shell/XdgFolders.h"


namespace ZELL::Shell {

namespace {

// The folders from the root down to `folder`, both included.
std::vector<std::wstring> Levels(const std::wstring& folder)
{
    std::vector<std::wstring> levels;
    for (std::wstring at = folder; !at.empty(); at = at == L"/" ? std::wstring() : CTypedFileName::ParentOf(at))
        levels.insert(levels.begin(), at);
    return levels;
}

std::wstring Indented(std::size_t depth, const std::wstring& text) { return std::wstring(depth * 3, L' ') + text; }

}  // namespace

Ui::CDialogTemplate CFolderBrowserDialog::Template() const
{
    const auto button = Predefined(Ui::kClassButton);
    const auto label = Predefined(Ui::kClassStatic);
    Ui::CDialogTemplate dt = Frame(L"Browse For Folder", 240, 230);
    const std::wstring title = m_request.lpszTitle != nullptr ? m_request.lpszTitle : L"";
    dt.items = {
        Control(label, title, -1, SS_LEFT | SS_NOPREFIX, 7, 7, 226, 24),
        Control(Predefined(Ui::kClassListBox), L"", kLevelList,
                WS_BORDER | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 7, 34, 226, 140),
    };
    if (Flag(BIF_EDITBOX)) {
        dt.items.push_back(Control(label, L"Fo&lder:", -1, SS_LEFT, 7, 183, 30, 9));
        dt.items.push_back(Control(Predefined(Ui::kClassEdit), L"", kPathEdit,
                                   WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 40, 181, 193, 12));
    }
    if (Flag(BIF_NEWDIALOGSTYLE) && !Flag(BIF_NONEWFOLDERBUTTON))
        dt.items.push_back(
            Control(button, L"&Make New Folder", kNewFolderButton, WS_TABSTOP | BS_PUSHBUTTON, 7, 207, 74, 14));
    dt.items.push_back(Control(button, L"OK", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 127, 207, 50, 14));
    dt.items.push_back(Control(button, L"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 183, 207, 50, 14));
    return dt;
}

BOOL CFolderBrowserDialog::OnInitDialog()
{
    const std::wstring home = Xdg::HomeFolder();
    if (home.empty() || !Show(home, false))
        Show(L"/", false);
    SetFocus(Item(kLevelList));
    // The caller hears of the start first, and then of the selection, unless
    // it moved the selection itself (which it heard of then).
    m_started = true;
    const unsigned selectionsBefore = m_selections;
    Tell(BFFM_INITIALIZED, 0);
    if (m_selections == selectionsBefore)
        TellSelection();
    return FALSE;
}

bool CFolderBrowserDialog::Show(const std::wstring& folder, bool report)
{
    CFolderListing listing;
    std::error_code error;
    if (!listing.Read(folder, false, error)) {
        if (report)
            WarnAboutFolder(folder, L"opened", error);
        return false;
    }
    HWND list = Item(kLevelList);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    m_rows.clear();
    const std::vector<std::wstring> levels = Levels(folder);
    for (std::size_t depth = 0; depth < levels.size(); ++depth) {
        const std::wstring name = depth == 0 ? std::wstring(L"/") : CTypedFileName::NameOf(levels[depth]);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Indented(depth, name).c_str()));
        m_rows.push_back(levels[depth]);
    }
    for (const FolderEntry& entry : listing.Entries()) {
        if (!entry.isFolder)
            continue;
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Indented(levels.size(), entry.name).c_str()));
        m_rows.push_back(ChildPath(folder, entry.name));
    }
    m_shown = folder;
    Select(folder);
    return true;
}

void CFolderBrowserDialog::Select(const std::wstring& folder)
{
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row] == folder)
            SendDlgItemMessageW(Hwnd(), kLevelList, LB_SETCURSEL, row, 0);
    }
    m_selected = folder;
    if (Flag(BIF_EDITBOX))
        SetItemText(kPathEdit, folder);
    if (m_started)
        TellSelection();
}

void CFolderBrowserDialog::TellSelection()
{
    ++m_selections;
    PIDLIST_ABSOLUTE list = MakeItemIdList(m_selected);
    Tell(BFFM_SELCHANGED, reinterpret_cast<LPARAM>(list));
    ILFree(list);
}

void CFolderBrowserDialog::Tell(UINT message, LPARAM lParam) const
{
    if (m_request.lpfn != nullptr)
        m_request.lpfn(Hwnd(), message, lParam, m_request.lParam);
}

void CFolderBrowserDialog::OnCommand(int id, int code, HWND)
{
    if (id == IDOK) {
        OnOk();
    } else if (id == IDCANCEL) {
        EndDialog(Hwnd(), IDCANCEL);
    } else if (id == kNewFolderButton) {
        MakeNewFolder();
    } else if (id == kLevelList && code == LBN_SELCHANGE) {
        OnRowChosen();
    } else if (id == kLevelList && code == LBN_DBLCLK && m_selected != m_shown) {
        Show(m_selected, true);
    }
}

void CFolderBrowserDialog::OnRowChosen()
{
    const LRESULT row = SendDlgItemMessageW(Hwnd(), kLevelList, LB_GETCURSEL, 0, 0);
    if (row >= 0 && static_cast<std::size_t>(row) < m_rows.size() && m_rows[static_cast<std::size_t>(row)] != m_selected)
        Select(m_rows[static_cast<std::size_t>(row)]);
}

void CFolderBrowserDialog::OnOk()
{
    if (!IsWindowEnabled(Item(IDOK)))
        return;
    if (GetFocus() == Item(kLevelList) && m_selected != m_shown) {
        Show(m_selected, true);
        return;
    }
    const std::wstring typed = Flag(BIF_EDITBOX) ? ItemText(kPathEdit) : std::wstring();
    if (typed.empty() || typed == m_selected) {
        Accept(m_selected);
        return;
    }
    const std::wstring folder = CTypedFileName::FullPath(typed, m_selected);
    if (CTypedFileName::IsFolder(folder))
        Accept(folder);
    else
        Warn(folder + L"\n\nThe folder does not exist.");
}

void CFolderBrowserDialog::Accept(const std::wstring& folder)
{
    m_chosen = folder;
    EndDialog(Hwnd(), IDOK);
}

void CFolderBrowserDialog::MakeNewFolder()
{
    const std::wstring name = MakeNewFolderIn(m_selected);
    if (!name.empty() && Show(m_selected, true))
        Select(ChildPath(m_selected, name));
}

bool CFolderBrowserDialog::OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case BFFM_SETSELECTIONW:
        SetWindowLongPtrW(Hwnd(), DWLP_MSGRESULT, SetSelectionFromCaller(wParam, lParam) ? TRUE : FALSE);
        return true;
    case BFFM_ENABLEOK:
        EnableWindow(Item(IDOK), lParam != 0 ? TRUE : FALSE);
        return true;
    case BFFM_SETOKTEXT:
        if (lParam != 0)
            SetItemText(IDOK, reinterpret_cast<LPCWSTR>(lParam));
        return true;
    case BFFM_SETSTATUSTEXTW:
        return true;  // the browser has no status line
    default:
        return false;
    }
}

bool CFolderBrowserDialog::SetSelectionFromCaller(WPARAM isPath, LPARAM what)
{
    std::wstring folder;
    if (isPath != 0 && what != 0) {
        folder = CTypedFileName::FullPath(reinterpret_cast<LPCWSTR>(what), m_shown);
    } else if (isPath == 0) {
        const auto path = PathOfItemIdList(reinterpret_cast<PCIDLIST_ABSOLUTE>(what));
        folder = path ? *path : std::wstring();
    }
    return !folder.empty() && CTypedFileName::IsFolder(folder) && Show(folder, false);
}

}  // namespace ZELL::Shell
