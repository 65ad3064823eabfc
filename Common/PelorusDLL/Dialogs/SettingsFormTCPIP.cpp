#include "Common/PelorusDLL/Dialogs/SettingsFormTCPIP.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/PelorusDLL/Dialogs/ScanNetworkDlg.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Base/Format.h"
#include "Platform/Controls/IPAddressStyles.h"
#include "Platform/Controls/CommCtrl.h"

#include <algorithm>
#include <cwchar>

using namespace PelorusIds;

namespace {

const wchar_t* TrueFalse(bool value) { return value ? L"true" : L"false"; }

bool IsTrue(const std::wstring& text) { return ToLower(text) == L"true"; }

int SecondsOf(const std::wstring& text) { return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10)); }

}

BEGIN_MESSAGE_MAP(CSettingsFormTCPIP, CSettingsFormBase)
    ON_EN_CHANGE(kTimeoutEdit, OnTimeoutChanged)
    ON_EN_CHANGE(kRestartEdit, OnRestartChanged)
    ON_EN_SETFOCUS(kNetworkName, OnNameFocus)
    ON_CONTROL(EN_SETFOCUS, kAddress, OnAddressFocus)
    ON_BN_CLICKED(kSearchDevice, OnSearchDevice)
END_MESSAGE_MAP()

CSettingsFormTCPIP::CSettingsFormTCPIP(ZELL::CConnectionBase* connection, CWnd* parent)
    : CSettingsFormBase(PelorusIds::kTCPIPForm, connection, parent)
{
}

void CSettingsFormTCPIP::DoDataExchange(CDataExchange* dx)
{
    CSettingsFormBase::DoDataExchange(dx);
    DDX_Control(dx, kAddress, m_address);
    DDX_Radio(dx, kByAddress, m_identifyByName);
    DDX_Check(dx, kResolveHostNames, m_nameResolution);
    DDX_Text(dx, kNetworkName, m_networkName);
}

BOOL CSettingsFormTCPIP::OnInitDialog()
{
    m_initialising = true;
    CSettingsFormBase::OnInitDialog();
    SetLabelTexts({{kByAddress, L"CSD_LBL_IPADDRESS"}, {kSearchDevice, L"CSD_BTN_SEARCH_DEVICE"},
                   {kByName, L"CSD_LBL_HOSTNAME"}, {kResolveHostNames, L"CSD_LBL_RESOLVE_HOSTNAMES"},
                   {kTimeoutLabel, L"CSD_LBL_TIMEOUT"}, {kRestartLabel, L"CSD_LBL_RESTART_TO"}});
    SendDlgItemMessage(kTimeoutSpin, UDM_SETRANGE32, 1, kMaxSeconds);
    SendDlgItemMessage(kRestartSpin, UDM_SETRANGE32, 1, kMaxSeconds);
    FillFromSettings();
    m_initialising = false;
    return TRUE;
}

void CSettingsFormTCPIP::FillFromSettings()
{
    if (m_connection == nullptr || m_address.GetSafeHwnd() == nullptr)
        return;
    auto value = [this](const wchar_t* name) { return m_connection->GetSettingsValue(name); };
    m_address.SetAddress(IpTextToUInt(value(L"IP-Address")));
    m_networkName = value(L"NetworkName").c_str();
    m_identifyByName = IsTrue(value(L"IdentifyByName")) ? 1 : 0;
    m_nameResolution = IsTrue(value(L"NameResolution"));
    const int timeout = std::max({SecondsOf(value(L"ConnectTimeoutSeconds")), SecondsOf(value(L"SendTimeoutSeconds")),
                                  SecondsOf(value(L"ReceiveTimeoutSeconds"))});
    const bool wasInitialising = m_initialising;
    m_initialising = true;
    UpdateData(FALSE);
    SetDlgItemInt(kTimeoutEdit, static_cast<UINT>(std::max(timeout, 0)), FALSE);
    SetDlgItemInt(kRestartEdit, static_cast<UINT>(std::max(SecondsOf(value(L"RestartTimeoutSeconds")), 0)), FALSE);
    m_initialising = wasInitialising;
}

void CSettingsFormTCPIP::OnTimeoutChanged() { CheckChangedTimeout(kTimeoutEdit, kMaxSeconds); }

void CSettingsFormTCPIP::OnRestartChanged() { CheckChangedTimeout(kRestartEdit, kMaxSeconds); }

void CSettingsFormTCPIP::OnNameFocus() { ChooseByClick(1); }

void CSettingsFormTCPIP::OnAddressFocus() { ChooseByClick(0); }

// A click into the address or the name chooses how the device is found; the
// focus that Tab moves there does not, so that walking through the form
// with the keyboard changes no setting.
void CSettingsFormTCPIP::ChooseByClick(int identifyByName)
{
    if ((::GetKeyState(VK_LBUTTON) & 0x8000) == 0)
        return;
    UpdateData(TRUE);
    m_identifyByName = identifyByName;
    UpdateData(FALSE);
}

std::wstring CSettingsFormTCPIP::SettingsXml(const tValues& v)
{
    return FormatW(L"<?xml version='1.0'?><TCPIP IP-Address='%s' ConnectTimeoutSeconds='%d' SendTimeoutSeconds='%d' "
                   L"ReceiveTimeoutSeconds='%d' RestartTimeoutSeconds='%d' IdentifyByName='%s' NameResolution='%s' "
                   L"NetworkName='%s' />",
                   XmlEscape(v.address).c_str(), v.timeoutSeconds, v.timeoutSeconds, v.timeoutSeconds,
                   v.restartSeconds, TrueFalse(v.identifyByName), TrueFalse(v.nameResolution),
                   XmlEscape(v.networkName).c_str());
}

std::wstring CSettingsFormTCPIP::ChosenDeviceXml(const std::wstring& address, const std::wstring& name, bool resolve)
{
    return FormatW(L"<?xml version='1.0'?><TCPIP IP-Address='%s' NetworkName='%s' NameResolution='%s' />",
                   XmlEscape(address).c_str(), XmlEscape(name).c_str(), TrueFalse(resolve));
}

// Devices are looked for on the port the connection talks to: the service
// port of real devices, or wherever a simulated one listens.
unsigned short CSettingsFormTCPIP::ServicePortOf(ZELL::CConnectionBase& connection)
{
    const std::wstring text = connection.GetSettingsValue(L"ServicePort");
    wchar_t* end = nullptr;
    const unsigned long port = std::wcstoul(text.c_str(), &end, 10);
    if (text.empty() || end == nullptr || *end != L'\0' || port == 0 || port > 0xFFFF)
        return kDefaultServicePort;
    return static_cast<unsigned short>(port);
}

bool CSettingsFormTCPIP::BuildSettingsXml()
{
    if (m_connection == nullptr || m_address.GetSafeHwnd() == nullptr || !UpdateData(TRUE))
        return false;
    tValues values;
    if (!ValidateTimeout(kTimeoutEdit, kMaxSeconds, values.timeoutSeconds) ||
        !ValidateTimeout(kRestartEdit, kMaxSeconds, values.restartSeconds))
        return false;
    BYTE a = 0, b = 0, c = 0, d = 0;
    m_address.GetAddress(a, b, c, d);
    values.address = FormatW(L"%d.%d.%d.%d", a, b, c, d);
    values.identifyByName = m_identifyByName == 1;
    values.nameResolution = m_nameResolution != FALSE;
    values.networkName = m_networkName.GetString();
    return m_connection->SetSettingsXML(SettingsXml(values));
}

void CSettingsFormTCPIP::OnSearchDevice()
{
    BuildSettingsXml();
    CScanNetworkDlg scan(nullptr);
    if (m_connection) {
        scan.m_selectedAddress = m_connection->GetSettingsValue(L"IP-Address").c_str();
        scan.m_selectedName = m_connection->GetSettingsValue(L"NetworkName").c_str();
    }
    scan.m_resolveNames = m_nameResolution;
    scan.m_templateConnection = m_connection;
    if (m_connection)
        scan.m_servicePort = ServicePortOf(*m_connection);
    if (m_prepareScan)
        m_prepareScan(scan);
    if (scan.DoModal() != IDOK || m_connection == nullptr)
        return;
    m_connection->SetSettingsXML(ChosenDeviceXml(scan.m_selectedAddress.GetString(), scan.m_selectedName.GetString(),
                                                 scan.m_resolveNames != FALSE));
    FillFromSettings();
}
