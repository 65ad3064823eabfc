#include "Products/Corvane/Pages/Codecs/SntpCodec.h"

#include "Common/PelorusDLL/ServiceBase.h"
#include "Common/SystemHelper/Values/StringUtils.h"

#include <cwctype>

namespace Corvane {

namespace {

constexpr wchar_t kSection[] = L"SNTP";
constexpr std::size_t kMaxAddressParts = 4;
constexpr std::size_t kMaxOctetDigits = 3;

bool IsNotSupported(const std::wstring& text)
{
    return text == CServiceBase::SERVICE_NOT_SUPPORTED;
}

// Splits at every dot, keeping empty parts, so that "1..2" and a trailing dot
// survive the round trip.
std::vector<std::wstring> SplitAtDots(const std::wstring& text)
{
    std::vector<std::wstring> parts(1);
    for (wchar_t c : text) {
        if (c == L'.')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

std::wstring JoinWithDots(const std::vector<std::wstring>& parts)
{
    std::wstring text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text += L'.';
        text += parts[i];
    }
    return text;
}

std::wstring ReplaceUmlauts(const std::wstring& text)
{
    std::wstring result;
    for (wchar_t c : text) {
        switch (c) {
        case L'\u00E4':
        case L'\u00C4':
            result += L"ae";
            break;
        case L'\u00F6':
        case L'\u00D6':
            result += L"oe";
            break;
        case L'\u00FC':
        case L'\u00DC':
            result += L"ue";
            break;
        case L'\u00DF':
            result += L"ss";
            break;
        default:
            result += c;
        }
    }
    return result;
}

bool IsHostNameCharacter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'.' ||
           c == L'-';
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

std::wstring LimitOctet(std::wstring part)
{
    std::size_t leadingZeros = 0;
    while (leadingZeros + 1 < part.size() && part[leadingZeros] == L'0')
        ++leadingZeros;
    // More than three significant digits are above 255 whatever they say.
    if (part.size() - leadingZeros > kMaxOctetDigits || (!part.empty() && std::stoul(part) > 255))
        return L"255";
    return part;
}

}

CSntpCodec::CSntpCodec(const CDeviceCapabilityFile& file)
    : IntervalLimits(file.GetLimits(kSection, L"ClientInterval", {0, 0xFFFF, 0})),
      TimeoutLimits(file.GetLimits(kSection, L"ClientTimeout", {0, 0xFFFF, 2000})),
      Interval(IntervalLimits.Def), Timeout(TimeoutLimits.Def)
{
}

bool CSntpCodec::HasRecords(const CFBCData* data)
{
    return data && data->GetStaticNetworkParams(0) && data->GetActualNetworkParams(0);
}

void CSntpCodec::Load(const CDeviceBlock& block, const CFBCData* data, bool severalPorts)
{
    LoadServer(block, data);
    if (!block.IsPresent())
        return;
    SntpOn = block.ReadFlag(kSwitchWord, kSntpBit).value_or(false);
    if (severalPorts)
        SntpOn = SntpOn || block.ReadFlag(kSecondPortWord, kSntpBit).value_or(false);
    if (const std::optional<WORD> word = block.Read(kIntervalWord))
        Interval = *word;
    if (const std::optional<WORD> word = block.Read(kTimeoutWord))
        Timeout = *word;
    if (const std::optional<WORD> word = block.Read(kKeptWord))
        Word8 = *word;
}

void CSntpCodec::LoadServer(const CDeviceBlock& block, const CFBCData* data)
{
    if (HasRecords(data)) {
        const auto& edited = *data->GetStaticNetworkParams(0);
        const auto& current = *data->GetActualNetworkParams(0);
        HostNamesAllowed = !IsNotSupported(edited.strSNTPHostName) && !IsNotSupported(current.strSNTPHostName);
        const bool useNames = HostNamesAllowed && !edited.strSNTPHostName.empty();
        ServerText = useNames ? edited.strSNTPHostName : edited.strParameter6;
        CurrentServerText = useNames ? current.strSNTPHostName : current.strParameter6;
        NameServerKnown = IsNameServerKnown(*data);
    } else {
        HostNamesAllowed = false;
        NameServerKnown = true;
        if (const std::optional<DWORD> address = block.ReadAddress(kAddressWord))
            ServerText = CurrentServerText = UIntToIpText(*address);
    }
    LastAcceptedText = m_strStoredServerText = ServerText;
}

bool CSntpCodec::IsNameServerKnown(const CFBCData& data)
{
    const auto& edited = *data.GetStaticNetworkParams(0);
    const auto& current = *data.GetActualNetworkParams(0);
    if (edited.wIPAddressSource == 2 || current.wIPAddressSource == 2)
        return true;
    for (const std::wstring* dns : {&edited.strPreferredDNSServer, &edited.strAlternativeDNSServer,
                                    &current.strPreferredDNSServer, &current.strAlternativeDNSServer})
        if (*dns != L"0.0.0.0")
            return true;
    return false;
}

bool CSntpCodec::Store(CDeviceBlock& block, CFBCData* data, bool severalPorts)
{
    if (!block.IsPresent())
        return false;
    const bool serverValid = CheckServerText(ServerText, false).Passed;
    const bool valid = serverValid && CFieldRange::AllPass(RangeChecks());
    block.Write(kIntervalWord, static_cast<WORD>(Interval));
    block.Write(kTimeoutWord, static_cast<WORD>(Timeout));
    if (Word8 >= 0)
        block.Write(kKeptWord, static_cast<WORD>(Word8));
    // A refused server text would be stored as some other address (or as
    // none): the server stays as it was until the text is mended.
    if (serverValid) {
        StoreServer(block, data);
        m_strStoredServerText = ServerText;
    }
    if (HasRecords(data) && severalPorts)
        block.WriteFlag(kSecondPortWord, kSntpBit, false);
    block.WriteFlag(kSwitchWord, kSntpBit, SntpOn);
    return valid;
}

void CSntpCodec::StoreServer(CDeviceBlock& block, CFBCData* data) const
{
    if (!HasRecords(data)) {
        block.WriteAddress(kAddressWord, IpTextToUInt(ServerText));
        return;
    }
    // The server the records hold already (the one loaded or stored last)
    // leaves them alone, however they spell it.
    if (ServerText == m_strStoredServerText)
        return;
    const bool isAddress = IsValidIpText(ServerText);
    std::wstring address = ServerText;
    std::wstring hostName;
    if (!HostNamesAllowed) {
        address = NormalizeIpText(ServerText);
    } else if (!isAddress) {
        hostName = ServerText;
        address.clear();
    }
    // Only a server that differs makes the records go to the device again.
    for (DWORD port = 0; port < data->GetEthernetPortCount(); ++port) {
        auto& record = *data->GetStaticNetworkParams(port);
        const bool keepsHostName = !HostNamesAllowed;
        if (record.strParameter6 == address && (keepsHostName || record.strSNTPHostName == hostName))
            continue;
        record.strParameter6 = address;
        if (!keepsHostName)
            record.strSNTPHostName = hostName;
        data->NetworkParamsModified = true;
    }
}

void CSntpCodec::Put(CServerCheck& check, std::wstring text, std::size_t typedLength, bool leaveEditAlone)
{
    check.Replace = true;
    check.LeaveEditAlone = leaveEditAlone;
    check.LengthChange = static_cast<int>(text.size()) - static_cast<int>(typedLength);
    check.Text = text;
    LastAcceptedText = std::move(text);
}

CSntpCodec::CServerCheck CSntpCodec::CheckServerText(const std::wstring& typed, bool typing)
{
    CServerCheck check;
    const std::wstring text = ToLower(typed);
    // A single character deleted while typing stands as typed, so that the
    // user can take back what the cleaner would put in again.
    const bool singleDeletion = typing && text.size() + 1 == LastAcceptedText.size();
    std::wstring result = text;
    if (HostNamesAllowed) {
        if (!singleDeletion) {
            result = CleanHostName(text, typing);
            if (!(result == text && result == LastAcceptedText && !result.empty()))
                Put(check, result, text.size(), result.empty());
        }
        if (result.size() > kMaxServerLength) {
            check.Failure = EFailure::TooLong;
            return check;
        }
        check.WarnNoNameServer = !IsValidIpText(result) && !NameServerKnown;
    } else {
        if (!singleDeletion) {
            result = CleanAddressText(text, typing);
            if (!(result == text && result == LastAcceptedText))
                Put(check, result, text.size(), false);
        }
        if (!IsValidIpText(result)) {
            LastAcceptedText = m_strStoredServerText;
            check.Failure = EFailure::NotAnAddress;
            return check;
        }
    }
    if (!typing)
        ServerText = result;
    check.Passed = true;
    return check;
}

std::vector<CFieldRange> CSntpCodec::RangeChecks() const
{
    return {{kIntervalControl, L"TT_SNTP_CLIENT_INTERVAL_HDR", CFieldRange::kDecimalMode, Interval, IntervalLimits.Min,
             IntervalLimits.Max},
            {kTimeoutControl, L"TT_SNTP_CLIENT_TIMEOUT_HDR", CFieldRange::kDecimalMode, Timeout, TimeoutLimits.Min,
             TimeoutLimits.Max}};
}

bool CSntpCodec::Validate()
{
    return CheckServerText(ServerText, false).Passed && CFieldRange::AllPass(RangeChecks());
}

std::wstring CSntpCodec::CleanHostName(const std::wstring& text, bool typing)
{
    std::wstring kept;
    for (wchar_t c : ReplaceUmlauts(text))
        if (IsHostNameCharacter(c))
            kept += c;
    std::vector<std::wstring> labels = SplitAtDots(kept);
    for (std::wstring& label : labels) {
        if (!typing && !label.empty() && label.back() == L'-')
            label.pop_back();
        if (!label.empty() && label.front() == L'-')
            label.erase(0, 1);
    }
    return JoinWithDots(labels);
}

std::wstring CSntpCodec::CleanAddressText(const std::wstring& text, bool typing)
{
    std::wstring kept;
    for (wchar_t c : text)
        if (IsDigit(c) || c == L'.')
            kept += c;
    if (!typing)
        kept = NormalizeIpText(kept);
    std::vector<std::wstring> parts = SplitAtDots(kept);
    // A fifth part that is still empty is the dot after the fourth: dropped too.
    if (parts.size() > kMaxAddressParts)
        parts.resize(kMaxAddressParts);
    if (parts.size() == kMaxAddressParts && parts.back().size() > kMaxOctetDigits)
        parts.back().resize(kMaxOctetDigits);
    for (std::wstring& part : parts)
        part = LimitOctet(part);
    return JoinWithDots(parts);
}

}  // namespace Corvane
