#pragma once

// Templates and control ids of the device pages: the clock, network
// identification, controller, protocol, memory-card and state pages. The
// numbers are the ones the pages have always had, so that tooltips and tests
// name the same controls.

namespace Corvane {

namespace DevicePageIds {

// --- clock page -------------------------------------------------------------
constexpr int kClockTemplate = 222;
constexpr int kPcGroup = 1224;
constexpr int kPcDate = 1004;
constexpr int kPcTime = 1005;
constexpr int kPcDaylightLabel = 1147;
constexpr int kPcDaylightBox = 1204;
constexpr int kPcZoneLabel = 1155;
constexpr int kPcZone = 1149;
constexpr int kPcUtcLabel = 1153;
constexpr int kPcUtcDate = 1151;
constexpr int kPcUtcTime = 1152;
constexpr int kSyncButton = 1006;
constexpr int kDeviceGroup = 1223;
constexpr int kDeviceDate = 1143;
constexpr int kDeviceTime = 1144;
constexpr int kDeviceDaylightLabel = 1148;
constexpr int kDeviceDaylightBox = 1203;
constexpr int kDeviceZoneLabel = 1156;
constexpr int kDeviceZoneList = 1167;
constexpr int kDeviceUtcLabel = 1154;
constexpr int kDeviceDatePicker = 1166;
constexpr int kDeviceTimePicker = 1165;

// --- network identification page --------------------------------------------
constexpr int kNetworkTemplate = 166;
constexpr int kHostNameLabel = 1073;
constexpr int kHostNameEdit = 1074;
constexpr int kDomainNameLabel = 1076;
constexpr int kDomainNameEdit = 1075;
constexpr int kNetworkInfo = 1185;

// --- controller page --------------------------------------------------------
constexpr int kOrbisTemplate = 206;
constexpr int kRuntimeSystemLabel = 1286;
constexpr int kRuntimeSystemList = 1287;
constexpr int kResetOutputsBox = 1239;
constexpr int kAlternativeTargetIdBox = 1240;

// --- protocol page ----------------------------------------------------------
constexpr int kProtocolTemplate = 165;
constexpr int kWebServerBox = 1022;
constexpr int kHttpPortLabel = 1042;
constexpr int kHttpPortEdit = 1072;
constexpr int kHttpPortStatic = 1246;
constexpr int kHttpsBox = 1049;
constexpr int kAuthenticationBox = 1048;
constexpr int kAdditionalGroup = 1216;
constexpr int kFtpBox = 1026;
constexpr int kModbusTcpBox = 1044;
constexpr int kModbusUdpBox = 1045;
constexpr int kEthernetIPBox = 1046;
constexpr int kPlcBox = 1047;
constexpr int kSeeWebManagement = 1247;

// --- memory-card page -------------------------------------------------------
constexpr wchar_t kSDCardTemplate[] = L"SDCARD";
constexpr int kCardStatusLabel = 1270;
constexpr int kCardStatus = 1275;
constexpr int kCardTypeLabel = 1271;
constexpr int kCardType = 1276;
constexpr int kCardSerialLabel = 1280;
constexpr int kCardSerial = 1284;
constexpr int kCardCapacityLabel = 1272;
constexpr int kCardCapacity = 1277;
constexpr int kCardFreeLabel = 1273;
constexpr int kCardFree = 1278;
constexpr int kRootLocationLabel = 1274;
constexpr int kRootLocationList = 1279;
constexpr int kCardServiceLine = 1285;
constexpr int kCardQueryButton = 1281;
constexpr int kRootGetButton = 1282;
constexpr int kRootSetButton = 1283;

// --- state page -------------------------------------------------------------
constexpr int kStateTemplate = 273;
constexpr int kFieldbusBox = 1193;
constexpr int kFieldbusLabel = 1206;
constexpr int kWriteAccessBox = 1194;
constexpr int kWriteAccessLabel = 1209;
constexpr int kMonitorModeBox = 1195;
constexpr int kMonitorModeLabel = 1210;
constexpr int kControlModeBox = 1196;
constexpr int kControlModeLabel = 1211;
constexpr int kTestModeBox = 1198;
constexpr int kTestModeLabel = 1212;
constexpr int kExtensionBox = 1197;
constexpr int kExtensionLabel = 1213;
constexpr int kConstantSpeedBox = 1202;
constexpr int kConstantSpeedLabel = 1214;
constexpr int kStatesGroup = 1205;
constexpr int kBlinkCodeGroup = 1199;
constexpr int kErrorCodeLabel = 1200;
constexpr int kErrorCode = 1203;
constexpr int kErrorArgumentLabel = 1201;
constexpr int kErrorArgument = 1204;
constexpr int kBlinkCodeText = 1207;

}

}  // namespace Corvane
