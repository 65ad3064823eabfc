#include "Products/Corvane/Pages/Views/TCPIPPage.h"

#include "Common/PelorusDLL/TCPIPService.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/Tessel/TesselExports.h"
#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/IPAddressStyles.h"
#include "Platform/Framework/Drawing/DC.h"
#include "Platform/Shell/ShellExecute.h"
#include "Platform/Ui/ResourceImage.h"
#include "Products/Corvane/Core/DeviceCapabilityFile.h"
#include "Products/Corvane/Core/FBCData.h"
#include "Products/Corvane/Pages/Views/PageAppServices.h"
#include "Products/Corvane/Pages/Views/Res/TCPIPPageIds.h"
#include "Products/Corvane/Workers/DeviceDataReader.h"
#include "Products/Corvane/Workers/WorkerContext.h"

namespace Corvane {

using namespace TCPIPPageIds;

namespace {

constexpr int kAddressFields[] = {kFixedAddressField, kSubnetMaskField, kGatewayField, kFirstDnsField,
                                  kSecondDnsField};
// Shown only on wide-format devices.
constexpr int kWideControls[] = {kSourceList,    kAutomaticRadio, kFixedRadio,    kFirstDnsLabel,
                                 kFirstDnsField, kSecondDnsLabel, kSecondDnsField};
// Shown only on devices with address switches.
constexpr int kDipControls[] = {kDipHint,    kDipCaption,      kDipGroup, kDipApplyButton,
                                kDipPollBox, kDipAddressFrame, kDipAddress};
// Hidden while the firmware cannot tell the switch value.
constexpr int kDipValueControls[] = {kDipAddress, kDipAddressFrame, kDipApplyButton, kDipPollBox};
constexpr const wchar_t* kSourceItems[] = {L" DHCP-Server", L" BootP-Server", L"Auto-IP"};

}

BEGIN_MESSAGE_MAP(CTCPIPPage, CTextedSettingsPage)
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
    ON_BN_CLICKED(kAutomaticRadio, OnAutomaticClicked)
    ON_BN_CLICKED(kFixedRadio, OnFixedClicked)
    ON_CBN_SELCHANGE(kSourceList, OnSourceChanged)
    ON_BN_CLICKED(kUseBootPBox, OnUseBootPClicked)
    ON_NOTIFY_RANGE(IPN_FIELDCHANGED, kFixedAddressField, kSecondDnsField, OnAddressChanged)
    ON_BN_CLICKED(kWebManagementButton, OnWebManagementClicked)
    ON_BN_CLICKED(kDipPollBox, OnDipPollClicked)
    ON_BN_CLICKED(kDipCaption, OnDipCaptionClicked)
    ON_BN_CLICKED(kDipApplyButton, OnDipApplyClicked)
END_MESSAGE_MAP()

CTCPIPPage::CTCPIPPage() : CTextedSettingsPage(kTCPIPTemplate, 0)
{
    m_strPageKey = kPageKey;
}

CTCPIPPage::~CTCPIPPage()
{
    if (m_hWebIcon != nullptr)
        DestroyIcon(m_hWebIcon);
}

// --- what the main dialog hands over -----------------------------------------

void CTCPIPPage::SetCurrentAddresses(const CString& eeprom, const CString& current, const CString& mask,
                                     const CString& gateway, const CString& firstDns, const CString& secondDns)
{
    m_Codec.SetCurrentAddresses(eeprom.str(), current.str(), mask.str(), gateway.str(), firstDns.str(),
                                secondDns.str());
    TakeDeviceAddresses();
    // The device block loaded next holds the same device's addresses.
    m_bTakeDeviceAddresses = true;
}

void CTCPIPPage::SetAddressSource(bool hasDipSwitches, bool dipReadable, WORD dipValue)
{
    m_Codec.SetAddressSource(hasDipSwitches, dipReadable, dipValue);
}

CString CTCPIPPage::GetAddressSourceText() const
{
    const std::wstring key = m_Codec.AddressSourceKey();
    return key.empty() ? CString(L"---") : Text(key.c_str());
}

bool CTCPIPPage::HasChangedAddresses() const
{
    return m_Codec.FixedAddress != m_arrDeviceAddresses[0] || m_Codec.SubnetMask != m_arrDeviceAddresses[1] ||
           m_Codec.Gateway != m_arrDeviceAddresses[2];
}

CString CTCPIPPage::GetFixedAddressText() const
{
    return UIntToIpText(m_Codec.FixedAddress).c_str();
}

bool CTCPIPPage::UsesFixedAddress() const
{
    return IsFixedMode();
}

void CTCPIPPage::TakeDeviceAddresses()
{
    m_arrDeviceAddresses[0] = m_Codec.FixedAddress;
    m_arrDeviceAddresses[1] = m_Codec.SubnetMask;
    m_arrDeviceAddresses[2] = m_Codec.Gateway;
}

// --- the page slots ------------------------------------------------------------

void CTCPIPPage::LoadFromDeviceData()
{
    const CFBCData* data = GetDeviceData();
    const bool autoIP = data != nullptr && CPageAppServices::Capabilities().HasAutoIP(data->ArticleNo);
    m_Codec.Load(DeviceBlock(), IsWideFormat(), autoIP);
    // Later loads (each activation) see the page's own stored edits, which
    // are no longer what the device holds.
    if (m_bTakeDeviceAddresses && HasDeviceBlock()) {
        TakeDeviceAddresses();
        m_bTakeDeviceAddresses = false;
    }
    RefreshView();
}

bool CTCPIPPage::StoreToDeviceData()
{
    CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return false;
    ApplyView();
    if (GetSafeHwnd() != nullptr && !(CheckFixedAddress() && CheckSource()))
        return false;
    return m_Codec.Store(block, IsWideFormat());
}

bool CTCPIPPage::ShowValues()
{
    if (IsWideFormat()) {
        CheckDlgButton(kAutomaticRadio, m_Codec.AddressMode == CTCPIPCodec::kAutomaticMode ? BST_CHECKED : 0);
        CheckDlgButton(kFixedRadio, m_Codec.AddressMode == CTCPIPCodec::kFixedMode ? BST_CHECKED : 0);
    }
    CheckDlgButton(kUseBootPBox, m_Codec.UseBootP ? BST_CHECKED : BST_UNCHECKED);
    ShowCurrentAddress();
    ShowDipGroup();
    ShowDipControls();
    PutAddress(kSubnetMaskField, m_Codec.SubnetMask);
    PutAddress(kGatewayField, m_Codec.Gateway);
    PutAddress(kFirstDnsField, m_Codec.FirstDns);
    PutAddress(kSecondDnsField, m_Codec.SecondDns);
    FillSourceList();
    return true;
}

bool CTCPIPPage::ReadValues()
{
    if (IsWideFormat()) {
        if (IsDlgButtonChecked(kAutomaticRadio) == BST_CHECKED)
            m_Codec.AddressMode = CTCPIPCodec::kAutomaticMode;
        else if (IsDlgButtonChecked(kFixedRadio) == BST_CHECKED)
            m_Codec.AddressMode = CTCPIPCodec::kFixedMode;
    } else {
        m_Codec.UseBootP = IsDlgButtonChecked(kUseBootPBox) == BST_CHECKED;
    }
    const DWORD fixed = FieldAddress(kFixedAddressField);
    const DWORD mask = FieldAddress(kSubnetMaskField);
    const DWORD gateway = FieldAddress(kGatewayField);
    if (fixed != m_Codec.FixedAddress || mask != m_Codec.SubnetMask || gateway != m_Codec.Gateway)
        m_Codec.AddressesModified = true;
    m_Codec.FixedAddress = fixed;
    m_Codec.SubnetMask = mask;
    m_Codec.Gateway = gateway;
    m_Codec.FirstDns = FieldAddress(kFirstDnsField);
    m_Codec.SecondDns = FieldAddress(kSecondDnsField);
    const int selection = static_cast<int>(SendDlgItemMessage(kSourceList, CB_GETCURSEL));
    if (selection < 3)
        m_Codec.Source = selection < 0 ? -1 : selection;
    return true;
}

void CTCPIPPage::ShowDeviceControls(int)
{
    const bool wide = IsWideFormat();
    ShowControl(kUseBootPBox, !wide);
    ShowControl(kEepromCaption, !wide);
    EnableControl(kUseBootPBox, !wide);
    for (int id : kWideControls)
        ShowControl(id, wide);
    EnableControl(kAutomaticRadio, wide);
}

void CTCPIPPage::EnableControls(int)
{
    const bool fixed = IsFixedMode();
    EnableControl(kFixedRadio, IsWideFormat());
    EnableControl(kSourceList, !fixed);
    for (int id : kAddressFields)
        EnableControl(id, fixed);
    EnableControl(kWebManagementButton, m_Codec.CurrentAddress != 0);
}

bool CTCPIPPage::IsFixedMode() const
{
    return m_Codec.IsFixedAddressMode(IsWideFormat(), DeviceBlock().GetLength());
}

// --- checks ----------------------------------------------------------------------

bool CTCPIPPage::ValidateAll()
{
    return CheckFixedAddress() && CheckSource();
}

bool CTCPIPPage::CheckFixedAddress()
{
    if (!IsFixedMode() || IsAddressAllowed(UIntToIpText(m_Codec.FixedAddress)))
        return true;
    NoteRefusedField(Text(L"TXT_IP_ADDRESS"));
    if (m_bBalloonArmed && IsLive() && !m_bUpdating) {
        ShowBalloon(Text(L"TXT_IP_ADDRESS"), BuildInvalidAddressMessage(kInvalidAddressList), kFixedAddressField);
        m_bBalloonArmed = false;
    }
    return false;
}

bool CTCPIPPage::CheckSource()
{
    const bool chosen = !IsWideFormat() || m_Codec.AddressMode != CTCPIPCodec::kAutomaticMode || m_Codec.Source >= 0;
    if (chosen)
        return true;
    NoteRefusedField(Text(L"TT_IPADDR_SERVER_HDR"));
    if (IsLive() && !m_bUpdating) {
        SetDlgItemText(kAddressSourceText, L"---");
        CString body = Text(L"TT_IPADDR_SERVER_BODY");
        body.Replace(L"<br>", L"\n");
        ShowBalloon(Text(L"TT_IPADDR_SERVER_HDR"), body, kSourceList);
        GetDlgItem(kSourceList)->SetFocus();
    }
    return false;
}

// --- activation ------------------------------------------------------------------

BOOL CTCPIPPage::OnSetActive()
{
    const BOOL active = CTextedSettingsPage::OnSetActive();
    m_bBalloonArmed = true;
    return active;
}

BOOL CTCPIPPage::OnKillActive()
{
    if (m_bDipPollRunning)
        StopDipPoll();
    CheckDlgButton(kDipPollBox, BST_UNCHECKED);
    ApplyView();
    const BOOL left = CTextedSettingsPage::OnKillActive();
    m_bBalloonArmed = true;
    return left;
}

// --- display -----------------------------------------------------------------------

void CTCPIPPage::ShowCurrentAddress()
{
    PutAddress(kFixedAddressField, m_Codec.FixedAddress);
    SetDlgItemText(kCurrentAddress, UIntToIpText(m_Codec.CurrentAddress, 1).c_str());
    SetDlgItemText(kAddressSourceText, GetAddressSourceText());
    ShowDipAddress();
    EnableControl(kWebManagementButton, m_Codec.CurrentAddress != 0);
}

void CTCPIPPage::ShowDipAddress()
{
    if (m_Codec.DipValue == m_wLastDipShown)
        return;
    EnableControl(kDipApplyButton, true);
    m_wLastDipShown = m_Codec.DipValue;
    SetDlgItemText(kDipAddress, m_Codec.DipAddressText().c_str());
}

void CTCPIPPage::ShowDipGroup()
{
    for (int id : kDipControls)
        ShowControl(id, m_Codec.HasDipSwitches);
    ShowControl(kOldFirmwareText, false);
    if (m_Codec.DipReadable)
        return;
    SetDlgItemText(kDipCaption, Text(L"GRP_DIP_SWITCH"));
    for (int id : kDipValueControls)
        ShowControl(id, false);
    if (m_Codec.HasDipSwitches) {
        SetDlgItemText(kOldFirmwareText, Text(L"TXT_OLD_FW_DIP_MESSAGE"));
        ShowControl(kOldFirmwareText, true);
        ShowControl(kDipHint, false);
    }
}

void CTCPIPPage::ShowDipControls()
{
    if (!m_Codec.DipReadable)
        return;
    const bool offline = IsOfflineConfig();
    if (offline)
        m_bDipPollRunning = false;
    EnableControl(kDipPollBox, !offline);
    EnableControl(kDipCaption, !offline);
    SetColour(kDipCaption, offline ? kInactiveColour : RGB(0, 0, 0));
    SetColour(kDipAddress, m_bDipPollRunning ? RGB(0, 0, 0) : kInactiveColour);
    const bool newValue = m_Codec.DipValue != (m_Codec.CurrentAddress & 0xFF);
    EnableControl(kDipApplyButton, m_bDipPollRunning && newValue);
    EnableControl(kDipHint, m_bDipPollRunning);
}

void CTCPIPPage::FillSourceList()
{
    SendDlgItemMessage(kSourceList, CB_RESETCONTENT);
    const CFBCData* data = GetDeviceData();
    const bool autoIP = data != nullptr && CPageAppServices::Capabilities().HasAutoIP(data->ArticleNo);
    for (const wchar_t* item : kSourceItems) {
        if (item == kSourceItems[2] && !autoIP)
            break;
        SendDlgItemMessage(kSourceList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    const int source = m_Codec.Source >= 0 && m_Codec.Source <= 2 ? m_Codec.Source : -1;
    SendDlgItemMessage(kSourceList, CB_SETCURSEL, static_cast<WPARAM>(source));
}

void CTCPIPPage::PutAddress(int id, DWORD address)
{
    SendDlgItemMessage(id, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
}

DWORD CTCPIPPage::FieldAddress(int id) const
{
    DWORD address = 0;
    SendDlgItemMessage(id, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    return address;
}

void CTCPIPPage::ShowControl(int id, bool shown)
{
    if (CWnd* control = GetDlgItem(id))
        control->ShowWindow(shown ? SW_SHOW : SW_HIDE);
}

void CTCPIPPage::EnableControl(int id, bool enabled)
{
    if (CWnd* control = GetDlgItem(id))
        control->EnableWindow(enabled);
}

void CTCPIPPage::SetColour(int id, COLORREF colour)
{
    m_mapColours[id] = colour;
    if (CWnd* control = GetDlgItem(id))
        control->Invalidate();
}

HBRUSH CTCPIPPage::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor)
{
    HBRUSH brush = CCouplerSettingsPageBase::OnCtlColor(dc, wnd, ctlColor);
    if (wnd == nullptr)
        return brush;
    const int id = wnd->GetDlgCtrlID();
    if (id == kAddressSourceText)
        dc->SetTextColor(kSourceColour);
    else if (const auto colour = m_mapColours.find(id); colour != m_mapColours.end())
        dc->SetTextColor(colour->second);
    return brush;
}

void CTCPIPPage::ApplyTexts()
{
    SetDlgItemText(kCurrentGroup, Text(L"GRP_CURERENT_IP_ADDRESS"));
    SetDlgItemText(kDipCaption, Text(L"GRP_DIP_SWITCH"));
    SetDlgItemText(kDipApplyButton, Text(L"BTN_APPLY"));
    SetDlgItemText(kDipHint, Text(L"HINT_CHANGE_DIP_SWITCH"));
    SetDlgItemText(kOldFirmwareText, Text(L"TXT_OLD_FW_DIP_MESSAGE"));
    SetDlgItemText(kSettingsGroup, Text(L"TXT_SETTINGS"));
    SetDlgItemText(kAutomaticRadio, Text(L"LBL_GET_ADDRESS_FROM"));
    SetDlgItemText(kFixedRadio, Text(L"LBL_USE_ADDRESS"));
    SetDlgItemText(kUseBootPBox, Text(L"BTN_USE_BOOTP"));
    SetDlgItemText(kEepromCaption, Text(L"LBL_CURRENT_ADDR_IN_EEPROM"));
    SetDlgItemText(kFixedAddressLabel, Text(L"LBL_IP_ADDRESS"));
    SetDlgItemText(kSubnetMaskLabel, Text(L"LBL_SUBNET_MASK"));
    SetDlgItemText(kGatewayLabel, Text(L"LBL_GATEWAY_ADDR"));
    SetDlgItemText(kFirstDnsLabel, Text(L"LBL_DNS_SERVER1"));
    SetDlgItemText(kSecondDnsLabel, Text(L"LBL_DNS_SERVER2"));
    ShowWebManagementIcon();
    GetDlgItem(kCurrentGroup)->SetFont(&GetPageFont());
    AddTooltip(kCurrentAddress, L"TT_IP_ADDRESS_CURRENT_BODY", L"TT_IP_ADDRESS_CURRENT_HDR");
    AddTooltip(kWebManagementButton, L"TT_BTN_CALL_WBM_BODY", L"TT_BTN_CALL_WBM_HDR");
    AddTooltip(kDipPollBox, L"TT_CHECK_DIP_SWITCH_BODY", L"TT_CHECK_DIP_SWITCH_HDR");
    AddTooltip(kDipCaption, L"TT_CHECK_DIP_SWITCH_BODY", L"TT_CHECK_DIP_SWITCH_HDR");
    AddTooltip(kDipAddress, L"TT_IP_ADDR_DIP_SWITCH_BODY", L"TT_IP_ADDR_DIP_SWITCH_HDR");
    AddTooltip(kDipApplyButton, L"TT_DIP_SWITCH_BTN_APPLY_BODY", L"TT_DIP_SWITCH_BTN_APPLY_HDR");
    AddTooltip(kAutomaticRadio, L"TT_GET_ADDRESSES_BODY", L"TT_GET_ADDRESSES_HDR");
    AddTooltip(kSourceList, L"TT_IPADDR_SERVER_BODY", L"TT_IPADDR_SERVER_HDR");
    AddTooltip(kFixedRadio, L"TT_USE_ADDRESSES_BODY", L"TT_USE_ADDRESSES_HDR");
    AddTooltip(kUseBootPBox, L"TT_USE_BOOTP_BODY", L"TT_USE_BOOTP_HDR");
    AddTooltip(kFixedAddressField, L"TT_IP_ADDRESS_EEPROM_BODY", L"TT_IP_ADDRESS_EEPROM_HDR");
    AddTooltip(kSubnetMaskField, L"TT_SUBNET_MASK_BODY", L"TT_SUBNET_MASK_HDR");
    AddTooltip(kGatewayField, L"TT_GATEWAY_ADDR_BODY", L"TT_GATEWAY_ADDR_HDR");
    AddTooltip(kFirstDnsField, L"TT_DNS_SERVER1_BODY", L"TT_DNS_SERVER1_HDR");
    AddTooltip(kSecondDnsField, L"TT_DNS_SERVER2_BODY", L"TT_DNS_SERVER2_HDR");
    ShowDipGroup();
    ShowDipControls();
}

// --- the user's edits --------------------------------------------------------------

void CTCPIPPage::OnAutomaticClicked()
{
    FillSourceList();
    ApplyView();
    EnableControls(TRUE);
    if (!m_Codec.IsDipValueValid())
        m_Codec.CurrentAddress = 0;
    ShowCurrentAddress();
    m_bBalloonArmed = true;
    CheckSource();
    NotifySettingsChanged(TRUE);
}

void CTCPIPPage::OnFixedClicked()
{
    m_Codec.Source = -1;
    SendDlgItemMessage(kSourceList, CB_SETCURSEL, static_cast<WPARAM>(-1));
    ApplyView();
    EnableControls(TRUE);
    if (!m_Codec.IsDipValueValid())
        m_Codec.CurrentAddress = m_Codec.FixedAddress;
    CheckFixedAddress();
    ShowCurrentAddress();
    NotifySettingsChanged(TRUE);
    if (CWnd* field = GetDlgItem(kFixedAddressField))
        field->SetFocus();
}

void CTCPIPPage::OnSourceChanged()
{
    ApplyView();
    EnableControls(TRUE);
    if (!m_Codec.IsDipValueValid())
        m_Codec.CurrentAddress = 0;
    ShowCurrentAddress();
    NotifySettingsChanged(TRUE);
}

void CTCPIPPage::OnUseBootPClicked()
{
    ApplyView();
    EnableControls(TRUE);
    CheckFixedAddress();
    m_bBalloonArmed = true;
    ShowCurrentAddress();
    NotifySettingsChanged(TRUE);
}

void CTCPIPPage::OnAddressChanged(UINT id, NMHDR*, LRESULT*)
{
    if (m_bUpdating)
        return;
    const DWORD fixed = FieldAddress(kFixedAddressField);
    if (id == static_cast<UINT>(kFixedAddressField) && !IsAddressAllowed(UIntToIpText(fixed))) {
        if (m_bBalloonArmed && IsLive()) {
            ShowBalloon(Text(L"TXT_IP_ADDRESS"), BuildInvalidAddressMessage(kInvalidAddressList),
                        kFixedAddressField);
            m_bBalloonArmed = false;
        }
        return;
    }
    bool changed = false;
    m_Codec.ApplyAddressEdit(fixed, FieldAddress(kSubnetMaskField), FieldAddress(kGatewayField),
                             FieldAddress(kFirstDnsField), FieldAddress(kSecondDnsField), nullptr, changed);
    if (changed)
        NotifySettingsChanged(TRUE);
}

void CTCPIPPage::ShowWebManagementIcon()
{
    if (m_hWebIcon == nullptr)
        m_hWebIcon = reinterpret_cast<HICON>(
            ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(kWebManagementIcon), IMAGE_ICON, 16, 16, 0));
    SendDlgItemMessage(kWebManagementButton, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_hWebIcon));
}

void CTCPIPPage::OnWebManagementClicked()
{
    if (IsModified()) {
        const CString question = Text(L"MSG_NEW_SETTINGS_NOT_WRITTEN") + L"\n\n" + Text(L"TXT_ASK_WRITE_NEW_SETTINGS");
        if (ZELLMessageBox(question, MB_YESNO, L"", 0) == IDYES)
            RequestWriteSettings();
    }
    OpenBrowser(m_Codec.WebManagementUrl().c_str());
}

void CTCPIPPage::OpenBrowser(const CString& url)
{
    ShellExecuteW(m_hWnd, L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
}

// --- the address-switch poll ---------------------------------------------------------

void CTCPIPPage::OnDipCaptionClicked()
{
    const bool checked = IsDlgButtonChecked(kDipPollBox) == BST_CHECKED;
    CheckDlgButton(kDipPollBox, checked ? BST_UNCHECKED : BST_CHECKED);
    OnDipPollClicked();
}

void CTCPIPPage::OnDipPollClicked()
{
    ApplyView();
    if (IsDlgButtonChecked(kDipPollBox) == BST_CHECKED)
        StartDipPoll();
    else
        StopDipPoll();
    ShowDipControls();
}

void CTCPIPPage::StartDipPoll()
{
    m_bDipPollRunning = true;
    PrepareConnection(true);
    SetTimer(kDipPollTimer, kDipPollMs, nullptr);
}

void CTCPIPPage::StopDipPoll()
{
    KillTimer(kDipPollTimer);
    PrepareConnection(false);
    m_bDipPollRunning = false;
}

void CTCPIPPage::OnDipApplyClicked()
{
    EnableControl(kDipApplyButton, false);
    StopDipPoll();
    CheckDlgButton(kDipPollBox, BST_UNCHECKED);
    RequestSoftwareReset();
}

void CTCPIPPage::OnTimer(UINT_PTR id)
{
    if (id != kDipPollTimer) {
        CTextedSettingsPage::OnTimer(id);
        return;
    }
    if (!IsConnectionPrepared())
        return;
    bool readable = false;
    WORD value = 0xFFFF;
    if (!ReadAddressSwitch(readable, value)) {
        EndDipPollAfterFailure();
        return;
    }
    m_Codec.DipReadable = readable;
    m_Codec.DipValue = value;
    ShowDipAddress();
    ShowDipControls();
}

bool CTCPIPPage::ReadAddressSwitch(bool& readable, WORD& value)
{
    if (GetConnection() == nullptr || GetService() == nullptr)
        return false;
    CFBCData probe;
    tWorkerParams params;
    params.window = m_hWnd;
    params.connection = GetConnection();
    params.service = GetService();
    params.data = &probe;
    params.capabilities = &CPageAppServices::Capabilities();
    CWorkerWait wait;
    CWorkerContext context(params, wait);
    if (!CDeviceDataReader(context).ReadAddressSwitch())
        return false;
    readable = probe.HasDIPSwitches;
    value = probe.DIPSwitchValue;
    return true;
}

void CTCPIPPage::EndDipPollAfterFailure()
{
    KillTimer(kDipPollTimer);
    PrepareConnection(false);
    m_bDipPollRunning = false;
    CheckDlgButton(kDipPollBox, BST_UNCHECKED);
    RefreshView();
    ReportConnectionState(kConnectionFailed);
    CString text;
    const unsigned long code = GetService() != nullptr ? GetService()->GetLastErrorCode() : 0;
    text.Format(Text(L"FAILED_TO_QUERY_DIP_FMT").GetString(), static_cast<unsigned int>(code));
    ZELLMessageBox(text, MB_OK | MB_ICONERROR, L"", 0);
}

}  // namespace Corvane
