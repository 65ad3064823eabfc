#include "Common/PelorusDLL/Dialogs/ScanNetworkDlg.h"

#include "Common/Communication/ArticleNumber.h"
#include "Common/PelorusDLL/Dialogs/DialogControls.h"
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/HostProfile.h"
#include "Common/PelorusDLL/Dialogs/ScanLock.h"
#include "Common/PelorusDLL/Dialogs/ScanThreadParam.h"
#include "Common/PelorusDLL/Dialogs/ScanWorker.h"
#include "Common/PelorusDLL/Dialogs/TSLX.h"
#include "Common/SystemHelper/System/AutoLock.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/Format.h"
#include "Platform/Controls/HeaderStyles.h"
#include "Platform/Framework/Drawing/ClientDC.h"
#include "Platform/Framework/Controls/HeaderCtrl.h"
#include "Platform/Ui/Keyboard.h"
#include "Platform/Ui/ResourceModule.h"

#include <cwctype>

using namespace PelorusIds;

namespace {

// Registered once when the library loads, as the workers' sends expect.
const UINT kDeviceIdentified = CScanContext::DeviceIdentifiedMessage();

constexpr const wchar_t* kSettings = L"Settings";
constexpr UINT kWarningIcon = 12;

// Only digits, so "1e2" or " 12" never passes as a number.
bool ReadOctet(const CString& text, int& value)
{
    const std::wstring digits = text.GetString();
    if (digits.empty() || digits.size() > 3)
        return false;
    for (wchar_t c : digits)
        if (!std::iswdigit(c))
            return false;
    value = std::stoi(digits);
    return true;
}

// The address as the user typed it, octet texts joined by dots.
std::wstring JoinOctets(const std::array<CString, 4>& octets)
{
    return FormatW(L"%s.%s.%s.%s", octets[0].GetString(), octets[1].GetString(), octets[2].GetString(),
                   octets[3].GetString());
}

int OctetValue(const CString& text)
{
    int value = 0;
    return ReadOctet(text, value) ? value : 0;
}

// More addresses make the bar count a little further than the results.
int ProgressExtra(std::size_t count)
{
    if (count <= 10)
        return 0;
    if (count <= 50)
        return 5;
    if (count <= 100)
        return 10;
    if (count <= 150)
        return 15;
    if (count <= 200)
        return 20;
    return 25;
}

std::wstring SortableArticle(const std::wstring& text)
{
    CArticleNumber article(text);
    std::wstring full = article.GetText(true);
    if (full == L"0000")
        full = CArticleNumber(L"9999-9999/9999-9999").GetText(true);
    return full;
}

struct SortOrder {
    int column = 1;
    bool ascending = true;
};

int CompareRows(LPARAM left, LPARAM right, LPARAM order)
{
    const auto* sort = reinterpret_cast<const SortOrder*>(order);
    const int result = CScanNetworkDlg::CompareRecords(*reinterpret_cast<const CDeviceInfo*>(left),
                                                       *reinterpret_cast<const CDeviceInfo*>(right), sort->column);
    return sort->ascending ? result : -result;
}

}

BEGIN_MESSAGE_MAP(CScanNetworkDlg, CDialog)
    ON_WM_CLOSE()
    ON_BN_CLICKED(kSearch, OnSearch)
    ON_CONTROL_RANGE(EN_CHANGE, kStartOctet1, kEndOctet4, OnOctetChanged)
    ON_REGISTERED_MESSAGE(kDeviceIdentified, OnDeviceIdentified)
    ON_MESSAGE(kNothingFoundMessage, OnNothingFound)
    ON_NOTIFY(LVN_COLUMNCLICK, kDeviceList, OnColumnClick)
    ON_NOTIFY(LVN_ITEMCHANGED, kDeviceList, OnItemChanged)
    ON_NOTIFY(NM_DBLCLK, kDeviceList, OnDoubleClick)
END_MESSAGE_MAP()

CScanNetworkDlg::CScanNetworkDlg(CWnd* parent) : CDialog(kScanDialog, parent)
{
    CDialogControls::Register();
    m_start = {L"192", L"168", L"1", L"1"};
    m_end = {L"192", L"168", L"1", L"254"};
    const CHostProfile profile;
    std::vector<std::wstring> parts;
    SplitString(profile.GetString(kSettings, L"AddrSearchFirst", L"192.168.1.1"), L".", parts);
    for (std::size_t i = 0; i < parts.size() && i < 4; ++i)
        m_start[i] = parts[i].c_str();
    SplitString(profile.GetString(kSettings, L"AddrSearchLast", L"192.168.1.254"), L".", parts);
    for (std::size_t i = 0; i < parts.size() && i < 4; ++i)
        m_end[i] = parts[i].c_str();
}

CScanNetworkDlg::~CScanNetworkDlg()
{
    // Workers still running free their own records: nobody takes them now.
    m_scan->Cancel();
}

std::shared_ptr<CScanContext> CScanNetworkDlg::NewScanContext() const
{
    auto scan = std::make_shared<CScanContext>();
    scan->m_texts.noZellDevice = GetLanguageText(L"SND_STATE_NO_ZELL_DEVICE").GetString();
    scan->m_texts.noMacId = GetLanguageText(L"SND_STATE_NO_MAC_ID").GetString();
    scan->m_texts.notSupported = GetLanguageText(L"SND_STATE_NOT SUPPORTED").GetString();
    scan->m_texts.identifyFailed = GetLanguageText(L"SND_STATE_IDENTIFY_FAILED").GetString();
    scan->m_pingEnabled = CHostProfile().GetInt(kSettings, L"EnablePing", 1) != 0;
    scan->m_servicePort = m_servicePort;
    scan->m_probe = m_probe;
    scan->TakeTemplate(m_templateConnection);
    return scan;
}

void CScanNetworkDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    for (int i = 0; i < 4; ++i) {
        DDX_Text(dx, kStartOctet1 + i, m_start[static_cast<std::size_t>(i)]);
        DDX_Text(dx, kEndOctet1 + i, m_end[static_cast<std::size_t>(i)]);
    }
    DDX_Check(dx, kResolveNames, m_resolveNames);
    DDX_Check(dx, kShowAll, m_showAll);
    DDX_Control(dx, kDeviceList, m_list);
    DDX_Control(dx, kProgress, m_progress);
}

BOOL CScanNetworkDlg::OnInitDialog()
{
    m_updatingOctets = true;
    CDialog::OnInitDialog();
    m_updatingOctets = false;
    LOGFONTW logFont{};
    TSLX::GetMainLogfont(&logFont);
    if (m_font.CreateFontIndirect(&logFont)) {
        SetFont(&m_font);
        for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
            child->SetFont(&m_font);
    }
    SetTexts();
    m_progress.ShowWindow(SW_HIDE);
    m_progress.SetStep(1);
    PrepareList();
    GetDlgItem(IDOK)->EnableWindow(FALSE);
    CWnd* last = GetDlgItem(kStartOctet1 + 3);
    GotoDlgCtrl(last);
    last->SendMessage(EM_SETSEL, 0, -1);
    return FALSE;
}

void CScanNetworkDlg::SetTexts()
{
    SetWindowText(GetLanguageText(L"SND_TITLE"));
    const std::pair<int, const wchar_t*> texts[] = {
        {kRangeGroup, L"SND_GRP_ADDRESS_RANGE"}, {kFromLabel, L"SND_LBL_FROM"},
        {kToLabel, L"SND_LBL_TO"},              {kResolveNames, L"CSD_LBL_RESOLVE_HOSTNAMES"},
        {kShowAll, L"SND_LBL_CHECK_SHOW_ALL"},  {kSearch, L"SND_BTN_SEARCH"},
        {kListGroup, L"SND_GRP_DEVICE_LIST"},   {IDOK, L"SND_BTN_APPLY"},
        {IDCANCEL, L"SND_BTN_CANCEL"}};
    for (const auto& [id, key] : texts)
        SetDlgItemText(id, GetLanguageText(key));
}

void CScanNetworkDlg::PrepareList()
{
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    m_list.SetFont(&m_font);
    LoadRowIcons();
    const wchar_t* samples[] = {L"IP-255.255.255.255", L"Identifikation fehlgeschlagen! ", L"FF:FF:FF:FF:FF:FF "};
    const wchar_t* keys[] = {L"SND_HDR_IP_ADDRESS", L"SND_HDR_ARTICLE_NO", L"SND_HDR_MAC_ADDRESS"};
    CClientDC dc(m_list.GetSafeHwnd());
    CFont* previous = dc.SelectObject(&m_font);
    for (int column = 0; column < 3; ++column) {
        const CString header = GetLanguageText(keys[column]);
        const int width = std::max(dc.GetTextExtent(samples[column]).cx, dc.GetTextExtent(header).cx) + 12;
        m_list.InsertColumn(column, header, LVCFMT_LEFT,
                            column == 2 ? width - ::GetSystemMetrics(SM_CXVSCROLL) : width);
    }
    dc.SelectObject(previous);
}

// Images 0 to 3 of the rows: identified, not usable or not found, ours but
// not identified, not ours.
void CScanNetworkDlg::LoadRowIcons()
{
    if (!m_rowIcons.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 0))
        return;
    for (int id : {kScanIdentifiedIcon, kScanUnusableIcon, kScanNotIdentifiedIcon, kScanForeignIcon}) {
        const HICON icon = reinterpret_cast<HICON>(
            ::LoadImageW(Ui::OwnModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
        m_rowIcons.Add(icon);
        if (icon)
            ::DestroyIcon(icon);
    }
    m_list.SetImageList(&m_rowIcons, LVSIL_SMALL);
}

BOOL CScanNetworkDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) {
        const bool control = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
        const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
        const bool alt = (::GetKeyState(VK_MENU) & 0x8000) != 0;
        if (msg->wParam == VK_RETURN && msg->hwnd == GetDlgItem(kEndOctet4)->GetSafeHwnd() &&
            GetDlgItem(kEndOctet4)->GetWindowTextLength() > 0) {
            if (GetDlgItem(kSearch)->IsWindowEnabled())
                OnSearch();
            return TRUE;
        }
        if (msg->wParam == 'A' && control && !shift && !alt && msg->hwnd == m_list.GetSafeHwnd()) {
            m_list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

// --- octets -------------------------------------------------------------------

void CScanNetworkDlg::ShowBalloon(int id, const CString& title, const CString& text)
{
    CWnd* edit = GetDlgItem(id);
    TSLX::BalloonMsg(title, text, edit->GetSafeHwnd(), m_hWnd, AfxGetResourceHandle(), kWarningIcon, TRUE, 0, nullptr,
                     TRUE);
    GotoDlgCtrl(edit);
}

bool CScanNetworkDlg::OctetInRange(int id, int lower, int upper, bool showBalloon)
{
    CString text;
    GetDlgItemText(id, text);
    int value = 0;
    if (ReadOctet(text, value) && value >= lower && value <= upper)
        return true;
    if (showBalloon) {
        const std::wstring message =
            FormatW(GetLanguageText(L"SND_MSG_OUT_OF_RANGE_INT").GetString(), lower, upper);
        ShowBalloon(id, GetLanguageText(L"SND_HDR_IP_ADDRESS"), message.c_str());
    }
    return false;
}

bool CScanNetworkDlg::ValidateStartOctet(int index, bool searching)
{
    const int id = kStartOctet1 + index;
    const bool last = index == 3;
    if (!OctetInRange(id, last ? 1 : 0, last ? 254 : 255, true))
        return false;
    if (searching || (::GetKeyState(VK_CONTROL) & 0x8000) != 0)
        return true;
    CString text;
    GetDlgItemText(id, text);
    m_updatingOctets = true;
    SetDlgItemText(kEndOctet1 + index, text);
    m_updatingOctets = false;
    if (text.GetLength() == 3)
        NextDlgCtrl();
    GetDlgItem(kEndOctet4)->SendMessage(EM_SETSEL, 0, -1);
    return true;
}

bool CScanNetworkDlg::ValidateEndOctet(int index)
{
    CString start;
    GetDlgItemText(kStartOctet1 + index, start);
    return OctetInRange(kEndOctet1 + index, OctetValue(start), index == 3 ? 254 : 255, true);
}

void CScanNetworkDlg::OnOctetChanged(UINT id)
{
    if (m_updatingOctets || m_hWnd == nullptr)
        return;
    const int index = static_cast<int>(id) - kStartOctet1;
    if (index < 4) {
        ValidateStartOctet(index, false);
        return;
    }
    if (static_cast<int>(id) != kEndOctet4 || GetDlgItem(kEndOctet4)->GetWindowTextLength() < 3)
        return;
    if (ValidateEndOctet(3)) {
        if (GetDlgItem(kSearch)->IsWindowEnabled())
            GotoDlgCtrl(GetDlgItem(kSearch));
        else
            NextDlgCtrl();
    }
}

// --- scan ---------------------------------------------------------------------

void CScanNetworkDlg::EnableSearchButtons(bool enable)
{
    GetDlgItem(IDCANCEL)->EnableWindow(enable);
    GetDlgItem(kSearch)->EnableWindow(enable);
}

void CScanNetworkDlg::ClearResults()
{
    CAutoLock lock(CScanLock::Section());
    if (m_list.GetSafeHwnd())
        m_list.DeleteAllItems();
    m_results.clear();
}

std::vector<std::wstring> CScanNetworkDlg::AddressWalk() const
{
    std::vector<std::wstring> addresses;
    for (int a = OctetValue(m_start[0]); a <= OctetValue(m_end[0]); ++a)
        for (int b = OctetValue(m_start[1]); b <= OctetValue(m_end[1]); ++b)
            for (int c = OctetValue(m_start[2]); c <= OctetValue(m_end[2]); ++c)
                for (int d = OctetValue(m_start[3]); d <= OctetValue(m_end[3]); ++d)
                    addresses.push_back(FormatW(L"%d.%d.%d.%d", a, b, c, d));
    return addresses;
}

void CScanNetworkDlg::OnSearch()
{
    if (!UpdateData(TRUE))
        return;
    for (int i = 0; i < 4; ++i)
        if (!ValidateStartOctet(i, true))
            return;
    if (!ValidateEndOctet(3))
        return;
    // The end address shares the start's network part; only the last octet varies.
    m_updatingOctets = true;
    for (std::size_t i = 0; i < 3; ++i)
        m_end[i] = m_start[i];
    UpdateData(FALSE);
    m_updatingOctets = false;

    ClearResults();
    EnableSearchButtons(false);
    m_list.Invalidate();
    if (OctetValue(m_end[3]) < OctetValue(m_start[3])) {
        m_scanning = false;
        EnableSearchButtons(true);
        ShowBalloon(kEndOctet4, GetLanguageText(L"SND_MSG_INVALID_ADDRESS_RANGE"),
                    GetLanguageText(L"SND_MSG_WRONG_ADDRESS_RANGE"));
        GetDlgItem(kEndOctet4)->SendMessage(EM_SETSEL, 0, -1);
        return;
    }
    const CHostProfile profile;
    profile.WriteString(kSettings, L"AddrSearchFirst", JoinOctets(m_start));
    profile.WriteString(kSettings, L"AddrSearchLast", JoinOctets(m_end));
    StartScan(AddressWalk());
}

void CScanNetworkDlg::StartScan(const std::vector<std::wstring>& addresses)
{
    m_scan->Cancel();
    m_scan = NewScanContext();
    if (addresses.empty()) {
        EnableSearchButtons(true);
        return;
    }
    m_scan->AddOutstanding(static_cast<int>(addresses.size()));
    m_progress.SetPos(0);
    m_progress.SetRange32(0, 2 * static_cast<int>(addresses.size() + static_cast<std::size_t>(ProgressExtra(addresses.size()))));
    m_progress.ShowWindow(SW_SHOW);
    m_scanning = true;
    for (const std::wstring& address : addresses) {
        auto* record = new CDeviceInfo;
        record->m_ipAddress = address;
        record->m_resolveHostName = IsDlgButtonChecked(kResolveNames) != 0;
        record->m_waitSeconds = m_retryWaitSeconds;
        CScanWorker::Start(new tScanThreadParam{m_hWnd, false, record, false, m_scan});
        m_progress.StepIt();
    }
    if (m_scan->Outstanding() == 0)
        FinishScan();
}

void CScanNetworkDlg::FinishScan()
{
    m_scanning = false;
    m_progress.SetPos(0);
    EnableSearchButtons(true);
    if (m_list.GetItemCount() == 0) {
        m_list.Invalidate();
        // Said once the last worker has its answer, not while it waits for it.
        PostMessage(kNothingFoundMessage);
    }
    UpdateOkButton();
    // Not while the user answers a question of this dialog: the focus would
    // pull the dialog over the question.
    if (IsWindowEnabled())
        m_list.SetFocus();
}

// Not said while a question of this dialog is open: its answer ends the
// dialog or goes on with an empty list.
LRESULT CScanNetworkDlg::OnNothingFound(WPARAM, LPARAM)
{
    if (m_scanning || m_list.GetItemCount() != 0 || !IsWindowEnabled())
        return 0;
    const std::wstring text = FormatW(GetLanguageText(L"SND_MSG_NO_DEVICE_FOUND").GetString(),
                                      JoinOctets(m_start).c_str(), JoinOctets(m_end).c_str());
    TSLX::MessageBox(text.c_str(), MB_OK | MB_ICONINFORMATION, GetLanguageText(L"SND_TITLE"), 0);
    return 0;
}

LRESULT CScanNetworkDlg::OnDeviceIdentified(WPARAM found, LPARAM lParam)
{
    auto* record = reinterpret_cast<CDeviceInfo*>(lParam);
    // Not ours to take: a late result of an earlier scan, or the dialog ended.
    if (record == nullptr || record->m_scan != m_scan.get() || m_scan->IsCancelled() || m_hWnd == nullptr)
        return 0;
    std::unique_ptr<CDeviceInfo> owned(record);
    int left = 0;
    {
        CAutoLock lock(CScanLock::Section());
        if (IsListed(*record)) {
            m_results.push_back(std::move(owned));
            AddRow(record, found != 0);
        }
        m_progress.StepIt();
        left = m_scan->ResultArrived();
    }
    if (left == 0)
        FinishScan();
    return CScanContext::kRecordTaken;
}

// What shows no hardware address (this machine's own addresses) is still
// listed among all devices when it answered, with its state.
bool CScanNetworkDlg::IsListed(const CDeviceInfo& record) const
{
    const bool showAll = IsDlgButtonChecked(kShowAll) != 0;
    if (!(record.m_zellDevice2 || showAll) || (record.m_macAddress.empty() && !(showAll && record.m_answered)))
        return false;
    for (const auto& listed : m_results)
        if (CompareNoCase(listed->m_ipAddress, record.m_ipAddress) == 0)
            return false;
    return true;
}

void CScanNetworkDlg::AddRow(CDeviceInfo* record, bool found)
{
    const bool ours = record->m_zellDevice2;
    const bool showArticle = ours && !record->m_articleNumber.empty();
    // A device that gave no hardware address says so in the address's
    // column; the article-number column holds article numbers and states.
    const bool noMac = record->m_macAddress.empty() && record->m_stateText == m_scan->m_texts.noMacId;
    std::wstring second = showArticle ? record->m_articleNumber : (noMac ? std::wstring() : record->m_stateText);
    int image = 1;
    if (found)
        image = ours ? 0 : 3;
    else if (ours)
        image = record->m_usable ? 2 : 1;
    if (!found && ours && showArticle)
        second = record->m_articleNumber + L" (" + record->m_stateText + L")";
    const int row = m_list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, m_list.GetItemCount(),
                                      record->m_ipAddress.c_str(), 0, 0, image, reinterpret_cast<LPARAM>(record));
    m_list.SetItemText(row, 1, second.c_str());
    m_list.SetItemText(row, 2, noMac ? record->m_stateText.c_str() : record->m_macAddress.c_str());
    SortBy(1, true);
}

// --- sorting and selection ----------------------------------------------------

int CScanNetworkDlg::CompareRecords(const CDeviceInfo& left, const CDeviceInfo& right, int column)
{
    if (column == 0) {
        const DWORD a = IpTextToUInt(left.m_ipAddress);
        const DWORD b = IpTextToUInt(right.m_ipAddress);
        return a < b ? -1 : (a > b ? 1 : 0);
    }
    // Rows that tie keep the order of their addresses, not of their arrival.
    const int result = column == 1
                           ? SortableArticle(left.m_articleNumber).compare(SortableArticle(right.m_articleNumber))
                           : left.m_macAddress.compare(right.m_macAddress);
    return result != 0 ? result : CompareRecords(left, right, 0);
}

void CScanNetworkDlg::SortBy(int column, bool ascending)
{
    m_sortColumn = column;
    m_sortAscending = ascending;
    SortOrder order{column, ascending};
    m_list.SortItems(&CompareRows, reinterpret_cast<DWORD_PTR>(&order));
    CHeaderCtrl* header = m_list.GetHeaderCtrl();
    if (header == nullptr)
        return;
    for (int i = 0; i < header->GetItemCount(); ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        header->GetItem(i, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == column)
            item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
        header->SetItem(i, &item);
    }
}

void CScanNetworkDlg::OnColumnClick(NMHDR* header, LRESULT* result)
{
    const auto* view = reinterpret_cast<const NMLISTVIEW*>(header);
    const bool showsAscending = view->iSubItem == m_sortColumn && m_sortAscending;
    SortBy(view->iSubItem, !showsAscending);
    *result = 0;
}

CDeviceInfo* CScanNetworkDlg::UsableSelection() const
{
    if (m_scanning)
        return nullptr;
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
        return nullptr;
    auto* record = reinterpret_cast<CDeviceInfo*>(m_list.GetItemData(row));
    return record && record->m_identified && record->m_usable ? record : nullptr;
}

void CScanNetworkDlg::UpdateOkButton()
{
    CDeviceInfo* record = UsableSelection();
    if (record) {
        m_selectedAddress = record->m_ipAddress.c_str();
        m_selectedName = record->m_hostName.c_str();
    }
    GetDlgItem(IDOK)->EnableWindow(record != nullptr);
}

void CScanNetworkDlg::OnItemChanged(NMHDR*, LRESULT* result)
{
    UpdateOkButton();
    *result = 0;
}

void CScanNetworkDlg::OnDoubleClick(NMHDR*, LRESULT* result)
{
    if (UsableSelection())
        OnOK();
    *result = 0;
}

// --- ending -------------------------------------------------------------------

void CScanNetworkDlg::EndScanAndClose(int result)
{
    m_scan->Cancel();
    m_scanning = false;
    EnableSearchButtons(true);
    ClearResults();
    EndDialog(result);
}

void CScanNetworkDlg::OnOK()
{
    CDeviceInfo* record = UsableSelection();
    if (record == nullptr)
        return;
    m_selectedAddress = record->m_ipAddress.c_str();
    m_selectedName = record->m_hostName.c_str();
    m_resolveNames = IsDlgButtonChecked(kResolveNames);
    EndScanAndClose(IDOK);
}

// The default closing goes through the Cancel button and does nothing while
// a scan has it disabled; closing the window is to ask and end the scan.
void CScanNetworkDlg::OnClose()
{
    OnCancel();
}

void CScanNetworkDlg::OnCancel()
{
    if (m_scanning) {
        // Without the user-interface library the question has only OK (a yes/no
        // box never answers it), which then lets the user leave.
        const int answer = TSLX::MessageBox(GetLanguageText(L"SND_MSG_CANCEL_SCANNING"), MB_YESNO, L"", 0) & 0xFF;
        if (answer != IDYES && answer != IDOK)
            return;
    }
    EndScanAndClose(IDCANCEL);
}
