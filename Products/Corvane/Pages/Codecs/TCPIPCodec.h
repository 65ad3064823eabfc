#pragma once
// The address settings of the TCP/IP page: the address-source bits of word 0
// (wide-format devices) or the use-BootP word 5 (others), and the fixed
// addresses in words 9 to 18 (the DNS servers only on wide-format devices,
// the others only in blocks of at least 15 words). Also the texts the page
// builds from them: the address source, the address-switch address and the
// web-management address.

#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"

#include <functional>
#include <string>

namespace Corvane {

class CTCPIPCodec {
public:
    static constexpr DWORD kSourceWord = 0;
    static constexpr DWORD kUseBootPWord = 5;
    static constexpr DWORD kFixedAddressWord = 9;
    static constexpr DWORD kSubnetMaskWord = 11;
    static constexpr DWORD kGatewayWord = 13;
    static constexpr DWORD kFirstDnsWord = 15;
    static constexpr DWORD kSecondDnsWord = 17;
    // Blocks of devices without the wide format hold addresses from this length.
    static constexpr DWORD kAddressBlockLength = 15;
    static constexpr WORD kDhcpBit = 0x0100;
    static constexpr WORD kBootPBit = 0x0200;
    static constexpr WORD kAutoIPBit = 0x0080;
    static constexpr WORD kSourceBits = kDhcpBit | kBootPBit | kAutoIPBit;
    static constexpr int kAutomaticMode = 0;
    static constexpr int kFixedMode = 1;

    // Whether an address text may be configured (the invalid-address list).
    using AddressFilter = std::function<bool(const std::wstring& address)>;

    enum class ECheck { Passed, FixedAddressRefused, NoSourceChosen };

    void Load(const CDeviceBlock& block, bool wideFormat, bool hasAutoIP);
    // Writes the settings; the caller checks first (Check).
    bool Store(CDeviceBlock& block, bool wideFormat) const;

    // The fixed-address check, then the source check.
    ECheck Check(bool wideFormat, DWORD blockLength, const AddressFilter& isAllowed) const;
    bool IsFixedAddressMode(bool wideFormat, DWORD blockLength) const;

    // The six address texts the main dialog read; empty DNS texts change nothing.
    void SetCurrentAddresses(const std::wstring& eeprom, const std::wstring& current, const std::wstring& mask,
                             const std::wstring& gateway, const std::wstring& firstDns, const std::wstring& secondDns);
    void SetAddressSource(bool hasDipSwitches, bool dipReadable, WORD dipValue);
    // A fixed address, mask or gateway different from the members; false,
    // and nothing taken, when the fixed address is not allowed.
    bool ApplyAddressEdit(DWORD fixed, DWORD mask, DWORD gateway, DWORD firstDns, DWORD secondDns,
                          const AddressFilter& isAllowed, bool& changed);

    // The language key of what determined the current address.
    std::wstring AddressSourceKey() const;
    // The address the switches set: the current (or fixed) address with the
    // switch value as its last octet, padded.
    std::wstring DipAddressText() const;
    std::wstring WebManagementUrl() const;
    bool IsDipValueValid() const { return DipValue != 0 && DipValue != 0xFFFF; }

    bool UseBootP = false;
    // -1 undetermined, kAutomaticMode or kFixedMode (wide-format devices).
    int AddressMode = -1;
    // -1 none, 0 DHCP, 1 BootP, 2 Auto-IP.
    int Source = -1;
    // First octet in the highest byte.
    DWORD FixedAddress = 0;
    DWORD CurrentAddress = 0;
    DWORD SubnetMask = 0;
    DWORD Gateway = 0;
    DWORD FirstDns = 0;
    DWORD SecondDns = 0;
    bool HasDipSwitches = false;
    bool DipReadable = false;
    WORD DipValue = 0xFFFF;
    // The addresses differ from what the device holds; the write check asks.
    bool AddressesModified = false;

private:
    std::wstring SourceKey() const;
    WORD SourceBitsToStore() const;
};

}  // namespace Corvane
