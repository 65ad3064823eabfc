#include "Products/Corvane/Pages/Codecs/NetworkIdCodec.h"

#include "Platform/Base/CodePage.h"

#include <algorithm>
#include <string>

namespace Corvane {

namespace {

// Texts of the device are single-byte text of the program's code page.
constexpr UINT kNameCodePage = CP_WINDOWS_1252;

std::wstring FromDeviceBytes(const std::string& bytes)
{
    if (bytes.empty())
        return {};
    const int length = static_cast<int>(bytes.size());
    std::wstring text(bytes.size(), L'\0');
    const int written = MultiByteToWideChar(kNameCodePage, 0, bytes.data(), length, text.data(), length);
    text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return text;
}

std::string ToDeviceBytes(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    std::string bytes(text.size(), '\0');
    const int written =
        WideCharToMultiByte(kNameCodePage, 0, text.data(), length, bytes.data(), length, nullptr, nullptr);
    bytes.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return bytes;
}

}

void CNetworkIdCodec::Load(const CDeviceBlock& block)
{
    if (!block.IsPresent())
        return;
    HostName = m_strLoadedHostName = ReadName(block, kHostNameOffset);
    DomainName = m_strLoadedDomainName = ReadName(block, kDomainNameOffset);
}

bool CNetworkIdCodec::Store(CDeviceBlock& block) const
{
    if (!block.IsPresent())
        return false;
    WriteName(block, kHostNameOffset, HostName, HostName == m_strLoadedHostName ? kFieldBytes : kMaxChars);
    WriteName(block, kDomainNameOffset, DomainName, DomainName == m_strLoadedDomainName ? kFieldBytes : kMaxChars);
    return true;
}

std::wstring CNetworkIdCodec::ReadName(const CDeviceBlock& block, DWORD offset)
{
    std::string bytes;
    for (DWORD i = 0; i < kFieldBytes; ++i) {
        const std::optional<BYTE> byte = block.ReadByte(offset + i);
        if (!byte || *byte == 0)
            break;
        bytes.push_back(static_cast<char>(*byte));
    }
    return FromDeviceBytes(bytes);
}

void CNetworkIdCodec::WriteName(CDeviceBlock& block, DWORD offset, const std::wstring& name, std::size_t maxChars)
{
    const std::size_t limit = std::min<std::size_t>(maxChars, kFieldBytes);
    const std::string bytes = ToDeviceBytes(name.substr(0, limit));
    for (DWORD i = 0; i < kFieldBytes; ++i)
        block.WriteByte(offset + i, i < bytes.size() && i < limit ? static_cast<BYTE>(bytes[i]) : 0);
}

}  // namespace Corvane
