#pragma once

// Template and control ids of the TCP/IP page. The numbers are the ones the
// page has always had, so that tooltips and tests name the same controls.

namespace Corvane {

namespace TCPIPPageIds {

constexpr int kTCPIPTemplate = 159;

// --- the address the device uses now -----------------------------------------
constexpr int kCurrentGroup = 1212;
constexpr int kCurrentAddress = 1210;
constexpr int kAddressSourceText = 1209;
constexpr int kWebManagementButton = 1137;
constexpr unsigned kWebManagementIcon = 278;

// --- the address switches ----------------------------------------------------
constexpr int kDipGroup = 1213;
constexpr int kDipPollBox = 1230;
constexpr int kDipCaption = 1229;
constexpr int kDipAddress = 1214;
constexpr int kDipAddressFrame = 1231;
constexpr int kDipApplyButton = 1050;
constexpr int kDipHint = 1215;
constexpr int kOldFirmwareText = 1232;

// --- the settings kept in the device -----------------------------------------
constexpr int kSettingsGroup = 1211;
constexpr int kAutomaticRadio = 1036;
constexpr int kSourceList = 1034;
constexpr int kFixedRadio = 1058;
constexpr int kUseBootPBox = 1030;
constexpr int kEepromCaption = 1020;
constexpr int kFixedAddressLabel = 1014;
constexpr int kFixedAddressField = 1039;
constexpr int kSubnetMaskLabel = 1016;
constexpr int kSubnetMaskField = 1040;
constexpr int kGatewayLabel = 1018;
constexpr int kGatewayField = 1041;
constexpr int kFirstDnsLabel = 1015;
constexpr int kFirstDnsField = 1043;
constexpr int kSecondDnsLabel = 1017;
constexpr int kSecondDnsField = 1044;

}

}  // namespace Corvane
