#include "Products/Corvane/Pages/Views/ProtocolPage.h"

#include "Common/SystemHelper/Values/Conversions.h"
#include "Platform/Base/Format.h"
#include "Products/Corvane/Pages/Views/EthernetIPPage.h"
#include "Products/Corvane/Pages/Views/PageAppServices.h"
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"

namespace Corvane {

using namespace DevicePageIds;

BEGIN_MESSAGE_MAP(CProtocolPage, CTextedSettingsPage)
    ON_EN_CHANGE(kHttpPortEdit, OnPortChanged)
    ON_BN_CLICKED(kWebServerBox, OnSwitchClicked)
    ON_BN_CLICKED(kFtpBox, OnSwitchClicked)
    ON_BN_CLICKED(kModbusTcpBox, OnSwitchClicked)
    ON_BN_CLICKED(kModbusUdpBox, OnSwitchClicked)
    ON_BN_CLICKED(kEthernetIPBox, OnSwitchClicked)
    ON_BN_CLICKED(kPlcBox, OnSwitchClicked)
    ON_BN_CLICKED(kAuthenticationBox, OnSwitchClicked)
    ON_BN_CLICKED(kHttpsBox, OnSwitchClicked)
END_MESSAGE_MAP()

CProtocolPage::CProtocolPage() : CTextedSettingsPage(kProtocolTemplate, 0), m_Codec(CPageAppServices::Capabilities())
{
    m_strPageKey = kPageKey;
}

std::vector<std::pair<int, bool*>> CProtocolPage::Switches()
{
    return {{kWebServerBox, &m_Codec.WebServer},   {kAuthenticationBox, &m_Codec.Authentication},
            {kFtpBox, &m_Codec.Ftp},               {kPlcBox, &m_Codec.Plc},
            {kModbusTcpBox, &m_Codec.ModbusTcp},   {kModbusUdpBox, &m_Codec.ModbusUdp},
            {kEthernetIPBox, &m_Codec.EthernetIP}, {kHttpsBox, &m_Codec.Https}};
}

void CProtocolPage::LoadFromDeviceData()
{
    const CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return;
    // The port always comes from the device: a value out of range stays
    // visible and is refused before a write instead of sticking to the page.
    m_Codec.Load(block, IsWideFormat(), HasSeveralPorts());
    RefreshView();
}

bool CProtocolPage::StoreToDeviceData()
{
    CDeviceBlock block = DeviceBlock();
    if (!block.IsPresent())
        return false;
    ApplyView();
    if (!ValidateAll())
        return false;
    return m_Codec.Store(block, IsWideFormat(), HasSeveralPorts());
}

bool CProtocolPage::ShowValues()
{
    const CString port = FormatW(L"%d", m_Codec.HttpPort);
    SetDlgItemText(kHttpPortEdit, port);
    SetDlgItemText(kHttpPortStatic, port);
    for (const auto& [id, value] : Switches())
        CheckDlgButton(id, *value ? BST_CHECKED : BST_UNCHECKED);
    return true;
}

bool CProtocolPage::ReadValues()
{
    for (const auto& [id, value] : Switches())
        *value = IsDlgButtonChecked(id) == BST_CHECKED;
    CString text;
    GetDlgItemText(kHttpPortEdit, text);
    try {
        m_Codec.HttpPort = GenStrToNumber<int>(text.str());
    } catch (const std::string&) {
        return false;
    }
    return true;
}

bool CProtocolPage::ValidateAll()
{
    return CheckRanges(m_Codec.RangeChecks());
}

void CProtocolPage::ShowDeviceControls(int showCommand)
{
    const bool controller = IsPlcArticle();
    const bool wide = IsWideFormat();
    for (int id : {kHttpPortEdit, kHttpsBox, kFtpBox, kModbusTcpBox, kModbusUdpBox, kEthernetIPBox, kPlcBox})
        ShowControl(id, false);
    ShowControl(kAuthenticationBox, false);
    ShowControl(kHttpPortStatic, controller);
    ShowControl(kSeeWebManagement, controller);
    if (controller) {
        ShowControl(kAdditionalGroup, false);
        return;
    }
    ShowControl(kHttpPortEdit, true);
    ShowControl(kHttpsBox, wide && m_Codec.HttpsAvailable);
    for (int id : {kAdditionalGroup, kFtpBox, kModbusTcpBox, kModbusUdpBox})
        ShowControl(id, wide);
    const bool ethernetIP = wide && IsPageInList(CEthernetIPPage::kPageKey);
    ShowControl(kEthernetIPBox, ethernetIP);
    ShowControl(kPlcBox, wide && IsController());
    // Without the EtherNet/IP switch the PLC switch moves into its place.
    const CRect target = ethernetIP ? m_rcPlcPlace : ControlPlace(kEthernetIPBox);
    GetDlgItem(kPlcBox)->SetWindowPos(nullptr, target.left, target.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

CRect CProtocolPage::ControlPlace(int id)
{
    CRect place;
    GetDlgItem(id)->GetWindowRect(&place);
    ScreenToClient(&place);
    return place;
}

void CProtocolPage::EnableControls(int enable)
{
    const bool webServer = m_Codec.WebServer;
    GetDlgItem(kHttpPortEdit)->EnableWindow(webServer);
    GetDlgItem(kHttpPortLabel)->EnableWindow(webServer);
    GetDlgItem(kHttpPortStatic)->EnableWindow(webServer && IsPlcArticle());
}

void CProtocolPage::SetUpControls() { m_rcPlcPlace = ControlPlace(kPlcBox); }

void CProtocolPage::ApplyTexts()
{
    SetDlgItemText(kWebServerBox, Text(L"GRP_WEB_SERVER"));
    SetDlgItemText(kHttpPortLabel, Text(L"LBL_HTTP_PORT"));
    SetDlgItemText(kAdditionalGroup, Text(L"GRP_ADDITIONAL"));
    SetDlgItemText(kSeeWebManagement, Text(L"TXT_SEE_WBM_FOR_MORE"));
    AddTooltip(kWebServerBox, L"TT_WEB_SERVER_BODY", L"GRP_WEB_SERVER");
    AddTooltip(kHttpPortEdit, L"TT_HTTP_PORT_BODY", L"TT_HTTP_PORT_HEADER");
    AddTooltip(kAuthenticationBox, L"TT_AUTHENTIFY_BODY", L"LBL_AUTHENTIFY");
    AddTooltip(kFtpBox, L"TT_USE_FTP_BODY", L"TT_USE_FTP_HEADER");
    AddTooltip(kModbusTcpBox, L"TT_USE_MBTCP_BODY", L"TT_USE_MBTCP_HEADER");
    AddTooltip(kModbusUdpBox, L"TT_USE_MBUDP_BODY", L"TT_USE_MBUDP_HEADER");
    AddTooltip(kEthernetIPBox, L"TT_USE_ETHIP_BODY", L"TT_USE_ETHIP_HEADER");
    AddTooltip(kPlcBox, L"TT_USE_PLC_BODY", L"TT_USE_PLC_HEADER");
}

void CProtocolPage::OnPortChanged()
{
    CheckWhileTyping(m_Codec.RangeChecks());
    NotifySettingsChanged(TRUE);
}

void CProtocolPage::OnSwitchClicked()
{
    ApplyView();
    // The view enabled its controls before it read the switches.
    EnableControls(TRUE);
    NotifySettingsChanged(TRUE);
}

bool CProtocolPage::IsPlcArticle() const
{
    return CPageAppServices::IsPlcController(GetDeviceData());
}

}  // namespace Corvane
