#include "Products/Corvane/Core/SettingsFileValues.h"

#include "Common/SystemHelper/Values/StringUtils.h"

namespace Corvane {

namespace {

struct CAddressField {
    const wchar_t* element;
    const wchar_t* captionKey;
    std::wstring CFBCData::tNetworkParams::*field;
};

// In the order of the page's rows.
constexpr CAddressField kAddressFields[] = {
    {L"IPAddress", L"TXT_IP_ADDRESS", &CFBCData::tNetworkParams::strIPAddress},
    {L"SubnetMask", L"TT_SUBNET_MASK_HDR", &CFBCData::tNetworkParams::strSubnetMask},
    {L"GatewayAddress", L"TT_GATEWAY_ADDR_HDR", &CFBCData::tNetworkParams::strGatewayAddress},
    {L"FirstDNSServer", L"TT_DNS_SERVER1_HDR", &CFBCData::tNetworkParams::strPreferredDNSServer},
    {L"SecondDNSServer", L"TT_DNS_SERVER2_HDR", &CFBCData::tNetworkParams::strAlternativeDNSServer},
    {L"SNTPServer", L"TT_SNTP_SERVER_HDR", &CFBCData::tNetworkParams::strParameter6},
    {L"SwitchBaseAddr", L"TXT_DIP_SWITCH_ADDR", &CFBCData::tNetworkParams::strParameter9},
};

}

bool CSettingsFileValues::IsInvalidAddress(const std::wstring& text)
{
    return text != CServiceBase::SERVICE_NOT_SUPPORTED && !IsValidIpText(text);
}

std::vector<tInvalidValue> CSettingsFileValues::FindInvalid(const CFBCData& data)
{
    std::vector<tInvalidValue> invalid;
    if (!data.HasNetworkParams)
        return invalid;
    for (DWORD port = 0; port < data.GetEthernetPortCount(); ++port) {
        const CFBCData::tNetworkParams& fixed = *data.GetStaticNetworkParams(port);
        for (const CAddressField& address : kAddressFields) {
            const std::wstring& value = fixed.*address.field;
            if (IsInvalidAddress(value))
                invalid.push_back({port, address.element, address.captionKey, value});
        }
    }
    return invalid;
}

}  // namespace Corvane
