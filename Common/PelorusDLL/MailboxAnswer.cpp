#include "Common/PelorusDLL/MailboxAnswer.h"

#include "Common/PelorusDLL/ServiceBase.h"
#include "Platform/Base/TextConversion.h"

#include <string_view>

namespace {

constexpr std::size_t kNetworkParameterHeaderWords = 4;

}

DWORD CMailboxAnswer::CheckHeader(const unsigned short* answer, std::size_t readWords)
{
    if (answer == nullptr || readWords < kHeaderWords)
        return PELORUS_ERROR_INVALID_ANSWER_LENGTH;
    // The count covers the status at least; 0 would leave "count - 1" data
    // words wrapping round to 65535.
    const std::size_t following = answer[1];
    if (following == 0 || following > readWords - 2)
        return PELORUS_ERROR_INVALID_ANSWER_LENGTH;
    return 0;
}

DWORD CMailboxAnswer::StatusToError(WORD status)
{
    if (status == 0)
        return 0;
    if ((status & 0x8500) == 0x8500)
        return 0x20088500u | status;
    if ((status & 0x8200) == 0x8200)
        return 0x20080000u | status;
    return 0x20040000u | status;
}

BYTE CMailboxAnswer::Byte(std::size_t index) const
{
    if (index >= ByteCount())
        return 0;
    return static_cast<BYTE>(m_words[index / 2] >> (8 * (index % 2)));
}

bool CMailboxAnswer::Texts(std::size_t textCount, std::vector<std::wstring>& texts) const
{
    std::size_t position = textCount;
    if (position > ByteCount())
        return false;
    std::vector<std::wstring> result;
    for (std::size_t i = 0; i < textCount; ++i) {
        const std::size_t length = Byte(i);
        if (length > ByteCount() - position)
            return false;
        std::string bytes;
        for (std::size_t k = 0; k < length; ++k)
            bytes.push_back(static_cast<char>(Byte(position + k)));
        position += length;
        // The device's 8-bit text, read with the ANSI code page (UTF-8 here).
        result.push_back(Text::Utf8ToWide(bytes));
    }
    texts = std::move(result);
    return true;
}

bool CMailboxAnswer::TableInfo(std::vector<tFBCTable>& tables) const
{
    if (m_count == 0 || m_words[0] > m_count - 1)
        return false;
    std::vector<tFBCTable> result;
    for (std::size_t i = m_words[0]; i >= 1; --i)
        result.push_back(m_words[i]);
    tables = std::move(result);
    return true;
}

bool CMailboxAnswer::NetworkParameter(std::vector<BYTE>& bytes) const
{
    if (m_count < kNetworkParameterHeaderWords)
        return false;
    const std::size_t length = m_words[3];
    if (length > 2 * (m_count - kNetworkParameterHeaderWords))
        return false;
    bytes.resize(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = Byte(2 * kNetworkParameterHeaderWords + i);
    return true;
}
