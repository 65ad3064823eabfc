// The dialog templates of the clock, network identification, controller,
// protocol, memory-card and state pages, in dialog units. Their texts come
// from the GUI XML file when the pages open; the few fixed captions are the
// port names the device documents.
#include "Products/Corvane/Pages/Views/Res/DevicePageIds.h"
#include "Products/Corvane/Pages/Views/Res/PageTemplate.h"

#include "Platform/Controls/ControlStyles.h"
#include "Platform/Controls/DateTimeStyles.h"
#include "Platform/Ui/ResourceTable.h"

namespace Corvane {

namespace {

using namespace DevicePageIds;

constexpr DWORD kReadOnlyEdit = WS_BORDER | ES_AUTOHSCROLL | ES_READONLY;
// Labels that answer clicks (they toggle the check box beside them).
constexpr DWORD kClickLabel = SS_NOTIFY;

std::vector<BYTE> ClockTemplate()
{
    CPageTemplate page(L"Real Time Clock");
    page.Group(kPcGroup, 7, 4, 128, 150);
    page.Text(kPcDate, 14, 18, 110);
    page.Text(kPcTime, 14, 30, 110);
    page.Check(kPcDaylightBox, 14, 46, 10);
    page.Disabled();
    page.Text(kPcDaylightLabel, 26, 46, 104);
    page.Text(kPcZoneLabel, 14, 62, 50);
    page.Text(kPcZone, 66, 62, 64);
    page.Text(kPcUtcLabel, 14, 78, 50);
    page.Text(kPcUtcDate, 14, 90, 110);
    page.Text(kPcUtcTime, 14, 102, 110);
    page.Item(Ui::kClassButton, kSyncButton, BS_PUSHBUTTON | WS_TABSTOP, 14, 132, 112, 14);
    page.Group(kDeviceGroup, 141, 4, 128, 150);
    page.Text(kDeviceDate, 148, 18, 110);
    page.Text(kDeviceTime, 148, 30, 110);
    page.Check(kDeviceDaylightBox, 148, 46, 10);
    page.Text(kDeviceDaylightLabel, 160, 46, 104, kClickLabel);
    page.Text(kDeviceZoneLabel, 148, 62, 50);
    page.Combo(kDeviceZoneList, 148, 74, 112, 120);
    page.Text(kDeviceUtcLabel, 148, 92, 50);
    page.Item(DATETIMEPICK_CLASSW, kDeviceDatePicker, WS_TABSTOP | DTS_SHORTDATECENTURYFORMAT, 148, 104, 112, 14);
    page.Item(DATETIMEPICK_CLASSW, kDeviceTimePicker, WS_TABSTOP | DTS_TIMEFORMAT, 148, 122, 112, 14);
    return page.Image();
}

std::vector<BYTE> NetworkTemplate()
{
    CPageTemplate page(L"Network Identification");
    page.Text(kHostNameLabel, 7, 10, 80);
    page.Edit(kHostNameEdit, 90, 8, 170);
    page.Text(kDomainNameLabel, 7, 28, 80);
    page.Edit(kDomainNameEdit, 90, 26, 170);
    page.Item(Ui::kClassStatic, kNetworkInfo, 0, 7, 50, 253, 40);
    return page.Image();
}

std::vector<BYTE> OrbisTemplate()
{
    CPageTemplate page(L"PLC");
    page.Text(kRuntimeSystemLabel, 7, 10, 100);
    page.Combo(kRuntimeSystemList, 110, 8, 150);
    page.Check(kResetOutputsBox, 7, 30, 253);
    page.Check(kAlternativeTargetIdBox, 7, 46, 253);
    return page.Image();
}

std::vector<BYTE> ProtocolTemplate()
{
    CPageTemplate page(L"Protocol");
    page.Check(kWebServerBox, 7, 6, 150);
    page.Text(kHttpPortLabel, 20, 22, 60);
    page.Edit(kHttpPortEdit, 84, 20, 50);
    page.Text(kHttpPortStatic, 84, 22, 50);
    page.Hidden();
    page.Check(kHttpsBox, 144, 22, 60, L"HTTPS");
    page.Hidden();
    // Authentication is carried in the block but never offered.
    page.Check(kAuthenticationBox, 210, 22, 60);
    page.Hidden();
    page.Text(kAdditionalGroup, 7, 40, 253);
    page.Check(kFtpBox, 20, 54, 200, L"FTP (Port 21)");
    page.Check(kModbusTcpBox, 20, 68, 200, L"Modbus TCP (Port 502)");
    page.Check(kModbusUdpBox, 20, 82, 200, L"Modbus UDP (Port 502)");
    page.Check(kEthernetIPBox, 20, 96, 200, L"Ethernet/IP (Port 2222/44818)");
    page.Check(kPlcBox, 20, 110, 200, L"PLC (Port 2455)");
    page.Item(Ui::kClassStatic, kSeeWebManagement, 0, 7, 40, 253, 24);
    page.Hidden();
    return page.Image();
}

std::vector<BYTE> SDCardTemplate()
{
    CPageTemplate page(L"SD Card");
    const std::pair<int, int> rows[] = {{kCardStatusLabel, kCardStatus},     {kCardTypeLabel, kCardType},
                                        {kCardSerialLabel, kCardSerial},     {kCardCapacityLabel, kCardCapacity},
                                        {kCardFreeLabel, kCardFree}};
    short y = 8;
    for (const auto& [label, edit] : rows) {
        page.Text(label, 7, static_cast<short>(y + 2), 90);
        page.Item(Ui::kClassEdit, edit, kReadOnlyEdit, 100, y, 160, 12);
        y = static_cast<short>(y + 16);
    }
    page.Text(kRootLocationLabel, 7, static_cast<short>(y + 2), 90);
    page.Combo(kRootLocationList, 100, y, 160, 60);
    page.Item(Ui::kClassStatic, kCardServiceLine, 0, 7, 112, 253, 10);
    const int buttons[] = {kCardQueryButton, kRootGetButton, kRootSetButton};
    const wchar_t* captions[] = {L"GetSDCardStatus", L"GET", L"SET"};
    for (int i = 0; i < 3; ++i) {
        page.Item(Ui::kClassButton, buttons[i], BS_PUSHBUTTON | WS_TABSTOP, static_cast<short>(7 + 86 * i), 128, 80, 14,
                 captions[i]);
        page.Hidden();
    }
    return page.Image();
}

std::vector<BYTE> StateTemplate()
{
    CPageTemplate page(L"Status");
    page.Group(kStatesGroup, 7, 4, 262, 106);
    const std::pair<int, int> rows[] = {{kFieldbusBox, kFieldbusLabel},       {kWriteAccessBox, kWriteAccessLabel},
                                        {kMonitorModeBox, kMonitorModeLabel}, {kControlModeBox, kControlModeLabel},
                                        {kTestModeBox, kTestModeLabel},       {kExtensionBox, kExtensionLabel},
                                        {kConstantSpeedBox, kConstantSpeedLabel}};
    short y = 18;
    for (const auto& [box, label] : rows) {
        page.Check(box, 14, y, 10);
        page.Text(label, 26, y, 236, kClickLabel);
        y = static_cast<short>(y + 13);
    }
    page.Group(kBlinkCodeGroup, 7, 114, 262, 72);
    page.Text(kErrorCodeLabel, 14, 126, 70);
    page.Text(kErrorCode, 86, 126, 40);
    page.Text(kErrorArgumentLabel, 134, 126, 70);
    page.Text(kErrorArgument, 206, 126, 40);
    page.Item(Ui::kClassStatic, kBlinkCodeText, 0, 14, 140, 248, 42);
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

}  // namespace Corvane
