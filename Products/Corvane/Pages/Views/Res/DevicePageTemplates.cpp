// The dialog templates of the clock, network identification, controller,
// protocol, memory-card and state pages, in dialog units. Their texts come
// from the GUI XML file when the pages open; the few fixed captions are the
// port names the device documents.
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"

#include "Platform/Controls/ComboStyles.h"
#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/DateTimeStyles.h"
#include "Platform/Controls/EditStyles.h"
#include "Platform/Ui/DialogTemplate.h"
#include "Platform/Ui/ResourceTable.h"

namespace {

using namespace DevicePageIds;
using Ui::NameOrOrdinal;

constexpr short kPageWidth = 276;
constexpr short kPageHeight = 190;
constexpr DWORD kPageStyle = WS_CHILD | DS_CONTROL | DS_SETFONT | WS_CAPTION;
constexpr DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kTextEdit = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kReadOnlyEdit = WS_BORDER | ES_AUTOHSCROLL | ES_READONLY;
// Labels that answer clicks (they toggle the check box beside them).
constexpr DWORD kClickLabel = SS_NOTIFY;

class CPageItems {
public:
    CPageItems(const wchar_t* caption)
    {
        m_page.style = kPageStyle;
        m_page.cx = kPageWidth;
        m_page.cy = kPageHeight;
        m_page.caption = caption;
        m_page.pointSize = 8;
        m_page.faceName = L"DejaVu Sans";
    }

    void Add(WORD atom, int id, DWORD style, short x, short y, short cx, short cy, const wchar_t* text = L"")
    {
        m_page.items.push_back(Ui::VisibleControl(NameOrOrdinal::Ordinal(atom), text, id, style, x, y, cx, cy));
    }
    void Add(const wchar_t* className, int id, DWORD style, short x, short y, short cx, short cy)
    {
        m_page.items.push_back(Ui::VisibleControl(NameOrOrdinal::Name(className), L"", id, style, x, y, cx, cy));
    }
    void Label(int id, short x, short y, short cx, DWORD style = 0) { Add(Ui::kClassStatic, id, style, x, y, cx, 10); }
    void Group(int id, short x, short y, short cx, short cy) { Add(Ui::kClassButton, id, BS_GROUPBOX, x, y, cx, cy); }
    void Box(int id, short x, short y, short cx, const wchar_t* text = L"")
    {
        Add(Ui::kClassButton, id, kCheckBox, x, y, cx, 10, text);
    }
    // The last item starts hidden; the page shows it where the device has it.
    void Hidden() { m_page.items.back().style &= ~static_cast<DWORD>(WS_VISIBLE); }
    void Disabled() { m_page.items.back().style |= WS_DISABLED; }

    std::vector<BYTE> Image() const { return m_page.ToImage(); }

private:
    Ui::CDialogTemplate m_page;
};

std::vector<BYTE> ClockTemplate()
{
    CPageItems page(L"Real Time Clock");
    page.Group(kPcGroup, 7, 4, 128, 150);
    page.Label(kPcDate, 14, 18, 110);
    page.Label(kPcTime, 14, 30, 110);
    page.Box(kPcDaylightBox, 14, 46, 10);
    page.Disabled();
    page.Label(kPcDaylightLabel, 26, 46, 104);
    page.Label(kPcZoneLabel, 14, 62, 50);
    page.Label(kPcZone, 66, 62, 64);
    page.Label(kPcUtcLabel, 14, 78, 50);
    page.Label(kPcUtcDate, 14, 90, 110);
    page.Label(kPcUtcTime, 14, 102, 110);
    page.Add(Ui::kClassButton, kSyncButton, BS_PUSHBUTTON | WS_TABSTOP, 14, 132, 112, 14);
    page.Group(kDeviceGroup, 141, 4, 128, 150);
    page.Label(kDeviceDate, 148, 18, 110);
    page.Label(kDeviceTime, 148, 30, 110);
    page.Box(kDeviceDaylightBox, 148, 46, 10);
    page.Label(kDeviceDaylightLabel, 160, 46, 104, kClickLabel);
    page.Label(kDeviceZoneLabel, 148, 62, 50);
    page.Add(Ui::kClassComboBox, kDeviceZoneList, kDropList, 148, 74, 112, 120);
    page.Label(kDeviceUtcLabel, 148, 92, 50);
    page.Add(DATETIMEPICK_CLASSW, kDeviceDatePicker, WS_TABSTOP | DTS_SHORTDATECENTURYFORMAT, 148, 104, 112, 14);
    page.Add(DATETIMEPICK_CLASSW, kDeviceTimePicker, WS_TABSTOP | DTS_TIMEFORMAT, 148, 122, 112, 14);
    return page.Image();
}

std::vector<BYTE> NetworkTemplate()
{
    CPageItems page(L"Network Identification");
    page.Label(kHostNameLabel, 7, 10, 80);
    page.Add(Ui::kClassEdit, kHostNameEdit, kTextEdit, 90, 8, 170, 12);
    page.Label(kDomainNameLabel, 7, 28, 80);
    page.Add(Ui::kClassEdit, kDomainNameEdit, kTextEdit, 90, 26, 170, 12);
    page.Add(Ui::kClassStatic, kNetworkInfo, 0, 7, 50, 253, 40);
    return page.Image();
}

std::vector<BYTE> OrbisTemplate()
{
    CPageItems page(L"PLC");
    page.Label(kRuntimeSystemLabel, 7, 10, 100);
    page.Add(Ui::kClassComboBox, kRuntimeSystemList, kDropList, 110, 8, 150, 100);
    page.Box(kResetOutputsBox, 7, 30, 253);
    page.Box(kAlternativeTargetIdBox, 7, 46, 253);
    return page.Image();
}

std::vector<BYTE> ProtocolTemplate()
{
    CPageItems page(L"Protocol");
    page.Box(kWebServerBox, 7, 6, 150);
    page.Label(kHttpPortLabel, 20, 22, 60);
    page.Add(Ui::kClassEdit, kHttpPortEdit, kTextEdit, 84, 20, 50, 12);
    page.Label(kHttpPortStatic, 84, 22, 50);
    page.Hidden();
    page.Box(kHttpsBox, 144, 22, 60, L"HTTPS");
    page.Hidden();
    // Authentication is carried in the block but never offered.
    page.Box(kAuthenticationBox, 210, 22, 60);
    page.Hidden();
    page.Label(kAdditionalGroup, 7, 40, 253);
    page.Box(kFtpBox, 20, 54, 200, L"FTP (Port 21)");
    page.Box(kModbusTcpBox, 20, 68, 200, L"Modbus TCP (Port 502)");
    page.Box(kModbusUdpBox, 20, 82, 200, L"Modbus UDP (Port 502)");
    page.Box(kEthernetIPBox, 20, 96, 200, L"Ethernet/IP (Port 2222/44818)");
    page.Box(kPlcBox, 20, 110, 200, L"PLC (Port 2455)");
    page.Add(Ui::kClassStatic, kSeeWebManagement, 0, 7, 40, 253, 24);
    page.Hidden();
    return page.Image();
}

std::vector<BYTE> SDCardTemplate()
{
    CPageItems page(L"SD Card");
    const std::pair<int, int> rows[] = {{kCardStatusLabel, kCardStatus},     {kCardTypeLabel, kCardType},
                                        {kCardSerialLabel, kCardSerial},     {kCardCapacityLabel, kCardCapacity},
                                        {kCardFreeLabel, kCardFree}};
    short y = 8;
    for (const auto& [label, edit] : rows) {
        page.Label(label, 7, static_cast<short>(y + 2), 90);
        page.Add(Ui::kClassEdit, edit, kReadOnlyEdit, 100, y, 160, 12);
        y = static_cast<short>(y + 16);
    }
    page.Label(kRootLocationLabel, 7, static_cast<short>(y + 2), 90);
    page.Add(Ui::kClassComboBox, kRootLocationList, kDropList, 100, y, 160, 60);
    page.Add(Ui::kClassStatic, kCardServiceLine, 0, 7, 112, 253, 10);
    const int buttons[] = {kCardQueryButton, kRootGetButton, kRootSetButton};
    const wchar_t* captions[] = {L"GetSDCardStatus", L"GET", L"SET"};
    for (int i = 0; i < 3; ++i) {
        page.Add(Ui::kClassButton, buttons[i], BS_PUSHBUTTON | WS_TABSTOP, static_cast<short>(7 + 86 * i), 128, 80, 14,
                 captions[i]);
        page.Hidden();
    }
    return page.Image();
}

std::vector<BYTE> StateTemplate()
{
    CPageItems page(L"Status");
    page.Group(kStatesGroup, 7, 4, 262, 106);
    const std::pair<int, int> rows[] = {{kFieldbusBox, kFieldbusLabel},       {kWriteAccessBox, kWriteAccessLabel},
                                        {kMonitorModeBox, kMonitorModeLabel}, {kControlModeBox, kControlModeLabel},
                                        {kTestModeBox, kTestModeLabel},       {kExtensionBox, kExtensionLabel},
                                        {kConstantSpeedBox, kConstantSpeedLabel}};
    short y = 18;
    for (const auto& [box, label] : rows) {
        page.Box(box, 14, y, 10);
        page.Label(label, 26, y, 236, kClickLabel);
        y = static_cast<short>(y + 13);
    }
    page.Group(kBlinkCodeGroup, 7, 114, 262, 72);
    page.Label(kErrorCodeLabel, 14, 126, 70);
    page.Label(kErrorCode, 86, 126, 40);
    page.Label(kErrorArgumentLabel, 134, 126, 70);
    page.Label(kErrorArgument, 206, 126, 40);
    page.Add(Ui::kClassStatic, kBlinkCodeText, 0, 14, 140, 248, 42);
    return page.Image();
}

using namespace Ui::Res;

const Data kClock{RT_DIALOG, kClockTemplate, LANG_NEUTRAL, {}, &ClockTemplate};
const Data kNetwork{RT_DIALOG, kNetworkTemplate, LANG_NEUTRAL, {}, &NetworkTemplate};
const Data kOrbis{RT_DIALOG, kOrbisTemplate, LANG_NEUTRAL, {}, &OrbisTemplate};
const Data kProtocol{RT_DIALOG, kProtocolTemplate, LANG_NEUTRAL, {}, &ProtocolTemplate};
const Data kSDCard{RT_DIALOG, kSDCardTemplate, LANG_NEUTRAL, {}, &SDCardTemplate};
const Data kState{RT_DIALOG, kStateTemplate, LANG_NEUTRAL, {}, &StateTemplate};
const ResourceTable kTable{.data = {&kClock, &kNetwork, &kOrbis, &kProtocol, &kSDCard, &kState}};
const Registration kRegistration{kTable};

}
