#pragma once
// The error of the last common dialog call of this thread: 0 after Cancel,
// one of the codes below after a failure.

#include "Platform/Base/Types.h"

constexpr DWORD CDERR_GENERALCODES = 0x0000;
constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD CDERR_MEMALLOCFAILURE = 0x0009;
constexpr DWORD CDERR_DIALOGFAILURE = 0xFFFF;
constexpr DWORD PDERR_SETUPFAILURE = 0x1001;
constexpr DWORD PDERR_RETDEFFAILURE = 0x1003;
constexpr DWORD PDERR_NODEVICES = 0x1007;
constexpr DWORD PDERR_NODEFAULTPRN = 0x1008;
constexpr DWORD PDERR_CREATEICFAILURE = 0x100A;
constexpr DWORD PDERR_PRINTERNOTFOUND = 0x100B;
constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

DWORD CommDlgExtendedError();

namespace ZELL::Shell {
void SetCommonDialogError(DWORD code);
}
