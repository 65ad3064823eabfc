#pragma once
// The parameter channel over two registers of a module: a data word and a
// control/status word whose top bit toggles with every handshake.

#include "Common/PelorusDLL/ParamComBase.h"

class PELORUS_API CParamComRegister : public CParamComBase {
public:
    // Channel errors; the service reports them as 0x20058000 | error.
    enum : int {
        ErrorNone = 0,
        ErrorWriteControl = 2,
        ErrorReadStatus = 3,
        ErrorWriteData = 4,
        ErrorReadData = 5,
        ErrorStatusBit14 = 6,
        ErrorStatusBit13 = 7,
        ErrorStatusBit12 = 8,
        ErrorNoEcho = 9,
    };
    static constexpr unsigned short kLastIndex = 255;
    static constexpr unsigned int kDefaultTimeoutMs = 3000;

    bool ReadParameter(unsigned short channel, unsigned short reserved, unsigned short* data) override;
    bool WriteParameters(unsigned short channel, unsigned short reserved, unsigned short firstIndex,
                         const unsigned short* values, unsigned short count) override;
    bool ReadParameters(unsigned short channel, unsigned short reserved, unsigned short firstIndex,
                        unsigned short* data, unsigned short count) override;
    bool WriteDefault(unsigned short channel, unsigned short reserved) override;

    virtual bool WriteControlWord(unsigned short channel, unsigned short reserved, unsigned short word) = 0;
    virtual bool ReadStatusWord(unsigned short channel, unsigned short reserved, unsigned short& word) = 0;
    virtual bool WriteDataWord(unsigned short channel, unsigned short reserved, unsigned short word) = 0;
    virtual bool ReadDataWord(unsigned short channel, unsigned short reserved, unsigned short& word) = 0;

    int GetError() const { return m_error; }
    void ClearError() { m_error = ErrorNone; }
    unsigned int GetTimeout() const { return m_uiTimeout; }
    void SetTimeout(unsigned int milliseconds) { m_uiTimeout = milliseconds; }

private:
    bool Handshake(unsigned short channel, unsigned short reserved, unsigned short index, bool write, bool more,
                   bool first);
    bool WaitForEcho(unsigned short channel, unsigned short reserved, unsigned short control);
    int ErrorFromStatus(unsigned short status) const;

    int m_error = ErrorNone;
    bool m_toggle = true;
    unsigned int m_uiTimeout = kDefaultTimeoutMs;
};
