#pragma once
// Accelerator tables: key combinations that stand for commands, from
// RT_ACCELERATOR resources or made from ACCEL arrays.
#include "Platform/Base/Types.h"
#include "Platform/Base/WinError.h"

ZELL_DECLARE_HANDLE(HACCEL);

constexpr DWORD ERROR_INVALID_ACCEL_HANDLE = 1403;

constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt = 0;
    WORD key = 0;
    WORD cmd = 0;
};
using LPACCEL = ACCEL*;

// Null with ERROR_INVALID_PARAMETER for no entries.
HACCEL CreateAcceleratorTableW(LPACCEL entries, int count);
// With a null array the number of entries; otherwise copies at most
// `count` and gives the number copied.
int CopyAcceleratorTableW(HACCEL table, LPACCEL entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);
#define CreateAcceleratorTable CreateAcceleratorTableW
#define CopyAcceleratorTable CopyAcceleratorTableW
#define LoadAccelerators LoadAcceleratorsW
