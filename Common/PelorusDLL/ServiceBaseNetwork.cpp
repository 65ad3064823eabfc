// Network parameters by id over the network-parameter service, with the
// registers of table 100 for older devices that lack the service.
#include "Common/PelorusDLL/ServiceBase.h"

#include "Platform/Base/Clock.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace {

constexpr unsigned int kNetworkTable = 100;
constexpr unsigned int kSourceRegister = 0;
constexpr unsigned short kSourceNotSupported = 0x8213;
constexpr unsigned short kKindActual = 0;
constexpr unsigned short kKindStatic = 1;

enum : unsigned short {
    IdSource = 0,
    IdIPAddress = 1,
    IdSubnetMask = 2,
    IdGateway = 3,
    IdPreferredDNS = 4,
    IdAlternativeDNS = 5,
    IdParameter6 = 6,
    IdHostName = 7,
    IdDomainName = 8,
    IdParameter9 = 9,
    IdMACAddress = 10,
    IdSNTPHostName = 11,
};

enum : unsigned short { SourceBootP = 1, SourceDHCP = 2, SourceStatic = 3, SourceFourth = 4 };

constexpr unsigned short kSourceBits = (1u << 7) | (1u << 8) | (1u << 9) | (1u << 15);

// A name in table 100: 16 registers of 8-bit text, NUL-terminated.
constexpr unsigned int kNameRegisters = 16;
constexpr std::size_t kNameRegisterBytes = kNameRegisters * 2;

// Devices have one or two interfaces; the walk over them stops here even if
// a device answered for every index.
constexpr unsigned short kMaxInterfaces = 16;

const wchar_t kNoAddress[] = L"0.0.0.0";

bool IsAddressId(unsigned short id)
{
    return (id >= IdIPAddress && id <= IdParameter6) || (id >= IdParameter9 && id <= IdSNTPHostName);
}

// 0 for an id that is no name.
unsigned short NameSize(unsigned short id)
{
    if (id == IdHostName || id == IdDomainName)
        return 32;
    return id == IdSNTPHostName ? 256 : 0;
}

// "a.b.c.d" (or with ':') into its four octets; each part a decimal number
// of at most 255.
bool ParseAddressText(const std::wstring& text, std::array<BYTE, 4>& octets)
{
    std::size_t part = 0;
    unsigned int value = 0;
    std::size_t digits = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const wchar_t c = i < text.size() ? text[i] : L'.';
        if (c == L'.' || c == L':') {
            if (digits == 0 || part >= octets.size())
                return false;
            octets[part++] = static_cast<BYTE>(value);
            value = 0;
            digits = 0;
        } else if (c >= L'0' && c <= L'9' && digits < 3) {
            value = value * 10 + static_cast<unsigned int>(c - L'0');
            ++digits;
            if (value > 255)
                return false;
        } else {
            return false;
        }
    }
    return part == octets.size();
}

std::wstring FormatServiceAddress(unsigned short id, const std::vector<BYTE>& b)
{
    if (b.size() == 4)
        return Text::Format(L"%d.%d.%d.%d", b[3], b[2], b[1], b[0]);
    if (id == IdMACAddress)
        return Text::Format(L"%02X%02X%02X%02X%02X%02X", b[5], b[4], b[3], b[2], b[1], b[0]);
    return Text::Format(L"%d.%d.%d.%d.%d.%d", b[5], b[4], b[3], b[2], b[1], b[0]);
}

void AppendPart(std::wstring& text, const std::wstring& part)
{
    if (!text.empty())
        text += L" | ";
    text += part;
}

}

int CServiceBase::AddressRegisterFromParamID(int id)
{
    switch (id) {
    case IdIPAddress: return 9;
    case IdSubnetMask: return 11;
    case IdGateway: return 13;
    case IdPreferredDNS: return 15;
    case IdAlternativeDNS: return 17;
    case IdHostName: return 25;
    case IdDomainName: return 41;
    default: return -1;
    }
}

bool CServiceBase::NetworkParamNotSupported() const
{
    return HasStoredCode(PELORUS_ERROR_SERVICE_NOT_SUPPORTED) || HasStoredCode(PELORUS_ERROR_SERVICE_REJECTED);
}

bool CServiceBase::ReadNetworkParameterBytes(const unsigned short interfaceIndex, const unsigned short id,
                                             const unsigned short kind, unsigned short size,
                                             std::vector<BYTE>& bytes)
{
    unsigned short length = size;
    unsigned char* data = new unsigned char[size]();
    const bool read = GetNetworkParameter(interfaceIndex, id, kind, length, &data);
    if (read && data != nullptr)
        bytes.assign(data, data + length);
    delete[] data;
    return read;
}

bool CServiceBase::GetIPAddress(const unsigned short interfaceIndex, const unsigned short id,
                                const unsigned short kind, std::wstring& text)
{
    return RunOperation(L"CServiceBase::GetIPAddress", __LINE__, [&] {
        if (!IsAddressId(id)) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        std::vector<BYTE> bytes;
        if (!ReadNetworkParameterBytes(interfaceIndex, id, kind, id == IdMACAddress ? 6 : 4, bytes)) {
            if (HasStoredCode(PELORUS_ERROR_PARAMETER_NOT_PRESENT))
                text = SERVICE_NOT_SUPPORTED;
            return false;
        }
        if (bytes.size() != 4 && bytes.size() != 6) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ANSWER_LENGTH);
            return false;
        }
        text = FormatServiceAddress(id, bytes);
        return true;
    });
}

bool CServiceBase::SetIPAddress(const unsigned short interfaceIndex, const unsigned short id,
                                const unsigned short kind, const std::wstring& text)
{
    return RunOperation(L"CServiceBase::SetIPAddress", __LINE__,
                        [&] { return WriteIPAddressUsingService(interfaceIndex, id, kind, text); });
}

bool CServiceBase::WriteIPAddressUsingService(const unsigned short interfaceIndex, const unsigned short id,
                                              const unsigned short kind, const std::wstring& text)
{
    if (text == SERVICE_NOT_SUPPORTED)
        return true;
    if (!IsAddressId(id)) {
        SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
        return false;
    }
    std::array<BYTE, 4> octets{};
    if (!ParseAddressText(text, octets)) {
        SetLastErrorCode(PELORUS_ERROR_ADDRESS_TEXT);
        return false;
    }
    const BYTE bytes[4] = {octets[3], octets[2], octets[1], octets[0]};
    return SetNetworkParameter(interfaceIndex, id, kind, 4, bytes);
}

bool CServiceBase::GetNetworkParamName(const unsigned short interfaceIndex, const unsigned short id,
                                       const unsigned short kind, std::wstring& text)
{
    return RunOperation(L"CServiceBase::GetNetworkParamName", __LINE__, [&] {
        const unsigned short size = NameSize(id);
        if (size == 0) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        std::vector<BYTE> bytes;
        if (!ReadNetworkParameterBytes(interfaceIndex, id, kind, size, bytes)) {
            if (HasStoredCode(PELORUS_ERROR_PARAMETER_NOT_PRESENT))
                text = SERVICE_NOT_SUPPORTED;
            return false;
        }
        const auto end = std::find(bytes.begin(), bytes.end(), BYTE{0});
        text = AnsiToWide(bytes.data(), static_cast<std::size_t>(end - bytes.begin()));
        return true;
    });
}

bool CServiceBase::SetNetworkParamName(const unsigned short interfaceIndex, const unsigned short id,
                                       const unsigned short kind, const std::wstring& text)
{
    return RunOperation(L"CServiceBase::SetNetworkParamName", __LINE__, [&] {
        if (text == SERVICE_NOT_SUPPORTED)
            return true;
        const std::string bytes = WideToAnsi(text);
        const unsigned short size = NameSize(id);
        if (size == 0 || bytes.size() > size) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        return SetNetworkParameter(interfaceIndex, id, kind, static_cast<unsigned short>(bytes.size()),
                                   reinterpret_cast<const unsigned char*>(bytes.data()));
    });
}

bool CServiceBase::ReadIPAddressSourceUsingService(const unsigned short interfaceIndex, const unsigned short kind,
                                                   unsigned short& source)
{
    return RunOperation(L"CServiceBase::ReadIPAddressSourceUsingService", __LINE__, [&] {
        std::vector<BYTE> bytes;
        if (!ReadNetworkParameterBytes(interfaceIndex, IdSource, kind, 2, bytes)) {
            if (HasStoredCode(PELORUS_ERROR_PARAMETER_NOT_PRESENT))
                source = kSourceNotSupported;
            return false;
        }
        if (bytes.size() != 2) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ANSWER_LENGTH);
            return false;
        }
        source = static_cast<unsigned short>(bytes[0] | (bytes[1] << 8));
        return true;
    });
}

bool CServiceBase::WriteIPAddressSourceUsingService(const unsigned short interfaceIndex, const unsigned short kind,
                                                    const unsigned short source)
{
    return RunOperation(L"CServiceBase::WriteIPAddressSourceUsingService", __LINE__, [&] {
        if (source == kSourceNotSupported)
            return true;
        const BYTE bytes[2] = {static_cast<BYTE>(source & 0xFF), static_cast<BYTE>(source >> 8)};
        return SetNetworkParameter(interfaceIndex, IdSource, kind, 2, bytes);
    });
}

bool CServiceBase::GetNetworkParameters(const unsigned short interfaceIndex, const unsigned short kind,
                                        tNetworkParams& params)
{
    return RunOperation(L"CServiceBase::GetNetworkParameters", __LINE__, [&] {
        // A parameter the device does not have is no reason to stop.
        DWORD lastFailure = 0;
        const auto proceed = [&](bool done) {
            if (done)
                return true;
            lastFailure = m_lastError;
            return lastFailure == PELORUS_ERROR_PARAMETER_NOT_PRESENT;
        };
        const std::pair<unsigned short, std::wstring*> addresses[] = {
            {IdIPAddress, &params.strIPAddress},          {IdSubnetMask, &params.strSubnetMask},
            {IdGateway, &params.strGatewayAddress},       {IdPreferredDNS, &params.strPreferredDNSServer},
            {IdAlternativeDNS, &params.strAlternativeDNSServer}, {IdParameter6, &params.strParameter6}};
        if (!proceed(ReadIPAddressSourceUsingService(interfaceIndex, kind, params.wIPAddressSource)))
            return false;
        for (const auto& [id, text] : addresses)
            if (!proceed(GetIPAddress(interfaceIndex, id, kind, *text)))
                return false;
        if (!proceed(GetNetworkParamName(interfaceIndex, IdHostName, kind, params.strHostName)) ||
            !proceed(GetNetworkParamName(interfaceIndex, IdDomainName, kind, params.strDomainName)) ||
            !proceed(GetIPAddress(interfaceIndex, IdParameter9, kind, params.strParameter9)))
            return false;
        bool mac = GetIPAddress(interfaceIndex, IdMACAddress, kind, params.strMACAddress);
        if (!mac && HasStoredCode(PELORUS_ERROR_PARAMETER_NOT_PRESENT)) {
            // Older devices name their MAC address only in the network id.
            std::wstring networkId;
            std::wstring address;
            if (GetNetworkID(networkId, address))
                params.strMACAddress = address;
            else
                lastFailure = PELORUS_ERROR_PARAMETER_NOT_PRESENT;
            mac = true;
        }
        if (!proceed(mac) ||
            !proceed(GetNetworkParamName(interfaceIndex, IdSNTPHostName, kind, params.strSNTPHostName)))
            return false;
        return lastFailure == 0 || lastFailure == PELORUS_ERROR_PARAMETER_NOT_PRESENT;
    });
}

bool CServiceBase::SetNetworkParameters(const unsigned short interfaceIndex, const unsigned short kind,
                                        const tNetworkParams& params)
{
    return RunOperation(L"CServiceBase::SetNetworkParameters", __LINE__, [&] {
        if (!WriteIPAddressSourceUsingService(interfaceIndex, kind, params.wIPAddressSource))
            return false;
        const std::pair<unsigned short, const std::wstring*> addresses[] = {
            {IdIPAddress, &params.strIPAddress},    {IdSubnetMask, &params.strSubnetMask},
            {IdGateway, &params.strGatewayAddress}, {IdPreferredDNS, &params.strPreferredDNSServer},
            {IdAlternativeDNS, &params.strAlternativeDNSServer}};
        for (const auto& [id, text] : addresses)
            if (!SetIPAddress(interfaceIndex, id, kind, *text))
                return false;
        // Parameter 6 and the SNTP host name are two ways to name the time
        // server; the name wins unless only the address is set.
        const bool timeServerByAddress = params.strParameter6 != kNoAddress && params.strSNTPHostName.empty();
        const bool timeServer = timeServerByAddress
                                    ? SetIPAddress(interfaceIndex, IdParameter6, kind, params.strParameter6)
                                    : SetNetworkParamName(interfaceIndex, IdSNTPHostName, kind,
                                                          params.strSNTPHostName);
        return timeServer && SetNetworkParamName(interfaceIndex, IdHostName, kind, params.strHostName) &&
               SetNetworkParamName(interfaceIndex, IdDomainName, kind, params.strDomainName) &&
               SetIPAddress(interfaceIndex, IdParameter9, kind, params.strParameter9);
    });
}

bool CServiceBase::GetActualNetworkParameters(const unsigned short interfaceIndex, tNetworkParams& params)
{
    return GetNetworkParameters(interfaceIndex, kKindActual, params);
}

bool CServiceBase::GetStaticNetworkParameters(const unsigned short interfaceIndex, tNetworkParams& params)
{
    return GetNetworkParameters(interfaceIndex, kKindStatic, params);
}

bool CServiceBase::SetStaticNetworkParameters(const unsigned short interfaceIndex, const tNetworkParams& params)
{
    return SetNetworkParameters(interfaceIndex, kKindStatic, params);
}

bool CServiceBase::GetActualIPAddressSource(const unsigned short interfaceIndex, unsigned short& source)
{
    return ReadIPAddressSourceUsingService(interfaceIndex, kKindActual, source);
}

bool CServiceBase::GetStaticIPAddressSource(const unsigned short interfaceIndex, unsigned short& source)
{
    return ReadIPAddressSourceUsingService(interfaceIndex, kKindStatic, source);
}

bool CServiceBase::SetStaticIPAddressSource(const unsigned short interfaceIndex, const unsigned short source)
{
    return WriteIPAddressSourceUsingService(interfaceIndex, kKindStatic, source);
}

bool CServiceBase::GetStaticIPAddress(const unsigned short interfaceIndex, std::wstring& address)
{
    return GetIPAddress(interfaceIndex, IdIPAddress, kKindStatic, address);
}

bool CServiceBase::SetStaticIPAddress(const unsigned short interfaceIndex, const std::wstring& address)
{
    return SetIPAddress(interfaceIndex, IdIPAddress, kKindStatic, address);
}

bool CServiceBase::GetActualIPAddress(const unsigned short interfaceIndex, std::wstring& address,
                                      unsigned short& source)
{
    return RunOperation(L"CServiceBase::GetActualIPAddress", __LINE__, [&] {
        if (!ReadIPAddressSourceUsingService(interfaceIndex, kKindActual, source) &&
            !HasStoredCode(PELORUS_ERROR_PARAMETER_NOT_PRESENT))
            return false;
        return GetIPAddress(interfaceIndex, IdIPAddress, kKindActual, address);
    });
}

// ---- the address source -------------------------------------------------

bool CServiceBase::ReadIPAddressSourceFromRegister(unsigned short& source)
{
    unsigned short word = 0;
    if (!ReadRegister(0, kNetworkTable, kSourceRegister, 1, &word))
        return false;
    if (word & (1u << 7))
        source = SourceFourth;
    else if (word & (1u << 8))
        source = SourceDHCP;
    else if (word & (1u << 9))
        source = SourceBootP;
    else
        source = SourceStatic;
    return true;
}

bool CServiceBase::WriteIPAddressSourceToRegister(unsigned short source)
{
    unsigned short bit = 0;
    switch (source) {
    case SourceBootP: bit = 1u << 9; break;
    case SourceDHCP: bit = 1u << 8; break;
    case SourceStatic: break;
    case SourceFourth: bit = 1u << 7; break;
    default: SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT); return false;
    }
    unsigned short word = 0;
    if (!ReadRegister(0, kNetworkTable, kSourceRegister, 1, &word))
        return false;
    word = static_cast<unsigned short>((word & ~kSourceBits) | bit);
    return WriteRegister(0, kNetworkTable, kSourceRegister, 1, &word);
}

bool CServiceBase::IsActualIPAddressFrom(const unsigned short interfaceIndex, unsigned short wanted, bool& yes)
{
    unsigned short source = 0;
    if (!ReadIPAddressSourceUsingService(interfaceIndex, kKindActual, source)) {
        if (!NetworkParamNotSupported())
            return false;
        ResetLastErrorCode();
        if (!ReadIPAddressSourceFromRegister(source))
            return false;
    }
    yes = source == wanted;
    return true;
}

bool CServiceBase::UseIPAddressFrom(const unsigned short interfaceIndex, unsigned short source)
{
    if (WriteIPAddressSourceUsingService(interfaceIndex, kKindStatic, source))
        return true;
    if (!NetworkParamNotSupported())
        return false;
    ResetLastErrorCode();
    return WriteIPAddressSourceToRegister(source);
}

bool CServiceBase::IsActualIPAddressFromBootP(const unsigned short interfaceIndex, bool& yes)
{
    return RunOperation(L"CServiceBase::IsActualIPAddressFromBootP", __LINE__,
                        [&] { return IsActualIPAddressFrom(interfaceIndex, SourceBootP, yes); });
}

bool CServiceBase::IsActualIPAddressFromDHCP(const unsigned short interfaceIndex, bool& yes)
{
    return RunOperation(L"CServiceBase::IsActualIPAddressFromDHCP", __LINE__,
                        [&] { return IsActualIPAddressFrom(interfaceIndex, SourceDHCP, yes); });
}

bool CServiceBase::IsActualIPAddressFromStaticConfig(const unsigned short interfaceIndex, bool& yes)
{
    return RunOperation(L"CServiceBase::IsActualIPAddressFromStaticConfig", __LINE__,
                        [&] { return IsActualIPAddressFrom(interfaceIndex, SourceStatic, yes); });
}

bool CServiceBase::UseIPAddressFromBootP(const unsigned short interfaceIndex)
{
    return RunOperation(L"CServiceBase::UseIPAddressFromBootP", __LINE__,
                        [&] { return UseIPAddressFrom(interfaceIndex, SourceBootP); });
}

bool CServiceBase::UseIPAddressFromDHCP(const unsigned short interfaceIndex)
{
    return RunOperation(L"CServiceBase::UseIPAddressFromDHCP", __LINE__,
                        [&] { return UseIPAddressFrom(interfaceIndex, SourceDHCP); });
}

bool CServiceBase::UseIPAddressFromStaticConfig(const unsigned short interfaceIndex)
{
    return RunOperation(L"CServiceBase::UseIPAddressFromStaticConfig", __LINE__,
                        [&] { return UseIPAddressFrom(interfaceIndex, SourceStatic); });
}

// ---- addresses and names with the register fall-back --------------------

bool CServiceBase::WriteIPAddressToRegister(int id, const std::wstring& address)
{
    const int reg = AddressRegisterFromParamID(id);
    std::array<BYTE, 4> octets{};
    if (reg < 0 || id > IdAlternativeDNS) {
        SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
        return false;
    }
    if (!ParseAddressText(address, octets)) {
        SetLastErrorCode(PELORUS_ERROR_ADDRESS_TEXT);
        return false;
    }
    const unsigned short words[2] = {static_cast<unsigned short>(octets[0] | (octets[1] << 8)),
                                     static_cast<unsigned short>(octets[2] | (octets[3] << 8))};
    return EnableParamWriting(true) &&
           WriteRegister(0, kNetworkTable, static_cast<unsigned int>(reg), 2, words);
}

bool CServiceBase::WriteAddressWithFallback(const unsigned short interfaceIndex, int id, const std::wstring& address)
{
    if (WriteIPAddressUsingService(interfaceIndex, static_cast<unsigned short>(id), kKindStatic, address))
        return true;
    if (!NetworkParamNotSupported())
        return false;
    ResetLastErrorCode();
    return WriteIPAddressToRegister(id, address);
}

bool CServiceBase::WriteIPAddress(const unsigned short interfaceIndex, const std::wstring& address)
{
    return RunOperation(L"CServiceBase::WriteIPAddress", __LINE__,
                        [&] { return WriteAddressWithFallback(interfaceIndex, IdIPAddress, address); });
}

bool CServiceBase::WriteSubnetMask(const unsigned short interfaceIndex, const std::wstring& mask)
{
    return RunOperation(L"CServiceBase::WriteSubnetMask", __LINE__,
                        [&] { return WriteAddressWithFallback(interfaceIndex, IdSubnetMask, mask); });
}

bool CServiceBase::WriteGatewayAddress(const unsigned short interfaceIndex, const std::wstring& address)
{
    return RunOperation(L"CServiceBase::WriteGatewayAddress", __LINE__,
                        [&] { return WriteAddressWithFallback(interfaceIndex, IdGateway, address); });
}

bool CServiceBase::WritePreferedDNSAddress(const unsigned short interfaceIndex, const std::wstring& address)
{
    return RunOperation(L"CServiceBase::WritePreferedDNSAddress", __LINE__,
                        [&] { return WriteAddressWithFallback(interfaceIndex, IdPreferredDNS, address); });
}

bool CServiceBase::WriteAlternativeDNSAddress(const unsigned short interfaceIndex, const std::wstring& address)
{
    return RunOperation(L"CServiceBase::WriteAlternativeDNSAddress", __LINE__,
                        [&] { return WriteAddressWithFallback(interfaceIndex, IdAlternativeDNS, address); });
}

bool CServiceBase::ReadNetworkParamNameFromRegister(int id, std::wstring& name)
{
    return RunOperation(L"CServiceBase::ReadNetworkParamNameFromRegister", __LINE__, [&] {
        if (id != IdHostName && id != IdDomainName) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        unsigned short words[kNameRegisters] = {};
        const auto reg = static_cast<unsigned int>(AddressRegisterFromParamID(id));
        if (!ReadRegister(0, kNetworkTable, reg, kNameRegisters, words))
            return false;
        BYTE bytes[kNameRegisterBytes] = {};
        for (std::size_t i = 0; i < kNameRegisters; ++i) {
            bytes[2 * i] = static_cast<BYTE>(words[i] & 0xFF);
            bytes[2 * i + 1] = static_cast<BYTE>(words[i] >> 8);
        }
        const BYTE* end = std::find(bytes, bytes + kNameRegisterBytes, BYTE{0});
        name = AnsiToWide(bytes, static_cast<std::size_t>(end - bytes));
        return true;
    });
}

bool CServiceBase::WriteNetworkParamNameToRegister(int id, const std::wstring& name)
{
    return RunOperation(L"CServiceBase::WriteNetworkParamNameToRegister", __LINE__, [&] {
        if (id != IdHostName && id != IdDomainName) {
            SetLastErrorCode(PELORUS_ERROR_INVALID_ARGUMENT);
            return false;
        }
        // At most 31 characters, so that the NUL always fits.
        std::string text = WideToAnsi(name);
        text.resize(std::min(text.size(), kNameRegisterBytes - 1));
        unsigned short words[kNameRegisters] = {};
        for (std::size_t i = 0; i < text.size(); ++i)
            words[i / 2] |= static_cast<unsigned short>(static_cast<BYTE>(text[i]) << ((i % 2) * 8));
        const auto reg = static_cast<unsigned int>(AddressRegisterFromParamID(id));
        return EnableParamWriting(true) && WriteRegister(0, kNetworkTable, reg, kNameRegisters, words);
    });
}

bool CServiceBase::ReadNameWithFallback(int id, std::wstring& name)
{
    if (GetNetworkParamName(0, static_cast<unsigned short>(id), kKindStatic, name))
        return true;
    if (!NetworkParamNotSupported() || AddressRegisterFromParamID(id) < 0)
        return false;
    return ReadNetworkParamNameFromRegister(id, name);
}

bool CServiceBase::WriteNameWithFallback(int id, const std::wstring& name)
{
    if (SetNetworkParamName(0, static_cast<unsigned short>(id), kKindStatic, name))
        return true;
    if (!NetworkParamNotSupported() || AddressRegisterFromParamID(id) < 0)
        return false;
    return WriteNetworkParamNameToRegister(id, name);
}

bool CServiceBase::ReadHostName(std::wstring& name)
{
    return RunOperation(L"CServiceBase::ReadHostName", __LINE__,
                        [&] { return ReadNameWithFallback(IdHostName, name); });
}

bool CServiceBase::ReadDomainName(std::wstring& name)
{
    return RunOperation(L"CServiceBase::ReadDomainName", __LINE__,
                        [&] { return ReadNameWithFallback(IdDomainName, name); });
}

bool CServiceBase::ReadSntpHostName(std::wstring& name)
{
    return RunOperation(L"CServiceBase::ReadSntpHostName", __LINE__,
                        [&] { return ReadNameWithFallback(IdSNTPHostName, name); });
}

bool CServiceBase::WriteHostName(const std::wstring& name)
{
    return RunOperation(L"CServiceBase::WriteHostName", __LINE__,
                        [&] { return WriteNameWithFallback(IdHostName, name); });
}

bool CServiceBase::WriteDomainName(const std::wstring& name)
{
    return RunOperation(L"CServiceBase::WriteDomainName", __LINE__,
                        [&] { return WriteNameWithFallback(IdDomainName, name); });
}

bool CServiceBase::WriteSntpHostName(const std::wstring& name)
{
    return RunOperation(L"CServiceBase::WriteSntpHostName", __LINE__,
                        [&] { return WriteNameWithFallback(IdSNTPHostName, name); });
}

// ---- the addresses shown together ---------------------------------------

std::wstring CServiceBase::ReadIPAddressFromRegister(int id)
{
    const int reg = AddressRegisterFromParamID(id);
    unsigned short words[2] = {};
    if (reg < 0 || id > IdAlternativeDNS ||
        !ReadRegister(0, kNetworkTable, static_cast<unsigned int>(reg), 2, words))
        return kNoAddress;
    return Text::Format(L"%d.%d.%d.%d", words[0] & 0xFF, words[0] >> 8, words[1] & 0xFF, words[1] >> 8);
}

std::wstring CServiceBase::GetCurrentlyUsedIPAddressFromInternalVariables()
{
    std::wstring name;
    std::wstring value;
    if (!GetInternalVariable(4, name, value)) {
        if (!HasStoredCode(PELORUS_ERROR_PARAMETER_NOT_PRESENT) || !GetInternalVariable(1, name, value))
            return std::wstring();
    }
    return (name.empty() || value.empty()) ? std::wstring() : value;
}

bool CServiceBase::ReadIPAddresses(std::wstring& actualAddress, std::wstring& staticAddress, std::wstring& mask,
                                   std::wstring& gateway)
{
    return RunOperation(L"CServiceBase::ReadIPAddresses", __LINE__, [&] {
        if (ReadIPAddressesUsingService(actualAddress, staticAddress, mask, gateway))
            return true;
        if (!NetworkParamNotSupported())
            return false;
        return ReadIPAddressesFromRegister(actualAddress, staticAddress, mask, gateway);
    });
}

bool CServiceBase::ReadInterfaceAddresses(std::vector<unsigned short>& interfaces)
{
    // The first two interfaces: a device with one answers the second with
    // "parameter not present".
    for (unsigned short index = 0; index < 2; ++index) {
        std::wstring address;
        unsigned short source = 0;
        if (!GetActualIPAddress(index, address, source))
            return HasStoredCode(PELORUS_ERROR_PARAMETER_NOT_PRESENT) && !interfaces.empty();
        interfaces.push_back(index);
    }
    return true;
}

bool CServiceBase::ReadIPAddressesUsingService(std::wstring& actualAddress, std::wstring& staticAddress,
                                               std::wstring& mask, std::wstring& gateway)
{
    return RunOperation(L"CServiceBase::ReadIPAddressesUsingService", __LINE__, [&] {
        std::vector<unsigned short> interfaces;
        if (!ReadInterfaceAddresses(interfaces))
            return false;
        actualAddress.clear();
        staticAddress.clear();
        mask.clear();
        gateway.clear();
        for (const unsigned short index : interfaces) {
            tNetworkParams actual;
            tNetworkParams configured;
            if (!GetNetworkParameters(index, kKindActual, actual) ||
                !GetNetworkParameters(index, kKindStatic, configured))
                return false;
            AppendPart(actualAddress, actual.strIPAddress);
            AppendPart(staticAddress, configured.strIPAddress);
            AppendPart(mask, actual.strSubnetMask);
            AppendPart(gateway, actual.strGatewayAddress);
        }
        ResetLastErrorCode();
        return true;
    });
}

bool CServiceBase::ReadIPAddressesFromRegister(std::wstring& actualAddress, std::wstring& staticAddress,
                                               std::wstring& mask, std::wstring& gateway)
{
    return RunOperation(L"CServiceBase::ReadIPAddressesFromRegister", __LINE__, [&] {
        actualAddress = GetCurrentlyUsedIPAddressFromInternalVariables();
        if (actualAddress.empty() || actualAddress == kNoAddress) {
            // A device that has just taken its address reports it a moment later.
            Sleep(1000);
            actualAddress = GetCurrentlyUsedIPAddressFromInternalVariables();
        }
        staticAddress = ReadIPAddressFromRegister(IdIPAddress);
        if (actualAddress.empty())
            actualAddress = staticAddress;
        if (staticAddress.empty())
            staticAddress = actualAddress;
        mask = ReadIPAddressFromRegister(IdSubnetMask);
        gateway = ReadIPAddressFromRegister(IdGateway);
        // Every missing part reads as 0.0.0.0; nothing is left to report.
        ResetLastErrorCode();
        return true;
    });
}

bool CServiceBase::ReadMacAddresses(std::vector<std::wstring>& macs)
{
    return RunOperation(L"CServiceBase::ReadMacAddresses", __LINE__, [&] {
        bool appended = false;
        for (unsigned short index = 0; index < kMaxInterfaces; ++index) {
            std::wstring text;
            if (!GetIPAddress(index, IdMACAddress, kKindActual, text))
                break;
            macs.push_back(text);
            appended = true;
        }
        if (!appended && (HasStoredCode(PELORUS_ERROR_PARAMETER_NOT_PRESENT) ||
                          HasStoredCode(PELORUS_ERROR_SERVICE_NOT_SUPPORTED))) {
            std::wstring networkId;
            std::wstring address;
            if (GetNetworkID(networkId, address)) {
                macs.push_back(address);
                appended = true;
            }
        }
        if (appended)
            ResetLastErrorCode();
        return appended;
    });
}
