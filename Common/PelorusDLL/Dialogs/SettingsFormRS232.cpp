#include "Common/PelorusDLL/Dialogs/SettingsFormRS232.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/System/SerialPortEnumeration.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Base/Format.h"
#include "Platform/Controls/CommCtrl.h"

using namespace PelorusIds;

namespace {

std::wstring PortName(const std::wstring& entry) { return entry.substr(0, entry.find(L':')); }

void AddAttribute(std::wstring& xml, const wchar_t* name, const std::wstring& value)
{
    if (!value.empty())
        xml += FormatW(L"%s=\"%s\" ", name, XmlEscape(value).c_str());
}

}

BEGIN_MESSAGE_MAP(CSettingsFormRS232, CSettingsFormBase)
    ON_EN_CHANGE(kTimeoutEdit, OnTimeoutChanged)
    ON_EN_CHANGE(kRestartEdit, OnRestartChanged)
END_MESSAGE_MAP()

CSettingsFormRS232::CSettingsFormRS232(ZELL::CConnectionBase* connection, CWnd* parent)
    : CSettingsFormBase(PelorusIds::kRS232Form, connection, parent)
{
}

std::vector<SerialPortInfo> CSettingsFormRS232::EnumeratePorts() const
{
    std::vector<SerialPortInfo> ports;
    EnumerateSerialPorts(ports);
    return ports;
}

void CSettingsFormRS232::DoDataExchange(CDataExchange* dx)
{
    CSettingsFormBase::DoDataExchange(dx);
    DDX_Control(dx, kPortList, m_portList);
    DDX_Control(dx, kBaudList, m_baudList);
    DDX_Control(dx, kParityList, m_parityList);
    DDX_Control(dx, kDataBitsList, m_dataBitsList);
    DDX_Control(dx, kStopBitsList, m_stopBitsList);
}

BOOL CSettingsFormRS232::OnInitDialog()
{
    m_initialising = true;
    CSettingsFormBase::OnInitDialog();
    SetLabelTexts({{kPortLabel, L"CSD_LBL_COMMPORT"}, {kBaudLabel, L"CSD_LBL_BAUDRATE"},
                   {kParityLabel, L"CSD_LBL_PARITY"}, {kDataBitsLabel, L"CSD_LBL_DATABITS"},
                   {kStopBitsLabel, L"CSD_LBL_STOPBITS"}, {kTimeoutLabel, L"CSD_LBL_TIMEOUT"},
                   {kRestartLabel, L"CSD_LBL_RESTART_TO"}});
    FillPortList();
    SendDlgItemMessage(kTimeoutSpin, UDM_SETRANGE32, 1, kMaxTimeoutSeconds);
    SendDlgItemMessage(kRestartSpin, UDM_SETRANGE32, 1, kMaxRestartSeconds);
    SetDlgItemInt(kTimeoutEdit, 5, FALSE);
    FillOptionLists();
    FillFromSettings();
    m_initialising = false;
    return TRUE;
}

void CSettingsFormRS232::FillPortList()
{
    m_ports = EnumeratePorts();
    const bool oem = GetLanguageText(L"OEM_NAME").Left(2) != L"##";
    for (const SerialPortInfo& port : m_ports) {
        std::wstring entry = port.description.empty() ? port.name : port.name + L": " + port.description;
        if (oem)
            entry = ReplaceAll(entry, L"ZELL ", L"");
        m_portList.AddString(entry.c_str());
    }
}

void CSettingsFormRS232::FillOptionLists()
{
    for (const wchar_t* text : {L"300", L"1200", L"2400", L"9600", L"19200", L"38400", L"57600"})
        m_baudList.AddString(text);
    for (const wchar_t* text : {L"None", L"Odd", L"Even", L"Mark", L"Space"})
        m_parityList.AddString(text);
    for (const wchar_t* text : {L"5", L"6", L"7", L"8"})
        m_dataBitsList.AddString(text);
    for (const wchar_t* text : {L"1", L"1.5", L"2"})
        m_stopBitsList.AddString(text);
}

void CSettingsFormRS232::SelectIgnoringCase(CComboBox& list, const std::wstring& value)
{
    list.SetCurSel(-1);
    for (int i = 0; i < list.GetCount(); ++i) {
        CString text;
        list.GetLBText(i, text);
        if (CompareNoCase(text.GetString(), value) == 0) {
            list.SetCurSel(i);
            return;
        }
    }
}

std::wstring CSettingsFormRS232::ShownText(const CComboBox& list)
{
    const int index = list.GetCurSel();
    if (index < 0)
        return {};
    CString text;
    list.GetLBText(index, text);
    return text.GetString();
}

void CSettingsFormRS232::FillFromSettings()
{
    if (m_connection == nullptr || m_portList.GetSafeHwnd() == nullptr)
        return;
    // The stored port by its exact name: "COM1" never picks "COM10".
    const std::wstring device = m_connection->GetSettingsValue(L"device");
    int selected = m_ports.empty() ? -1 : 0;
    for (std::size_t i = 0; i < m_ports.size(); ++i)
        if (m_ports[i].name == device)
            selected = static_cast<int>(i);
    m_portList.SetCurSel(selected);
    SelectIgnoringCase(m_baudList, m_connection->GetSettingsValue(L"baudrate"));
    SelectIgnoringCase(m_parityList, m_connection->GetSettingsValue(L"parity"));
    SelectIgnoringCase(m_dataBitsList, m_connection->GetSettingsValue(L"databits"));
    SelectIgnoringCase(m_stopBitsList, m_connection->GetSettingsValue(L"stopbits"));
    const bool wasInitialising = m_initialising;
    m_initialising = true;
    const long long milliseconds = std::wcstoll(m_connection->GetSettingsValue(L"timeout").c_str(), nullptr, 10);
    SetDlgItemText(kTimeoutEdit, std::to_wstring(milliseconds / 1000).c_str());
    SetDlgItemText(kRestartEdit, m_connection->GetSettingsValue(L"RestartTimeoutSeconds").c_str());
    m_initialising = wasInitialising;
}

void CSettingsFormRS232::OnTimeoutChanged() { CheckChangedTimeout(kTimeoutEdit, kMaxTimeoutSeconds); }

void CSettingsFormRS232::OnRestartChanged() { CheckChangedTimeout(kRestartEdit, kMaxRestartSeconds); }

std::wstring CSettingsFormRS232::SettingsXml(const tValues& values)
{
    std::wstring xml = L"<?xml version=\"1.0\"?><RS232 ";
    AddAttribute(xml, L"device", values.device);
    if (values.virtualPort >= 0)
        xml += FormatW(L"virtual=\"%d\" ", values.virtualPort);
    AddAttribute(xml, L"baudrate", values.baudRate);
    AddAttribute(xml, L"parity", values.parity);
    AddAttribute(xml, L"databits", values.dataBits);
    AddAttribute(xml, L"stopbits", values.stopBits);
    xml += FormatW(L"timeout=\"%lld\" ", static_cast<long long>(values.timeoutSeconds) * 1000);
    xml += FormatW(L"RestartTimeoutSeconds=\"%d\" />", values.restartSeconds);
    return xml;
}

bool CSettingsFormRS232::BuildSettingsXml()
{
    if (m_connection == nullptr || m_portList.GetSafeHwnd() == nullptr)
        return false;
    tValues values;
    if (!ValidateTimeout(kTimeoutEdit, kMaxTimeoutSeconds, values.timeoutSeconds) ||
        !ValidateTimeout(kRestartEdit, kMaxRestartSeconds, values.restartSeconds))
        return false;
    values.device = PortName(ShownText(m_portList));
    const int port = m_portList.GetCurSel();
    if (port >= 0 && static_cast<std::size_t>(port) < m_ports.size())
        values.virtualPort = m_ports[static_cast<std::size_t>(port)].special ? 1 : 0;
    values.baudRate = ShownText(m_baudList);
    values.parity = ShownText(m_parityList);
    values.dataBits = ShownText(m_dataBitsList);
    values.stopBits = ShownText(m_stopBitsList);
    return m_connection->SetSettingsXML(SettingsXml(values));
}
