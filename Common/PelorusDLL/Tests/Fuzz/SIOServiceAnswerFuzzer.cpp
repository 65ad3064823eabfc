// Feeds arbitrary words as a serial mailbox answer to the header check and
// to every reader of the answer data.
#include "Common/PelorusDLL/MailboxAnswer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // At most a full mailbox, as the service never reads more.
    std::vector<unsigned short> words;
    for (size_t i = 0; i + 1 < size && words.size() < 256; i += 2)
        words.push_back(static_cast<unsigned short>(data[i] | data[i + 1] << 8));
    if (CMailboxAnswer::CheckHeader(words.data(), words.size()) != 0)
        return 0;
    CMailboxAnswer::StatusToError(words[2]);
    // Only the words behind the header that the count covers are delivered.
    const CMailboxAnswer answer(words.data() + CMailboxAnswer::kHeaderWords, words[1] - 1u);
    std::vector<std::wstring> texts;
    for (size_t count : {1, 2, 4})
        answer.Texts(count, texts);
    std::vector<tFBCTable> tables;
    answer.TableInfo(tables);
    std::vector<BYTE> bytes;
    answer.NetworkParameter(bytes);
    answer.Words();
    return 0;
}
