#include "Common/Communication/RS232Connection.h"

#include "Common/SystemHelper/Values/StringUtils.h"
#include "Platform/Base/LastError.h"
#include "Platform/Base/Synchronization.h"
#include "Platform/Base/WinError.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace ZELL {

namespace {

template <typename Value>
struct NameEntry {
    const wchar_t* name;
    Value value;
};

constexpr NameEntry<BYTE> kParity[] = {{L"None", NOPARITY}, {L"Odd", ODDPARITY},   {L"Even", EVENPARITY},
                                       {L"Mark", MARKPARITY}, {L"Space", SPACEPARITY}, {L"N", NOPARITY},
                                       {L"O", ODDPARITY},     {L"E", EVENPARITY},      {L"M", MARKPARITY},
                                       {L"S", SPACEPARITY}};
constexpr NameEntry<DWORD> kDtrControl[] = {
    {L"Disable", DTR_CONTROL_DISABLE}, {L"Enable", DTR_CONTROL_ENABLE}, {L"Handshake", DTR_CONTROL_HANDSHAKE}};
constexpr NameEntry<DWORD> kRtsControl[] = {{L"Disable", RTS_CONTROL_DISABLE},
                                            {L"Enable", RTS_CONTROL_ENABLE},
                                            {L"Handshake", RTS_CONTROL_HANDSHAKE},
                                            {L"Toggle", RTS_CONTROL_TOGGLE}};
constexpr NameEntry<BYTE> kStopBits[] = {{L"1", ONESTOPBIT}, {L"1.5", ONE5STOPBITS}, {L"2", TWOSTOPBITS}};

template <typename Value, std::size_t N>
bool FindName(const NameEntry<Value> (&table)[N], const std::wstring& name, Value& value)
{
    for (const auto& entry : table)
        if (CompareNoCase(name, entry.name) == 0) {
            value = entry.value;
            return true;
        }
    return false;
}

template <typename Value, std::size_t N>
bool FindValue(const NameEntry<Value> (&table)[N], Value value, std::wstring& name)
{
    for (const auto& entry : table)
        if (entry.value == value) {
            name = entry.name;
            return true;
        }
    return false;
}

// Closes the event of an overlapped request on every way out.
class EventHandle {
public:
    EventHandle() : m_handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~EventHandle()
    {
        if (m_handle)
            CloseHandle(m_handle);
    }
    EventHandle(const EventHandle&) = delete;
    EventHandle& operator=(const EventHandle&) = delete;
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle = nullptr;
};

// How one overlapped transfer reports its failures and is waited for.
struct OverlappedCall {
    const wchar_t* function = L"";
    int step = 0;
    const wchar_t* startFailure = L"";
    DWORD waitMs = 0;
    DWORD purgeOnTimeout = 0;
};

// The byte count of an overlapped transfer, waiting when it was left
// pending. The port's own total time-out ends the request; the wait only
// guards against a driver that never completes it.
DWORD FinishOverlapped(HANDLE port, BOOL started, DWORD count, OVERLAPPED& overlapped, const OverlappedCall& call)
{
    if (started)
        return count;
    const DWORD error = GetLastError();
    if (error != ERROR_IO_PENDING)
        throw CRS232ConnectionException(call.function, call.step, call.startFailure,
                                        error | CRS232Connection::kTransferFailure);
    const DWORD result = WaitForSingleObject(overlapped.hEvent, call.waitMs);
    if (result == WAIT_TIMEOUT) {
        // Ends the request so the next one does not queue behind it.
        PurgeComm(port, call.purgeOnTimeout);
        throw CRS232ConnectionException(call.function, call.step, L"WaitForSingleObject() timed out!",
                                        CRS232Connection::kTransferTimeout);
    }
    if (result != WAIT_OBJECT_0)
        throw CRS232ConnectionException(call.function, call.step, L"WaitForSingleObject() failed!",
                                        GetLastError() | CRS232Connection::kTransferFailure);
    if (!GetOverlappedResult(port, &overlapped, &count, FALSE))
        throw CRS232ConnectionException(call.function, call.step, L"GetOverlappedResult() failed!",
                                        GetLastError() | CRS232Connection::kTransferFailure);
    return count;
}

}

const wchar_t* const CRS232Connection::kDefaultSettings =
    L"<?xml version='1.0'?>             <RS232 device='COM1'             baudrate='19200'             "
    L"parity='even'             databits='8'             stopbits='1'             timeout='15000'             "
    L"inbuf-size='4096'             outbuf-size='4096'            dsr_flow='false'             "
    L"cts_flow='false'             dtr_control='disable'             rts_control='disable'             "
    L"asynchron='true'             RestartTimeoutSeconds='10'            ChecksumLength='0'             />";

CRS232Connection::CRS232Connection()
{
    SetStorageProperties(L"", Registry);
    SetDefaultSettings(kDefaultSettings);
}

CRS232Connection::CRS232Connection(const CRS232Connection& other)
    : CConnectionBase(other)
    , m_settings(other.m_settings)
    , m_lastCommandError(other.m_lastCommandError)
    , m_lastErrorMessage(other.m_lastErrorMessage)
{
}

CRS232Connection& CRS232Connection::operator=(const CRS232Connection& other)
{
    if (this != &other) {
        // The port stays with the object that opened it.
        CConnectionBase::operator=(other);
        m_settings = other.m_settings;
        m_lastCommandError = other.m_lastCommandError;
        m_lastErrorMessage = other.m_lastErrorMessage;
    }
    return *this;
}

std::uint16_t CRS232Connection::ByteSum(const unsigned char* data, std::size_t length)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < length; ++i)
        sum += data[i];
    return static_cast<std::uint16_t>(sum);
}

void CRS232Connection::Fail(const CRS232ConnectionException& error)
{
    SetLastErrorCode(error.m_error);
    SetLastError(error.m_error);
    CRS232ConnectionException copy(error);
    m_lastErrorMessage = copy.GetText();
}

// ------------------------------------------------------------- Name tables

void CRS232Connection::ReportInvalidName(const wchar_t* function)
{
    SetLastError(kInvalidValue);
    m_lastErrorMessage = std::wstring(L"ERROR: CRS232Connection::") + function + L"() -> Invalid parameter value!";
    DebugTrace(L"%s\n", m_lastErrorMessage.c_str());
}

BYTE CRS232Connection::ParityToDCBValue(const std::wstring& name)
{
    BYTE value = 0;
    if (!FindName(kParity, name, value))
        ReportInvalidName(L"ParityToDCBValue");
    return value;
}

DWORD CRS232Connection::DTRControlToDCBValue(const std::wstring& name)
{
    DWORD value = 0;
    if (!FindName(kDtrControl, name, value))
        ReportInvalidName(L"DTRControlToDCBValue");
    return value;
}

DWORD CRS232Connection::RTSControlToDCBValue(const std::wstring& name)
{
    DWORD value = 0;
    if (!FindName(kRtsControl, name, value))
        ReportInvalidName(L"RTSControlToDCBValue");
    return value;
}

BYTE CRS232Connection::StopbitsToDCBValue(const std::wstring& name)
{
    BYTE value = 0;
    if (!FindName(kStopBits, ReplaceAll(name, L",", L"."), value))
        ReportInvalidName(L"StopbitsToDCBValue");
    return value;
}

template <typename Table, typename Value>
std::wstring CRS232Connection::ReverseLookup(const Table& table, Value value, const wchar_t* fallback,
                                             const wchar_t* function)
{
    std::wstring name = fallback;
    if (!FindValue(table, value, name))
        ReportInvalidName(function);
    return name;
}

std::wstring CRS232Connection::DCBValueToParity(BYTE value)
{
    return ReverseLookup(kParity, value, L"Even", L"DCBValueToParity");
}

std::wstring CRS232Connection::DCBValueToDTRControl(DWORD value)
{
    return ReverseLookup(kDtrControl, value, L"Disable", L"DCBValueToDTRControl");
}

std::wstring CRS232Connection::DCBValueToRTSControl(DWORD value)
{
    return ReverseLookup(kRtsControl, value, L"Disable", L"DCBValueToRTSControl");
}

std::wstring CRS232Connection::DCBValueToStopbits(BYTE value)
{
    return ReverseLookup(kStopBits, value, L"1.5", L"DCBValueToStopbits");
}

// ------------------------------------------------------------- Open, Close

void CRS232Connection::InitDCB()
{
    DCB dcb;
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = m_settings.baudRate;
    dcb.fBinary = 1;
    dcb.fParity = 1;
    dcb.fOutxCtsFlow = m_settings.ctsFlow ? 1 : 0;
    dcb.fOutxDsrFlow = m_settings.dsrFlow ? 1 : 0;
    dcb.fDtrControl = DTRControlToDCBValue(m_settings.dtrControl);
    dcb.fRtsControl = RTSControlToDCBValue(m_settings.rtsControl);
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.ByteSize = static_cast<BYTE>(m_settings.dataBits & 0xFF);
    dcb.Parity = ParityToDCBValue(m_settings.parity);
    dcb.StopBits = StopbitsToDCBValue(m_settings.stopBits);
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    if (!SetCommState(m_port, &dcb))
        throw CRS232ConnectionException(L"InitDCB() failed!", 7, L"::SetCommState() failed!",
                                        GetLastError() | kPortFailure);
}

void CRS232Connection::Open()
{
    ResetLastErrorCode();
    if (IsOpen())
        return;
    try {
        // A device path stands for itself; a COM name goes through the device namespace.
        const std::wstring name =
            !m_settings.device.empty() && m_settings.device[0] == L'/' ? m_settings.device : L"\\\\.\\" + m_settings.device;
        m_port = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             m_settings.asynchron ? FILE_FLAG_OVERLAPPED | FILE_ATTRIBUTE_NORMAL : 0, nullptr);
        if (m_port == INVALID_HANDLE_VALUE || m_port == nullptr) {
            m_port = INVALID_HANDLE_VALUE;
            throw CRS232ConnectionException(L"OpenCommResource() failed!", 1, L"::CreateFile() failed",
                                            GetLastError() | kPortFailure);
        }
        InitDCB();
        COMMTIMEOUTS timeouts;
        GetCommTimeouts(m_port, &timeouts);
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = 0;
        timeouts.ReadTotalTimeoutConstant = m_settings.timeout;
        timeouts.WriteTotalTimeoutMultiplier = 0;
        timeouts.WriteTotalTimeoutConstant = m_settings.timeout;
        if (!SetCommTimeouts(m_port, &timeouts))
            throw CRS232ConnectionException(L"SetTimeout() failed!", 9, L"::SetCommTimeouts() failed!",
                                            GetLastError() | kPortFailure);
        m_openTimeout = m_settings.timeout;
        m_appliedTimeout = m_openTimeout;
        if (!SetupComm(m_port, m_settings.inputQueue, m_settings.outputQueue))
            throw CRS232ConnectionException(L"SetBufferSize() failed!", 8, L"::SetupComm() failed!",
                                            GetLastError() | kPortFailure);
        ClearBuffer();
    } catch (const CRS232ConnectionException& error) {
        if (IsOpen())
            CloseHandle(m_port);
        m_port = INVALID_HANDLE_VALUE;
        Fail(error);
        throw;
    }
}

void CRS232Connection::Close()
{
    if (!IsOpen())
        return;
    if (!CloseHandle(m_port)) {
        const CRS232ConnectionException error(L"Close() failed!", 2, L"CloseHandle() failed!",
                                              GetLastError() | kPortFailure);
        Fail(error);
        throw error;
    }
    m_port = INVALID_HANDLE_VALUE;
}

void CRS232Connection::ClearBuffer()
{
    if (!IsOpen())
        return;
    if (!PurgeComm(m_port, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)) {
        const CRS232ConnectionException error(L"ClearBuffer() failed!", 10, L"::PurgeComm() failed!",
                                              GetLastError() | kPortFailure);
        Fail(error);
        throw error;
    }
}

void CRS232Connection::Execute(unsigned char*, unsigned int, unsigned char**, unsigned int&)
{
    const CRS232ConnectionException error(L"Execute() failed!", 14, L"Method is not implemented!", kNotImplemented);
    Fail(error);
    throw error;
}

void CRS232Connection::SetCommEventMask(DWORD mask)
{
    if (!SetCommMask(m_port, mask))
        throw CRS232ConnectionException(L"SetCommEventMask() failed!", 11, L"::SetCommMask() failed!",
                                        GetLastError() | kPortFailure);
}

void CRS232Connection::ClearError()
{
    DWORD errors = 0;
    COMSTAT status;
    if (!ClearCommError(m_port, &errors, &status) && GetLastError() != 0)
        throw CRS232ConnectionException(L"ClearError() failed!", 12, L"::ClearCommError() failed!",
                                        errors | kTransferFailure);
}

// ------------------------------------------------------------------ Write

bool CRS232Connection::FrameMatchesLengthField(const unsigned char* data, unsigned int length) const
{
    const std::uint64_t header = std::uint64_t{lengthPos} + sizeOfLength;
    if (sizeOfLength > 4 || length < header)
        return false;
    std::uint32_t value = 0;
    for (unsigned short i = 0; i < sizeOfLength; ++i)
        value |= std::uint32_t{data[lengthPos + i]} << (8 * i);
    return std::uint64_t{length} == header + value;
}

void CRS232Connection::Write(unsigned char* data, unsigned int length, unsigned int* written)
{
    if (length == 0 || !data)
        return;
    try {
        if (!IsOpen()) {
            SetLastErrorCode(kPortNotOpen);
            throw CRS232ConnectionException(L"Write() failed!", m_settings.asynchron ? 3 : 5,
                                            L"Connection is not open!", kPortNotOpen);
        }
        std::vector<unsigned char> block;
        const unsigned char* send = data;
        DWORD sendLength = length;
        m_checksumAppended = false;
        if (m_settings.checksumLength != 0 && FrameMatchesLengthField(data, length)) {
            block.assign(data, data + length);
            const std::uint16_t sum = ByteSum(data, length);
            block.push_back(static_cast<unsigned char>(sum & 0xFF));
            block.push_back(static_cast<unsigned char>(sum >> 8));
            send = block.data();
            sendLength = static_cast<DWORD>(block.size());
            m_checksumAppended = true;
        }
        if (m_settings.asynchron)
            WriteAsynchron(send, sendLength);
        else
            WriteSynchron(send, sendLength);
        if (written)
            *written = length;
    } catch (const CRS232ConnectionException& error) {
        Fail(error);
        throw;
    } catch (...) {
        const CRS232ConnectionException error(L"Unknown exception", -1, L"Write() failed!", static_cast<ULONG>(-1));
        Fail(error);
        throw error;
    }
}

// A write that the total time-out cut short is a failure, not a success
// with fewer bytes.
unsigned long long CRS232Connection::RequestTimeoutMs(unsigned int) const
{
    return m_openTimeout;
}

void CRS232Connection::AbortTransfers()
{
    m_aborted = true;
    const HANDLE port = m_port;
    if (port != INVALID_HANDLE_VALUE)
        PurgeComm(port, PURGE_TXABORT | PURGE_RXABORT);
}

DWORD CRS232Connection::LimitCallTimeout(const wchar_t* function, int step)
{
    if (m_aborted)
        throw CRS232ConnectionException(function, step, L"Transfer aborted!", ERROR_OPERATION_ABORTED | kTransferFailure);
    DWORD wanted = m_openTimeout;
    if (HasRequestDeadline()) {
        const unsigned long long left = RequestTimeLeftMs();
        if (left == 0)
            throw CRS232ConnectionException(function, step, L"The request timed out!", kTransferTimeout);
        // 0 would be no time-out at all.
        wanted = static_cast<DWORD>(wanted == 0 ? std::min<unsigned long long>(left, MAXDWORD)
                                                : std::min<unsigned long long>(wanted, left));
    }
    if (wanted == m_appliedTimeout)
        return wanted;
    COMMTIMEOUTS timeouts;
    GetCommTimeouts(m_port, &timeouts);
    timeouts.ReadTotalTimeoutConstant = wanted;
    timeouts.WriteTotalTimeoutConstant = wanted;
    if (!SetCommTimeouts(m_port, &timeouts))
        throw CRS232ConnectionException(L"SetTimeout() failed!", 9, L"::SetCommTimeouts() failed!",
                                        GetLastError() | kPortFailure);
    m_appliedTimeout = wanted;
    return wanted;
}

void CRS232Connection::WriteSynchron(const unsigned char* data, DWORD length)
{
    LimitCallTimeout(L"WriteSynchron() failed!", 5);
    SetCommEventMask(EV_TXEMPTY);
    // What is left of a refused answer is not the next request's answer.
    ClearBuffer();
    DWORD written = 0;
    if (!WriteFile(m_port, data, length, &written, nullptr))
        throw CRS232ConnectionException(L"WriteSynchron() failed!", 5, L"::WriteFile() failed!",
                                        GetLastError() | kTransferFailure);
    if (written != length)
        throw CRS232ConnectionException(L"WriteSynchron() failed!", 5, L"::WriteFile() timed out!", kTransferTimeout);
}

void CRS232Connection::WriteAsynchron(const unsigned char* data, DWORD length)
{
    const DWORD limit = LimitCallTimeout(L"WriteAsynchron() failed!", 3);
    SetCommEventMask(EV_RXCHAR | EV_BREAK);
    ClearBuffer();
    const EventHandle event;
    if (!event.Get())
        throw CRS232ConnectionException(L"WriteAsynchron() failed!", 3, L"CreateEvent() failed!",
                                        GetLastError() | kTransferFailure);
    OVERLAPPED overlapped;
    overlapped.hEvent = event.Get();
    DWORD written = 0;
    const BOOL started = WriteFile(m_port, data, length, &written, &overlapped);
    written = FinishOverlapped(m_port, started, written, overlapped,
                               {L"WriteAsynchron() failed!", 3, L"::WriteFile() failed!", limit + 1000,
                                PURGE_TXABORT});
    if (written != length)
        throw CRS232ConnectionException(L"WriteAsynchron() failed!", 3, L"GetOverlappedResult() timed out!",
                                        kTransferTimeout);
}

// ------------------------------------------------------------------- Read

void CRS232Connection::Read(unsigned char* buffer, unsigned int length, unsigned int* read)
{
    try {
        if (!IsOpen()) {
            SetLastErrorCode(kPortNotOpen);
            throw CRS232ConnectionException(L"Read() failed!", m_settings.asynchron ? 4 : 6,
                                            L"Connection is not open!", kPortNotOpen);
        }
        ClearError();
        if (length != 0 && buffer) {
            if (m_settings.asynchron)
                ReadAsynchron(buffer, length);
            else
                ReadSynchron(buffer, length);
        }
        if (read)
            *read = length;
    } catch (const CRS232ConnectionException& error) {
        Fail(error);
        throw;
    }
}

// Every call either brings bytes or ends the read, so the loop is bounded by
// the length.
void CRS232Connection::ReadSynchron(unsigned char* buffer, DWORD length)
{
    DWORD total = 0;
    while (total < length) {
        LimitCallTimeout(L"ReadSynchron() failed!", 6);
        DWORD count = 0;
        if (!ReadFile(m_port, buffer + total, length - total, &count, nullptr) || count == 0) {
            const DWORD error = GetLastError();
            throw CRS232ConnectionException(L"ReadSynchron() failed!", 6, L"::ReadFile() failed!",
                                            count == 0 && error == 0 ? kTransferTimeout : error | kTransferFailure);
        }
        total += count;
    }
}

void CRS232Connection::ReadAsynchron(unsigned char* buffer, DWORD length)
{
    const EventHandle event;
    if (!event.Get())
        throw CRS232ConnectionException(L"ReadAsynchron() failed!", 4, L"CreateEvent() failed!",
                                        GetLastError() | kTransferFailure);
    DWORD total = 0;
    while (total < length) {
        const DWORD limit = LimitCallTimeout(L"ReadAsynchron() failed!", 4);
        OVERLAPPED overlapped;
        overlapped.hEvent = event.Get();
        DWORD count = 0;
        const BOOL started = ReadFile(m_port, buffer + total, length - total, &count, &overlapped);
        count = FinishOverlapped(m_port, started, count, overlapped,
                                 {L"ReadAsynchron() failed!", 4, L"::ReadFile() failed!", limit + 100,
                                  PURGE_RXABORT});
        if (count == 0)
            throw CRS232ConnectionException(L"ReadAsynchron() failed!", 4, L"GetOverlappedResult() timed out!",
                                            kTransferTimeout);
        total += count;
    }
}

// ---------------------------------------------------------------- Fragment

bool CRS232Connection::ReadFragment(unsigned char** buffer, unsigned int fieldPos, unsigned short fieldSize,
                                    short correction, unsigned int* length)
{
    try {
        const bool checked = m_checksumAppended && m_settings.checksumLength != 0;
        const int corrected = correction + (checked ? m_settings.checksumLength : 0);
        if (corrected > 0x7FFF)
            return false;
        unsigned int total = 0;
        if (!CConnectionBase::ReadFragment(buffer, fieldPos, fieldSize, static_cast<short>(corrected), &total))
            return false;
        if (!checked) {
            if (length)
                *length = total;
            return true;
        }
        if (total < m_settings.checksumLength) {
            SetLastErrorCode(kChecksumMismatch);
            return false;
        }
        const unsigned int n = total - m_settings.checksumLength;
        const std::uint16_t received =
            static_cast<std::uint16_t>((*buffer)[n] | (static_cast<std::uint16_t>((*buffer)[n + 1]) << 8));
        const std::uint16_t computed = ByteSum(*buffer, n);
        if (received == computed) {
            if (length)
                *length = n;
            return true;
        }
        DebugTrace(L"CheckSum Error\n");
        DebugTrace(L"Expected  : %u\n", unsigned{received});
        DebugTrace(L"Calculated: %u\n", unsigned{computed});
        std::wstring bytes;
        for (unsigned int i = 0; i < n; ++i)
            bytes += FormatW(L"%02x ", unsigned{(*buffer)[i]});
        DebugTrace(L"%s", bytes.c_str());
        // A mismatch must not look like a transfer that merely failed silently.
        SetLastErrorCode(kChecksumMismatch);
        SetLastError(kChecksumMismatch);
        return false;
    } catch (...) {
        return false;
    }
}

}
