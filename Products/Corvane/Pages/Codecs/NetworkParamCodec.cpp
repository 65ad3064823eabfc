#include "Products/Corvane/Pages/Codecs/NetworkParamCodec.h"

#include "Common/PelorusDLL/ServiceBase.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Products/Corvane/Core/SettingsFileValues.h"
#include "Products/Corvane/Pages/Codecs/ProtocolCodec.h"

namespace Corvane {

namespace {

using tNetworkParams = CNetworkParamCodec::tNetworkParams;

constexpr wchar_t kErrorPrefix[] = L"ERR: ";

bool IsNotSupported(const std::wstring& text)
{
    return text == CServiceBase::SERVICE_NOT_SUPPORTED;
}

const wchar_t* CaptionKeyOf(int row)
{
    static const wchar_t* const keys[] = {L"TXT_ADDRESS_SOURCE", L"TXT_IP_ADDRESS",     L"TT_SUBNET_MASK_HDR",
                                          L"TT_GATEWAY_ADDR_HDR", L"TT_DNS_SERVER1_HDR", L"TT_DNS_SERVER2_HDR",
                                          L"TT_SNTP_SERVER_HDR",  L"TT_HOSTNAME_HDR",    L"TT_DOMAINNAME_HDR",
                                          L"TXT_DIP_SWITCH_ADDR"};
    return keys[row - 1];
}

CNetworkParamCodec::CRow MakeRow(int row, std::wstring actual, std::wstring fixed)
{
    CNetworkParamCodec::CRow entry;
    entry.Row = row;
    entry.CaptionKey = CaptionKeyOf(row);
    const std::size_t error = actual.find(kErrorPrefix);
    if (error != std::wstring::npos) {
        actual.erase(error, std::char_traits<wchar_t>::length(kErrorPrefix));
        entry.Kind = CNetworkParamCodec::kErrorKind;
    }
    entry.NotSupported = IsNotSupported(actual) || IsNotSupported(fixed);
    entry.Actual = std::move(actual);
    entry.Static = std::move(fixed);
    return entry;
}

}

std::wstring tNetworkParams::*CNetworkParamCodec::FieldOfRow(int row)
{
    switch (row) {
    case AddressRow:
        return &tNetworkParams::strIPAddress;
    case MaskRow:
        return &tNetworkParams::strSubnetMask;
    case GatewayRow:
        return &tNetworkParams::strGatewayAddress;
    case FirstDnsRow:
        return &tNetworkParams::strPreferredDNSServer;
    case SecondDnsRow:
        return &tNetworkParams::strAlternativeDNSServer;
    case SntpRow:
        return &tNetworkParams::strParameter6;
    case HostNameRow:
        return &tNetworkParams::strHostName;
    case DomainNameRow:
        return &tNetworkParams::strDomainName;
    case DipRow:
        return &tNetworkParams::strParameter9;
    default:
        return nullptr;
    }
}

bool CNetworkParamCodec::IsAddressRow(int row)
{
    return (row >= AddressRow && row <= SntpRow) || row == DipRow;
}

DWORD CNetworkParamCodec::EffectivePort(const CFBCData& data, DWORD selectedPort)
{
    return selectedPort < data.GetEthernetPortCount() ? selectedPort : 0;
}

bool CNetworkParamCodec::ShowsSntpName(const CFBCData& data)
{
    const tNetworkParams* actual = data.GetActualNetworkParams(0);
    const tNetworkParams* fixed = data.GetStaticNetworkParams(0);
    return actual && fixed && !IsNotSupported(actual->strSNTPHostName) && !IsNotSupported(fixed->strSNTPHostName) &&
           !fixed->strSNTPHostName.empty();
}

std::vector<CNetworkParamCodec::CRow> CNetworkParamCodec::BuildRows(const CFBCData& data, DWORD port, bool hasDip,
                                                                    const SourceTextOf& sourceText)
{
    std::vector<CRow> rows;
    const tNetworkParams* actual = data.GetActualNetworkParams(port);
    const tNetworkParams* fixed = data.GetStaticNetworkParams(port);
    if (!data.HasNetworkParams || !actual || !fixed)
        return rows;
    rows.push_back(MakeRow(SourceRow, sourceText(actual->wIPAddressSource), sourceText(fixed->wIPAddressSource)));
    const int lastRow = hasDip ? DipRow : DomainNameRow;
    for (int row = AddressRow; row <= lastRow; ++row) {
        if (row == SntpRow && ShowsSntpName(data)) {
            rows.push_back(MakeRow(row, data.GetActualNetworkParams(0)->strSNTPHostName,
                                   data.GetStaticNetworkParams(0)->strSNTPHostName));
            continue;
        }
        const auto field = FieldOfRow(row);
        rows.push_back(MakeRow(row, actual->*field, fixed->*field));
        rows.back().Refused = IsAddressRow(row) && CSettingsFileValues::IsInvalidAddress(fixed->*field);
    }
    return rows;
}

CNetworkParamCodec::CEditResult CNetworkParamCodec::ApplySource(CFBCData& data, DWORD port, WORD code,
                                                                const AddressFilter& isAllowed)
{
    CEditResult result;
    tNetworkParams* fixed = data.GetStaticNetworkParams(port);
    if (!fixed)
        return result;
    data.NetworkParamsModified = true;
    fixed->wIPAddressSource = code;
    result.Stored = true;
    result.CellText = fixed->strIPAddress;
    if (code == kFixedSourceCode && isAllowed && !isAllowed(fixed->strIPAddress)) {
        result.Balloon = EBalloon::InvalidAddress;
        result.BalloonRow = AddressRow;
    }
    return result;
}

CNetworkParamCodec::CEditResult CNetworkParamCodec::ApplyText(CFBCData& data, DWORD port, int row,
                                                              const std::wstring& text, const AddressFilter& isAllowed)
{
    CEditResult result;
    result.BalloonRow = row;
    tNetworkParams* fixed = data.GetStaticNetworkParams(port);
    const auto field = FieldOfRow(row);
    if (!fixed || !field)
        return result;
    if (IsAddressRow(row)) {
        if (!IsValidIpText(text)) {
            result.Balloon = EBalloon::InvalidAddress;
            result.CellText = text;
            return result;
        }
        // Row 7 showing port 0's server name: the address replaces the name,
        // which is emptied so that the device does not keep it.
        const bool replacesSntpName = row == SntpRow && ShowsSntpName(data);
        fixed->*field = NormalizeIpText(text);
        if (replacesSntpName)
            for (DWORD other = 0; other < data.GetEthernetPortCount(); ++other)
                data.GetStaticNetworkParams(other)->strSNTPHostName.clear();
        if (row == AddressRow && fixed->wIPAddressSource == kFixedSourceCode && isAllowed &&
            !isAllowed(fixed->strIPAddress))
            result.Balloon = EBalloon::InvalidAddress;
    } else {
        fixed->*field = text.substr(0, kMaxNameLength);
        if (text.size() > kMaxNameLength)
            result.Balloon = EBalloon::MaxLength;
    }
    result.Stored = true;
    result.CellText = fixed->*field;
    data.NetworkParamsModified = true;
    MirrorCommonFields(data, port);
    return result;
}

void CNetworkParamCodec::MirrorCommonFields(CFBCData& data, DWORD port)
{
    const tNetworkParams* source = data.GetStaticNetworkParams(port);
    for (DWORD other = 0; other < data.GetEthernetPortCount(); ++other) {
        if (other == port)
            continue;
        tNetworkParams* target = data.GetStaticNetworkParams(other);
        for (int row = GatewayRow; row <= DomainNameRow; ++row)
            target->*FieldOfRow(row) = source->*FieldOfRow(row);
    }
}

int CNetworkParamCodec::FirstRefusedPort(CFBCData& data, const AddressFilter& isAllowed)
{
    for (DWORD port = 0; port < data.GetEthernetPortCount(); ++port) {
        tNetworkParams& fixed = *data.GetStaticNetworkParams(port);
        // A parameter the device does not support is not written either.
        if (IsNotSupported(fixed.strIPAddress))
            continue;
        if (!IsValidIpText(fixed.strIPAddress))
            return static_cast<int>(port);
        fixed.strIPAddress = NormalizeIpText(fixed.strIPAddress);
        if (fixed.wIPAddressSource == kFixedSourceCode && isAllowed && !isAllowed(fixed.strIPAddress))
            return static_cast<int>(port);
    }
    return -1;
}

bool CNetworkParamCodec::SetInterfaceMode(CFBCData& data, WORD mode)
{
    if (mode == data.EthernetInterfaceMode)
        return false;
    data.EthernetInterfaceMode = mode;
    data.InterfaceModeToWrite = true;
    return true;
}

std::wstring CNetworkParamCodec::WebManagementUrl(const CDeviceBlock& block, const std::wstring& address)
{
    const std::wstring normalized = NormalizeIpText(address);
    if (normalized == L"0.0.0.0")
        return {};
    return (CProtocolCodec::IsHttpsInUse(block) ? L"https://" : L"http://") + normalized;
}

std::wstring CNetworkParamCodec::SwitchAddress(const std::wstring& base, WORD switchValue)
{
    const std::wstring value = std::to_wstring(switchValue);
    if (base.empty() || !IsValidIpText(base))
        return value;
    const std::wstring normalized = NormalizeIpText(base);
    return normalized.substr(0, normalized.rfind(L'.') + 1) + value;
}

std::wstring CNetworkParamCodec::WithDhcpMark(const std::wstring& switchAddress)
{
    return GetDottedPart(switchAddress, 3) == L"255" ? switchAddress + L" (DHCP)" : switchAddress;
}

CNetworkParamCodec::EPaste CNetworkParamCodec::CheckPaste(int row, const std::wstring& clipboardText)
{
    if (row == SourceRow)
        return EPaste::Refused;
    if (clipboardText.size() > kMaxClipboardText || clipboardText.find(L'\n') != std::wstring::npos)
        return EPaste::TooMuchText;
    if (IsAddressRow(row) && !IsValidIpText(clipboardText))
        return EPaste::NoAddress;
    return EPaste::Allowed;
}

}  // namespace Corvane
