#pragma once
// Register access over the serial line: request telegrams that read or write
// up to 44 consecutive 16-bit registers of one table of one node position,
// each answered by one response telegram. Longer accesses are split into
// fragments. Failures are reported as false with the code in the thread's
// last-error value, which the calling service copies.

#include "Common/Communication/IConnection.h"
#include "Common/Communication/PelorusApi.h"
#include "Platform/Base/Types.h"

constexpr unsigned int MAX_TELE_LEN = 100;
constexpr unsigned int MAX_DATA_LEN = 44;
constexpr unsigned int MAXCOUNT_TABLES = 128;
constexpr unsigned int kMaxCountPositions = 256;
constexpr unsigned int kMaxCountRegisters = 256;

// One register access; at most one of the two counts is non-zero.
struct tRegCommInfo {
    BYTE position = 0;
    BYTE table = 0;
    BYTE start = 0;
    int readCount = 0;
    DWORD writeCount = 0;
};

struct tTelegram {
    BYTE bytes[MAX_TELE_LEN] = {};
};

class PELORUS_API CRegCommBase {
public:
    virtual ~CRegCommBase() = default;
    virtual bool WriteRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                               const unsigned short* data) = 0;
    virtual bool ReadRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                              unsigned short* data) = 0;
};

class PELORUS_API CSIORegComm : public CRegCommBase {
public:
    static constexpr DWORD kInvalidArgument = 0x20200008u;
    static constexpr DWORD kPortNotOpen = 0x20020100u;
    static constexpr DWORD kTransferFailure = 0x20010000u;
    static constexpr DWORD kNoReply = 0x20010200u;
    static constexpr DWORD kInvalidStart = 0x20010402u;
    static constexpr DWORD kInvalidLength = 0x20010403u;
    static constexpr DWORD kInvalidChecksum = 0x20010401u;
    static constexpr DWORD kWordCountMismatch = 0x20200001u;
    static constexpr DWORD kDeviceError = 0x20080000u;

    // The service mailbox of the coupler itself; its answers carry as many
    // words as the device has, so their count is not checked.
    static constexpr unsigned int kMailboxPosition = 0;
    static constexpr unsigned int kMailboxTable = 99;

    explicit CSIORegComm(ZELL::IConnection* connection = nullptr) : m_connection(connection) {}

    bool WriteRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                       const unsigned short* data) override;
    bool ReadRegister(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                      unsigned short* data) override;

    ZELL::IConnection* GetCommInterface() const { return m_connection; }
    void SetCommInterface(ZELL::IConnection* connection) { m_connection = connection; }
    int GetFragmentSize() const { return m_fragmentSize; }
    void SetFragmentSize(int size);

    // What is wrong with a complete response telegram (0: nothing). `received`
    // is the number of its bytes that were received.
    static DWORD CheckResponse(const tTelegram& response, unsigned int received);

protected:
    bool ExecuteFragmentation(tRegCommInfo& info, const unsigned short* writeData, unsigned short* readData);
    bool PrepareRequest(const tRegCommInfo& info, unsigned int count, const unsigned short* writeData,
                        tTelegram& request) const;
    static bool AddChecksum(tTelegram& telegram);
    bool Execute(tTelegram& request, tTelegram& response, unsigned int& received);
    bool ReadResponse(tTelegram& response, unsigned int& received);

private:
    static bool CheckAccess(unsigned int position, unsigned int table, unsigned int start, unsigned int count,
                            const void* data);
    bool ReadExactly(unsigned char* buffer, unsigned int length);
    // What the first two bytes of a response say: 0 a telegram's start, no
    // reply for a line held low (a break reads as zero bytes), else a wrong start.
    static DWORD StartProblem(const BYTE* t);
    bool CopyReadData(const tRegCommInfo& info, const tTelegram& request, const tTelegram& response,
                      unsigned int count, unsigned short* target) const;

    int m_fragmentSize = static_cast<int>(MAX_DATA_LEN);
    ZELL::IConnection* m_connection = nullptr;
};

// Byte and word sums for the library's users.
class PELORUS_API CZELLHelpFunktions {
public:
    static unsigned short CalculateChecksum(const unsigned char* data, unsigned long length);
    static unsigned short CalculateChecksum(const unsigned short* data, unsigned long count);
};
