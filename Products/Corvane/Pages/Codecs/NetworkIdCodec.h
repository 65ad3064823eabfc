#pragma once
// Host and domain name of the network identification page: two fixed 32-byte
// fields of the device block (bytes 50-81 and 82-113), 8-bit text in the
// program's code page, NUL-terminated and NUL-padded.

#include "Products/Corvane/Pages/Codecs/DeviceBlock.h"

#include <string>

namespace Corvane {

class CNetworkIdCodec {
public:
    static constexpr DWORD kHostNameOffset = 50;
    static constexpr DWORD kDomainNameOffset = 82;
    static constexpr DWORD kFieldBytes = 32;
    static constexpr std::size_t kMaxChars = 31;

    void Load(const CDeviceBlock& block);
    // False without a block; bytes beyond a short block are not written. A
    // name as it was loaded goes back whole, even one that fills all 32
    // bytes: only names given anew are cut to 31 characters.
    bool Store(CDeviceBlock& block) const;

    // Up to the field's NUL, or its 32 bytes when it has none, and never past
    // the block.
    static std::wstring ReadName(const CDeviceBlock& block, DWORD offset);
    // The first `maxChars` characters (at most the field), the rest of the
    // field zero.
    static void WriteName(CDeviceBlock& block, DWORD offset, const std::wstring& name,
                          std::size_t maxChars = kMaxChars);

    // The names as the last Load read them.
    const std::wstring& LoadedHostName() const { return m_strLoadedHostName; }
    const std::wstring& LoadedDomainName() const { return m_strLoadedDomainName; }

    std::wstring HostName;
    std::wstring DomainName;

private:
    std::wstring m_strLoadedHostName;
    std::wstring m_strLoadedDomainName;
};

}  // namespace Corvane
