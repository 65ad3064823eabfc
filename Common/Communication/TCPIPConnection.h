#pragma once
// The connection to a device's service port over one TCP stream socket.
// The process must have started the socket library (WSAStartup).

#include "Common/Communication/ConnectionBase.h"
#include "Common/Communication/SettingsFields.h"
#include "Common/Communication/TCPIPConnectionException.h"
#include "Platform/Net/WinSock.h"
#include "Platform/Xml/XmlNode.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace ZELL {

// An IPv4 socket address that reads as its dotted text.
class PELORUS_API CSockAddress {
public:
    CSockAddress() = default;
    explicit CSockAddress(const sockaddr_in& address) : m_address(address) {}

    const sockaddr_in& Get() const { return m_address; }
    const sockaddr* AsSockaddr() const { return reinterpret_cast<const sockaddr*>(&m_address); }
    operator std::wstring() const;

private:
    sockaddr_in m_address = {};
};

class PELORUS_API CTCPIPConnection : public CConnectionBase {
public:
    CTCPIPConnection();
    // A copy takes the settings and starts closed: two objects closing one
    // socket would close an unrelated one the second time.
    CTCPIPConnection(const CTCPIPConnection& other);
    CTCPIPConnection& operator=(const CTCPIPConnection& other);
    ~CTCPIPConnection() override = default;

    void Open() override;
    void Close() override;
    bool IsOpen() const override { return m_socket != INVALID_SOCKET; }
    void Write(unsigned char* data, unsigned int length, unsigned int* written) override;
    void Read(unsigned char* buffer, unsigned int length, unsigned int* read) override;
    void Execute(unsigned char* request, unsigned int length, unsigned char** response,
                 unsigned int& responseLength) override;
    // Drops what has arrived and not been read, without waiting: the rest of
    // a refused answer must not be read as the next one.
    void ClearBuffer() override;

    std::wstring GetType() const override { return L"TCPIP"; }
    unsigned int GetCommunicationTimeout() override;
    void SetCommunicationTimeout(unsigned int seconds) override;
    unsigned int GetRestartTimeout() override { return m_settings.restartTimeout; }
    void SetRestartTimeout(unsigned int seconds) override { m_settings.restartTimeout = seconds; }

    // Shuts the socket down, which wakes a receive or send that waits on it.
    void AbortTransfers() override;
    void ResumeTransfers() override { m_aborted = false; }

    bool IsNetworkConnection() const override { return true; }
    bool RestartsByReconnecting() const override { return true; }
    const wchar_t* AddressSettingName() const override { return L"IP-Address"; }

    std::wstring GetSettingsXML() const override;
    bool SetSettingsXML(std::wstring xml) override;
    std::wstring GetSettingsString() const override;
    std::wstring GetSettingsValue(const wchar_t* name) override;
    std::wstring GetDriverInfo() const override { return L"1.0"; }
    bool LoadSettingsRegistry(std::wstring key) override;
    bool SaveSettingsRegistry(std::wstring key) override;
    bool LoadSettingsXML(std::wstring file) override;
    bool SaveSettingsXML(std::wstring file) override;

    operator unsigned int() const { return static_cast<unsigned int>(m_socket); }

    static CSockAddress GetHostByName(const wchar_t* host, unsigned short port);
    static std::uint32_t GetAddrByHost(const char* host, wchar_t* dotted);
    static std::wstring GetHostByAddr(const sockaddr* address);
    static std::wstring GetHostByAddr(const wchar_t* address, unsigned short port);

    // The per-call time-out in seconds for a transfer of `length` bytes with
    // the base time-out: it grows by steps of 10,000 bytes up to base².
    static unsigned long ScaledTimeout(unsigned long base, unsigned int length);

    static const wchar_t* const kDefaultSettings;

    // What one GetSocketMessage call takes: a message and its terminating 0.
    static constexpr int kSocketMessageSize = 1500;

protected:
    unsigned long ShortFragmentError() const override;
    unsigned long BadFragmentLengthError() const override;
    // The larger of the send and receive time-outs, grown with the request's
    // size as one transfer of it would grow.
    unsigned long long RequestTimeoutMs(unsigned int requestLength) const override;

    // One socket call of a stream transfer, with its time-out in seconds.
    virtual int Send(const char* data, int length, unsigned long seconds);
    int Receive(char* buffer, int length, unsigned long seconds);

    // The socket as a listening, accepting or datagram end; the connection
    // to a device uses none of them.
    void Create(int type);
    void Bind(const sockaddr* address);
    void Listen();
    // Takes the next waiting connection into `target`, which must have no
    // socket: 1 when it did, 0 when the wait was interrupted.
    int Accept(CTCPIPConnection& target);
    int SendTo(const char* data, int length, const sockaddr* to, unsigned long seconds);
    int ReceiveFrom(char* buffer, int length, sockaddr_in* from, unsigned long seconds);
    CSockAddress GetPeerAddr() const;
    CSockAddress GetSockAddr() const;
    // Up to kSocketMessageSize - 1 bytes with the receive time-out, then a 0 byte; the count.
    int GetSocketMessage(char (&message)[kSocketMessageSize]);

private:
    struct Settings {
        std::wstring ipAddress;
        std::uint16_t port = 0;
        std::uint32_t connectTimeout = 0;
        std::uint32_t sendTimeout = 0;
        std::uint32_t receiveTimeout = 0;
        std::uint32_t closeWaitTime = 0;
        bool identifyByName = false;
        bool nameResolution = false;
        std::wstring networkName;
        std::uint32_t restartTimeout = 0;
        std::wstring scanFrom;
        std::wstring scanTo;
        bool defaultPort = false;
        std::uint32_t lengthPos = 16;
        std::uint16_t sizeOfLength = 2;
        std::int16_t lengthCorrection = 0;
    };

    void Connect(const sockaddr* address, unsigned long seconds);
    void Disconnect();
    CSockAddress QueryAddress(bool peer) const;
    [[noreturn]] void ThrowTransferFailure(const wchar_t* call, const wchar_t* message, LONG code,
                                           const wchar_t* detail, ULONGLONG start, unsigned long seconds) const;
    // The time-out of one socket call of `seconds`, cut to what is left of
    // the request; throws the call's failure when the request's time is up
    // or the transfers were aborted.
    DWORD CallTimeoutMs(unsigned long seconds, const wchar_t* message, LONG code, const wchar_t* detail) const;
    bool WaitConnected(unsigned long seconds, ULONG& error, const wchar_t*& detail);
    void SetSendTimeout(DWORD milliseconds);
    void SetReceiveTimeout(DWORD milliseconds);
    void SetTimeout(int option, DWORD milliseconds);
    void RequireSocket(const wchar_t* message, LONG code) const;
    void CloseQuietly();
    void Fail(const CTCPIPConnectionException& error, const wchar_t* function, int line);
    void TraceTransferFailure(const wchar_t* call, const wchar_t* what, int error, ULONGLONG elapsed,
                              unsigned long seconds) const;

    static SettingsFieldTable<Settings> Fields();
    Settings ReadSettings(const Xml::CXmlNode& element) const;
    void ApplySettings(const Settings& settings);
    Settings CurrentSettings() const;
    void TraceSettingsError(const std::wstring& function, const std::wstring& error) const;
    void TraceNoSettingsFile(const wchar_t* function, const std::wstring& file, const wchar_t* message) const;

    void TakeSocket(SOCKET s);

    static constexpr long long kTimeoutUnknown = -1;

    SOCKET m_socket = INVALID_SOCKET;
    Settings m_settings;
    // The time-outs the socket holds, in milliseconds.
    long long m_appliedSendTimeout = kTimeoutUnknown;
    long long m_appliedReceiveTimeout = kTimeoutUnknown;
    // Guards the socket member against an abort from another thread while
    // the owning thread replaces it.
    std::mutex m_socketMutex;
    std::atomic<bool> m_aborted{false};
};

}
