#pragma once
// Host and domain name of the network identification page: two fixed 32-byte
// fields of the device block (bytes 50-81 and 82-113), 8-bit text in the
// program's code page, NUL-terminated and NUL-padded.

#include "Products/Corvane/Pages/DeviceBlock.h"

#include <string>

class CNetworkIdCodec {
public:
    static constexpr DWORD HostNameOffset = 50;
    static constexpr DWORD DomainNameOffset = 82;
    static constexpr DWORD FieldBytes = 32;
    static constexpr std::size_t MaxChars = 31;

    void Load(const CDeviceBlock& block);
    // False without a block; bytes beyond a short block are not written.
    bool Store(CDeviceBlock& block) const;

    // Up to the field's NUL, or its 32 bytes when it has none, and never past
    // the block.
    static std::wstring ReadName(const CDeviceBlock& block, DWORD offset);
    // The first 31 characters, the rest of the field zero.
    static void WriteName(CDeviceBlock& block, DWORD offset, const std::wstring& name);

    std::wstring HostName;
    std::wstring DomainName;
};
