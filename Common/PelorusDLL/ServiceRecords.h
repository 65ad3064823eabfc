#pragma once
// The records that cross the device-service interface. Their layouts are
// binding: the terminal-bus monitor entries mirror what the device sends, and
// vectors of the extended entry are handed across the library boundary.

#include "Common/Communication/PelorusApi.h"
#include "Platform/Base/Types.h"

#include <string>

struct PELORUS_API tFbcIdentification {
    std::wstring strOrderNumber = L"--";
    std::wstring strDescription = L"--";
    std::wstring strHardwareVersion = L"--";
    std::wstring strSoftwareVersion = L"--";
    std::wstring strFirmwareLoaderVersion = L"--";
    std::wstring strSerialNumber = L"--";
    std::wstring strFieldbusBaudrate = L"--";
    std::wstring strQSString = L"--";
    std::wstring strFirmwareBurnDate = L"--";
    std::wstring strProductionSerialNumber = L"--";
    std::wstring strIMEI = L"--";
};

#pragma pack(push, 1)
struct tKBMonEntry {
    // Tenths of a second of the device's tick count, or seconds since 1970
    // when the times are absolute (flag bit 1).
    DWORD dwEventTime = 0;
    SHORT sErrorCode = 0;
    BYTE byArgument = 0;
    BYTE byFlags = 0;
    DWORD dwReferenceTime = 0;
};

struct tKBMonEntryEx {
    LONGLONG llEventTime = 0;
    LONGLONG llStartTime = 0;
    LONGLONG llSecondsSinceStart = 0;
    WORD wErrorCode = 0;
    BYTE byArgument = 0;
    BYTE byEntryFlag = 0;
    BYTE byAbsoluteTimes = 0;
};
#pragma pack(pop)

static_assert(sizeof(tKBMonEntry) == 12);
static_assert(sizeof(tKBMonEntryEx) == 29);

// Bits 0-8 the register count of the table, bits 9-15 the table number.
using tFBCTable = WORD;


struct tServiceState {
    WORD wService = 0; // group in the high byte, service in the low byte
    WORD wState = 0;
    short sThirdWord = 0; // only the serial answer carries it
};
