#pragma once

// Templates and control ids of the service pages: the EtherNet/IP, MODBUS,
// serial MODBUS, SNTP and transmission pages. The numbers are the ones the
// pages have always had, so that tooltips and tests name the same controls.

namespace Corvane {

namespace ServicePageIds {

// --- EtherNet/IP page -------------------------------------------------------
constexpr int kEthernetIPTemplate = 179;
constexpr int kRunIdleLabel = 1189;
constexpr int kRunIdleO2TBox = 1190;
constexpr int kRunIdleT2OBox = 1191;
constexpr int kFieldbusVarsLabel = 1169;
constexpr int kInputsGroup = 1301;
constexpr int kOutputsGroup = 1302;
constexpr int kInputAdditionalLabel = 1120;
constexpr int kInputAdditionalEdit = 1121;
constexpr int kOutputAdditionalLabel = 1122;
constexpr int kOutputAdditionalEdit = 1123;
constexpr int kAssembly111Label = 1124;
constexpr int kAssembly111Bytes = 1125;
constexpr int kAssembly111Offset = 1126;
constexpr int kAssembly113Label = 1127;
constexpr int kAssembly113Bytes = 1128;
constexpr int kAssembly113Offset = 1129;
constexpr int kAssembly110Label = 1130;
constexpr int kAssembly110Bytes = 1131;
constexpr int kAssembly110Offset = 1132;
constexpr int kAssembly112Label = 1133;
constexpr int kAssembly112Bytes = 1134;
constexpr int kAssembly112Offset = 1135;
constexpr int kEthernetIPLine = 1222;
constexpr int kWordAlignBox = 1293;

// --- MODBUS page ------------------------------------------------------------
constexpr int kModbusTemplate = 162;
constexpr int kConnectionsLabel = 1226;
constexpr int kConnectionWatchdogLabel = 1065;
constexpr int kConnectionWatchdogEdit = 1066;
constexpr int kMaxConnectionsLabel = 1069;
constexpr int kMaxConnectionsEdit = 1067;
constexpr int kModbusWatchdogLabel = 1217;
constexpr int kConfigurationLabel = 1060;
constexpr int kConfigurationList = 1117;
constexpr int kWatchdogTimeoutLabel = 1062;
constexpr int kWatchdogTimeoutEdit = 1071;
constexpr int kMask1Label = 1085;
constexpr int kMask1Edit = 1064;
constexpr int kMask2Label = 1072;
constexpr int kMask2Edit = 1070;
constexpr int kCloseSocketBox = 1068;

// --- serial MODBUS parameters page ------------------------------------------
constexpr int kModbusParamTemplate = 293;
constexpr int kBaudLabel = 1259;
constexpr int kFrameLabel = 1260;
constexpr int kEndOfFrameLabel = 1261;
constexpr int kModeLabel = 1262;
constexpr int kErrorCheckBox = 1263;
constexpr int kWatchdogBox = 1264;
constexpr int kLibraryBox = 1265;
constexpr int kBaudList = 1266;
constexpr int kFrameList = 1267;
constexpr int kEndOfFrameList = 1268;
constexpr int kModeList = 1269;

// --- SNTP page --------------------------------------------------------------
constexpr int kSntpTemplate = 175;
constexpr int kSntpBox = 1101;
constexpr int kCurrentServerLabel = 1099;
constexpr int kCurrentServerEdit = 1298;
constexpr int kServerLabel = 1093;
constexpr int kServerEdit = 1297;
constexpr int kIntervalLabel = 1095;
constexpr int kIntervalEdit = 1096;
constexpr int kTimeoutLabel = 1097;
constexpr int kTimeoutEdit = 1098;
constexpr int kDnsWarningIcon = 1300;

// --- transmission page ------------------------------------------------------
constexpr int kTransmissionTemplate = 176;
constexpr int kSpeedLabel = 1102;
constexpr int kSpeedList = 1103;
constexpr int kBandwidthBox = 1104;
constexpr int kBandwidthLabel = 1257;
constexpr int kActivationTimeLabel = 1105;
constexpr int kActivationTimeEdit = 1106;
constexpr int kPriorityLabel = 1108;
constexpr int kPriorityList = 1109;
constexpr unsigned kDuplexWarning = 444;

}

}  // namespace Corvane
