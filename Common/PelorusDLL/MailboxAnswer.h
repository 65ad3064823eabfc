#pragma once
// Reading the data words of a serial mailbox answer. Every count inside an
// answer comes from the device, so each reader checks it against the words
// the device delivered and refuses an answer that claims more.

#include "Common/Communication/PelorusApi.h"
#include "Common/PelorusDLL/ServiceRecords.h"
#include "Platform/Base/Types.h"

#include <cstddef>
#include <string>
#include <vector>

class PELORUS_API CMailboxAnswer {
public:
    // Mailbox layout: word 0 echo, word 1 the words that follow (status and
    // data), word 2 status, data from word 3.
    static constexpr std::size_t kHeaderWords = 3;

    // `words` are the data words, `count` of them delivered by the device.
    CMailboxAnswer(const unsigned short* words, std::size_t count) : m_words(words), m_count(count) {}

    // 0 when the header read with `readWords` words is sound, else the code
    // of a malformed answer: a count of 0 (not even the status) or one that
    // claims more words than were read.
    static DWORD CheckHeader(const unsigned short* answer, std::size_t readWords);
    // The last-error code of a device status (0 for success).
    static DWORD StatusToError(WORD status);

    std::size_t WordCount() const { return m_count; }
    std::size_t ByteCount() const { return 2 * m_count; }
    // Bytes are packed into the words low byte first.
    BYTE Byte(std::size_t index) const;

    // `textCount` length bytes, then the texts back to back, 8-bit.
    bool Texts(std::size_t textCount, std::vector<std::wstring>& texts) const;
    std::vector<unsigned short> Words() const { return {m_words, m_words + m_count}; }
    // Word 0 = N, then N table words handed out last first.
    bool TableInfo(std::vector<tFBCTable>& tables) const;
    // Words 0-2 echo the request, word 3 the byte length, the bytes from word 4.
    bool NetworkParameter(std::vector<BYTE>& bytes) const;

private:
    const unsigned short* m_words = nullptr;
    std::size_t m_count = 0;
};
