#include "Common/Communication/ConnectionBase.h"

#include "Common/Communication/AnswerFault.h"
#include "Platform/Base/Clock.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/WinError.h"

#include <cstring>
#include <memory>
#include <new>

namespace ZELL {

namespace {
constexpr unsigned long kTransferTimeout = 0x20010200u;
constexpr unsigned long kTransferFailure = 0x20010000u;
constexpr unsigned short kMaxSizeOfLength = 4;
}

CConnectionBase::CConnectionBase() : CConnectionBase(16, 2, 0) {}

CConnectionBase::CConnectionBase(unsigned int lengthPos, unsigned short sizeOfLength, short lengthCorrection)
    : lengthPos(lengthPos)
    , sizeOfLength(sizeOfLength)
    , lengthCorrection(lengthCorrection)
{
}

unsigned long CConnectionBase::GetLastErrorCode()
{
    const unsigned long code = lastErrorCode;
    lastErrorCode = 0;
    return code;
}

void CConnectionBase::SetLastErrorCode(unsigned long code)
{
    lastErrorCode = code;
}

void CConnectionBase::ResetLastErrorCode()
{
    lastErrorCode = 0;
}

void CConnectionBase::EnableLogging(bool enable, const wchar_t* name)
{
    logging = enable;
    if (name)
        logName = name;
    Log(L"CConnectionBase - Logging %s!\n", enable ? L"enabled" : L"disabled");
}

unsigned long CConnectionBase::ShortFragmentError() const
{
    return kTransferTimeout;
}

unsigned long CConnectionBase::BadFragmentLengthError() const
{
    return kTransferFailure | ERROR_INVALID_DATA;
}

void CConnectionBase::BeginRequest(unsigned int requestLength, unsigned int maxAnnounced)
{
    m_maxAnnounced = maxAnnounced;
    const unsigned long long timeout = RequestTimeoutMs(requestLength);
    m_requestDeadline = timeout != 0 ? GetTickCount64() + timeout : 0;
}

void CConnectionBase::EndRequest()
{
    m_maxAnnounced = 0;
    m_requestDeadline = 0;
}

unsigned long long CConnectionBase::RequestTimeoutMs(unsigned int) const
{
    return 0;
}

unsigned long long CConnectionBase::RequestTimeLeftMs() const
{
    const unsigned long long now = GetTickCount64();
    return now < m_requestDeadline ? m_requestDeadline - now : 0;
}

bool CConnectionBase::RefuseFragment(unsigned long error)
{
    SetLastErrorCode(error);
    SetLastError(error);
    return false;
}

bool CConnectionBase::ReadFragment(unsigned char** buffer, unsigned int* length)
{
    return ReadFragment(buffer, lengthPos, sizeOfLength, lengthCorrection, length);
}

// A Read that delivers less than asked (a peer that closed) fails the
// fragment: a zero-padded frame must never pass for a received one.
bool CConnectionBase::ReadExactly(unsigned char* target, unsigned int count)
{
    unsigned int got = 0;
    Read(target, count, &got);
    if (got == count)
        return true;
    const unsigned long error = ShortFragmentError();
    SetLastErrorCode(error);
    SetLastError(error);
    return false;
}

bool CConnectionBase::ReadFragment(unsigned char** buffer, unsigned int fieldPos, unsigned short fieldSize,
                                   short correction, unsigned int* length)
{
    if (fieldSize > kMaxSizeOfLength || !buffer)
        return false;
    try {
        const std::uint64_t headerLength = std::uint64_t{fieldPos} + fieldSize;
        if (headerLength > kMaxFragmentSize)
            return RefuseFragment(BadFragmentLengthError());
        const auto header = std::make_unique<unsigned char[]>(headerLength);
        if (headerLength != 0 && !ReadExactly(header.get(), static_cast<unsigned int>(headerLength)))
            return false;

        std::uint32_t value = 0;
        for (unsigned short i = 0; i < fieldSize; ++i)
            value |= std::uint32_t{header[fieldPos + i]} << (8 * i);

        // Waiting for bytes that no answer can hold would only end at the
        // time-out, and then as silence.
        if (m_maxAnnounced != 0 && value > m_maxAnnounced)
            return RefuseFragment(kErrorMalformedAnswer);
        const std::int64_t rest = std::int64_t{value} + correction;
        if (rest < 0 || static_cast<std::uint64_t>(rest) + headerLength > kMaxFragmentSize)
            return RefuseFragment(BadFragmentLengthError());

        const std::uint64_t total = headerLength + static_cast<std::uint64_t>(rest);
        // Not zeroed: the block is either filled completely or thrown away.
        std::unique_ptr<unsigned char[]> frame(new unsigned char[total == 0 ? 1 : total]);
        if (headerLength != 0)
            std::memcpy(frame.get(), header.get(), headerLength);
        if (rest != 0 && !ReadExactly(frame.get() + headerLength, static_cast<unsigned int>(rest)))
            return false;

        delete[] *buffer;
        *buffer = frame.release();
        if (length)
            *length = static_cast<unsigned int>(total);
        return true;
    } catch (...) {
        return false;
    }
}

}
