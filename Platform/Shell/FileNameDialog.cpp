#include "Platform/Shell/FileNameDialog.h"

#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Controls/ListControlStyles.h"
#include "Platform/Controls/ListViewStyles.h"
#include "Platform/Shell/LastFolderStore.h"
#include "Platform/Shell/PathConversion.h"
#include "Platform/Shell/TypedFileName.h"
#include "Platform/Shell/XdgFolders.h"

#include <filesystem>
#include <unistd.h>

namespace ZELL::Shell {

namespace {

// The dialog reports a start-up problem once it is on screen.
constexpr UINT kReportProblem = WM_APP + 0x51;
// The longest initial name read from the caller's buffer.
constexpr DWORD kMaxInitialName = 32768;

std::wstring CurrentFolder()
{
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return error ? std::wstring() : WidePath(current);
}

}  // namespace

CFileNameDialog::CFileNameDialog(const OPENFILENAMEW& request, bool save) : m_request(request), m_save(save)
{
    m_types = CFileTypeFilter::Parse(request.lpstrFilter);
    if (!m_types.empty() && request.nFilterIndex > 0 && request.nFilterIndex <= m_types.size())
        m_typeIndex = request.nFilterIndex - 1;
    if (!m_types.empty())
        m_pattern = m_types[m_typeIndex].patterns;
}

Ui::CDialogTemplate CFileNameDialog::Template() const
{
    const std::wstring title =
        m_request.lpstrTitle != nullptr ? std::wstring(m_request.lpstrTitle) : (m_save ? L"Save As" : L"Open");
    const bool readOnlyBox = !Flag(OFN_HIDEREADONLY);
    Ui::CDialogTemplate dt = Frame(title, 340, readOnlyBox ? 210 : 196);
    const auto button = Predefined(Ui::kClassButton);
    const auto label = Predefined(Ui::kClassStatic);
    const auto edit = Predefined(Ui::kClassEdit);
    dt.items = {
        Control(label, L"Look &in:", -1, SS_LEFT, 7, 8, 40, 9),
        Control(edit, L"", kFolderEdit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 50, 6, 196, 12),
        Control(button, L"&Up", kUpButton, WS_TABSTOP | BS_PUSHBUTTON, 250, 5, 30, 14),
        Control(button, L"Ne&w folder", kNewFolderButton, WS_TABSTOP | BS_PUSHBUTTON, 283, 5, 50, 14),
        Control(Predefined(Ui::kClassListBox), L"", kPlacesList,
                WS_BORDER | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 7, 24, 62, 128),
        Control(Ui::NameOrOrdinal::Name(WC_LISTVIEWW), L"", kFileList,
                WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 74, 24, 259, 128),
        Control(label, L"File &name:", -1, SS_LEFT, 74, 160, 50, 9),
        Control(edit, L"", kNameEdit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 128, 158, 148, 12),
        Control(button, m_save ? L"&Save" : L"&Open", IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 280, 157, 53, 14),
        Control(label, L"Files of &type:", -1, SS_LEFT, 74, 177, 52, 9),
        Control(Predefined(Ui::kClassComboBox), L"", kTypeCombo, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 128, 175,
                148, 80),
        Control(button, L"Cancel", IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 280, 174, 53, 14),
    };
    if (readOnlyBox)
        dt.items.push_back(Control(button, L"Open as &read-only", kReadOnlyCheck, WS_TABSTOP | BS_AUTOCHECKBOX, 128,
                                   192, 148, 10));
    return dt;
}

BOOL CFileNameDialog::OnInitDialog()
{
    AddColumns();
    FillTypes();
    FillPlaces();
    const std::wstring initialName = InitialName();
    if (CFileTypeFilter::HasWildcard(CTypedFileName::NameOf(initialName)))
        m_pattern = CTypedFileName::NameOf(initialName);
    SetItemText(kNameEdit, CTypedFileName::NameOf(initialName));
    const std::wstring folder = InitialFolder(initialName);
    if (!Navigate(folder, true)) {
        m_folder = folder;
        SetItemText(kFolderEdit, m_folder);
    }
    if (Flag(OFN_READONLY))
        SendDlgItemMessageW(Hwnd(), kReadOnlyCheck, BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(Item(kNameEdit));
    SendMessageW(Item(kNameEdit), EM_SETSEL, 0, -1);
    return FALSE;
}

std::wstring CFileNameDialog::InitialName() const
{
    if (m_request.lpstrFile == nullptr || m_request.nMaxFile == 0)
        return {};
    const DWORD limit = m_request.nMaxFile < kMaxInitialName ? m_request.nMaxFile : kMaxInitialName;
    std::wstring name;
    for (DWORD i = 0; i < limit && m_request.lpstrFile[i] != L'\0'; ++i)
        name += m_request.lpstrFile[i];
    return name;
}

std::wstring CFileNameDialog::InitialFolder(const std::wstring& initialName) const
{
    std::vector<std::wstring> candidates;
    const std::wstring namedFolder = CTypedFileName::ParentOf(initialName);
    if (!namedFolder.empty())
        candidates.push_back(CTypedFileName::FullPath(namedFolder, CurrentFolder()));
    if (m_request.lpstrInitialDir != nullptr && *m_request.lpstrInitialDir != L'\0')
        candidates.push_back(CTypedFileName::FullPath(m_request.lpstrInitialDir, CurrentFolder()));
    candidates.push_back(CLastFolderStore::Load());
    candidates.push_back(CurrentFolder());
    for (const std::wstring& candidate : candidates) {
        if (!candidate.empty() && CTypedFileName::IsFolder(candidate))
            return candidate;
    }
    return Xdg::HomeFolder().empty() ? std::wstring(L"/") : Xdg::HomeFolder();
}

void CFileNameDialog::FillTypes()
{
    HWND combo = Item(kTypeCombo);
    for (const FileType& type : m_types)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type.description.c_str()));
    SendMessageW(combo, CB_SETCURSEL, m_typeIndex, 0);
    EnableWindow(combo, m_types.empty() ? FALSE : TRUE);
}

void CFileNameDialog::FillPlaces()
{
    const std::wstring home = Xdg::HomeFolder();
    const std::pair<const char*, const wchar_t*> userFolders[] = {
        {"XDG_DESKTOP_DIR", L"/Desktop"},     {"XDG_DOCUMENTS_DIR", L"/Documents"}, {"XDG_DOWNLOAD_DIR", L"/Downloads"},
        {"XDG_MUSIC_DIR", L"/Music"},         {"XDG_PICTURES_DIR", L"/Pictures"},   {"XDG_VIDEOS_DIR", L"/Videos"},
    };
    std::vector<std::pair<std::wstring, std::wstring>> places;
    if (!home.empty())
        places.emplace_back(L"Home", home);
    for (const auto& [variable, fallback] : userFolders) {
        const std::wstring folder = Xdg::UserFolder(variable, fallback);
        if (folder != home && CTypedFileName::IsFolder(folder))
            places.emplace_back(CTypedFileName::NameOf(folder), folder);
    }
    places.emplace_back(L"File system", L"/");
    for (const auto& [label, folder] : places) {
        SendDlgItemMessageW(Hwnd(), kPlacesList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        m_places.push_back(folder);
    }
}

void CFileNameDialog::AddColumns() const
{
    const std::pair<const wchar_t*, int> columns[] = {{L"Name", 250}, {L"Size", 80}, {L"Modified", 120}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column;
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = columns[i].second;
        column.pszText = const_cast<LPWSTR>(columns[i].first);
        column.iSubItem = i;
        SendDlgItemMessageW(Hwnd(), kFileList, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    SendDlgItemMessageW(Hwnd(), kFileList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

bool CFileNameDialog::Navigate(const std::wstring& folder, bool reportLater)
{
    CFolderListing listing;
    std::error_code error;
    if (!listing.Read(folder, Flag(OFN_FORCESHOWHIDDEN), error)) {
        if (reportLater) {
            m_pendingFolder = folder;
            m_pendingError = error;
            PostMessageW(Hwnd(), kReportProblem, 0, 0);
        } else {
            WarnAboutFolder(folder, L"opened", error);
        }
        return false;
    }
    m_folder = folder;
    m_entries = listing.Entries();
    SetItemText(kFolderEdit, m_folder);
    Refill();
    return true;
}

void CFileNameDialog::Refill()
{
    HWND list = Item(kFileList);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].isFolder || CFileTypeFilter::Matches(m_entries[i].name, m_pattern))
            InsertRow(static_cast<int>(i));
    }
}

void CFileNameDialog::InsertRow(int index) const
{
    HWND list = Item(kFileList);
    const FolderEntry& entry = m_entries[static_cast<std::size_t>(index)];
    LVITEMW item;
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<LPWSTR>(entry.name.c_str());
    item.lParam = index;
    const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    const std::wstring texts[] = {CFolderListing::SizeText(entry), CFolderListing::DateText(entry.modified)};
    for (int column = 1; column <= 2; ++column) {
        LVITEMW sub;
        sub.iSubItem = column;
        sub.pszText = const_cast<LPWSTR>(texts[column - 1].c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
    }
}

int CFileNameDialog::SelectedRow() const
{
    return static_cast<int>(SendDlgItemMessageW(Hwnd(), kFileList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                LVNI_SELECTED));
}

void CFileNameDialog::SelectRow(int row) const
{
    LVITEMW state;
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendDlgItemMessageW(Hwnd(), kFileList, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    SendDlgItemMessageW(Hwnd(), kFileList, LVM_ENSUREVISIBLE, row, FALSE);
}

int CFileNameDialog::RowOfName(const std::wstring& name) const
{
    LVFINDINFOW find;
    find.flags = LVFI_STRING;
    find.psz = name.c_str();
    return static_cast<int>(
        SendDlgItemMessageW(Hwnd(), kFileList, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void CFileNameDialog::OnCommand(int id, int code, HWND)
{
    switch (id) {
    case IDOK: OnOk(); break;
    case IDCANCEL: EndDialog(Hwnd(), IDCANCEL); break;
    case kUpButton: GoUp(); break;
    case kNewFolderButton: MakeNewFolder(); break;
    case kTypeCombo:
        if (code == CBN_SELCHANGE)
            OnTypeChanged();
        break;
    case kPlacesList:
        if (code == LBN_SELCHANGE)
            OnPlaceChosen();
        break;
    default: break;
    }
}

bool CFileNameDialog::OnNotify(const NMHDR& header)
{
    if (header.idFrom != static_cast<UINT_PTR>(kFileList))
        return false;
    if (header.code == NM_DBLCLK) {
        ActivateSelected();
    } else if (header.code == LVN_KEYDOWN) {
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_BACK)
            GoUp();
    } else if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0)
            OnSelectionChanged(change.iItem);
    }
    return false;
}

bool CFileNameDialog::OnOtherMessage(UINT message, WPARAM, LPARAM)
{
    if (message != kReportProblem || m_pendingFolder.empty())
        return false;
    const std::wstring folder = std::move(m_pendingFolder);
    m_pendingFolder.clear();
    WarnAboutFolder(folder, L"opened", m_pendingError);
    return true;
}

// Enter acts on what has the focus, as the user expects of each field.
void CFileNameDialog::OnOk()
{
    HWND focus = GetFocus();
    if (focus == Item(kFileList) && SelectedRow() >= 0)
        ActivateSelected();
    else if (focus == Item(kFolderEdit))
        GoToTypedFolder();
    else if (focus == Item(kPlacesList))
        OnPlaceChosen();
    else
        TakeTypedName();
}

void CFileNameDialog::TakeTypedName()
{
    const std::wstring typed = ItemText(kNameEdit);
    const CTypedFileName name = CTypedFileName::Resolve(typed, m_folder, DefaultExtension(), !m_save);
    switch (name.kind) {
    case CTypedFileName::Kind::Nothing:
        if (SelectedRow() >= 0)
            ActivateSelected();
        break;
    case CTypedFileName::Kind::Folder:
        if (Navigate(name.path))
            SetItemText(kNameEdit, L"");
        break;
    case CTypedFileName::Kind::Filter:
        if (name.path == m_folder || Navigate(name.path)) {
            m_pattern = name.pattern;
            Refill();
        }
        break;
    case CTypedFileName::Kind::File: Accept(name.path); break;
    }
}

void CFileNameDialog::GoToTypedFolder()
{
    const std::wstring folder = CTypedFileName::FullPath(ItemText(kFolderEdit), m_folder);
    if (CTypedFileName::IsFolder(folder))
        Navigate(folder);
    else
        Warn(folder + L"\n\nThe folder does not exist.");
}

void CFileNameDialog::ActivateSelected()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    LVITEMW item;
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendDlgItemMessageW(Hwnd(), kFileList, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (item.lParam < 0 || static_cast<std::size_t>(item.lParam) >= m_entries.size())
        return;
    const FolderEntry entry = m_entries[static_cast<std::size_t>(item.lParam)];
    const std::wstring path = ChildPath(m_folder, entry.name);
    if (!entry.isFolder) {
        Accept(path);
    } else if (Navigate(path) && GetFocus() == Item(kFileList) &&
               SendDlgItemMessageW(Hwnd(), kFileList, LVM_GETITEMCOUNT, 0, 0) > 0) {
        SelectRow(0);
    }
}

void CFileNameDialog::Accept(const std::wstring& path)
{
    const std::wstring name = CTypedFileName::NameOf(path);
    if (Flag(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST) && !CTypedFileName::IsFolder(CTypedFileName::ParentOf(path))) {
        Warn(path + L"\nThe path does not exist.\nCheck the path and try again.");
        return;
    }
    const bool exists = CTypedFileName::Exists(path);
    if (Flag(OFN_FILEMUSTEXIST) && !exists) {
        Warn(name + L"\nFile not found.\nCheck the file name and try again.");
        return;
    }
    if (m_save && Flag(OFN_OVERWRITEPROMPT) && exists && !AskYesNo(name + L" already exists.\nDo you want to replace it?")) {
        SetFocus(Item(kNameEdit));
        return;
    }
    m_chosen = path;
    m_readOnly = SendDlgItemMessageW(Hwnd(), kReadOnlyCheck, BM_GETCHECK, 0, 0) == BST_CHECKED;
    EndDialog(Hwnd(), IDOK);
}

void CFileNameDialog::GoUp()
{
    const std::wstring parent = CTypedFileName::ParentOf(m_folder);
    if (parent.empty() || parent == m_folder)
        return;
    const std::wstring cameFrom = CTypedFileName::NameOf(m_folder);
    if (!Navigate(parent))
        return;
    const int row = RowOfName(cameFrom);
    if (row >= 0)
        SelectRow(row);
}

void CFileNameDialog::MakeNewFolder()
{
    const std::wstring name = MakeNewFolderIn(m_folder);
    if (name.empty() || !Navigate(m_folder))
        return;
    const int row = RowOfName(name);
    if (row >= 0) {
        SetFocus(Item(kFileList));
        SelectRow(row);
    }
}

void CFileNameDialog::OnTypeChanged()
{
    const LRESULT index = SendDlgItemMessageW(Hwnd(), kTypeCombo, CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= m_types.size())
        return;
    m_typeIndex = static_cast<std::size_t>(index);
    m_pattern = m_types[m_typeIndex].patterns;
    Refill();
}

void CFileNameDialog::OnPlaceChosen()
{
    const LRESULT index = SendDlgItemMessageW(Hwnd(), kPlacesList, LB_GETCURSEL, 0, 0);
    if (index >= 0 && static_cast<std::size_t>(index) < m_places.size())
        Navigate(m_places[static_cast<std::size_t>(index)]);
}

// A file picked in the list goes into the name field, as if typed.
void CFileNameDialog::OnSelectionChanged(int row)
{
    LVITEMW item;
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendDlgItemMessageW(Hwnd(), kFileList, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (item.lParam >= 0 && static_cast<std::size_t>(item.lParam) < m_entries.size() &&
        !m_entries[static_cast<std::size_t>(item.lParam)].isFolder)
        SetItemText(kNameEdit, m_entries[static_cast<std::size_t>(item.lParam)].name);
}

// The current type's own extension when it names one, else the caller's; none
// when the caller asked for none.
std::wstring CFileNameDialog::DefaultExtension() const
{
    if (m_request.lpstrDefExt == nullptr)
        return {};
    const std::wstring typeExtension = CFileTypeFilter::FirstExtension(m_pattern);
    std::wstring extension = typeExtension.empty() ? std::wstring(m_request.lpstrDefExt) : typeExtension;
    if (!extension.empty() && extension.front() == L'.')
        extension.erase(0, 1);
    return extension;
}

}  // namespace ZELL::Shell
