// The dialog templates of the EtherNet/IP, MODBUS, serial MODBUS, SNTP and
// transmission pages, in dialog units. Their texts come from the GUI XML
// file when the pages open; the fixed list items are the ones the devices
// document (baud rates, line modes, link modes).
#include "Products/Corvane/Pages/Views/Res/ServicePageIds.h"
#include "Products/Corvane/Pages/Views/Res/PageTemplate.h"

#include "Platform/Controls/ControlStyles.h"
#include "Platform/Ui/ResourceTable.h"

namespace Corvane {

namespace {

using namespace ServicePageIds;

std::vector<BYTE> EthernetIPTemplate()
{
    CPageTemplate page(L"EtherNet/IP");
    page.Text(kRunIdleLabel, 7, 4, 200);
    page.Check(kRunIdleO2TBox, 14, 16, 120).Check(kRunIdleT2OBox, 140, 16, 120);
    page.Item(Ui::kClassStatic, kEthernetIPLine, SS_ETCHEDHORZ, 7, 30, 262, 1);
    page.Text(kFieldbusVarsLabel, 7, 34, 200);
    page.Group(kInputsGroup, 7, 44, 130, 96);
    page.Group(kOutputsGroup, 139, 44, 130, 96);
    page.Text(kInputAdditionalLabel, 12, 56, 80).Edit(kInputAdditionalEdit, 94, 54, 38);
    page.Text(kAssembly111Label, 12, 72, 38).Edit(kAssembly111Bytes, 54, 70, 36).Edit(kAssembly111Offset, 94, 70, 38);
    page.Text(kAssembly113Label, 12, 88, 38).Edit(kAssembly113Bytes, 54, 86, 36).Edit(kAssembly113Offset, 94, 86, 38);
    page.Text(kOutputAdditionalLabel, 144, 56, 80).Edit(kOutputAdditionalEdit, 226, 54, 38);
    page.Text(kAssembly110Label, 144, 72, 38).Edit(kAssembly110Bytes, 186, 70, 36).Edit(kAssembly110Offset, 226, 70, 38);
    page.Text(kAssembly112Label, 144, 88, 38).Edit(kAssembly112Bytes, 186, 86, 36).Edit(kAssembly112Offset, 226, 86, 38);
    page.Check(kWordAlignBox, 7, 146, 262).Hidden();
    return page.Image();
}

std::vector<BYTE> ModbusTemplate()
{
    CPageTemplate page(L"MODBUS");
    page.Text(kConnectionsLabel, 7, 4, 200);
    page.Row(kConnectionWatchdogLabel, kConnectionWatchdogEdit, 16);
    page.Row(kMaxConnectionsLabel, kMaxConnectionsEdit, 32, ES_READONLY);
    page.Text(kModbusWatchdogLabel, 7, 52, 200);
    page.ListRow(kConfigurationLabel, kConfigurationList, 64);
    page.Row(kWatchdogTimeoutLabel, kWatchdogTimeoutEdit, 80);
    page.Row(kMask1Label, kMask1Edit, 96);
    page.Row(kMask2Label, kMask2Edit, 112);
    page.Check(kCloseSocketBox, 7, 130, 262);
    return page.Image();
}

std::vector<BYTE> ModbusParamTemplate()
{
    CPageTemplate page(L"MODBUSPARAM");
    page.ListRow(kBaudLabel, kBaudList, 8);
    page.ListRow(kFrameLabel, kFrameList, 26);
    page.ListRow(kEndOfFrameLabel, kEndOfFrameList, 44);
    page.ListRow(kModeLabel, kModeList, 62);
    page.Check(kErrorCheckBox, 7, 84, 262);
    page.Check(kWatchdogBox, 7, 98, 262);
    page.Check(kLibraryBox, 7, 112, 262);
    return page.Image();
}

std::vector<BYTE> SntpTemplate()
{
    CPageTemplate page(L"SNTP");
    page.Check(kSntpBox, 7, 6, 262);
    page.Row(kCurrentServerLabel, kCurrentServerEdit, 22, ES_READONLY);
    page.Row(kServerLabel, kServerEdit, 38);
    page.Item(Ui::kClassStatic, kDnsWarningIcon, SS_ICON, 236, 38, 12, 12).Hidden();
    page.Row(kIntervalLabel, kIntervalEdit, 54);
    page.Row(kTimeoutLabel, kTimeoutEdit, 70);
    return page.Image();
}

std::vector<BYTE> TransmissionTemplate()
{
    CPageTemplate page(L"Transmission");
    page.ListRow(kSpeedLabel, kSpeedList, 8);
    page.Check(kBandwidthBox, 7, 30, 10);
    page.Text(kBandwidthLabel, 19, 30, 200, SS_NOTIFY);
    page.Row(kActivationTimeLabel, kActivationTimeEdit, 46);
    page.ListRow(kPriorityLabel, kPriorityList, 62);
    return page.Image();
}

using namespace Ui::Res;

const Data kEthernetIP{RT_DIALOG, kEthernetIPTemplate, LANG_NEUTRAL, {}, &EthernetIPTemplate};
const Data kModbus{RT_DIALOG, kModbusTemplate, LANG_NEUTRAL, {}, &ModbusTemplate};
const Data kModbusParam{RT_DIALOG, kModbusParamTemplate, LANG_NEUTRAL, {}, &ModbusParamTemplate};
const Data kSntp{RT_DIALOG, kSntpTemplate, LANG_NEUTRAL, {}, &SntpTemplate};
const Data kTransmission{RT_DIALOG, kTransmissionTemplate, LANG_NEUTRAL, {}, &TransmissionTemplate};
// The transmission page's warning when a fixed full-duplex link mode is chosen.
const StringTable kEnglish{MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), {
    {kDuplexWarning, L"<table>\n<tr><td><icon idres=139 width=32 height=32></td><td><center><h2>Warning</h2></center>"
                     L"<br><hr color=green><br><font color=red size=10pt style=b>Setting to full duplex could<br>"
                     L"cause duplex missmatch!</font></td></tr></table>"},
}};
const ResourceTable kTable{.strings = {&kEnglish},
                           .data = {&kEthernetIP, &kModbus, &kModbusParam, &kSntp, &kTransmission}};
const Registration kRegistration{kTable};

}

}  // namespace Corvane
