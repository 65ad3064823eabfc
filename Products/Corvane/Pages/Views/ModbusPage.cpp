#include "Products/Corvane/Pages/Views/ModbusPage.h"

#include "Products/Corvane/Pages/Views/PageAppServices.h"
#include "Products/Corvane/Pages/Views/PageListField.h"
#include "Products/Corvane/Pages/Views/PageNumberField.h"
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"

namespace Corvane {

using namespace ServicePageIds;

namespace {

// What only devices with the 32-bit parameter layout have.
constexpr int kWideControls[] = {kModbusWatchdogLabel, kConfigurationLabel, kConfigurationList, kWatchdogTimeoutLabel,
                                 kWatchdogTimeoutEdit, kMask1Label,         kMask1Edit,         kMask2Label,
                                 kMask2Edit,           kCloseSocketBox,     kMaxConnectionsLabel, kMaxConnectionsEdit};

constexpr int kWideEdits[] = {kMask1Edit, kMask2Edit, kMaxConnectionsEdit, kWatchdogTimeoutEdit};

}

BEGIN_MESSAGE_MAP(CModbusPage, CTextedSettingsPage)
    // The four number fields lie in this range; the others send no changes.
    ON_CONTROL_RANGE(EN_CHANGE, kMask1Edit, kWatchdogTimeoutEdit, OnNumberChanged)
    ON_CBN_SELCHANGE(kConfigurationList, OnConfigurationChanged)
    ON_BN_CLICKED(kCloseSocketBox, OnCloseSocketClicked)
END_MESSAGE_MAP()

CModbusPage::CModbusPage() : CTextedSettingsPage(kModbusTemplate, 0), m_Codec(CPageAppServices::Capabilities())
{
    m_strPageKey = kPageKey;
}

void CModbusPage::LoadFromDeviceData()
{
    const CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return;
    m_Codec.Load(block, IsWideFormat());
    RefreshView();
}

bool CModbusPage::StoreToDeviceData()
{
    CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return FALSE;
    ApplyView();
    const bool valid = ValidateAll();
    // The words are written whatever the checks say; the write itself is
    // held back by the false result.
    m_Codec.Store(block, IsWideFormat());
    return valid;
}

bool CModbusPage::ShowValues()
{
    const bool wide = IsWideFormat();
    if (wide) {
        CPageNumberField::Show(*this, kMask1Edit, L"0x%04X", m_Codec.Mask1);
        CPageNumberField::Show(*this, kMask2Edit, L"0x%04X", m_Codec.Mask2);
        CPageNumberField::Show(*this, kMaxConnectionsEdit, L"%d", m_Codec.MaxConnections);
        CPageNumberField::Show(*this, kWatchdogTimeoutEdit, L"%d", m_Codec.WatchdogTimeout);
    } else {
        for (int id : kWideEdits)
            SetDlgItemText(id, L"");
    }
    CPageNumberField::Show(*this, kConnectionWatchdogEdit, L"%d", m_Codec.ConnectionWatchdog);
    CPageListField::Select(*this, kConfigurationList, wide ? m_Codec.Configuration : -1);
    CheckDlgButton(kCloseSocketBox, m_Codec.CloseSocket ? BST_CHECKED : BST_UNCHECKED);
    // The watchdog's unit follows the layout.
    AddTooltips();
    return TRUE;
}

bool CModbusPage::ReadValues()
{
    bool read = CPageNumberField::Read(*this, kConnectionWatchdogEdit, false, m_Codec.ConnectionWatchdog);
    if (!IsWideFormat())
        return read;
    read = CPageNumberField::Read(*this, kMask1Edit, true, m_Codec.Mask1) && read;
    read = CPageNumberField::Read(*this, kMask2Edit, true, m_Codec.Mask2) && read;
    read = CPageNumberField::Read(*this, kWatchdogTimeoutEdit, false, m_Codec.WatchdogTimeout) && read;
    m_Codec.Configuration = CPageListField::Selection(*this, kConfigurationList);
    m_Codec.CloseSocket = IsDlgButtonChecked(kCloseSocketBox) == BST_CHECKED;
    return read;
}

bool CModbusPage::ValidateAll()
{
    return CheckRanges(m_Codec.RangeChecks(IsWideFormat()));
}

void CModbusPage::EnableControls(int)
{
    const bool wide = IsWideFormat();
    for (int id : kWideControls)
        if (CWnd* control = GetDlgItem(id))
            control->ShowWindow(wide ? SW_SHOW : SW_HIDE);
    GetDlgItem(kConfigurationList)->Invalidate();
}

void CModbusPage::ApplyTexts()
{
    const bool wide = IsWideFormat();
    SetDlgItemText(kConnectionWatchdogLabel, Text(wide ? L"LBL_WATCHDOG_100MS" : L"LBL_WATCHDOG_MS"));
    SetDlgItemText(kMaxConnectionsLabel, Text(L"LBL_MB_MAX_CONNECTIONS"));
    SetDlgItemText(kConfigurationLabel, Text(L"LBL_MB_CONFIGURATION"));
    SetDlgItemText(kWatchdogTimeoutLabel, Text(L"LBL_TIMEOUT_100MS"));
    SetDlgItemText(kMask1Label, Text(L"LBL_CODINGMASK_01_16"));
    SetDlgItemText(kMask2Label, Text(L"LBL_CODINGMASK_17_32"));
    SetDlgItemText(kCloseSocketBox, Text(L"CHECK_MB_CLOSE_SOCKETS"));
    for (const auto& [label, key] : {std::pair{kConnectionsLabel, L"GRP_CONNECTIONS"},
                                     std::pair{kModbusWatchdogLabel, L"GRP_MB_WATCHDOG"}}) {
        SetDlgItemText(label, Text(key));
        FitStaticToText(GetDlgItem(label), Text(key), &GetPageFont());
    }
    for (int id : {kConnectionWatchdogEdit, kMaxConnectionsEdit, kConfigurationList, kWatchdogTimeoutEdit, kMask1Edit,
                   kMask2Edit, kCloseSocketBox})
        GetDlgItem(id)->SetFont(&GetPageFont());
    FillConfigurationList();
    AddTooltips();
}

void CModbusPage::FillConfigurationList()
{
    CPageListField::Fill(*this, kConfigurationList, {Text(L"TXT_CMB_STANDARD"), Text(L"TXT_CMB_ALTERNATE")});
    CPageListField::Select(*this, kConfigurationList, IsWideFormat() ? m_Codec.Configuration : -1);
}

void CModbusPage::AddTooltips()
{
    const bool wide = IsWideFormat();
    AddTooltip(kConnectionWatchdogEdit, wide ? L"TT_WATCHDOG_100MS_BODY" : L"TT_WATCHDOG_MS_BODY",
               L"TT_CONNECTION_WATCHDOG_HDR");
    AddTooltip(kMaxConnectionsEdit, L"TT_MAX_CONNECTIONS_BODY", L"TT_MB_MAX_CONNECTIONS_HDR");
    AddTooltip(kConfigurationList, L"TT_MB_WATCHDOG_CONFIG_BODY", L"TT_MB_WATCHDOG_CONFIG_HDR");
    AddTooltip(kWatchdogTimeoutEdit, L"TT_TIMEOUT_100MS_BODY", L"TT_WATCHDOG_TIMEOUT_HDR");
    AddTooltip(kMask1Edit, L"TT_CODINGMASK_01_16_BODY", L"TT_CODINGMASK_01_16_HDR");
    AddTooltip(kMask2Edit, L"TT_CODINGMASK_17_32_BODY", L"TT_CODINGMASK_17_32_HDR");
    AddTooltip(kCloseSocketBox, L"TT_CLOSE_SOCKET_ON_ERROR_BODY", L"CHECK_MB_CLOSE_SOCKETS");
}

void CModbusPage::OnNumberChanged(UINT id)
{
    m_nLastCheckResult = CheckWhileTyping(m_Codec.RangeChecks(IsWideFormat()), id) ? 1 : 0;
    NotifySettingsChanged(TRUE);
}

void CModbusPage::OnConfigurationChanged()
{
    NotifySettingsChanged(TRUE);
}

void CModbusPage::OnCloseSocketClicked()
{
    ApplyView();
    NotifySettingsChanged(TRUE);
}

}  // namespace Corvane
