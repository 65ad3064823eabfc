#pragma once
// Templates and controls of the connection dialogs and the network scan.

namespace PelorusIds {

constexpr int kSettingsDialog = 128;
constexpr int kRS232Form = 129;
constexpr int kTCPIPForm = 130;
constexpr int kScanDialog = 131;

// The scan list's row icons, in the order of the list's images 0 to 3:
// identified, not usable or not found, ours but not identified, not ours.
constexpr int kScanIdentifiedIcon = 140;
constexpr int kScanUnusableIcon = 141;
constexpr int kScanNotIdentifiedIcon = 139;
constexpr int kScanForeignIcon = 142;

// Network scan
constexpr int kSearch = 1031;
constexpr int kStartOctet1 = 1032; // 1032..1035
constexpr int kEndOctet1 = 1036;   // 1036..1039
constexpr int kEndOctet4 = 1039;
constexpr int kDeviceList = 1040;
constexpr int kProgress = 1043;
constexpr int kResolveNames = 1044;
constexpr int kShowAll = 1045;
constexpr int kRangeGroup = 1046;
constexpr int kListGroup = 1047;
constexpr int kFromLabel = 1048;
constexpr int kToLabel = 1049;

}

namespace PelorusIds {

// Connection forms
constexpr int kPortLabel = 1009;
constexpr int kPortList = 1010;
constexpr int kBaudLabel = 1011;
constexpr int kBaudList = 1012;
constexpr int kParityLabel = 1013;
constexpr int kParityList = 1014;
constexpr int kStopBitsLabel = 1015;
constexpr int kStopBitsList = 1016;
constexpr int kDataBitsLabel = 1017;
constexpr int kDataBitsList = 1018;
constexpr int kTimeoutLabel = 1019;
constexpr int kTimeoutEdit = 1020;
constexpr int kTimeoutSpin = 1021;
constexpr int kRestartLabel = 1022;
constexpr int kRestartEdit = 1023;
constexpr int kRestartSpin = 1024;
constexpr int kByAddress = 1025;
constexpr int kAddress = 1026;
constexpr int kSearchDevice = 1027;
constexpr int kByName = 1028;
constexpr int kNetworkName = 1029;
constexpr int kResolveHostNames = 1030;

}

namespace PelorusIds {

// Connection-settings dialog
constexpr int kDefault = 1000;
constexpr int kTest = 1001;
constexpr int kConnectionList = 1004;
constexpr int kConnectionGroup = 1005;
constexpr int kSettingsGroup = 1006;
constexpr int kFormPlaceholder = 1007;
constexpr int kHiddenStatic = 1052;

}
