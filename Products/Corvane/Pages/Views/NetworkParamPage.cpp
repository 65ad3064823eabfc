#include "Products/Corvane/Pages/Views/NetworkParamPage.h"

#include "Common/Skin/ZellMenu.h"
#include "Common/Grid/GridCellCombo.h"
#include "Common/PelorusDLL/TCPIPService.h"
#include "Common/SystemHelper/Desktop/SystemInfo.h"
#include "Common/SystemHelper/Desktop/WindowHelpers.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Base/Format.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Framework/App/WaitCursor.h"
#include "Platform/Gdi/SysColors.h"
#include "Platform/Shell/ShellExecute.h"
#include "Platform/Ui/Clipboard.h"
#include "Products/Corvane/App/CorvaneApp.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Pages/Views/CommonPage.h"
#include "Products/Corvane/Pages/Views/PageAppServices.h"
#include "Products/Corvane/Pages/Views/Res/NetworkParamPageIds.h"
#include "Products/Corvane/Workers/DeviceDataReader.h"
#include "Products/Corvane/Workers/DeviceDataWriter.h"
#include "Products/Corvane/Workers/DeviceResetSteps.h"
#include "Products/Corvane/Workers/WorkerBusyFlag.h"
#include "Products/Corvane/Workers/WorkerConnection.h"
#include "Products/Corvane/Workers/WorkerContext.h"
#include "Products/Corvane/Workers/WorkerMessages.h"

namespace Corvane {

using namespace NetworkParamPageIds;
using namespace ZELL::Skin;
using namespace ZELL::Grid;
using Codec = CNetworkParamCodec;

namespace {

constexpr wchar_t kNoAddress[] = L"0.0.0.0";
constexpr WORD kFirstSourceCode = 1;
constexpr WORD kLastSourceCode = 3;
constexpr WORD kAutoIPSourceCode = 4;
constexpr WORD kSwitchedMode = 0;
constexpr WORD kSeparatedMode = 1;
constexpr WORD kModeNotRead = 0xFFFF;

}

bool CNetworkParamPage::s_dipPolling = false;

BEGIN_MESSAGE_MAP(CNetworkParamPage, CGridPageBase)
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_CONTROL_RANGE(BN_CLICKED, kPortX1Button, kPortX2Button, OnPortClicked)
    ON_BN_CLICKED(kWebManagementButton, OnWebManagement)
    ON_BN_CLICKED(kDipPollButton, OnDipPoll)
    ON_BN_CLICKED(kSwitchedRadio, OnModeClicked)
    ON_BN_CLICKED(kSeparatedRadio, OnModeClicked)
    ON_BN_CLICKED(kSetModeButton, OnSetMode)
    ON_NOTIFY(GRIDN_BEGINLABELEDIT, kNetworkParamGrid, OnGridBeginEdit)
    ON_NOTIFY(GRIDN_ENDLABELEDIT, kNetworkParamGrid, OnGridEndEdit)
    ON_NOTIFY(GRIDN_SELCHANGED, kNetworkParamGrid, OnGridSelectionChanged)
    ON_NOTIFY(GRIDN_MOUSEOVER, kNetworkParamGrid, OnGridMouseOver)
    ON_NOTIFY(GRIDN_CLICK, kNetworkParamGrid, OnGridClick)
    ON_NOTIFY(GRIDN_RCLICK, kNetworkParamGrid, OnGridRightClick)
END_MESSAGE_MAP()

CNetworkParamPage::CNetworkParamPage() : CGridPageBase(kNetworkParamTemplate, 0) { m_strPageKey = kPageKey; }

CNetworkParamPage::~CNetworkParamPage()
{
    // A page that goes while polling gives the poll free for the others.
    if (m_bDipPolling)
        s_dipPolling = false;
}

// --- device kind -----------------------------------------------------------------

bool CNetworkParamPage::HasDip() const
{
    const CCorvaneApp* app = GetCorvaneApp();
    const CFBCData* data = GetDeviceData();
    return app != nullptr && data != nullptr && app->HasDIPSwitch(data->ArticleNo);
}

CString CNetworkParamPage::SourceText(WORD code) const
{
    const CCorvaneApp* app = GetCorvaneApp();
    CString text;
    if (app != nullptr)
        text = app->GetIPAddressSourceText(code);
    return text;
}

// --- loading and the grid ----------------------------------------------------------

void CNetworkParamPage::LoadFromDeviceData()
{
    CFBCData* data = GetDeviceData();
    if (data == nullptr || !data->HasNetworkParams || data->GetEthernetPortCount() == 0)
        return;
    m_dwSelectedPort = Codec::EffectivePort(*data, m_dwSelectedPort);
    m_arrRows = Codec::BuildRows(*data, m_dwSelectedPort, HasDip(),
                              [this](WORD code) { return std::wstring(SourceText(code).GetString()); });
    m_bEditInProgress = false;
    m_nRefusedRow = -1;
    const bool drawn = m_Grid.GetSafeHwnd() != nullptr;
    if (drawn)
        m_Grid.AllowDrawing(FALSE);
    Rebuild();
    if (drawn)
        m_Grid.AllowDrawing(TRUE);
    ShowInterfaceMode();
}

void CNetworkParamPage::Rebuild()
{
    const CFBCData* data = GetDeviceData();
    if (!IsLive() || data == nullptr || m_Grid.GetSafeHwnd() == nullptr)
        return;
    m_bEditInProgress = false;
    const bool twoPorts = data->GetEthernetPortCount() >= 2;
    GetDlgItem(kPortX2Button)->EnableWindow(twoPorts);
    CheckDlgButton(kPortX1Button, m_dwSelectedPort == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kPortX2Button, m_dwSelectedPort == 1 ? BST_CHECKED : BST_UNCHECKED);
    GetDlgItem(kWebManagementButton)->EnableWindow(!WebManagementUrl().IsEmpty());
    const bool dip = HasDip();
    GetDlgItem(kDipPollButton)->ShowWindow(dip ? SW_SHOW : SW_HIDE);
    GetDlgItem(kDipSeparator)->ShowWindow(dip ? SW_SHOW : SW_HIDE);
    GetDlgItem(kDipPollButton)->EnableWindow(dip && !IsOfflineConfig());

    SaveNameRowImages();
    SetUpGrid(1, 4, 1, 1);
    // The configured column is edited in place, and copied and pasted.
    m_Grid.EnableEditing(TRUE);
    m_Grid.EnableSelection(TRUE);
    InitGridRow(0, true);
    m_Grid.SetCellText(0, 1, Text(L"TXT_PARAMETER"));
    m_Grid.SetCellText(0, kStaticColumn, Text(L"TXT_EDIT"));
    m_Grid.SetCellText(0, kActualColumn, Text(L"TXT_ACTUAL"));
    for (const CRow& row : m_arrRows)
        FillRow(row);
    SetUpSourceCell();
    RedrawGrid(true);
    m_Grid.SetRowTextColour(0, kHeaderTextColour, TRUE);
    RestoreNameRowImages();
}

void CNetworkParamPage::SaveNameRowImages()
{
    if (m_Grid.GetRowCount() <= Codec::DomainNameRow)
        return;
    m_arrSavedNameRowImages[0] = m_Grid.GetCellImage(Codec::HostNameRow, 0);
    m_arrSavedNameRowImages[1] = m_Grid.GetCellImage(Codec::DomainNameRow, 0);
}

void CNetworkParamPage::RestoreNameRowImages()
{
    if (m_Grid.GetRowCount() <= Codec::DomainNameRow)
        return;
    if (m_arrSavedNameRowImages[0] >= 0)
        SetRowImage(Codec::HostNameRow, m_arrSavedNameRowImages[0]);
    if (m_arrSavedNameRowImages[1] >= 0)
        SetRowImage(Codec::DomainNameRow, m_arrSavedNameRowImages[1]);
}

void CNetworkParamPage::ForgetNameRowImages()
{
    m_arrSavedNameRowImages[0] = -1;
    m_arrSavedNameRowImages[1] = -1;
    // The next rebuild takes the images from the grid: they go as well.
    if (m_Grid.GetRowCount() > Codec::DomainNameRow) {
        ResetRowImage(Codec::HostNameRow);
        ResetRowImage(Codec::DomainNameRow);
    }
}

void CNetworkParamPage::FillRow(const CRow& row)
{
    const int index = row.Row;
    InitGridRow(index, false);
    m_Grid.SetCellReadOnly(index, kActualColumn);
    const CString notSupported = Text(L"TXT_NOT_SUPPORTED");
    const CString actual = row.NotSupported ? notSupported
                           : index == Codec::DipRow ? CString(Codec::WithDhcpMark(row.Actual).c_str())
                                                   : CString(row.Actual.c_str());
    const CString fixed = row.NotSupported ? notSupported : CString(row.Static.c_str());
    CString caption = Text(row.CaptionKey) + L" ";
    // One value for all ports: edited on X1, shown here for reference.
    if (row.Shared)
        caption += Text(L"TXT_SAME_AS_X1") + L" ";
    FillGrid(index, caption, fixed, row.Kind);
    m_Grid.SetCellText(index, kActualColumn, actual);
    m_Grid.SetCellTextColour(index, kActualColumn, m_Grid.GetCellTextColour(index, kStaticColumn));
    if (index == Codec::AddressRow) {
        // A click on the actual address opens the web management: it is drawn bold.
        LOGFONTW bold = GetPageLogFont();
        bold.lfWeight = FW_BOLD;
        m_Grid.SetCellFont(index, kActualColumn, &bold);
    }
    if (row.NotSupported)
        MarkUnsupportedRow(index);
    else if (row.Shared) {
        m_Grid.SetCellReadOnly(index, kStaticColumn);
        m_Grid.SetCellTextColour(index, kStaticColumn, ::GetSysColor(COLOR_GRAYTEXT));
    }
    // An address no device takes (loaded from a file) wears a refused entry's mark and balloon.
    if (row.Refused)
        SetRowImage(index, kImageInvalid);
    if (index == Codec::SourceRow && row.Actual == Text(L"TXT_IP_ADDR_SOURCE_07").GetString())
        SetRowImage(index, kImageMarked);
    // Only a controller takes its time server from this page.
    if (index == Codec::SntpRow && !IsController()) {
        m_Grid.SetCellReadOnly(index, kStaticColumn);
        SetRowImage(index, kImageMarked);
    }
}

void CNetworkParamPage::MarkUnsupportedRow(int row)
{
    m_Grid.SetRowTextColour(row, ::GetSysColor(COLOR_GRAYTEXT), TRUE);
    m_Grid.SetCellReadOnly(row, kStaticColumn);
    if (row == Codec::DipRow)
        GetDlgItem(kDipPollButton)->EnableWindow(FALSE);
}

void CNetworkParamPage::SetUpSourceCell()
{
    if (m_Grid.GetRowCount() <= Codec::SourceRow || !m_Grid.ReplaceCellClass(Codec::SourceRow, kStaticColumn,
                                                                               RUNTIME_CLASS(CGridCellCombo)))
        return;
    const CFBCData* data = GetDeviceData();
    const CCorvaneApp* app = GetCorvaneApp();
    const WORD last = app != nullptr && data != nullptr && app->HasAutoIP(data->ArticleNo) ? kAutoIPSourceCode
                                                                                            : kLastSourceCode;
    std::vector<CString> texts;
    for (WORD code = kFirstSourceCode; code <= last; ++code)
        texts.push_back(SourceText(code));
    auto* cell = static_cast<CGridCellCombo*>(m_Grid.GetCell(Codec::SourceRow, kStaticColumn));
    cell->SetOptionTexts(texts);
    cell->SetComboStyle(CBS_DROPDOWNLIST);
}

void CNetworkParamPage::ShowInterfaceMode()
{
    const CFBCData* data = GetDeviceData();
    if (data == nullptr || m_hWnd == nullptr)
        return;
    const bool known = data->EthernetInterfaceMode != kModeNotRead;
    for (int id : {kInterfaceGroup, kSwitchedRadio, kSeparatedRadio})
        GetDlgItem(id)->ShowWindow(known ? SW_SHOW : SW_HIDE);
    CheckDlgButton(kSwitchedRadio, data->EthernetInterfaceMode == kSwitchedMode ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kSeparatedRadio, data->EthernetInterfaceMode == kSeparatedMode ? BST_CHECKED : BST_UNCHECKED);
}

void CNetworkParamPage::BeginWaitState(int state, LPCWSTR text)
{
    ShowGridState(state, text);
    if (state == 0) {
        ForgetNameRowImages();
        LoadFromDeviceData();
    }
}

BOOL CNetworkParamPage::UpdateLanguageTexts()
{
    if (!IsActive())
        return CGridPageBase::UpdateLanguageTexts();
    if (m_Grid.GetSafeHwnd() && m_Grid.IsWindowVisible())
        LoadFromDeviceData();
    ApplyTexts();
    return CGridPageBase::UpdateLanguageTexts();
}

void CNetworkParamPage::ApplyTexts()
{
    const CFBCData* data = GetDeviceData();
    const bool twoPorts = data != nullptr && data->GetEthernetPortCount() >= 2;
    SetDlgItemText(kPortX1Button, Text(L"BTN_INTERFACE_X1"));
    SetDlgItemText(kPortX2Button, Text(L"BTN_INTERFACE_X2"));
    SetDlgItemText(kWebManagementButton, Text(L"BTN_CALL_WBM"));
    SetDlgItemText(kDipPollButton, L" " + Text(L"BTN_READ_DIP"));
    SetDlgItemText(kInterfaceGroup, Text(L"GRP_INTERFACES"));
    SetDlgItemText(kSwitchedRadio, Text(L"LBL_INTERFACES_SWITCHED"));
    SetDlgItemText(kSeparatedRadio, Text(L"LBL_INTERFACES_SEPARATED"));
    AddTooltip(kPortX1Button, L"TT_BTN_INTERFACE_X1_BODY", L"TT_BTN_INTERFACE_X1_HDR");
    AddTooltip(kPortX2Button, twoPorts ? L"TT_BTN_INTERFACE_X2_BODY" : L"TT_INTERFACE_X2_NOT_USED_BODY",
               L"TT_BTN_INTERFACE_X2_HDR");
    AddTooltip(kWebManagementButton, L"TT_BTN_CALL_WBM_BODY", L"TT_BTN_CALL_WBM_HDR");
    AddTooltip(kDipPollButton, L"TT_CHECK_DIP_SWITCH_BODY", L"TT_CHECK_DIP_SWITCH_HDR");
    AddTooltip(kSwitchedRadio, L"TT_BTN_SWITCHED_BODY", L"TT_BTN_SWITCHED_HDR");
    AddTooltip(kSeparatedRadio, L"TT_BTN_SEPARATED_BODY", L"TT_BTN_SEPARATED_HDR");
}

// --- the checks before a write -------------------------------------------------------

bool CNetworkParamPage::StoreToDeviceData()
{
    if (!HasBothBlocks() || GetDeviceData() == nullptr)
        return false;
    return CheckAllPorts(IsLive() && !IsUpdating());
}

bool CNetworkParamPage::ValidateAll()
{
    if (m_Grid.GetRowCount() < 3 || GetDeviceData() == nullptr)
        return true;
    // Entering the page checks quietly: the values come from the device.
    return CheckAllPorts(IsLive() && !IsUpdating());
}

bool CNetworkParamPage::CheckAllPorts(bool show)
{
    CFBCData* data = GetDeviceData();
    if (data == nullptr || !data->HasNetworkParams)
        return true;
    DWORD port = m_dwSelectedPort;
    int row = m_nRefusedRow;
    if (const auto field = Codec::FirstUnwritableField(*data, &CCouplerSettingsPageBase::IsAddressAllowed)) {
        port = field->Port;
        row = field->Row;
    }
    if (row < 0)
        return true;
    CString name = Text(Codec::CaptionKey(row));
    if (data->GetEthernetPortCount() > 1)
        name += L", " + Text(port == 0 ? L"TT_BTN_INTERFACE_X1_HDR" : L"TT_BTN_INTERFACE_X2_HDR");
    NoteRefusedField(name);
    if (show)
        ShowRefusedField(port, row);
    return false;
}

void CNetworkParamPage::ShowRefusedField(DWORD port, int row)
{
    if (port != m_dwSelectedPort)
        SelectPort(port);
    if (!m_Grid.IsValid(row, kStaticColumn))
        return;
    const bool nameRow = row == Codec::HostNameRow || row == Codec::DomainNameRow;
    ShowBalloonOf(nameRow ? EBalloon::MaxLength : EBalloon::InvalidAddress, row);
    // An editor already open on the field keeps what the user types.
    if (m_Grid.GetCell(row, kStaticColumn)->IsEditing())
        return;
    m_Grid.SetFocus();
    m_Grid.SetFocusCell(row, kStaticColumn);
    HighlightRow(row);
    if (row != Codec::SourceRow)
        ReopenEditor(row);
}

bool CNetworkParamPage::IsStoredValueWritable(int row) const
{
    const CFBCData* data = GetDeviceData();
    const CFBCData::tNetworkParams* fixed = data ? data->GetStaticNetworkParams(m_dwSelectedPort) : nullptr;
    return fixed == nullptr || Codec::IsWritable(*fixed, row, &CCouplerSettingsPageBase::IsAddressAllowed);
}

void CNetworkParamPage::RefreshInvalidMarks()
{
    // The editor reopens on the refused entry: the mark stays meanwhile.
    if (m_bReEditPending)
        return;
    if (m_nRefusedRow >= 0) {
        const CGridCellBase* cell = m_Grid.IsValid(m_nRefusedRow, kStaticColumn)
                                        ? m_Grid.GetCell(m_nRefusedRow, kStaticColumn)
                                        : nullptr;
        if (cell != nullptr && cell->IsEditing())
            return;
        m_nRefusedRow = -1;
    }
    for (int row = Codec::SourceRow; row < m_Grid.GetRowCount(); ++row) {
        if (m_Grid.GetCellImage(row, 0) != kImageInvalid || !IsStoredValueWritable(row))
            continue;
        ResetRowImage(row);
        if (m_Balloon == EBalloon::InvalidAddress && m_nBalloonRow == row)
            CloseBalloons();
    }
}

// --- editing -------------------------------------------------------------------------

void CNetworkParamPage::OnGridBeginEdit(NMHDR* header, LRESULT* result)
{
    const auto* cell = reinterpret_cast<const NMGRIDCELL*>(header);
    *result = cell->col == kStaticColumn ? 0 : -1;
    if (*result == 0)
        m_bEditInProgress = true;
}

// Only a stored value changes the settings: a refused one leaves them as
// they were, whatever the editor that reopens on it does next.
void CNetworkParamPage::OnGridEndEdit(NMHDR* header, LRESULT* result)
{
    const auto* cell = reinterpret_cast<const NMGRIDCELL*>(header);
    *result = -1;
    m_bEditInProgress = false;
    if (cell->col != kStaticColumn || GetDeviceData() == nullptr)
        return;
    ApplyEdit(cell->row, m_Grid.GetCellText(cell->row, cell->col), result);
    if (*result == 0)
        NotifySettingsChanged(TRUE);
}

void CNetworkParamPage::ApplyEdit(int row, const CString& text, LRESULT* result)
{
    CFBCData& data = *GetDeviceData();
    const Codec::AddressFilter allowed = &CCouplerSettingsPageBase::IsAddressAllowed;
    if (row == Codec::SourceRow) {
        const CCorvaneApp* app = GetCorvaneApp();
        const WORD code = app != nullptr ? app->GetIPAddressSourceCode(text) : WORD{0};
        const Codec::CEditResult edit = Codec::ApplySource(data, m_dwSelectedPort, code, allowed);
        *result = edit.Stored ? 0 : -1;
        ActOnEdit(edit, Codec::AddressRow);
        return;
    }
    const Codec::CEditResult edit = Codec::ApplyText(data, m_dwSelectedPort, row, text.GetString(), allowed);
    *result = edit.Stored ? 0 : -1;
    if (edit.Stored) {
        m_Grid.SetCellText(row, kStaticColumn, edit.CellText.c_str());
        if (row == m_nRefusedRow)
            m_nRefusedRow = -1;
    }
    ActOnEdit(edit, row);
}

void CNetworkParamPage::ActOnEdit(const Codec::CEditResult& edit, int row)
{
    switch (edit.Balloon) {
    case Codec::EBalloon::None:
        if (edit.Stored)
            ResetRowImage(row);
        break;
    case Codec::EBalloon::MaxLength:
        ShowBalloonOf(EBalloon::MaxLength, row);
        break;
    case Codec::EBalloon::InvalidAddress:
        if (!edit.Stored)
            m_nRefusedRow = row;
        ShowBalloonOf(EBalloon::InvalidAddress, row);
        ReopenEditor(row);
        break;
    }
}

void CNetworkParamPage::ReopenEditor(int row)
{
    m_bReEditPending = true;
    PostMessage(CWorkerMessages::Get().EditCell, static_cast<WPARAM>(row), kStaticColumn);
}

LRESULT CNetworkParamPage::OnEditCellMessage(WPARAM row, LPARAM column)
{
    const int cellRow = static_cast<int>(row);
    // A click since the refusal means the user went on elsewhere; a page
    // left since has nothing to reopen.
    if (!m_bReEditPending)
        return 0;
    m_bReEditPending = false;
    if (!IsLive() || column != kStaticColumn || !m_Grid.IsValid(cellRow, kStaticColumn) ||
        m_Grid.GetCell(cellRow, kStaticColumn)->IsKindOf(RUNTIME_CLASS(CGridCellCombo)))
        return 0;
    m_Grid.SetFocus();
    m_Grid.SetFocusCell(cellRow, kStaticColumn);
    m_Grid.SendMessage(WM_KEYDOWN, VK_F2, 0);
    m_bEditInProgress = true;
    return 0;
}

// --- balloons ------------------------------------------------------------------------

void CNetworkParamPage::ShowBalloonOf(EBalloon kind, int row)
{
    if (kind == m_Balloon && row == m_nBalloonRow)
        return;
    CloseBalloons();
    CString title;
    CString body;
    UINT icon = kWarningIcon;
    switch (kind) {
    case EBalloon::InvalidAddress:
        title = m_Grid.GetCellText(row, 1);
        body = row == Codec::AddressRow ? BuildInvalidAddressMessage(kInvalidAddressList)
               : row == Codec::MaskRow  ? BuildInvalidAddressMessage(kInvalidSubnetMask)
               : row == Codec::SourceRow ? Text(L"MSG_INVALID_ADDRESS_SOURCE")
                                        : Text(L"MSG_INVALID_IP_ADDRESS");
        icon = kErrorIcon;
        break;
    case EBalloon::MaxLength:
        title = Text(row == Codec::DomainNameRow ? L"TT_DOMAINNAME_HDR" : L"TT_HOSTNAME_HDR");
        body.Format(Text(row == Codec::DomainNameRow ? L"MSG_DOMAINNAME_MAXCHARS" : L"MSG_HOSTNAME_MAXCHARS"),
                    static_cast<int>(Codec::kMaxNameLength));
        break;
    case EBalloon::NoConfiguration:
        title = Text(L"TXT_IP_ADDR_SOURCE_07");
        body = Text(L"MSG_NOCONFIG_BODY");
        break;
    case EBalloon::Sntp:
        title = Text(L"TXT_SNTP_SETTINGS");
        body = Text(L"MSG_SNTP_SETTINGS_BODY");
        break;
    case EBalloon::None:
        return;
    }
    SetRowImage(row, icon == kErrorIcon ? kImageInvalid : kImageMarked);
    m_Balloon = kind;
    m_nBalloonRow = row;
    ShowCellBalloon(row, kind == EBalloon::Sntp ? 0 : kStaticColumn, title, body, icon);
}

void CNetworkParamPage::CloseBalloons()
{
    if (m_Balloon == EBalloon::None)
        return;
    m_Balloon = EBalloon::None;
    m_nBalloonRow = -1;
    CloseCellBalloon();
}

void CNetworkParamPage::HideTooltip()
{
    CGridPageBase::HideTooltip();
    CloseBalloons();
}

void CNetworkParamPage::ShowCellBalloon(int row, int column, const CString& title, const CString& text, UINT icon)
{
    CRect cell;
    if (!m_Grid.GetCellRect(row, column, cell))
        return;
    m_Grid.ClientToScreen(&cell);
    const POINT at = IsBalloonTipsEnabled() ? POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}
                                            : POINT{cell.left, cell.bottom};
    ZELLBalloonMsg(title.GetString(), text.GetString(), m_Grid.GetSafeHwnd(), m_hWnd, AfxGetInstanceHandle(), icon, FALSE, 0, &at, TRUE);
}

void CNetworkParamPage::CloseCellBalloon() { DestroyZELLBalloonMsg(); }

void CNetworkParamPage::OnGridMouseOver(NMHDR* header, LRESULT* result)
{
    const auto* cell = reinterpret_cast<const NMGRIDCELL*>(header);
    *result = 0;
    const CString address = m_Grid.GetCellText(Codec::AddressRow, kActualColumn);
    SetPageCursor(cell->row == Codec::AddressRow && cell->col == kActualColumn && !address.IsEmpty() &&
                  address != kNoAddress);
    if (cell->col != 0 || !m_Grid.IsValid(cell->row, 0)) {
        // The server row's balloon stays while the pointer is on its row.
        if (cell->row != Codec::SntpRow)
            CloseBalloons();
        return;
    }
    const int image = m_Grid.GetCellImage(cell->row, 0);
    const bool nameRow = cell->row == Codec::HostNameRow || cell->row == Codec::DomainNameRow;
    if (nameRow && image == kImageMarked)
        ShowBalloonOf(EBalloon::MaxLength, cell->row);
    else if (!nameRow && image == kImageInvalid)
        ShowBalloonOf(EBalloon::InvalidAddress, cell->row);
    else if (cell->row == Codec::SourceRow && image == kImageMarked)
        ShowBalloonOf(EBalloon::NoConfiguration, cell->row);
    else if (cell->row != Codec::SntpRow)
        CloseBalloons();
}

void CNetworkParamPage::OnGridClick(NMHDR* header, LRESULT* result)
{
    const auto* cell = reinterpret_cast<const NMGRIDCELL*>(header);
    *result = 0;
    m_bReEditPending = false;
    if (cell->row == Codec::AddressRow && cell->col == kActualColumn &&
        !m_Grid.GetCellText(cell->row, cell->col).IsEmpty()) {
        OnWebManagement();
        return;
    }
    if (cell->row == Codec::SntpRow && !IsController()) {
        if (m_Balloon == EBalloon::Sntp)
            CloseBalloons();
        else
            ShowBalloonOf(EBalloon::Sntp, Codec::SntpRow);
    }
}

void CNetworkParamPage::OnGridSelectionChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    HighlightRow(reinterpret_cast<const NMGRIDCELL*>(header)->row);
}

void CNetworkParamPage::HighlightRow(int row)
{
    if (m_Grid.GetRowCount() < 2 || !m_Grid.IsValid(row, kStaticColumn) || row == m_nSelectedRow)
        return;
    m_nSelectedRow = row;
    if (m_Grid.GetFocusCell().row != row || m_Grid.GetFocusCell().col != kStaticColumn)
        m_Grid.SetFocusCell(row, kStaticColumn);
}

// --- context menu and clipboard ---------------------------------------------------------

void CNetworkParamPage::OnGridRightClick(NMHDR* header, LRESULT* result)
{
    const auto* cell = reinterpret_cast<const NMGRIDCELL*>(header);
    *result = 0;
    if (!m_Grid.IsValid(cell->row, cell->col))
        return;
    m_Grid.SetFocusCell(cell->row, cell->col);
    HighlightRow(cell->row);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ShowContextMenu(cell->row, cell->col, cursor);
}

void CNetworkParamPage::ShowContextMenu(int row, int column, CPoint screen)
{
    const bool text = ::IsClipboardFormatAvailable(CF_TEXT) || ::IsClipboardFormatAvailable(CF_UNICODETEXT);
    const bool pasteable = row != Codec::SourceRow && column == kStaticColumn && text;
    CZellMenu menu;
    menu.CreatePopupMenu();
    CZellMenu::SetIconSize(16, 20);
    menu.SetBackgroundColor(CCommonPage::kImageMask);
    menu.AppendODMenu(Text(L"CMD_COPY"), MF_OWNERDRAW, kCopyCommand);
    menu.AppendODMenu(Text(L"CMD_PASTE"), MF_OWNERDRAW | (pasteable ? 0 : MF_GRAYED), kPasteCommand);
    menu.AppendODMenu(Text(L"CMD_DELETE"), MF_OWNERDRAW | MF_GRAYED, kDeleteCommand);
    menu.LoadToolbar(CCommonPage::kMenuImagesId);
    RunMenuCommand(TrackContextMenu(menu, screen));
}

UINT CNetworkParamPage::TrackContextMenu(CZellMenu& menu, CPoint screen)
{
    return static_cast<UINT>(menu.TrackPopupMenu(TPM_NONOTIFY | TPM_RETURNCMD, screen.x, screen.y, this));
}

void CNetworkParamPage::RunMenuCommand(UINT command)
{
    if (command == kCopyCommand)
        m_Grid.OnEditCopy();
    else if (command == kPasteCommand && !RefusesPaste(m_Grid.GetFocusCell().row, true))
        m_Grid.OnEditPaste();
}

std::wstring CNetworkParamPage::ClipboardText()
{
    std::vector<wchar_t> buffer(Codec::kMaxClipboardText + 2, L'\0');
    if (!GetClipboardText(buffer.data(), buffer.size(), this))
        return {};
    return buffer.data();
}

bool CNetworkParamPage::RefusesPaste(int row, bool tell)
{
    switch (Codec::CheckPaste(row, ClipboardText())) {
    case Codec::EPaste::Allowed:
        return false;
    case Codec::EPaste::TooMuchText:
        if (tell)
            ShowMessage(Text(L"MSG_TO_MUCH_TEXT_IN_CLIPBOARD"));
        return true;
    case Codec::EPaste::NoAddress:
        if (tell)
            ShowMessage(Text(L"MSG_NO_IP_ADDR_IN_CLIPBOARD"));
        return true;
    case Codec::EPaste::Refused:
        break;
    }
    return true;
}

void CNetworkParamPage::ShowMessage(const CString& text) { ZELLMessageBox(text, MB_OK, L"", 0); }

BOOL CNetworkParamPage::PreTranslateMessage(MSG* msg)
{
    const bool inGrid = msg->hwnd == m_Grid.GetSafeHwnd();
    if (msg->message == WM_LBUTTONDOWN && !inGrid)
        HideTooltip();
    // A key or click has ended by its release: an editor it closed is gone.
    if (msg->message == WM_KEYUP || msg->message == WM_LBUTTONUP)
        RefreshInvalidMarks();
    if (msg->message == WM_KEYDOWN && inGrid && !m_bEditInProgress) {
        const bool control = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
        const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
        const CCellID focus = m_Grid.GetFocusCell();
        if ((msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) && focus.col == kStaticColumn)
            return TRUE;
        const bool paste = (shift && msg->wParam == VK_INSERT) || (control && msg->wParam == 'V');
        if (paste && RefusesPaste(focus.row, true))
            return TRUE;
    }
    return CGridPageBase::PreTranslateMessage(msg);
}

// --- ports, web management and the interface mode -----------------------------------------

void CNetworkParamPage::OnPortClicked(UINT id)
{
    SelectPort(id == static_cast<UINT>(kPortX2Button) ? 1 : 0);
}

void CNetworkParamPage::SelectPort(DWORD port)
{
    m_dwSelectedPort = port;
    CloseBalloons();
    ForgetNameRowImages();
    LoadFromDeviceData();
}

CString CNetworkParamPage::WebManagementUrl() const
{
    const CFBCData* data = GetDeviceData();
    const CFBCData::tNetworkParams* actual = data ? data->GetActualNetworkParams(m_dwSelectedPort) : nullptr;
    if (actual == nullptr)
        return CString();
    return CString(Codec::WebManagementUrl(DeviceBlock(), actual->strIPAddress).c_str());
}

void CNetworkParamPage::OnWebManagement()
{
    const CString url = WebManagementUrl();
    if (!url.IsEmpty())
        OpenUrl(url);
}

void CNetworkParamPage::OpenUrl(const CString& url)
{
    ::ShellExecuteW(m_hWnd, L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
}

WORD CNetworkParamPage::ModeOfRadios() const
{
    return IsDlgButtonChecked(kSeparatedRadio) == BST_CHECKED ? kSeparatedMode : kSwitchedMode;
}

void CNetworkParamPage::StoreModeOfRadios()
{
    CFBCData* data = GetDeviceData();
    if (data != nullptr && Codec::SetInterfaceMode(*data, ModeOfRadios()))
        NotifySettingsChanged(TRUE);
}

void CNetworkParamPage::OnModeClicked() { StoreModeOfRadios(); }

void CNetworkParamPage::OnSetMode()
{
    CFBCData* data = GetDeviceData();
    if (data == nullptr)
        return;
    StoreModeOfRadios();
    data->InterfaceModeToWrite = true;
    EnableAllChildren(FALSE);
    {
        CWaitCursor wait;
        WriteInterfaceMode();
    }
    EnableAllChildren(TRUE);
    Rebuild();
}

tWorkerParams CNetworkParamPage::WorkerParams(CWorkerBusyFlag& busy) const
{
    tWorkerParams params;
    params.window = m_hWnd;
    params.connection = GetConnection();
    params.service = GetService();
    params.data = GetDeviceData();
    params.capabilities = &CPageAppServices::Capabilities();
    params.busy = &busy;
    return params;
}

// Runs the write worker's step on this thread, reporting to this page:
// the workers' busy flag stays untouched, so a worker may start afterwards.
void CNetworkParamPage::WriteInterfaceMode()
{
    if (GetService() == nullptr || !EnsureConnectionOpen()) {
        ShowModeWriteFailure();
        return;
    }
    CWorkerBusyFlag pageOwnFlag;
    const tWorkerParams params = WorkerParams(pageOwnFlag);
    CWorkerWait wait;
    CWorkerContext context(params, wait);
    CWorkerConnection connection(context);
    CDeviceResetSteps steps(context, connection);
    // A failing step leaves its text in the description; the device's stays.
    const CString description = params.data->Description;
    const bool written = CDeviceDataWriter(context, steps).WriteEthernetInterfaceMode();
    params.data->Description = description;
    if (!written)
        ShowModeWriteFailure();
    FinishConnection();
}

void CNetworkParamPage::ShowModeWriteFailure()
{
    const unsigned code = GetService() != nullptr ? static_cast<unsigned>(GetService()->GetLastErrorCode()) : 0;
    ShowMessage(FormatW(L"Set Ethernet Interface Mode failed!\nError code = 0x%08X", code).c_str());
}

// --- the address-switch poll ------------------------------------------------------------

void CNetworkParamPage::OnDipPoll()
{
    if (m_bDipPolling)
        StopDipPoll();
    else if (s_dipPolling)
        s_dipPolling = false;
    else
        StartDipPoll();
}

void CNetworkParamPage::StartDipPoll()
{
    m_bDipPolling = true;
    s_dipPolling = true;
    PrepareConnection(true);
    SetTimer(kDipTimer, kDipPollMs, nullptr);
}

void CNetworkParamPage::StopDipPoll()
{
    if (!m_bDipPolling)
        return;
    m_bDipPolling = false;
    s_dipPolling = false;
    KillTimer(kDipTimer);
    PrepareConnection(false);
    Pause(kDipStopPauseMs);
}

void CNetworkParamPage::OnTimer(UINT_PTR id)
{
    if (id == kDipTimer && m_bDipPolling)
        PollDipOnce();
}

void CNetworkParamPage::PollDipOnce()
{
    CFBCData* data = GetDeviceData();
    CFBCData::tNetworkParams* actual = data ? data->GetActualNetworkParams(m_dwSelectedPort) : nullptr;
    if (!IsConnectionPrepared() || actual == nullptr || GetService() == nullptr) {
        FailDipPoll(0);
        return;
    }
    CWorkerBusyFlag pageOwnFlag;
    const tWorkerParams params = WorkerParams(pageOwnFlag);
    CWorkerWait wait;
    CWorkerContext context(params, wait);
    const CString description = data->Description;
    const bool read = CDeviceDataReader(context).ReadAddressSwitch() && data->HasDIPSwitches;
    data->Description = description;
    if (!read) {
        FailDipPoll(GetService()->GetLastErrorCode());
        return;
    }
    actual->strParameter9 = Codec::SwitchAddress(actual->strParameter9, data->DIPSwitchValue);
    if (m_Grid.IsValid(Codec::DipRow, kActualColumn)) {
        m_Grid.SetCellText(Codec::DipRow, kActualColumn, Codec::WithDhcpMark(actual->strParameter9).c_str());
        m_Grid.RedrawCell(Codec::DipRow, kActualColumn);
    }
}

void CNetworkParamPage::FailDipPoll(DWORD code)
{
    StopDipPoll();
    ReportConnectionState(kConnectionFailed);
    CString text;
    text.Format(Text(L"FAILED_TO_QUERY_DIP_FMT"), static_cast<unsigned>(code));
    ShowMessage(text);
}

// --- window ---------------------------------------------------------------------------

BOOL CNetworkParamPage::OnInitDialog()
{
    if (const CCorvaneApp* app = GetCorvaneApp())
        app->SetFontOfChildWindows(this);
    CGridPageBase::OnInitDialog();
    if (const CCorvaneApp* app = GetCorvaneApp())
        app->LoadImageList(m_RowImages, CCommonPage::kRowImagesId, 32, CCommonPage::kImageMask);
    m_Grid.SetImageList(&m_RowImages);
    SetUpGrid(1, 3, 0, 1);
    ApplyTexts();
    return TRUE;
}

LRESULT CNetworkParamPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CWorkerMessages::Get().EditCell)
        return OnEditCellMessage(wParam, lParam);
    return CGridPageBase::WindowProc(message, wParam, lParam);
}

void CNetworkParamPage::DoDataExchange(CDataExchange* dx)
{
    CGridPageBase::DoDataExchange(dx);
    DDX_Control(dx, kNetworkParamGrid, m_Grid);
}

// An editor still open when the page is left ends as any other edit does,
// so that its text is stored, and the settings changed, only when taken.
BOOL CNetworkParamPage::OnKillActive()
{
    StopDipPoll();
    if (m_bEditInProgress) {
        m_bEditInProgress = false;
        m_Grid.EndEditing();
    }
    return CGridPageBase::OnKillActive();
}

void CNetworkParamPage::OnMouseMove(UINT flags, CPoint point)
{
    CRect grid;
    m_Grid.GetWindowRect(&grid);
    ScreenToClient(&grid);
    if (!grid.PtInRect(point))
        HideTooltip();
    CGridPageBase::OnMouseMove(flags, point);
}

}  // namespace Corvane
