#pragma once
// The connection over a serial port, synchronous or overlapped, optionally
// with a 16-bit byte sum appended to whole frames.

#include "Common/Communication/ConnectionBase.h"
#include "Common/Communication/SettingsFields.h"
#include "Common/Communication/RS232ConnectionException.h"
#include "Platform/Serial/CommApi.h"
#include "Platform/Xml/XmlNode.h"

#include <cstdint>
#include <atomic>
#include <string>

namespace ZELL {

class PELORUS_API CRS232Connection : public CConnectionBase {
public:
    static constexpr ULONG kTransferFailure = 0x20010000u;
    static constexpr ULONG kTransferTimeout = 0x20010200u;
    static constexpr ULONG kChecksumMismatch = 0x20010401u;
    static constexpr ULONG kPortFailure = 0x20020000u;
    static constexpr ULONG kPortNotOpen = 0x20020100u;
    static constexpr ULONG kInvalidValue = 0x20200008u;
    static constexpr ULONG kNotImplemented = 0x20201001u;

    CRS232Connection();
    // A copy takes the settings and starts closed, so a port is never closed twice.
    CRS232Connection(const CRS232Connection& other);
    CRS232Connection& operator=(const CRS232Connection& other);
    ~CRS232Connection() override = default;

    void Open() override;
    void Close() override;
    bool IsOpen() const override { return m_port != INVALID_HANDLE_VALUE; }
    void Write(unsigned char* data, unsigned int length, unsigned int* written) override;
    void Read(unsigned char* buffer, unsigned int length, unsigned int* read) override;
    void Execute(unsigned char* request, unsigned int length, unsigned char** response,
                 unsigned int& responseLength) override;
    void ClearBuffer() override;
    using CConnectionBase::ReadFragment;
    bool ReadFragment(unsigned char** buffer, unsigned int lengthPos, unsigned short sizeOfLength,
                      short lengthCorrection, unsigned int* length) override;

    std::wstring GetType() const override { return L"RS232"; }
    unsigned int GetCommunicationTimeout() override;
    void SetCommunicationTimeout(unsigned int seconds) override;
    unsigned int GetRestartTimeout() override { return m_settings.restartTimeout; }
    void SetRestartTimeout(unsigned int seconds) override { m_settings.restartTimeout = seconds; }

    // Ends the port's transfers in flight (PurgeComm) and refuses new ones.
    void AbortTransfers() override;
    void ResumeTransfers() override { m_aborted = false; }

    const wchar_t* AddressSettingName() const override { return L"device"; }

    std::wstring GetSettingsXML() const override;
    bool SetSettingsXML(std::wstring xml) override;
    std::wstring GetSettingsString() const override;
    std::wstring GetSettingsValue(const wchar_t* name) override;
    std::wstring GetDriverInfo() const override { return L"1.0"; }
    bool LoadSettingsRegistry(std::wstring key) override;
    bool SaveSettingsRegistry(std::wstring key) override;
    bool LoadSettingsXML(std::wstring file) override;
    bool SaveSettingsXML(std::wstring file) override;

    unsigned short GetLastCommandError() const { return m_lastCommandError; }
    const wchar_t* GetLastErrorMessage() const { return m_lastErrorMessage.c_str(); }

    // Name look-ups of the line settings; an unknown name gives 0 and is reported.
    BYTE ParityToDCBValue(const std::wstring& name);
    DWORD DTRControlToDCBValue(const std::wstring& name);
    DWORD RTSControlToDCBValue(const std::wstring& name);
    BYTE StopbitsToDCBValue(const std::wstring& name);
    // The reverse: the first name of a value; an unknown value gives the
    // table's fallback and is reported the same way.
    std::wstring DCBValueToParity(BYTE value);
    std::wstring DCBValueToDTRControl(DWORD value);
    std::wstring DCBValueToRTSControl(DWORD value);
    std::wstring DCBValueToStopbits(BYTE value);

    // The 16-bit sum of the bytes, modulo 65536.
    static std::uint16_t ByteSum(const unsigned char* data, std::size_t length);

    static const wchar_t* const kDefaultSettings;

private:
    struct Settings {
        bool asynchron = false;
        std::wstring device;
        std::uint32_t baudRate = 0;
        std::wstring parity;
        std::uint16_t dataBits = 0;
        std::wstring stopBits;
        std::uint32_t timeout = 0;
        std::uint32_t inputQueue = 0;
        std::uint32_t outputQueue = 0;
        bool dsrFlow = false;
        bool ctsFlow = false;
        std::wstring dtrControl;
        std::wstring rtsControl;
        std::uint32_t restartTimeout = 0;
        std::uint16_t checksumLength = 0;
    };

    virtual void InitDCB();

    void WriteSynchron(const unsigned char* data, DWORD length);
    void WriteAsynchron(const unsigned char* data, DWORD length);
    void ReadSynchron(unsigned char* buffer, DWORD length);
    void ReadAsynchron(unsigned char* buffer, DWORD length);
    // The total time-out of the next port call in milliseconds: the port's
    // own, cut to what is left of the request; throws the call's failure
    // when the request's time is up or the transfers were aborted.
    DWORD LimitCallTimeout(const wchar_t* function, int step);
    void ClearError();
    void SetCommEventMask(DWORD mask);
    void Fail(const CRS232ConnectionException& error);
    void ReportInvalidName(const wchar_t* function);
    template <typename Table, typename Value>
    std::wstring ReverseLookup(const Table& table, Value value, const wchar_t* fallback, const wchar_t* function);
    bool FrameMatchesLengthField(const unsigned char* data, unsigned int length) const;

    static SettingsFieldTable<Settings> Fields();
    Settings ReadSettings(const Xml::CXmlNode& element) const;
    void TraceSettingsError(const std::wstring& function, const std::wstring& error) const;

    unsigned long long RequestTimeoutMs(unsigned int requestLength) const override;

    HANDLE m_port = INVALID_HANDLE_VALUE;
    Settings m_settings;
    // The total time-out set at Open (settings changed later wait for the
    // next Open) and the one the port holds now, cut to a request's rest.
    DWORD m_openTimeout = 0;
    DWORD m_appliedTimeout = 0;
    std::atomic<bool> m_aborted{false};
    bool m_checksumAppended = false;
    unsigned short m_lastCommandError = 0;
    std::wstring m_lastErrorMessage;
};

}
