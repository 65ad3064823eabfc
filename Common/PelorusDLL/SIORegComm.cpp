#include "Common/PelorusDLL/SIORegComm.h"

#include "Platform/Base/LastError.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned int kHeaderLength = 10; // bytes before the data words
constexpr unsigned int kMinLength = 12;    // header and checksum
constexpr BYTE kWriteFlag = 0x80;

unsigned short SumBytes(const BYTE* data, unsigned int length)
{
    unsigned short sum = 0;
    for (unsigned int i = 0; i < length; ++i)
        sum = static_cast<unsigned short>(sum + data[i]);
    return sum;
}

unsigned short WordAt(const BYTE* p) { return static_cast<unsigned short>(p[0] | (p[1] << 8)); }

bool Fail(DWORD code)
{
    SetLastError(code);
    return false;
}

} // namespace

void CSIORegComm::SetFragmentSize(int size)
{
    m_fragmentSize = size >= 1 && size <= static_cast<int>(MAX_DATA_LEN) ? size : static_cast<int>(MAX_DATA_LEN);
}

bool CSIORegComm::CheckAccess(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                              const void* data)
{
    // The start register is one byte on the wire: an access that runs past
    // register 255 would silently continue at register 0.
    return data != nullptr && position < kMaxCountPositions && table < MAXCOUNT_TABLES &&
           start < kMaxCountRegisters && count <= kMaxCountRegisters - start;
}

bool CSIORegComm::WriteRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                                const unsigned short* data)
{
    if (!CheckAccess(position, table, start, count, data))
        return Fail(kInvalidArgument);
    tRegCommInfo info;
    info.position = static_cast<BYTE>(position);
    info.table = static_cast<BYTE>(table);
    info.start = static_cast<BYTE>(start);
    info.writeCount = count;
    return ExecuteFragmentation(info, data, nullptr);
}

bool CSIORegComm::ReadRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                               unsigned short* data)
{
    if (!CheckAccess(position, table, start, count, data))
        return Fail(kInvalidArgument);
    tRegCommInfo info;
    info.position = static_cast<BYTE>(position);
    info.table = static_cast<BYTE>(table);
    info.start = static_cast<BYTE>(start);
    info.readCount = static_cast<int>(count);
    return ExecuteFragmentation(info, nullptr, data);
}

bool CSIORegComm::ExecuteFragmentation(tRegCommInfo& info, const unsigned short* writeData, unsigned short* readData)
{
    if (m_fragmentSize <= 0 || (info.readCount != 0 && info.writeCount != 0) || info.readCount < 0)
        return Fail(kInvalidArgument);
    const bool reading = info.readCount != 0;
    unsigned int remaining = reading ? static_cast<unsigned int>(info.readCount) : info.writeCount;
    unsigned int register_ = info.start;
    if (register_ + remaining > kMaxCountRegisters)
        return Fail(kInvalidArgument);
    size_t offset = 0;
    while (remaining > 0) {
        const unsigned int n = std::min(static_cast<unsigned int>(m_fragmentSize), remaining);
        info.start = static_cast<BYTE>(register_);
        tTelegram request;
        tTelegram response;
        unsigned int received = 0;
        if (!PrepareRequest(info, n, reading ? nullptr : writeData + offset, request))
            return false;
        if (!Execute(request, response, received))
            return false;
        if (reading && !CopyReadData(info, request, response, n, readData + offset))
            return false;
        register_ += n;
        offset += n;
        remaining -= n;
    }
    return true;
}

bool CSIORegComm::CopyReadData(const tRegCommInfo& info, const tTelegram& request, const tTelegram& response,
                               unsigned int count, unsigned short* target) const
{
    const bool mailbox = info.position == kMailboxPosition && info.table == kMailboxTable;
    if (!mailbox && response.bytes[5] != request.bytes[5])
        return Fail(kWordCountMismatch);
    // Only the words that stand in front of the checksum are data; a mailbox
    // answer may be shorter than asked for, and the words it does not carry
    // are cleared instead of taken from behind its end.
    const unsigned int carried = (response.bytes[2] - kMinLength) / 2;
    if (!mailbox && carried < count)
        return Fail(kInvalidLength);
    const unsigned int copied = std::min(carried, count);
    for (unsigned int i = 0; i < copied; ++i)
        target[i] = WordAt(response.bytes + kHeaderLength + 2 * i);
    std::fill(target + copied, target + count, static_cast<unsigned short>(0));
    return true;
}

bool CSIORegComm::PrepareRequest(const tRegCommInfo& info, unsigned int count, const unsigned short* writeData,
                                 tTelegram& request) const
{
    if (count == 0 || count > MAX_DATA_LEN)
        return Fail(kInvalidArgument);
    const bool writing = writeData != nullptr;
    BYTE* t = request.bytes;
    t[0] = 0xFD;
    t[1] = 0x02;
    t[2] = static_cast<BYTE>(kMinLength + (writing ? 2 * count : 0));
    t[3] = 0;
    t[4] = 0;
    t[5] = static_cast<BYTE>(count);
    t[6] = 0x52;
    t[7] = info.position;
    t[8] = static_cast<BYTE>(info.table | (writing ? kWriteFlag : 0));
    t[9] = info.start;
    if (writing) {
        for (unsigned int i = 0; i < count; ++i) {
            t[kHeaderLength + 2 * i] = static_cast<BYTE>(writeData[i] & 0xFF);
            t[kHeaderLength + 2 * i + 1] = static_cast<BYTE>(writeData[i] >> 8);
        }
    }
    return AddChecksum(request);
}

bool CSIORegComm::AddChecksum(tTelegram& telegram)
{
    const unsigned int length = telegram.bytes[2];
    if (length < kMinLength || length > MAX_TELE_LEN)
        return Fail(kInvalidArgument);
    const unsigned short sum = SumBytes(telegram.bytes, length - 2);
    telegram.bytes[length - 2] = static_cast<BYTE>(sum & 0xFF);
    telegram.bytes[length - 1] = static_cast<BYTE>(sum >> 8);
    return true;
}

bool CSIORegComm::Execute(tTelegram& request, tTelegram& response, unsigned int& received)
{
    if (m_connection == nullptr)
        return Fail(kInvalidArgument);
    if (!m_connection->IsOpen())
        return Fail(kPortNotOpen);
    SetLastError(0);
    // One deadline for the telegram and its answer, however the answer
    // trickles in.
    m_connection->BeginRequest(request.bytes[2], 0);
    bool ok = false;
    try {
        m_connection->Write(request.bytes, request.bytes[2], nullptr);
        ok = true;
    } catch (...) {
        // The connection has set its own code; keep it unless it set none.
        if (GetLastError() == 0)
            SetLastError(kTransferFailure);
    }
    ok = ok && ReadResponse(response, received);
    m_connection->EndRequest();
    return ok;
}

bool CSIORegComm::ReadExactly(unsigned char* buffer, unsigned int length)
{
    if (length == 0)
        return true;
    unsigned int count = 0;
    try {
        m_connection->Read(buffer, length, &count);
    } catch (...) {
        if (GetLastError() == 0)
            SetLastError(kTransferFailure);
        return false;
    }
    // A connection that delivers less than asked for has run out of answer.
    if (count < length)
        return Fail(kNoReply);
    return true;
}

bool CSIORegComm::ReadResponse(tTelegram& response, unsigned int& received)
{
    received = 0;
    if (!ReadExactly(response.bytes, 3))
        return false;
    received = 3;
    // Bytes that do not start a telegram are refused as they are: their
    // length byte means nothing, and waiting for what it announces would
    // report an answer that did come as silence.
    const DWORD start = StartProblem(response.bytes);
    if (start == kInvalidStart)
        return Fail(start);
    const unsigned int length = response.bytes[2];
    // A length below 3 announces less than the three bytes already read;
    // nothing more is taken from the line and the check below refuses it.
    if (length > 3) {
        const unsigned int inBuffer = std::min(length, MAX_TELE_LEN);
        if (!ReadExactly(response.bytes + 3, inBuffer - 3))
            return false;
        received = inBuffer;
        if (length > MAX_TELE_LEN) {
            std::vector<unsigned char> surplus(length - MAX_TELE_LEN);
            if (!ReadExactly(surplus.data(), static_cast<unsigned int>(surplus.size())))
                return false;
        }
    }
    const DWORD problem = CheckResponse(response, received);
    return problem == 0 ? true : Fail(problem);
}

DWORD CSIORegComm::StartProblem(const BYTE* t)
{
    if (t[0] == 0x02 && t[1] == 0xFD)
        return 0;
    return t[0] == 0 && t[1] == 0 ? kNoReply : kInvalidStart;
}

DWORD CSIORegComm::CheckResponse(const tTelegram& response, unsigned int received)
{
    const BYTE* t = response.bytes;
    if (received < 3)
        return kNoReply;
    // The bytes did arrive, so a wrong start is a bad reply even when one of
    // them is 0; only a line that held low throughout (a break reads as zero
    // bytes) counts as no reply.
    if (const DWORD start = StartProblem(t); start != 0)
        return start;
    const unsigned int length = t[2];
    if (length < kMinLength || length > MAX_TELE_LEN || received < length)
        return kInvalidLength;
    if (SumBytes(t, length - 2) != WordAt(t + length - 2))
        return kInvalidChecksum;
    if (t[8] >= 0x80)
        return kDeviceError + WordAt(t + kHeaderLength);
    return 0;
}

unsigned short CZELLHelpFunktions::CalculateChecksum(const unsigned char* data, unsigned long length)
{
    unsigned short sum = 0;
    for (unsigned long i = 0; data != nullptr && i < length; ++i)
        sum = static_cast<unsigned short>(sum + data[i]);
    return sum;
}

unsigned short CZELLHelpFunktions::CalculateChecksum(const unsigned short* data, unsigned long count)
{
    unsigned short sum = 0;
    for (unsigned long i = 0; data != nullptr && i < count; ++i)
        sum = static_cast<unsigned short>(sum + data[i]);
    return sum;
}
