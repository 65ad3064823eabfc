#include "Common/PelorusDLL/Dialogs/SettingsFormRS232.h"

#include "Common/Communication/ConnectionBase.h"
#include "Common/PelorusDLL/Dialogs/DialogIds.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/System/SerialPortEnumeration.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Xml/XmlAccess.h"
#include "Platform/Base/Format.h"
#include "Platform/Controls/CommCtrl.h"
#include "Platform/Framework/Drawing/ClientDC.h"

#include <algorithm>

using namespace PelorusIds;

namespace {

// Room the opened list leaves around an entry's text.
constexpr int kListTextMargin = 8;

std::wstring PortName(const std::wstring& entry) { return entry.substr(0, entry.find(L':')); }

// The parities as the settings name them, in the list's order, with the
// keys of the names the list shows.
struct tParity {
    const wchar_t* value;
    const wchar_t* key;
};
constexpr tParity kParities[] = {{L"None", L"CSD_TXT_PARITY_NONE"},
                                 {L"Odd", L"CSD_TXT_PARITY_ODD"},
                                 {L"Even", L"CSD_TXT_PARITY_EVEN"},
                                 {L"Mark", L"CSD_TXT_PARITY_MARK"},
                                 {L"Space", L"CSD_TXT_PARITY_SPACE"}};

std::wstring ParityName(const tParity& parity)
{
    const CString text = GetLanguageText(parity.key);
    return text.Left(2) == L"##" ? std::wstring(parity.value) : std::wstring(text.GetString());
}

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
    FitDroppedWidthToPorts();
}

// A port's description is longer than the box is wide: the opened list
// shows every entry whole.
void CSettingsFormRS232::FitDroppedWidthToPorts()
{
    CClientDC dc(m_portList.GetSafeHwnd());
    CFont* old = dc.SelectObject(m_portList.GetFont());
    int widest = 0;
    for (int i = 0; i < m_portList.GetCount(); ++i) {
        CString text;
        m_portList.GetLBText(i, text);
        widest = std::max(widest, static_cast<int>(dc.GetTextExtent(text).cx));
    }
    if (old != nullptr)
        dc.SelectObject(old);
    const int margins = 2 * ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXVSCROLL) + kListTextMargin;
    m_portList.SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + margins));
}

void CSettingsFormRS232::FillOptionLists()
{
    for (const wchar_t* text : {L"300", L"1200", L"2400", L"9600", L"19200", L"38400", L"57600"})
        m_baudList.AddString(text);
    for (const tParity& parity : kParities)
        m_parityList.AddString(ParityName(parity).c_str());
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

// The list shows the parities in the user's language; the settings keep
// the names the connection reads.
void CSettingsFormRS232::SelectParity(const std::wstring& value)
{
    m_parityList.SetCurSel(-1);
    for (std::size_t i = 0; i < std::size(kParities); ++i)
        if (CompareNoCase(kParities[i].value, value) == 0)
            m_parityList.SetCurSel(static_cast<int>(i));
}

std::wstring CSettingsFormRS232::ParityValue() const
{
    const int index = m_parityList.GetCurSel();
    return index >= 0 && static_cast<std::size_t>(index) < std::size(kParities) ? kParities[index].value : L"";
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
    SelectParity(m_connection->GetSettingsValue(L"parity"));
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
    values.parity = ParityValue();
    values.dataBits = ShownText(m_dataBitsList);
    values.stopBits = ShownText(m_stopBitsList);
    return m_connection->SetSettingsXML(SettingsXml(values));
}
