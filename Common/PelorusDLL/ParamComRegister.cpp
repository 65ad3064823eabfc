#include "Common/PelorusDLL/ParamComRegister.h"

#include "Platform/Base/Clock.h"

namespace {

constexpr unsigned short kToggleBit = 0x8000;
constexpr unsigned short kWriteBit = 0x4000;
constexpr unsigned short kMoreBit = 0x2000;

// The echo wait does not sleep between polls, and a frozen clock (a stalled
// tick source, the manual clock of a test) must not keep it spinning: no
// link answers a status read faster than this many times per millisecond,
// so the poll count ends the wait no earlier than the clock would.
constexpr unsigned long long kMaxPollsPerMillisecond = 100;

}

bool CParamComRegister::ReadParameter(unsigned short channel, unsigned short reserved, unsigned short* data)
{
    return ReadParameters(channel, reserved, kLastIndex, data, 1);
}

bool CParamComRegister::WriteDefault(unsigned short channel, unsigned short reserved)
{
    const unsigned short zero = 0;
    return WriteParameters(channel, reserved, kLastIndex, &zero, 1);
}

bool CParamComRegister::ReadParameters(unsigned short channel, unsigned short reserved, unsigned short firstIndex,
                                       unsigned short* data, unsigned short count)
{
    m_error = ErrorNone;
    for (unsigned short k = 0; k < count; ++k) {
        const auto index = static_cast<unsigned short>(firstIndex + k);
        if (!Handshake(channel, reserved, index, false, k + 1 < count, k == 0))
            break;
        if (!ReadDataWord(channel, reserved, data[k])) {
            m_error = ErrorReadData;
            break;
        }
    }
    return m_error == ErrorNone;
}

bool CParamComRegister::WriteParameters(unsigned short channel, unsigned short reserved, unsigned short firstIndex,
                                        const unsigned short* values, unsigned short count)
{
    m_error = ErrorNone;
    for (unsigned short k = 0; k < count; ++k) {
        if (!WriteDataWord(channel, reserved, values[k])) {
            m_error = ErrorWriteData;
            break;
        }
        const auto index = static_cast<unsigned short>(firstIndex + k);
        if (!Handshake(channel, reserved, index, true, k + 1 < count, k == 0))
            break;
    }
    return m_error == ErrorNone;
}

bool CParamComRegister::Handshake(unsigned short channel, unsigned short reserved, unsigned short index, bool write,
                                  bool more, bool first)
{
    if (first) {
        // Every sequence starts from the toggle the module shows now.
        unsigned short status = 0;
        if (!ReadStatusWord(channel, reserved, status)) {
            m_error = ErrorReadStatus;
            return false;
        }
        m_toggle = (status & kToggleBit) != 0;
    }
    unsigned short control = index & 0xFF;
    if (more)
        control |= kMoreBit;
    if (write)
        control |= kWriteBit;
    if (!m_toggle)
        control |= kToggleBit;
    m_toggle = !m_toggle;
    if (!WriteControlWord(channel, reserved, control)) {
        m_error = ErrorWriteControl;
        return false;
    }
    return WaitForEcho(channel, reserved, control);
}

bool CParamComRegister::WaitForEcho(unsigned short channel, unsigned short reserved, unsigned short control)
{
    const DWORD start = GetTickCount();
    const unsigned long long maxPolls = (static_cast<unsigned long long>(m_uiTimeout) + 1) * kMaxPollsPerMillisecond;
    for (unsigned long long polls = 1;; ++polls) {
        unsigned short status = 0;
        if (!ReadStatusWord(channel, reserved, status)) {
            m_error = ErrorReadStatus;
            return false;
        }
        const bool echo = (status & kToggleBit) == (control & kToggleBit);
        if (echo)
            m_toggle = (status & kToggleBit) != 0;
        m_error = ErrorFromStatus(status);
        // The time-out counts even on the round that brought the echo.
        if (m_error == ErrorNone && (GetTickCount() - start >= m_uiTimeout || polls >= maxPolls))
            m_error = ErrorNoEcho;
        if (echo || m_error != ErrorNone)
            return m_error == ErrorNone;
    }
}

int CParamComRegister::ErrorFromStatus(unsigned short status) const
{
    if (status & 0x2000)
        return ErrorStatusBit13;
    if (status & 0x4000)
        return ErrorStatusBit14;
    if (status & 0x1000)
        return ErrorStatusBit12;
    return ErrorNone;
}
