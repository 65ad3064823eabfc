#include "Products/Corvane/Pages/Codecs/TCPIPCodec.h"

#include "Common/SystemHelper/Values/StringUtils.h"

namespace Corvane {

namespace {

void LoadAddress(const CDeviceBlock& block, DWORD firstWord, DWORD& address)
{
    if (const std::optional<DWORD> value = block.ReadAddress(firstWord))
        address = *value;
}

}

void CTCPIPCodec::Load(const CDeviceBlock& block, bool wideFormat, bool hasAutoIP)
{
    if (!block.IsPresent())
        return;
    if (!wideFormat) {
        UseBootP = block.Read(kUseBootPWord).value_or(0) != 0;
        if (block.GetLength() >= kAddressBlockLength) {
            LoadAddress(block, kFixedAddressWord, FixedAddress);
            LoadAddress(block, kSubnetMaskWord, SubnetMask);
            LoadAddress(block, kGatewayWord, Gateway);
            AddressesModified = false;
        }
        return;
    }
    const WORD bits = block.Read(kSourceWord).value_or(0);
    AddressMode = kFixedMode;
    Source = -1;
    if (bits & kDhcpBit) {
        AddressMode = kAutomaticMode;
        Source = 0;
    }
    if (bits & kBootPBit) {
        AddressMode = kAutomaticMode;
        Source = 1;
    }
    if ((bits & kAutoIPBit) && hasAutoIP) {
        AddressMode = kAutomaticMode;
        Source = 2;
    }
    LoadAddress(block, kFixedAddressWord, FixedAddress);
    LoadAddress(block, kSubnetMaskWord, SubnetMask);
    LoadAddress(block, kGatewayWord, Gateway);
    LoadAddress(block, kFirstDnsWord, FirstDns);
    LoadAddress(block, kSecondDnsWord, SecondDns);
    AddressesModified = false;
}

bool CTCPIPCodec::Store(CDeviceBlock& block, bool wideFormat) const
{
    if (!block.IsPresent())
        return false;
    if (!wideFormat) {
        block.Write(kUseBootPWord, UseBootP ? 1 : 0);
        if (block.GetLength() >= kAddressBlockLength) {
            block.WriteAddress(kFixedAddressWord, FixedAddress);
            block.WriteAddress(kSubnetMaskWord, SubnetMask);
            block.WriteAddress(kGatewayWord, Gateway);
        }
        return true;
    }
    // An undetermined mode leaves the source bits as the device has them.
    if (AddressMode == kFixedMode || AddressMode == kAutomaticMode)
        block.WriteBits(kSourceWord, kSourceBits, SourceBitsToStore());
    block.WriteAddress(kFixedAddressWord, FixedAddress);
    block.WriteAddress(kSubnetMaskWord, SubnetMask);
    block.WriteAddress(kGatewayWord, Gateway);
    block.WriteAddress(kFirstDnsWord, FirstDns);
    block.WriteAddress(kSecondDnsWord, SecondDns);
    return true;
}

WORD CTCPIPCodec::SourceBitsToStore() const
{
    if (AddressMode == kFixedMode)
        return 0;
    switch (Source) {
    case 0:
        return kDhcpBit;
    case 1:
        return kBootPBit;
    case 2:
        return kAutoIPBit;
    default:
        return 0;
    }
}

bool CTCPIPCodec::IsFixedAddressMode(bool wideFormat, DWORD blockLength) const
{
    if (wideFormat)
        return AddressMode == kFixedMode;
    return blockLength >= kAddressBlockLength && !UseBootP;
}

CTCPIPCodec::ECheck CTCPIPCodec::Check(bool wideFormat, DWORD blockLength, const AddressFilter& isAllowed) const
{
    if (IsFixedAddressMode(wideFormat, blockLength) && isAllowed && !isAllowed(UIntToIpText(FixedAddress)))
        return ECheck::FixedAddressRefused;
    if (wideFormat && AddressMode == kAutomaticMode && Source < 0)
        return ECheck::NoSourceChosen;
    return ECheck::Passed;
}

void CTCPIPCodec::SetCurrentAddresses(const std::wstring& eeprom, const std::wstring& current,
                                      const std::wstring& mask, const std::wstring& gateway,
                                      const std::wstring& firstDns, const std::wstring& secondDns)
{
    FixedAddress = IpTextToUInt(eeprom);
    CurrentAddress = IpTextToUInt(current);
    SubnetMask = IpTextToUInt(mask);
    Gateway = IpTextToUInt(gateway);
    if (!firstDns.empty())
        FirstDns = IpTextToUInt(firstDns);
    if (!secondDns.empty())
        SecondDns = IpTextToUInt(secondDns);
    AddressesModified = false;
}

void CTCPIPCodec::SetAddressSource(bool hasDipSwitches, bool dipReadable, WORD dipValue)
{
    HasDipSwitches = hasDipSwitches;
    DipReadable = dipReadable;
    DipValue = dipValue;
}

bool CTCPIPCodec::ApplyAddressEdit(DWORD fixed, DWORD mask, DWORD gateway, DWORD firstDns, DWORD secondDns,
                                   const AddressFilter& isAllowed, bool& changed)
{
    changed = false;
    if (fixed != FixedAddress && isAllowed && !isAllowed(UIntToIpText(fixed)))
        return false;
    if (fixed != FixedAddress || mask != SubnetMask || gateway != Gateway) {
        FixedAddress = fixed;
        SubnetMask = mask;
        Gateway = gateway;
        AddressesModified = true;
        changed = true;
    }
    if (firstDns != FirstDns || secondDns != SecondDns) {
        FirstDns = firstDns;
        SecondDns = secondDns;
        changed = true;
    }
    return true;
}

std::wstring CTCPIPCodec::SourceKey() const
{
    switch (Source) {
    case 0:
        return L"DHCP";
    case 1:
        return L"BOOTP";
    case 2:
        return L"AUTOIP";
    default:
        return L"EEPROM";
    }
}

std::wstring CTCPIPCodec::AddressSourceKey() const
{
    if (DipReadable) {
        if (!IsDipValueValid())
            return L"TXT_DETERMINED_BY_" + SourceKey();
        return DipValue == 255 ? L"TXT_DETERMINED_BY_DIP_USE_DHCP" : L"TXT_DETERMINED_BY_DIP";
    }
    if (CurrentAddress != FixedAddress && AddressMode == kFixedMode)
        return CurrentAddress == 0 ? L"TXT_NOT_CONNECTED" : L"TXT_DETERMINED_BY_EEPROM";
    return (HasDipSwitches ? L"TXT_DETERMINED_BY_DIP_OR_" : L"TXT_DETERMINED_BY_") + SourceKey();
}

std::wstring CTCPIPCodec::DipAddressText() const
{
    const DWORD address = CurrentAddress != 0 ? CurrentAddress : FixedAddress;
    const int value = DipValue;
    if (address == 0)
        return FormatString(L" 192 . 168 . 1 . %d ", value);
    const std::wstring padded = UIntToIpText(address, 1);
    return FormatString(L"%s. %d ", padded.substr(0, padded.rfind(L'.')).c_str(), value);
}

std::wstring CTCPIPCodec::WebManagementUrl() const
{
    return L"http://" + UIntToIpText(CurrentAddress);
}

}  // namespace Corvane
