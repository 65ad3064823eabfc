#include "Products/Corvane/Pages/Codecs/NetworkParamCodec.h"

#include "Common/PelorusDLL/ServiceBase.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Products/Corvane/Core/SettingsFileValues.h"
#include "Products/Corvane/Pages/Codecs/ProtocolCodec.h"

#include <cstdint>

namespace Corvane {

namespace {

using tNetworkParams = CNetworkParamCodec::tNetworkParams;

constexpr wchar_t kErrorPrefix[] = L"ERR: ";
// The source a device answers "not supported" for.
constexpr WORD kSourceNotSupported = 0x8213;

bool IsNotSupported(const std::wstring& text)
{
    return text == CServiceBase::SERVICE_NOT_SUPPORTED;
}

}

const wchar_t* CNetworkParamCodec::CaptionKey(int row)
{
    if (row < SourceRow || row > DipRow)
        return L"";
    static const wchar_t* const keys[] = {L"TXT_ADDRESS_SOURCE", L"TXT_IP_ADDRESS",     L"TT_SUBNET_MASK_HDR",
                                          L"TT_GATEWAY_ADDR_HDR", L"TT_DNS_SERVER1_HDR", L"TT_DNS_SERVER2_HDR",
                                          L"TT_SNTP_SERVER_HDR",  L"TT_HOSTNAME_HDR",    L"TT_DOMAINNAME_HDR",
                                          L"TXT_DIP_SWITCH_ADDR"};
    return keys[row - 1];
}

namespace {

CNetworkParamCodec::CRow MakeRow(int row, std::wstring actual, std::wstring fixed)
{
    CNetworkParamCodec::CRow entry;
    entry.Row = row;
    entry.CaptionKey = CNetworkParamCodec::CaptionKey(row);
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
        } else {
            const auto field = FieldOfRow(row);
            rows.push_back(MakeRow(row, actual->*field, fixed->*field));
            rows.back().Refused = IsAddressRow(row) && CSettingsFileValues::IsInvalidAddress(fixed->*field);
        }
        rows.back().Shared = port > 0 && IsCommonRow(row);
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
        if (!IsValidIpText(text) || (row == MaskRow && !IsValidSubnetMask(text))) {
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

bool CNetworkParamCodec::IsCommonRow(int row)
{
    return row >= GatewayRow && row <= DomainNameRow;
}

bool CNetworkParamCodec::IsKnownSource(WORD code)
{
    return (code >= kBootPSourceCode && code <= kAutoIPSourceCode) || code == kSourceNotSupported;
}

bool CNetworkParamCodec::IsValidSubnetMask(const std::wstring& text)
{
    if (!IsValidIpText(text))
        return false;
    const auto mask = static_cast<std::uint32_t>(IpTextToUInt(NormalizeIpText(text)));
    // Ones from the left, then zeros only: the complement plus one is a
    // power of two (or zero for the all-ones mask).
    const std::uint32_t hostPart = ~mask;
    return (hostPart & (hostPart + 1)) == 0;
}

bool CNetworkParamCodec::IsWritable(const tNetworkParams& fixed, int row, const AddressFilter& isAllowed)
{
    if (row == SourceRow)
        return IsKnownSource(fixed.wIPAddressSource);
    const auto field = FieldOfRow(row);
    if (!field)
        return true;
    const std::wstring& value = fixed.*field;
    if (IsNotSupported(value))
        return true;
    if (!IsAddressRow(row))
        return value.size() <= kMaxNameLength;
    if (!IsValidIpText(value))
        return false;
    if (row == MaskRow)
        return IsValidSubnetMask(value);
    if (row == AddressRow && fixed.wIPAddressSource == kFixedSourceCode && isAllowed)
        return isAllowed(NormalizeIpText(value));
    return true;
}

std::optional<CNetworkParamCodec::CField> CNetworkParamCodec::FirstUnwritableField(CFBCData& data,
                                                                                   const AddressFilter& isAllowed)
{
    for (DWORD port = 0; port < data.GetEthernetPortCount(); ++port) {
        tNetworkParams& fixed = *data.GetStaticNetworkParams(port);
        if (!IsNotSupported(fixed.strIPAddress) && IsValidIpText(fixed.strIPAddress))
            fixed.strIPAddress = NormalizeIpText(fixed.strIPAddress);
        for (int row = SourceRow; row <= DipRow; ++row)
            if (!IsWritable(fixed, row, isAllowed))
                return CField{port, row};
    }
    return std::nullopt;
}

bool CNetworkParamCodec::MovesAddress(const tNetworkParams& actual, const tNetworkParams& fixed)
{
    if (fixed.wIPAddressSource != actual.wIPAddressSource)
        return true;
    // A server hands out the address: the stored one is not used.
    return fixed.wIPAddressSource == kFixedSourceCode && IsValidIpText(fixed.strIPAddress) &&
           IpTextToUInt(fixed.strIPAddress) != IpTextToUInt(actual.strIPAddress);
}

bool CNetworkParamCodec::ChangesConnectionAddress(const CFBCData& data, const std::wstring& connectionAddress)
{
    if (!data.HasNetworkParams)
        return false;
    // A name, or no address at all, matches no port.
    const bool byAddress = !connectionAddress.empty() && IsValidIpText(connectionAddress);
    bool anyMoves = false;
    bool connectedPortFound = false;
    for (DWORD port = 0; port < data.GetEthernetPortCount(); ++port) {
        const tNetworkParams& actual = *data.GetActualNetworkParams(port);
        const tNetworkParams& fixed = *data.GetStaticNetworkParams(port);
        const bool moves = MovesAddress(actual, fixed);
        if (byAddress && IsValidIpText(actual.strIPAddress) &&
            IpTextToUInt(actual.strIPAddress) == IpTextToUInt(connectionAddress)) {
            connectedPortFound = true;
            if (moves)
                return true;
        }
        anyMoves = anyMoves || moves;
    }
    return !connectedPortFound && anyMoves;
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
