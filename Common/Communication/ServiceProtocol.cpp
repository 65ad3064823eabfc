#include "Common/Communication/ServiceProtocol.h"

#include "Common/Communication/AnswerFault.h"
#include "Common/Communication/ConnectionException.h"
#include "Common/Communication/ServiceException.h"
#include "Common/SystemHelper/Xml/ComError.h"
#include "Common/SystemHelper/Texts/LanguageTexts.h"
#include "Common/SystemHelper/System/RegistryEx.h"
#include "Common/SystemHelper/Values/StringUtils.h"
#include "Common/SystemHelper/Xml/XMLDOMHelper.h"
#include "Platform/Base/Format.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <limits>
#include <new>
#include <optional>
#include <utility>

namespace ZELL {

namespace {

constexpr const wchar_t* kDefaultSettings =
    L"<?xml version='1.0'?><ServiceProtocol Protocol-ID='0x1288' RoutingInfo='0' GlobalTimeOut='0' "
    L"BusyTimeOut='0' ChecksumLength='0' MaxRetries='1' MaxFragmentDataSize='1400' Exclusive-ID='0' />";
constexpr const wchar_t* kElement = L"ServiceProtocol";

// Header offsets.
constexpr unsigned int kCommand = 0;
constexpr unsigned int kTransaction = 2;
constexpr unsigned int kFragmentNumber = 4;
constexpr unsigned int kFragmentCount = 6;
constexpr unsigned int kStatus = 12;
constexpr unsigned int kFlags = 14;
constexpr unsigned int kLength = 16;

unsigned short Get16(const unsigned char* bytes, unsigned int offset)
{
    return static_cast<unsigned short>(bytes[offset] | (bytes[offset + 1] << 8));
}

void Put16(unsigned char* bytes, unsigned int offset, unsigned short value)
{
    bytes[offset] = static_cast<unsigned char>(value & 0xFF);
    bytes[offset + 1] = static_cast<unsigned char>(value >> 8);
}

void Put32(unsigned char* bytes, unsigned int offset, std::uint32_t value)
{
    for (unsigned int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

unsigned short ByteSum(const unsigned char* bytes, unsigned int length)
{
    unsigned int sum = 0;
    for (unsigned int i = 0; i < length; ++i)
        sum += bytes[i];
    return static_cast<unsigned short>(sum & 0xFFFF);
}

// The retry bounds of one fragmented transfer. Each restart from an earlier
// fragment resets the retries of that fragment, so restarts need a bound of
// their own.
class CRetryBudget {
public:
    CRetryBudget(const wchar_t* message, LONG step, unsigned short maxRetries, unsigned short fragments)
        : m_message(message)
        , m_step(step)
        , m_maxRetries(maxRetries)
        , m_maxRestarts((static_cast<unsigned long>(maxRetries) + 1) * fragments)
    {
    }

    // Counts an answer that was not good; true when the transfer goes back
    // to the earlier fragment the device asked to resend from. Passing
    // either bound throws.
    bool Failed(unsigned int& retries, unsigned short resendFrom, unsigned short& n)
    {
        if (++retries > m_maxRetries)
            throw Exceeded(static_cast<LONG>(retries));
        if (resendFrom == 0 || resendFrom >= n)
            return false;
        if (++m_restarts > m_maxRestarts)
            throw Exceeded(static_cast<LONG>(m_restarts));
        n = resendFrom;
        retries = 0;
        return true;
    }

private:
    CServiceException Exceeded(LONG count) const
    {
        return CServiceException(m_message, m_step, CServiceException::GroupNumberOfRetriesExceeded, count, 0);
    }

    const wchar_t* m_message = L"";
    LONG m_step = 0;
    unsigned short m_maxRetries = 0;
    unsigned long m_maxRestarts = 0;
    unsigned long m_restarts = 0;
};

// Decimal, or hexadecimal behind "0x"/"0X"; nothing when the text is no
// number or does not fit in `limit`.
std::optional<std::uint32_t> ParseNumber(const std::wstring& text, std::uint32_t limit)
{
    const std::wstring trimmed = Trim(text);
    int base = 10;
    std::wstring digits = trimmed;
    if (digits.size() > 2 && digits[0] == L'0' && (digits[1] == L'x' || digits[1] == L'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    if (digits.empty() || !std::iswxdigit(digits[0]))
        return std::nullopt;
    wchar_t* end = nullptr;
    errno = 0;
    const unsigned long long value = std::wcstoull(digits.c_str(), &end, base);
    if (errno != 0 || !end || *end != L'\0' || value > limit)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// Holds the connection to one request's bounds for as long as it runs.
class CRequestBounds {
public:
    CRequestBounds(IConnection& connection, unsigned int length, unsigned int maxAnnounced) : m_connection(connection)
    {
        m_connection.BeginRequest(length, maxAnnounced);
    }
    ~CRequestBounds() { m_connection.EndRequest(); }
    CRequestBounds(const CRequestBounds&) = delete;
    CRequestBounds& operator=(const CRequestBounds&) = delete;

private:
    IConnection& m_connection;
};

// The checks whose failure says the answer arrived in a form no device
// sends, as opposed to the device reporting an error or not answering.
unsigned long AnswerFaultOf(const CServiceException& error)
{
    switch (error.m_usGroup) {
    case CServiceException::GroupAnswerTooLong:
        return kErrorAnswerTooLong;
    case CServiceException::GroupDataSizeTooLarge:
    case CServiceException::GroupNumberOfPacketNotValid:
    case CServiceException::GroupWrongChecksum:
    case CServiceException::GroupWrongIdentifier:
    case CServiceException::GroupDifferentRequestNumber:
    case CServiceException::GroupDifferentFragmentNumber:
    case CServiceException::GroupDifferentTotalFragmentNumber:
    case CServiceException::GroupAnswerTooShort:
        return kErrorMalformedAnswer;
    default:
        return 0;
    }
}

std::wstring T(const wchar_t* key)
{
    return GetLanguageSupport().GetText(_bstr_t(key)).wstr();
}

std::wstring InfoBlock(const std::wstring& function, const wchar_t* message)
{
    return std::wstring(L"\n*************************** INFO ****************************\n")
        + L"  Class:\t\tCServiceProtocol\n" + L"  Function:\t" + function + L" )\n" + L"  Message:\t" + message + L"\n"
        + L"*************************************************************\n\n";
}

void TraceComError(const wchar_t* function, const _com_error& error)
{
    DebugTrace(L"%s failed!\n\n", function);
    DebugTrace(L"_com_error\n");
    DebugTrace(L"Code    = 0x%08x\n", static_cast<unsigned int>(error.Error()));
    DebugTrace(L"Meaning = %s\n", error.ErrorMessage().c_str());
}

}

CServiceProtocol::CServiceProtocol(IConnection* connection_) : CProtocolBase(connection_)
{
    Construct();
}

CServiceProtocol::CServiceProtocol(IConnection* connection_, bool ownsConnection_)
    : CProtocolBase(connection_, ownsConnection_)
{
    Construct();
}

void CServiceProtocol::Construct()
{
    try {
        SetDefaultSettings(kDefaultSettings);
    } catch (...) {
        // The base would delete an owned connection that the caller still
        // holds after a failed construction.
        m_ownsConnection = false;
        throw;
    }
}

std::wstring CServiceProtocol::GetDriverInfo() const
{
    return L"1.0";
}

void CServiceProtocol::RecomputeFrameCapacity()
{
    m_frameCapacity = std::uint32_t{m_maxFragmentDataSize} + kHeaderSize + m_checksumLength;
}

// ---------------------------------------------------------------- sizes

unsigned int CServiceProtocol::CalculateCurrentFragDataLen() const
{
    // A buffer smaller than the Exclusive-ID leaves no room for data.
    const unsigned int overhead = GetExclusiveModeOffset() + GetRoutingOffset();
    return m_maxFragmentDataSize > overhead ? m_maxFragmentDataSize - overhead : 0;
}

unsigned short CServiceProtocol::CalculateNumberOfFragments(unsigned int length) const
{
    const unsigned int size = CalculateCurrentFragDataLen();
    if (size == 0)
        throw CServiceException(L"CalculateNumberOfFragments failed!", CServiceException::StepNumberOfFragments,
                                CServiceException::GroupDataSizeNotAllowed, 0, 0);
    const unsigned int full = length / size;
    const std::uint64_t needed = std::uint64_t{full} + (length % size != 0 ? 1 : 0);
    if (needed > 65535)
        throw CServiceException(L"CalculateNumberOfFragments failed!", CServiceException::StepNumberOfFragments,
                                CServiceException::GroupNumberOfFragmentsExceeded, static_cast<LONG>(full), 0);
    return needed == 0 ? 1 : static_cast<unsigned short>(needed);
}

void CServiceProtocol::CalculateFragLen(unsigned int length, unsigned short fragment, unsigned int& frameLength,
                                        unsigned int& dataLength) const
{
    const unsigned int size = CalculateCurrentFragDataLen();
    if (length == 0) {
        frameLength = kHeaderSize + GetExclusiveModeOffset();
        dataLength = 0;
        return;
    }
    const unsigned int remaining = length - size * (fragment - 1u);
    if (remaining > size) {
        dataLength = size;
        frameLength = kHeaderSize + GetExclusiveModeOffset() + GetRoutingOffset() + size;
    } else {
        dataLength = remaining;
        frameLength = kHeaderSize + GetExclusiveModeOffset() + remaining;
    }
}

// ---------------------------------------------------------------- frames

void CServiceProtocol::PrepareReqHeader(unsigned short command)
{
    ++m_transactionCounter;
    m_headerTemplate.fill(0);
    Put16(m_headerTemplate.data(), kCommand, command);
    Put16(m_headerTemplate.data(), kTransaction, m_transactionCounter);
    Put16(m_headerTemplate.data(), kFragmentNumber, 1);
    Put16(m_headerTemplate.data(), kFragmentCount, 1);
}

CServiceProtocol::Frame CServiceProtocol::NewFrame() const
{
    const std::size_t size = std::max<std::size_t>(m_frameCapacity, kHeaderSize + GetExclusiveIDSize() + m_checksumLength);
    Frame frame(size, 0);
    std::memcpy(frame.data(), m_headerTemplate.data(), kHeaderSize);
    return frame;
}

void CServiceProtocol::FillFragment(Frame& frame, unsigned short fragment, unsigned short count,
                                    const unsigned char* data, unsigned int dataLength, bool readBack) const
{
    unsigned char* bytes = frame.data();
    Put16(bytes, kLength, static_cast<unsigned short>(GetExclusiveModeOffset() + GetRoutingOffset() + dataLength));
    Put16(bytes, kFragmentNumber, fragment);
    Put16(bytes, kFragmentCount, count);
    unsigned short flags = Get16(bytes, kFlags);
    const unsigned short multiple = readBack ? kFlagReadBack : kFlagSending;
    flags = count >= 2 ? (flags | multiple) : (flags & ~multiple);
    if (m_exclusiveId != 0) {
        flags |= kFlagExclusive;
        Put32(bytes, kHeaderSize, m_exclusiveId);
    } else {
        flags &= ~kFlagExclusive;
    }
    Put16(bytes, kFlags, flags);
    if (data && dataLength != 0) {
        const std::size_t from = std::size_t{CalculateCurrentFragDataLen()} * (fragment - 1u);
        std::memcpy(bytes + kHeaderSize + GetExclusiveModeOffset() + GetRoutingOffset(), data + from, dataLength);
    }
}

void CServiceProtocol::WriteFragment(Frame& frame, unsigned int frameLength)
{
    if (m_checksumLength != 0) {
        Put16(frame.data(), frameLength, ByteSum(frame.data(), frameLength));
        frameLength += m_checksumLength;
    }
    unsigned int written = 0;
    m_connection->Write(frame.data(), frameLength, &written);
}

CServiceProtocol::Fragment CServiceProtocol::ReadFragment()
{
    unsigned char* raw = nullptr;
    unsigned int length = 0;
    const bool read = m_connection->ReadFragment(&raw, kLength, 2, static_cast<short>(m_checksumLength), &length);
    Fragment fragment{std::unique_ptr<unsigned char[]>(raw), length};
    if (!read || !raw || length < kHeaderSize + m_checksumLength)
        throw CServiceException(L"ReadFragment failed!", CServiceException::StepReadFragment,
                                CServiceException::GroupReadingFailed, 0, 0);
    if (m_checksumLength != 0) {
        fragment.length -= m_checksumLength;
        const unsigned short computed = ByteSum(raw, fragment.length);
        const unsigned short received = Get16(raw, fragment.length);
        if (computed != received) {
            std::wstring dump = L"CheckSum Error\n";
            for (unsigned int i = 0; i < length; ++i)
                dump += FormatW(L"%02x ", static_cast<unsigned int>(raw[i]));
            DebugTrace(L"%s", dump.c_str());
            throw CServiceException(L"ReadFragment failed!", CServiceException::StepReadFragment,
                                    CServiceException::GroupWrongChecksum, computed, received);
        }
    }
    return fragment;
}

unsigned short CServiceProtocol::RetrieveNextFragmentNumber(const Fragment& answer)
{
    const unsigned char* bytes = answer.bytes.get();
    const unsigned short flags = Get16(bytes, kFlags);
    unsigned int skip = 0;
    if (flags & kFlagExclusive)
        skip += GetExclusiveIDSize();
    const unsigned int length = Get16(bytes, kLength);
    const unsigned int dataLength = length > skip ? length - skip : 0;
    if (dataLength >= 6 && kHeaderSize + skip + 6 <= answer.length)
        return Get16(bytes, kHeaderSize + skip + 4);
    return Get16(bytes, kFragmentNumber);
}

bool CServiceProtocol::CheckResponse(const Frame& request, const Fragment& answer, unsigned short& resendFrom) const
{
    const unsigned char* req = request.data();
    const unsigned char* ans = answer.bytes.get();
    static constexpr struct {
        unsigned int offset;
        USHORT group;
    } kEchoes[] = {
        {kCommand, CServiceException::GroupWrongIdentifier},
        {kTransaction, CServiceException::GroupDifferentRequestNumber},
        {kFragmentNumber, CServiceException::GroupDifferentFragmentNumber},
        {kFragmentCount, CServiceException::GroupDifferentTotalFragmentNumber},
    };
    for (const auto& echo : kEchoes) {
        const unsigned short expected = Get16(req, echo.offset);
        const unsigned short received = Get16(ans, echo.offset);
        if (expected != received)
            throw CServiceException(L"CheckResponse failed!", CServiceException::StepCheckResponse, echo.group,
                                    received, expected);
    }

    const unsigned short requestFlags = Get16(req, kFlags);
    const unsigned short flags = Get16(ans, kFlags);
    const unsigned short status = Get16(ans, kStatus);
    bool good = false;
    if (flags == requestFlags) {
        good = status == Get16(req, kStatus);
    } else if (flags & kFlagError) {
        if (status != kStatusRepeat)
            throw CServiceException(L"CheckResponse failed!", CServiceException::StepCheckResponse,
                                    CServiceException::GroupStatusBitfieldAbort, status, 0);
    } else if (flags & kFlagAccepted) {
        good = true;
    } else if (flags & kFlagResend) {
        const unsigned short from = RetrieveNextFragmentNumber(answer);
        if (from == 0 || from > Get16(ans, kFragmentCount) || from > Get16(ans, kFragmentNumber))
            throw CServiceException(L"WriteFragmented failed!", CServiceException::StepWriteFragmented,
                                    CServiceException::GroupNumberOfPacketNotValid, from, 0);
        resendFrom = from;
    } else if ((flags & kFlagExclusive) != (requestFlags & kFlagExclusive)) {
        good = (requestFlags & kFlagExclusive) && !(flags & kFlagExclusive);
    } else {
        good = (flags & kFlagReadBack) && !(requestFlags & kFlagReadBack);
    }
    if (!good)
        DebugTrace(L"%s failed\n", L"ZELL::CServiceProtocol::CheckResponse");
    return good;
}

void CServiceProtocol::SendProgress(const unsigned char* fragment, ProgressCallback progress, void* context)
{
    if (!progress || !context)
        return;
    const unsigned short count = Get16(fragment, kFragmentCount);
    if (count == 0)
        return;
    const unsigned int percent = Get16(fragment, kFragmentNumber) * 100u / count;
    if (percent > m_lastProgress) {
        m_lastProgress = static_cast<unsigned short>(percent);
        progress(m_lastProgress, true, context);
    }
}

// ---------------------------------------------------------------- transfers

bool CServiceProtocol::WriteFragmented(unsigned char* data, unsigned int length, unsigned char** answer,
                                       unsigned int& answerLength, ProgressCallback progress, void* context)
{
    ResetProgress();
    const unsigned short count = CalculateNumberOfFragments(length);
    Frame frame = NewFrame();
    Fragment last;
    bool good = false;
    unsigned short resendFrom = 0;
    CRetryBudget budget(L"WriteFragmented failed!", CServiceException::StepWriteFragmented, m_maxRetries, count);

    unsigned short n = 0;
    do {
        ++n;
        unsigned int retries = 0;
        do {
            unsigned int frameLength = 0;
            unsigned int dataLength = 0;
            CalculateFragLen(length, n, frameLength, dataLength);
            FillFragment(frame, n, count, data, dataLength, false);
            WriteFragment(frame, frameLength);
            SendProgress(frame.data(), progress, context);
            last = ReadFragment();
            resendFrom = 0;
            good = CheckResponse(frame, last, resendFrom);
            if (!good)
                budget.Failed(retries, resendFrom, n);
        } while (Get16(last.bytes.get(), kFlags) & kFlagResend);
    } while (n < count && good);

    // A transfer that ended on an answer that was not good did not reach
    // the device whole.
    if (!good)
        throw CServiceException(L"WriteFragmented failed!", CServiceException::StepWriteFragmented,
                                CServiceException::GroupStatusBitfieldAbort, Get16(last.bytes.get(), kStatus), 0);

    const unsigned char* bytes = last.bytes.get();
    const unsigned short flags = Get16(bytes, kFlags);
    const unsigned int skip = ((flags & kFlagExclusive) ? GetExclusiveIDSize() : 0u)
        + ((flags & kFlagRouting) ? GetRoutingOffset() : 0u);
    const unsigned int answerDataLength = Get16(bytes, kLength);
    if (answerDataLength < skip)
        throw CServiceException(L"WriteFragmented failed!", CServiceException::StepWriteFragmented,
                                CServiceException::GroupAnswerTooShort, static_cast<LONG>(answerDataLength), skip);
    const unsigned int size = answerDataLength - skip;
    auto copy = std::make_unique<unsigned char[]>(size == 0 ? 1 : size);
    if (size != 0)
        std::memcpy(copy.get(), bytes + kHeaderSize + skip, size);
    delete[] *answer;
    *answer = copy.release();
    answerLength = size;
    return (flags & kFlagReadBack) != 0;
}

// Refuses, before anything is fetched, a long answer of no fragments (an
// empty buffer must not be filled) or of more than the longest answer of
// any service needs.
void CServiceProtocol::CheckAnswerTotal(unsigned short total) const
{
    if (total == 0)
        throw CServiceException(L"ReadFragmented failed!", CServiceException::StepReadFragmented,
                                CServiceException::GroupNumberOfPacketNotValid, 0, 0);
    const unsigned int size = CalculateCurrentFragDataLen();
    if (size == 0)
        throw CServiceException(L"ReadFragmented failed!", CServiceException::StepReadFragmented,
                                CServiceException::GroupDataSizeNotAllowed, 0, 0);
    const unsigned int needed = (kMaxServiceAnswerSize + size - 1) / size;
    if (total > needed) {
        const std::uint64_t announced = std::uint64_t{total} * size;
        throw CServiceException(L"ReadFragmented failed!", CServiceException::StepReadFragmented,
                                CServiceException::GroupAnswerTooLong,
                                static_cast<LONG>(std::min<std::uint64_t>(announced, 0x7FFFFFFF)),
                                kMaxServiceAnswerSize);
    }
}

void CServiceProtocol::ReadFragmented(unsigned short total, unsigned char** answer, unsigned int& answerLength,
                                      ProgressCallback progress, void* context)
{
    ResetProgress();
    CheckAnswerTotal(total);
    Frame frame = NewFrame();
    const std::size_t capacity = std::size_t{m_maxFragmentDataSize} * total;
    std::unique_ptr<unsigned char[]> collected(new (std::nothrow) unsigned char[capacity == 0 ? 1 : capacity]());
    if (!collected)
        throw CServiceException(L"ReadFragmented failed!", CServiceException::StepReadFragmented,
                                CServiceException::GroupNotEnoughMemory, 0, 0);
    delete[] *answer;
    *answer = nullptr;
    answerLength = 0;

    // Where the data of each fragment begin, so that a restart from an
    // earlier fragment replaces data instead of appending them again.
    std::vector<std::size_t> starts(std::size_t{total} + 2, 0);
    std::size_t held = 0;
    CRetryBudget budget(L"ReadFragmented failed!", CServiceException::StepReadFragmented, m_maxRetries, total);
    Fragment last;
    bool good = false;
    unsigned short resendFrom = 0;

    unsigned short n = 0;
    do {
        ++n;
        unsigned int retries = 0;
        do {
            starts[n] = held;
            FillFragment(frame, n, total, nullptr, 0, true);
            WriteFragment(frame, kHeaderSize + GetExclusiveModeOffset());
            last = ReadFragment();
            resendFrom = 0;
            good = CheckResponse(frame, last, resendFrom);
            const unsigned char* bytes = last.bytes.get();
            if (good) {
                SendProgress(bytes, progress, context);
                const unsigned int length = Get16(bytes, kLength);
                if (length > m_maxFragmentDataSize)
                    throw CServiceException(L"ReadFragmented failed!", CServiceException::StepReadFragmented,
                                            CServiceException::GroupDataSizeTooLarge, static_cast<LONG>(length),
                                            m_maxFragmentDataSize);
                const unsigned short flags = Get16(bytes, kFlags);
                const unsigned int skip = ((flags & kFlagExclusive) ? GetExclusiveIDSize() : 0u)
                    + ((flags & kFlagRouting) ? GetRoutingOffset() : 0u);
                if (length < skip)
                    throw CServiceException(L"ReadFragmented failed!", CServiceException::StepReadFragmented,
                                            CServiceException::GroupAnswerTooShort, static_cast<LONG>(length), skip);
                const unsigned int size = length - skip;
                if (held + size > capacity)
                    throw CServiceException(L"ReadFragmented failed!", CServiceException::StepReadFragmented,
                                            CServiceException::GroupDataSizeTooLarge,
                                            static_cast<LONG>(held + size), static_cast<ULONG>(capacity));
                if (size != 0)
                    std::memcpy(collected.get() + held, bytes + kHeaderSize + skip, size);
                held += size;
            } else if (budget.Failed(retries, resendFrom, n)) {
                held = starts[n];
            }
        } while (Get16(last.bytes.get(), kFlags) & kFlagResend);
    } while (n < total && good);

    if (!good)
        throw CServiceException(L"ReadFragmented failed!", CServiceException::StepReadFragmented,
                                CServiceException::GroupStatusBitfieldAbort, Get16(last.bytes.get(), kStatus), 0);
    *answer = collected.release();
    answerLength = static_cast<unsigned int>(held);
}

bool CServiceProtocol::Request(unsigned char* data, unsigned int length, unsigned char** answer,
                               unsigned int& answerLength, ProgressCallback progress, void* context)
{
    return Request(m_protocolId, data, length, answer, answerLength, progress, context);
}

bool CServiceProtocol::Request(unsigned short command, unsigned char* data, unsigned int length,
                               unsigned char** answer, unsigned int& answerLength, ProgressCallback progress,
                               void* context)
{
    try {
        m_lastErrorMessage.clear();
        m_answerFault = 0;
        if (!m_connection || !answer)
            throw CServiceException(L"WriteFragmented failed!", CServiceException::StepWriteFragmented,
                                    CServiceException::GroupReadingFailed, 0, 0);
        if (!data && length != 0)
            throw CZellException(L"CServiceProtocol::Request( ) failed: no request data", 0);
        // However many fragments go back and forth and whatever an answer
        // announces, a failing request ends within the connection's time-out.
        const CRequestBounds bounds(*m_connection, length, m_maxFragmentDataSize);
        PrepareReqHeader(command);
        if (WriteFragmented(data, length, answer, answerLength, progress, context) && answerLength >= 6) {
            const unsigned short total = Get16(*answer, 4);
            answerLength = 0;
            ReadFragmented(total, answer, answerLength, nullptr, nullptr);
        }
        return true;
    } catch (...) {
        return HandleException(L"CServiceProtocol::Request( ) failed!\n\n", 1);
    }
}

bool CServiceProtocol::RawRequest(unsigned char* data, unsigned int length, unsigned char** answer,
                                  unsigned int& answerLength)
{
    try {
        m_lastErrorMessage.clear();
        if (!m_connection || !answer)
            throw CServiceException(L"ReadFragment failed!", CServiceException::StepReadFragment,
                                    CServiceException::GroupReadingFailed, 0, 0);
        const CRequestBounds bounds(*m_connection, length, 0);
        unsigned int written = 0;
        m_connection->Write(data, length, &written);
        delete[] *answer;
        *answer = new unsigned char[answerLength == 0 ? 1 : answerLength]();
        unsigned int read = 0;
        m_connection->Read(*answer, answerLength, &read);
        if (read < answerLength)
            answerLength = read;
        return true;
    } catch (...) {
        if (answer) {
            delete[] *answer;
            *answer = nullptr;
        }
        answerLength = 0;
        return HandleException(L"CServiceProtocol::RawRequest( ) failed!\n\n", 11);
    }
}

// Called from a catch block: the exception in flight becomes the last
// error message and command error.
bool CServiceProtocol::HandleException(const wchar_t* unknownPrefix, unsigned short code)
{
    try {
        throw;
    } catch (CServiceException& error) {
        m_lastErrorMessage = error.GetText();
        m_answerFault = AnswerFaultOf(error);
        if (m_answerFault != 0 || error.m_usGroup == CServiceException::GroupReadingFailed)
            DropUnreadAnswer();
    } catch (CConnectionException& error) {
        m_lastErrorMessage = error.GetText();
        DebugTrace(L"%s", m_lastErrorMessage.c_str());
    } catch (CZellException& error) {
        m_lastErrorMessage = error.GetText();
        if (m_lastErrorMessage.empty())
            m_lastErrorMessage = error.m_szMessage;
        DebugTrace(L"%s", m_lastErrorMessage.c_str());
    } catch (...) {
        m_lastErrorMessage = std::wstring(unknownPrefix) + T(L"SERVICE_PROT_UNKNOWN_EXCEPTION") + L".\n";
        DebugTrace(L"%s", m_lastErrorMessage.c_str());
    }
    m_lastCommandError = code;
    return false;
}

// Whatever is left of an answer that was refused would be read as the
// answer to the next request.
void CServiceProtocol::DropUnreadAnswer()
{
    try {
        if (m_connection && m_connection->IsOpen())
            m_connection->ClearBuffer();
    } catch (...) {
        // The request has failed already; its error stands.
    }
}

unsigned long CServiceProtocol::TakeAnswerFault()
{
    return std::exchange(m_answerFault, 0ul);
}

// ---------------------------------------------------------------- settings

std::wstring CServiceProtocol::GetSettingsXML() const
{
    return FormatW(L"<?xml version='1.0'?><ServiceProtocol Protocol-ID='%u' ChecksumLength='%u' MaxRetries='%u' "
                   L"MaxFragmentDataSize='%u' RoutingInfo='%u' Exclusive-ID='%u' />",
                   static_cast<unsigned int>(m_protocolId), static_cast<unsigned int>(m_checksumLength),
                   static_cast<unsigned int>(m_maxRetries), static_cast<unsigned int>(m_maxFragmentDataSize),
                   static_cast<unsigned int>(m_routingInfo), static_cast<unsigned int>(m_exclusiveId));
}

bool CServiceProtocol::SetSettingsXML(std::wstring xml)
{
    std::optional<Xml::CXmlNode> element;
    CXMLDOMHelper helper("Msxml2.DOMDocument");
    try {
        if (!helper.LoadXml(xml)) {
            DebugTrace(L"\n############################# ERROR #############################\n");
            DebugTrace(L"###  Class:     CServiceProtocol\n");
            DebugTrace(L"###  Function:  SetSettingsXML( )\n");
            DebugTrace(L"###  Error:     xmlDOMHelper.LoadByString( ) failed for\n");
            DebugTrace(L"###             %s", xml.c_str());
            DebugTrace(L"#################################################################\n\n");
            throw CServiceException(L"SetSettingsXML failed!", CServiceException::StepSetSettingsXML,
                                    CServiceException::GroupPassedString, 0, 0, xml.c_str());
        }
        element = helper.m_xmlDoc->SelectSingleNode(L"//ServiceProtocol");
    } catch (const _com_error& error) {
        TraceComError(L"CServiceProtocol::SetSettingsXML( )", error);
        return false;
    }
    if (!element || element->IsNull())
        return false;

    auto read = [&](const wchar_t* name, std::uint32_t limit) -> std::optional<std::uint32_t> {
        const std::optional<std::wstring> text = element->GetAttribute(name);
        return text ? ParseNumber(*text, limit) : std::nullopt;
    };
    constexpr std::uint32_t k16 = 0xFFFF;
    constexpr std::uint32_t k32 = std::numeric_limits<std::uint32_t>::max();
    const auto newProtocolId = read(L"Protocol-ID", k16);
    const auto newChecksum = read(L"ChecksumLength", k16);
    const auto newRetries = read(L"MaxRetries", k16);
    const auto newFragmentSize = read(L"MaxFragmentDataSize", k16);
    const auto newRouting = read(L"RoutingInfo", k32);
    const auto newExclusive = read(L"Exclusive-ID", k32);
    // The checksum is a 16-bit sum; any other length has no content.
    if (newChecksum && *newChecksum != 0 && *newChecksum != 2)
        return false;
    if (newProtocolId)
        m_protocolId = static_cast<unsigned short>(*newProtocolId);
    if (newChecksum)
        m_checksumLength = static_cast<unsigned short>(*newChecksum);
    if (newRetries)
        m_maxRetries = static_cast<unsigned short>(*newRetries);
    if (newFragmentSize)
        m_maxFragmentDataSize = static_cast<unsigned short>(*newFragmentSize);
    if (newRouting)
        m_routingInfo = *newRouting;
    if (newExclusive)
        m_exclusiveId = *newExclusive;
    RecomputeFrameCapacity();
    return true;
}

std::wstring CServiceProtocol::GetSettingsString() const
{
    return FormatW(L"%u; %u; %u; %u; %u; ", static_cast<unsigned int>(m_protocolId),
                   static_cast<unsigned int>(m_checksumLength), static_cast<unsigned int>(m_maxRetries),
                   static_cast<unsigned int>(m_maxFragmentDataSize), static_cast<unsigned int>(m_routingInfo));
}

std::wstring CServiceProtocol::GetSettingsValue(const wchar_t* name)
{
    const std::wstring xml = GetSettingsXML();
    CXMLDOMHelper helper("Msxml2.DOMDocument");
    try {
        if (!helper.LoadXml(xml))
            throw CServiceException(L"GetSettingsXML failed!", CServiceException::StepGetSettingsValue,
                                    CServiceException::GroupCreatedString, 0, 0, xml.c_str());
        const Xml::CXmlNode element = helper.m_xmlDoc->SelectSingleNode(L"//ServiceProtocol");
        if (element.IsNull() || !name)
            return L"ERROR";
        const std::optional<std::wstring> value = element.GetAttribute(name);
        return value ? *value : std::wstring(L"ERROR");
    } catch (const _com_error& error) {
        TraceComError(L"CServiceProtocol::GetSettingsXML( )", error);
        return L"ERROR";
    }
}

bool CServiceProtocol::LoadSettingsRegistry(std::wstring name)
{
    const wutils::CRegistryEx registry(name);
    auto read16 = [&](const wchar_t* value, unsigned short current) {
        const DWORD read = registry.GetDWordValue(kElement, value, current);
        return read <= 0xFFFF ? static_cast<unsigned short>(read) : current;
    };
    m_protocolId = read16(L"Protocol-ID", m_protocolId);
    const unsigned short checksum = read16(L"ChecksumLength", m_checksumLength);
    if (checksum == 0 || checksum == 2)
        m_checksumLength = checksum;
    m_maxRetries = read16(L"MaxRetries", m_maxRetries);
    m_maxFragmentDataSize = read16(L"MaxFragmentDataSize", m_maxFragmentDataSize);
    RecomputeFrameCapacity();
    m_routingInfo = registry.GetDWordValue(kElement, L"RoutingInfo", m_routingInfo);
    return true;
}

bool CServiceProtocol::SaveSettingsRegistry(std::wstring name)
{
    const wutils::CRegistryEx registry(name);
    registry.SetDWordValue(kElement, L"Protocol-ID", m_protocolId);
    registry.SetDWordValue(kElement, L"ChecksumLength", m_checksumLength);
    registry.SetDWordValue(kElement, L"MaxRetries", m_maxRetries);
    registry.SetDWordValue(kElement, L"MaxFragmentDataSize", m_maxFragmentDataSize);
    registry.SetDWordValue(kElement, L"RoutingInfo", m_routingInfo);
    return true;
}

bool CServiceProtocol::LoadSettingsXML(std::wstring name)
{
    m_lastErrorMessage =
        InfoBlock(L"LoadSettingsXML(" + name, L"Loading settings from XML-File not yet implemented!");
    DebugTrace(L"%s", m_lastErrorMessage.c_str());
    m_lastCommandError = 9;
    return false;
}

bool CServiceProtocol::SaveSettingsXML(std::wstring name)
{
    m_lastErrorMessage = InfoBlock(L"SaveSettingsXML(" + name, L"Saving settings to XML-File not yet implemented!");
    DebugTrace(L"%s", m_lastErrorMessage.c_str());
    m_lastCommandError = 10;
    return false;
}

}
