#pragma once
// Template and control ids of the network-parameters page. The template is
// known by its name; the control numbers are the ones the page has always
// had, so that tooltips and tests name the same controls.
#include "Platform/Base/Types.h"

namespace Corvane {

namespace NetworkParamPageIds {

constexpr wchar_t kNetworkParamTemplate[] = L"NETWORKPARAM";
constexpr int kPortX1Button = 1233;
constexpr int kPortX2Button = 1234;
constexpr int kWebManagementButton = 1235;
constexpr int kDipPollButton = 1238;
constexpr int kNetworkParamGrid = 1245;
constexpr int kDipSeparator = 1267;
constexpr int kSwitchedRadio = 1289;
constexpr int kSeparatedRadio = 1290;
constexpr int kInterfaceGroup = 1291;
constexpr int kGetModeButton = 1292;
constexpr int kSetModeButton = 1293;

}

}  // namespace Corvane
