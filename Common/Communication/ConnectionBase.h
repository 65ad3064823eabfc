#pragma once
// Common base of the concrete connections: the last error, the trace switch
// and the generic reader of one length-prefixed fragment.

#include "Common/Communication/IConnection.h"
#include "Common/Communication/SettingsBase.h"
#include "Platform/Base/DebugOutput.h"
#include "Platform/Base/Format.h"

#include <cstdint>
#include <string>

namespace ZELL {

class PELORUS_API CConnectionBase : public IConnection, public CSettingsBase {
public:
    // A fragment larger than this is taken for a corrupt length field rather
    // than allocated.
    static constexpr std::uint64_t kMaxFragmentSize = 16u * 1024u * 1024u;

    CConnectionBase();
    CConnectionBase(unsigned int lengthPos, unsigned short sizeOfLength, short lengthCorrection);
    CConnectionBase(const CConnectionBase&) = default;
    CConnectionBase& operator=(const CConnectionBase&) = default;
    ~CConnectionBase() override = default;

    unsigned long GetLastErrorCode() override;
    bool ReadFragment(unsigned char** buffer, unsigned int* length) override;
    bool ReadFragment(unsigned char** buffer, unsigned int lengthPos, unsigned short sizeOfLength,
                      short lengthCorrection, unsigned int* length) override;

    virtual void SetLastErrorCode(unsigned long code);
    virtual void ResetLastErrorCode();
    virtual std::wstring GetType() const = 0;
    virtual unsigned int GetCommunicationTimeout() = 0;
    virtual void SetCommunicationTimeout(unsigned int seconds) = 0;
    virtual unsigned int GetRestartTimeout() = 0;
    virtual void SetRestartTimeout(unsigned int seconds) = 0;

    void BeginRequest(unsigned int requestLength, unsigned int maxAnnounced) override;
    void EndRequest() override;
    // Safe to call from another thread: a transfer in flight ends at once
    // with an error, and so does every later one until ResumeTransfers. The
    // owner calls it when whoever waits on the connection is going away.
    virtual void AbortTransfers() {}
    virtual void ResumeTransfers() {}

    // What callers ask of a connection instead of its class.
    // A connection over the network: its device has an address and a port,
    // and may take another address after a write.
    virtual bool IsNetworkConnection() const { return false; }
    // A device restarted over this connection drops it: the connection is
    // opened anew after the restart rather than kept.
    virtual bool RestartsByReconnecting() const { return false; }
    // The settings value that says where the device is; empty for none.
    virtual const wchar_t* AddressSettingName() const { return L""; }

    void EnableLogging(bool enable, const wchar_t* name);
    bool IsLogging() const { return logging; }
    const std::wstring& GetLogName() const { return logName; }

protected:
    static constexpr std::size_t kLogLength = 4096;

    template <typename... Args>
    void Log(const wchar_t* format, const Args&... args) const
    {
        if (!logging || !format)
            return;
        wchar_t text[kLogLength] = {};
        _snwprintf_s(text, _TRUNCATE, format, args...);
        OutputDebugStringW(text);
    }

    // The error a fragment gets when the medium delivered fewer bytes than
    // the frame announced (the peer closed mid-frame).
    virtual unsigned long ShortFragmentError() const;
    // The error of a length field that, with its correction, gives a
    // negative or impossibly large frame.
    virtual unsigned long BadFragmentLengthError() const;

    // The whole time one request may take, in milliseconds; 0: no bound.
    virtual unsigned long long RequestTimeoutMs(unsigned int requestLength) const;
    bool HasRequestDeadline() const { return m_requestDeadline != 0; }
    // What is left of the request's time; 0 once it has run out.
    unsigned long long RequestTimeLeftMs() const;

    unsigned int lengthPos = 16;
    unsigned short sizeOfLength = 2;
    short lengthCorrection = 0;

private:
    bool ReadExactly(unsigned char* target, unsigned int count);
    bool RefuseFragment(unsigned long error);

    unsigned long lastErrorCode = 0;
    bool logging = false;
    std::wstring logName;
    unsigned long long m_requestDeadline = 0;
    unsigned int m_maxAnnounced = 0;
};

}
